#!/usr/bin/env python3
"""The SIP check over the real Winsock socket (probix_sip_probe.exe under
Wine) against real peers on loopback: SIPp as the echo service with a digest
challenge, over UDP and over TCP; a UDP peer that never answers; a TCP peer
that closes the connection; a name that does not resolve.

Runs where scripts/test puts it: inside the isolated network namespace, with
the wineserver of the Windows tests. The last line reads
"sip: N passed, N failed, N skipped".
"""
import hashlib
import os
import re
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
PROBE = os.path.join(ROOT, 'build', 'windows', 'bin', 'probix_sip_probe.exe')
SCENARIO = os.path.join(ROOT, 'tests', 'sip', 'uas_digest_echo.xml')
SILENT_SCENARIO = os.path.join(ROOT, 'tests', 'sip', 'uas_silent.xml')
RULE = '-' * 39
ISOLATED = bool(os.environ.get('PROBIX_ISOLATED'))


def run_probe(server, transport, timeout=60):
    with tempfile.TemporaryDirectory() as tmp:
        log = os.path.join(tmp, 'check.log')
        with open(os.path.join(tmp, 'out'), 'w+') as out:
            code = subprocess.run(['wine', PROBE, server, transport, 'Z:' + log], stdout=out, stderr=out,
                                  stdin=subprocess.DEVNULL, timeout=timeout).returncode
        text = ''
        if os.path.exists(log):
            with open(log, 'rb') as f:
                text = f.read().decode('utf-8')
    return code, text


def wait_listening(transport, port=5060, seconds=10):
    """Waits until something listens on the loopback port (SIPp starting up)."""
    flag = '-lnu' if transport == 'UDP' else '-lnt'
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        out = subprocess.run(['ss', '-H', flag, 'sport = :%d' % port], stdout=subprocess.PIPE, text=True).stdout
        if out.strip():
            return True
        time.sleep(0.1)
    return False


def sent_messages(log):
    """The texts of the SIP-OUT blocks of a check's log, in order."""
    return re.findall(r'SIP-OUT:\r\n(.*?)\r\n' + RULE + r'\r\n', log, re.S)


def sipp_received(path):
    """The messages SIPp logged as received, byte for byte."""
    with open(path, 'rb') as f:
        data = f.read()
    out = []
    for m in re.finditer(rb'(UDP|TCP) message received \[(\d+)\] bytes :\n\n', data):
        n = int(m.group(2))
        out.append(data[m.end():m.end() + n].decode('utf-8'))
    return out


TOKEN = r'[a-z0-8]'  # random texts draw from a..z and 0..8
SDP = (r'v=0\r\no=- 12973677497139430 1 IN IP4 127\.0\.0\.1\r\ns=Sondrix\r\nc=IN IP4 127\.0\.0\.1\r\nt=0 0\r\n'
       r'm=audio 52176 RTP/AVP 0 8 101\r\na=rtpmap:0 PCMU/8000\r\na=rtpmap:8 PCMA/8000\r\n'
       r'a=rtpmap:101 telephone-event/8000\r\na=fmtp:101 0-16,32-49,64-89\r\na=sendrecv\r\n')


def invite_pattern(transport, authorized):
    auth = (r'Authorization: Digest username="echotest@127\.0\.0\.1", realm="voxtrel\.test", nonce="4f1a2b3c5d6e", '
            r'uri="sip:echotest@127\.0\.0\.1", qop="auth", algorithm=MD5, nc="00000001", '
            r'cnonce="(?P<cnonce>[A-Za-z0-9+/]{22}==)", response="(?P<response>[0-9A-F]{32})", opaque="op42"\r\n'
            if authorized else '')
    return (r'INVITE sip:echotest_in@127\.0\.0\.1 SIP/2\.0\r\n'
            r'Via: SIP/2\.0/' + transport + r' 127\.0\.0\.1:(?P<port>\d+);rport;branch=z9hG4bK' + TOKEN + r'{35}\r\n'
            r'Max-Forwards: 70\r\n'
            r'From: "echotest" <sip:echotest@127\.0\.0\.1>;tag=' + TOKEN + r'{32}\r\n'
            r'To: <sip:echotest_in@127\.0\.0\.1>\r\n'
            r'Contact: "echotest" <sip:echotest@127\.0\.0\.1:(?P=port)>\r\n'
            r'Call-ID: ' + TOKEN + r'{32}\r\n'
            r'CSeq: (?P<cseq>\d+) INVITE\r\n'
            r'Allow: INVITE, ACK, CANCEL, OPTIONS, BYE, REFER, NOTIFY, MESSAGE, SUBSCRIBE, INFO\r\n'
            r'Supported: replaces\r\nUser-Agent: Sondrix\r\nContent-Type: application/sdp\r\n' + auth +
            r'Content-Length: 236\r\n\r\n' + SDP + r'\Z')


