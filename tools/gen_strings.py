#!/usr/bin/env python3
"""Turns a string table source (resources/strings/<lang>.txt) into
 - a STRINGTABLE for windres (--rc FILE --language PRIMARY,SUB), every
   character outside printable ASCII written as an escape so the result does
   not depend on windres's code page handling, and
 - a C++ include of {id, L"text"} entries (--inc FILE) for native code.

Source format: '#' comments and blank lines are ignored; every other line is
an id, white space, and the text in double quotes with the escapes \\" \\\\ \\r
\\n \\t.
"""
import argparse
import re
import sys

LINE = re.compile(r'^(\d+)\s+"((?:[^"\\]|\\.)*)"\s*$')
ESCAPES = {'"': '"', '\\': '\\', 'r': '\r', 'n': '\n', 't': '\t'}


def parse(path):
    entries = {}
    with open(path, encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip('\n')
            if not line.strip() or line.lstrip().startswith('#'):
                continue
            m = LINE.match(line)
            if not m:
                sys.exit('%s:%d: not an entry: %r' % (path, number, line))
            ident = int(m.group(1))
            if ident in entries:
                sys.exit('%s:%d: id %d given twice' % (path, number, ident))
            text, raw, i = [], m.group(2), 0
            while i < len(raw):
                if raw[i] == '\\':
                    if raw[i + 1] not in ESCAPES:
                        sys.exit('%s:%d: unknown escape \\%s' % (path, number, raw[i + 1]))
                    text.append(ESCAPES[raw[i + 1]])
                    i += 2
                else:
                    text.append(raw[i])
                    i += 1
            entries[ident] = ''.join(text)
    return entries


def rc_literal(text):
    out = []
    for ch in text:
        code = ord(ch)
        if ch == '"':
            out.append('""')
        elif ch == '\\':
            out.append('\\\\')
        elif ch == '\r':
            out.append('\\r')
        elif ch == '\n':
            out.append('\\n')
        elif ch == '\t':
            out.append('\\t')
        elif 0x20 <= code < 0x7F:
            out.append(ch)
        elif code <= 0xFFFF:
            out.append('\\x%04x' % code)
        else:
            code -= 0x10000
            out.append('\\x%04x\\x%04x' % (0xD800 + (code >> 10), 0xDC00 + (code & 0x3FF)))
    return 'L"%s"' % ''.join(out)


def cpp_literal(text):
    out = []
    for ch in text:
        code = ord(ch)
        if ch in '"\\':
            out.append('\\' + ch)
        elif 0x20 <= code < 0x7F:
            out.append(ch)
        elif code <= 0xFFFF:
            out.append('\\u%04x' % code)
        else:
            out.append('\\U%08x' % code)
    return 'L"%s"' % ''.join(out)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('source')
    ap.add_argument('--rc')
    ap.add_argument('--language', default='0x19,0x01')
    ap.add_argument('--inc')
    args = ap.parse_args()
    entries = parse(args.source)
    if args.rc:
        with open(args.rc, 'w', encoding='ascii', newline='\n') as f:
            f.write('// Generated from %s; do not edit.\n' % args.source)
            f.write('LANGUAGE %s\nSTRINGTABLE\nBEGIN\n' % args.language.replace(',', ', '))
            for ident in sorted(entries):
                f.write('  %d %s\n' % (ident, rc_literal(entries[ident])))
            f.write('END\n')
    if args.inc:
        with open(args.inc, 'w', encoding='ascii', newline='\n') as f:
            f.write('// Generated from %s; do not edit.\n' % args.source)
            for ident in sorted(entries):
                f.write('{%d, %s},\n' % (ident, cpp_literal(entries[ident])))


if __name__ == '__main__':
    main()
