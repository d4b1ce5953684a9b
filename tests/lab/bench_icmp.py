#!/usr/bin/env python3
"""Benchmark (not a test): how close the ping check and the trace come to
their physical limit on a route with a known added delay, beside iputils
ping and traceroute on the same route. Needs root and the Windows build.

  tests/lab/bench_icmp.py [--delay-ms 40]

For each tool: its own duration, the sum of the round-trip times it measured
(for the trace: of every probe, an unanswered one counting its 1000 ms
time-out), and the ratio of the two.
"""
import argparse
import os
import re
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lab  # noqa: E402


def duration_ms(block):
    for line in block:
        m = re.search(r'-------- .*?: (?:(\d+):)?(\d+):(\d+)\.(\d+) --------', line)
        if m:
            h, mnt, s, ms = m.groups()
            return ((int(h or 0) * 60 + int(mnt)) * 60 + int(s)) * 1000 + int(ms)
    raise ValueError('no duration line')


def block(lines, title):
    start = lines.index(title)
    end = next(i for i in range(start, len(lines)) if lines[i].startswith(' - '))
    return lines[start:end + 1]


def probe_ms(text):
    if text == '*':
        return 1000
    if text == '<1ms':
        return 0
    return int(text.rstrip('ms'))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--delay-ms', type=float, default=40, help='round trip added behind router 2')
    args = ap.parse_args()
    rows = []
    with lab.Lab(delay_ms=args.delay_ms) as the_lab:
        the_lab.start_wine()
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, 'result.txt')
            t0 = time.monotonic()
            the_lab.wine('probix-cli.exe', '-i=' + lab.INTERNET, '-o=Z:' + out)
            cli_wall = (time.monotonic() - t0) * 1000
            with open(out, encoding='utf-8', newline='') as f:
                lines = f.read().split('\r\n')
        ping = block(lines, 'Проверка доступности сервера')
        rtts = [int(m.group(1)) for l in ping for m in [re.search(r'time=(\d+)ms', l)] if m]
        rows.append(('probix ping check (10 x 512 B)', duration_ms(ping), sum(rtts)))
        trace = block(lines, 'Проверка задержек ICMP')
        probes = []
        for l in trace:
            m = re.match(r'^\s*\d+\t(\S+)\t(\S+)\t(\S+)\t', l)
            if m:
                probes += [probe_ms(x) for x in m.groups()]
        rows.append(('probix trace (3 probes a hop)', duration_ms(trace), sum(probes)))

        t0 = time.monotonic()
        r = the_lab.shell('pc', 'ping -c 10 -s 512 sip.voxtrel.test')
        wall = (time.monotonic() - t0) * 1000
        rtts = [float(x) for x in re.findall(r'time=([\d.]+) ms', r.stdout)]
        rows.append(('iputils ping -c 10 -s 512', wall, sum(rtts)))

        t0 = time.monotonic()
        r = the_lab.shell('pc', 'traceroute -I -q 3 -n sip.voxtrel.test')
        wall = (time.monotonic() - t0) * 1000
        times = [float(x) for x in re.findall(r'([\d.]+) ms', r.stdout)]
        stars = r.stdout.count(' *')
        rows.append(('traceroute -I -q 3 -n', wall, sum(times) + 1000 * stars))

    print('route: pc -> r1 -> r2 -> service, %g ms round trip added behind r2' % args.delay_ms)
    print('%-34s %12s %12s %8s' % ('', 'duration ms', 'limit ms', 'ratio'))
    for name, took, limit in rows:
        print('%-34s %12.0f %12.0f %8.2f' % (name, took, limit, took / limit if limit else float('nan')))
    print('probix-cli.exe whole run under Wine: %.0f ms' % cli_wall)


if __name__ == '__main__':
    main()