def ack_pattern(transport, uri):
    return (r'ACK sip:' + uri + r' SIP/2\.0\r\n'
            r'Via: SIP/2\.0/' + transport + r' 127\.0\.0\.1:\d+;rport;branch=z9hG4bK' + TOKEN + r'{35}\r\n'
            r'Max-Forwards: 70\r\n'
            r'From: "echotest" <sip:echotest@127\.0\.0\.1>;tag=' + TOKEN + r'{32}\r\n'
            r'To: <sip:echotest_in@127\.0\.0\.1>;tag=\d+probixLab1\r\n'
            r'Call-ID: ' + TOKEN + r'{32}\r\nCSeq: (?P<cseq>\d+) ACK\r\nContent-Length: 0\r\n\r\n\Z')


def bye_pattern(transport, uri):
    return (r'BYE sip:' + uri + r' SIP/2\.0\r\n'
            r'Via: SIP/2\.0/' + transport + r' 127\.0\.0\.1:\d+;branch=z9hG4bK' + TOKEN + r'{35};rport\r\n'
            r'Max-Forwards: 70\r\nUser-Agent: Sondrix\r\n'
            r'To: <sip:echotest_in@127\.0\.0\.1>;tag=\d+probixLab1\r\n'
            r'From: "echotest" <sip:echotest@127\.0\.0\.1>;tag=' + TOKEN + r'{32}\r\n'
            r'Call-ID: ' + TOKEN + r'{32}\r\nCSeq: (?P<cseq>\d+) BYE\r\nContent-Length: 0\r\n\r\n\Z')


def md5hex(text):
    return hashlib.md5(text.encode('utf-8')).hexdigest().upper()


def call_sipp(test, scenario, transport):
    """Runs one check against SIPp playing `scenario`; returns the probe's exit
    code and log, its duration, SIPp's exit code, what SIPp received and its
    error log."""
    with tempfile.TemporaryDirectory() as tmp:
        messages, errors = os.path.join(tmp, 'messages.log'), os.path.join(tmp, 'errors.log')
        sipp = subprocess.Popen(
            ['sipp', '-sf', scenario, '-i', '127.0.0.1', '-p', '5060', '-m', '1', '-t', 'u1' if transport == 'UDP'
             else 't1', '-trace_msg', '-message_file', messages, '-trace_err', '-error_file', errors, '-nostdin',
             '-timeout', '60s'],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, cwd=tmp)
        try:
            test.assertTrue(wait_listening(transport), 'SIPp did not start listening')
            started = time.monotonic()
            code, log = run_probe('127.0.0.1', transport)
            took = time.monotonic() - started
            sipp_code = sipp.wait(timeout=30)
        finally:
            if sipp.poll() is None:
                sipp.kill()
        received = sipp_received(messages)
        error_text = ''
        if os.path.exists(errors):
            with open(errors) as f:
                error_text = f.read()
    return code, log, took, sipp_code, received, error_text


