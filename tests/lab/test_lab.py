#!/usr/bin/env python3
"""Whole checks over the lab's routed paths, with probix-cli.exe under Wine
in the PC namespace. Needs root and the Windows build; skips otherwise.

  test_lab.py [-k PATTERN]       runs the tests; the last line reads
                                 "lab: N passed, N failed[, N skipped]"
"""
import os
import re
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lab  # noqa: E402

S = {  # the shipped texts the checks below look for
    'ping_title': 'Проверка доступности сервера',
    'trace_title': 'Проверка задержек ICMP',
    'available': 'Сервис доступен',
    'unavailable': 'Сервис недоступен',
    'loss': 'Большие потери пакетов к сервису',
    'hop': 'Большие задержки на узле %s',
    'dns': 'DNS не доступен',
    'internet': 'Internet не доступен',
    'sip_tcp': 'Проверка подключения SIP TCP',
}
SCENARIO = os.path.join(lab.ROOT, 'tests', 'sip', 'uas_digest_echo.xml')


class Run:
    """One probix-cli run: its exit code, result text lines and items."""

    def __init__(self, the_lab, *options):
        with tempfile.TemporaryDirectory() as tmp:
            result, items = os.path.join(tmp, 'result.txt'), os.path.join(tmp, 'items.tsv')
            proc = the_lab.wine('probix-cli.exe', '-i=' + lab.INTERNET, '-o=Z:' + result, '-r=Z:' + items, *options)
            self.code, self.stdout, self.stderr = proc.returncode, proc.stdout, proc.stderr
            self.text = ''
            if os.path.exists(result):
                with open(result, encoding='utf-8', newline='') as f:
                    self.text = f.read()
            self.items = []
            if os.path.exists(items):
                with open(items, encoding='utf-8', newline='') as f:
                    for line in f:
                        grade, title, value, recommendation = line.rstrip('\n').split('\t')
                        self.items.append((int(grade), title, value, recommendation))
        self.lines = self.text.split('\r\n')

    def titles(self):
        return [t for _, t, _, _ in self.items]

    def icmp_items(self):
        """The items of the ping and route checks (the SIP checks follow them)."""
        return [i for i in self.items if not i[1].startswith(S['sip_tcp'][:-4])]

    def block(self, title):
        """The lines of the check with `title`, from its title to its verdict."""
        start = self.lines.index(title)
        end = next(i for i in range(start, len(self.lines)) if self.lines[i].startswith(' - '))
        return self.lines[start:end + 1]

    def __str__(self):
        return 'exit %s\n%s\nitems: %r\nstderr: %s' % (self.code, self.text, self.items, self.stderr[-500:])


@unittest.skipUnless(os.geteuid() == 0, 'the lab needs root')
@unittest.skipUnless(os.path.exists(os.path.join(lab.BIN, 'probix-cli.exe')), 'build the Windows tree first')
class LabTest(unittest.TestCase):
    def test_whole_run_through_two_routers_with_the_echo_service(self):
        with lab.Lab(sip_scenario=SCENARIO) as the_lab:
            run = Run(the_lab)
        self.assertEqual(run.code, 0, run)
        self.assertEqual(run.titles(), [S['available'], S['sip_tcp']], run)
        self.assertIn('Stop call from probix', run.text)
        trace = run.block(S['trace_title'])
        self.assertIn('Tracing route to sip.voxtrel.test [198.18.3.2]:', trace)
        hops = [l for l in trace if re.match(r'^ {2}\d\t', l)]
        self.assertEqual(len(hops), 3, run)
        self.assertTrue(hops[0].startswith('  1\t') and hops[0].endswith('\tr1.lab.test [198.18.1.1]'), hops)
        self.assertTrue(hops[1].startswith('  2\t') and hops[1].endswith('\tr2.lab.test [198.18.2.2]'), hops)
        self.assertTrue(hops[2].startswith('  3\t') and hops[2].endswith('\tsip.voxtrel.test [198.18.3.2]'), hops)
        after = trace.index(hops[2])
        self.assertEqual(trace[after + 1:after + 3], ['', 'Trace complete.'])
        # The ping block: ten replies from the service, then its statistics.
        ping = run.block(S['ping_title'])
        self.assertEqual(len([l for l in ping if l.startswith('Reply from 198.18.3.2: bytes=512 ')]), 10, run)

    def test_delay_behind_router_two_flags_that_hop(self):
        with lab.Lab(delay_ms=80) as the_lab:
            run = Run(the_lab)
        hop_items = [i for i in run.items if i[1].startswith(S['hop'] % '')]
        self.assertEqual([i[1] for i in hop_items], [S['hop'] % 'sip.voxtrel.test'], run)
        self.assertEqual(hop_items[0][0], 1)
        self.assertTrue(78 <= int(hop_items[0][2].rstrip('ms')) <= 120, hop_items)
        self.assertEqual(run.items[0][:2], (0, S['available']))  # 80 ms is no ping complaint

    def test_loss_on_the_service_link_fails_the_service_check(self):
        with lab.Lab(drop_every=3) as the_lab:
            run = Run(the_lab)
        grade, title, value, recommendation = run.icmp_items()[0]
        self.assertEqual((grade, title), (3, S['loss']), run)
        self.assertIn(value, ('30%', '40%'))
        self.assertTrue(recommendation.startswith(value + ' '), recommendation)
        self.assertIn('sip.voxtrel.test', recommendation)
        # A failed service ping is followed by the DNS probe, which resolves.
        shown = [l for l in run.stdout.splitlines() if l in (S['ping_title'], S['trace_title'])]
        self.assertEqual(shown, [S['ping_title'], S['ping_title'], S['trace_title']], run.stdout)

    def test_service_down_goes_to_dns_then_internet(self):
        with lab.Lab(service_up=False, web_resolves=False, internet_up=False) as the_lab:
            run = Run(the_lab)
        self.assertEqual(run.code, 3, run)
        self.assertEqual(run.titles(), [S['unavailable'], S['dns'], S['internet']], run)
        self.assertEqual([i[0] for i in run.items], [3, 3, 3])
        self.assertEqual(run.lines.count(S['ping_title']), 3, run)
        self.assertNotIn(S['trace_title'], run.lines)
        self.assertIn('Could not find IP address for www.voxtrel.test: 0x00002af9 - ', run.text)
        self.assertIn('Ping statistics for 198.18.4.2:', run.text)


if __name__ == '__main__':
    argv = [sys.argv[0]] + sys.argv[1:]
    program = unittest.main(argv=argv, exit=False, verbosity=2)
    r = program.result
    failed = len(r.failures) + len(r.errors)
    skipped = len(r.skipped)
    print('lab: %d passed, %d failed, %d skipped' % (r.testsRun - failed - skipped, failed, skipped))
    sys.exit(1 if failed else 0)