@unittest.skipUnless(os.path.exists(PROBE), 'build the Windows tree first')
class SippEchoService(unittest.TestCase):
    def call(self, transport):
        code, log, took, sipp_code, received, error_text = call_sipp(self, SCENARIO, transport)
        self.assertEqual(code, 0, log)
        self.assertEqual(sipp_code, 0, 'SIPp counted the call as failed:\n' + error_text)
        # SIPp logs its own failure to shut down a TCP socket the caller has
        # already closed after its BYE; anything else would be about us.
        complaints = [l for l in error_text.splitlines()
                      if l.strip() and 'The following events occurred' not in l and 'Failed to shutdown socket' not in l]
        self.assertEqual(complaints, [], 'SIPp complained about what it was sent:\n' + error_text)
        self.assertGreaterEqual(took, 18)
        self.assertIn('Stop call from probix\r\n', log)

        # Byte for byte what the check sent is what SIPp received.
        sent = sent_messages(log)
        self.assertEqual(received, sent)
        self.assertEqual([m.split(' ')[0] for m in sent], ['INVITE', 'ACK', 'INVITE', 'ACK', 'BYE'])

        # And each message has the prescribed form.
        contact = r'echotest_in@127\.0\.0\.1:5060;transport=' + transport
        first = re.match(invite_pattern(transport, False), sent[0])
        self.assertTrue(first, sent[0])
        ack401 = re.match(ack_pattern(transport, r'echotest_in@127\.0\.0\.1'), sent[1])
        self.assertTrue(ack401, sent[1])
        second = re.match(invite_pattern(transport, True), sent[2])
        self.assertTrue(second, sent[2])
        ack200 = re.match(ack_pattern(transport, contact), sent[3])
        self.assertTrue(ack200, sent[3])
        bye = re.match(bye_pattern(transport, contact), sent[4])
        self.assertTrue(bye, sent[4])
        n = int(first.group('cseq'))
        self.assertTrue(1 <= n <= 10000)
        self.assertEqual([int(x.group('cseq')) for x in (ack401, second, ack200, bye)], [n, n + 1, n + 1, n + 2])
        # The 401's ACK reuses the INVITE's branch.
        branch = lambda m: re.search(r'branch=(z9hG4bK\w+)', m).group(1)
        self.assertEqual(branch(sent[1]), branch(sent[0]))
        self.assertEqual(len({branch(sent[0]), branch(sent[2]), branch(sent[3]), branch(sent[4])}), 4)

        # The digest response, computed here independently, in uppercase hex.
        account = 'echotest@127.0.0.1'
        ha1 = md5hex(account + ':voxtrel.test:Tib4Welo')
        ha2 = md5hex('INVITE:sip:' + account)
        expected = md5hex('%s:4f1a2b3c5d6e:00000001:%s:auth:%s' % (ha1, second.group('cnonce'), ha2))
        self.assertEqual(second.group('response'), expected)

    def test_udp(self):
        self.call('UDP')

    def test_tcp(self):
        self.call('TCP')


@unittest.skipUnless(os.path.exists(PROBE), 'build the Windows tree first')
class OtherPeers(unittest.TestCase):
    def test_sipp_that_never_answers_over_udp(self):
        code, log, took, _, received, _ = call_sipp(self, SILENT_SCENARIO, 'UDP')
        self.assertEqual(code, 1, log)
        self.assertEqual([m.split(' ')[0] for m in received], ['INVITE'])  # sent once, never repeated
        self.assertEqual(received, sent_messages(log))
        self.assertTrue(log.endswith('Timeout: 3000ms\r\n'), log[-200:])
        self.assertLess(took, 10)

    def test_udp_peer_that_never_answers(self):
        peer = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        peer.bind(('127.0.0.1', 5060))
        try:
            code, log = run_probe('127.0.0.1', 'UDP')
            peer.settimeout(0.1)
            datagrams = []
            try:
                while True:
                    datagrams.append(peer.recv(65536))
            except socket.timeout:
                pass
        finally:
            peer.close()
        self.assertEqual(code, 1, log)
        self.assertEqual(len(datagrams), 1)
        self.assertTrue(datagrams[0].startswith(b'INVITE '))
        self.assertEqual([m.split(' ')[0] for m in sent_messages(log)], ['INVITE'])
        self.assertTrue(log.endswith('Timeout: 3000ms\r\n'), log[-200:])

    def test_tcp_peer_that_closes_the_connection(self):
        server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        server.bind(('127.0.0.1', 5060))
        server.listen(1)
        got = []

        def serve():
            conn, _ = server.accept()
            conn.settimeout(5)
            try:
                got.append(conn.recv(65536))
            finally:
                conn.close()

        thread = threading.Thread(target=serve, daemon=True)
        thread.start()
        try:
            code, log = run_probe('127.0.0.1', 'TCP')
        finally:
            thread.join(10)
            server.close()
        self.assertEqual(code, 1, log)
        self.assertTrue(got and got[0].startswith(b'INVITE '))
        self.assertEqual([m.split(' ')[0] for m in sent_messages(log)], ['INVITE'])  # no BYE
        self.assertNotIn('Timeout:', log)

    @unittest.skipUnless(ISOLATED, 'needs the isolated namespace (no resolver outside is asked)')
    def test_name_that_does_not_resolve(self):
        code, log = run_probe('no-such-host.invalid', 'UDP')
        self.assertEqual(code, 1)
        lines = [l for l in log.split('\r\n') if l]
        self.assertEqual(len(lines), 1, log)
        self.assertTrue(lines[0].startswith('Socket error at gethostbyname:  11001 - '), lines[0])


if __name__ == '__main__':
    program = unittest.main(argv=sys.argv, exit=False, verbosity=2)
    r = program.result
    failed = len(r.failures) + len(r.errors)
    skipped = len(r.skipped)
    print('sip: %d passed, %d failed, %d skipped' % (r.testsRun - failed - skipped, failed, skipped))
    sys.exit(1 if failed else 0)
