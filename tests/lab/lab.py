#!/usr/bin/env python3
"""The test lab: a PC, two routers, the service host and an "Internet" host,
each in a network namespace of its own, on addresses in 198.18.0.0/15:

    pc 198.18.1.2 -- 198.18.1.1 r1 198.18.2.1 -- 198.18.2.2 r2 198.18.3.1 ==== 198.18.3.2 svc
                                r1 198.18.4.1 -- 198.18.4.2 net                    198.18.3.3 (www)

The r2 == svc link runs through the user-space link emulator (linkemu.py),
which can add delay; loss on the service link comes from an iptables
statistic match in svc. The PC's hosts file gives the service names of the
string resources (sip.voxtrel.test, www.voxtrel.test) and names the routers,
and the PC resolves through that file only, so nothing is ever asked of a
resolver outside. Windows programs run with Wine inside the PC namespace, in
a prefix of their own whose wineserver is started there.

Everything the lab creates is removed again by down(), also when a test
fails (the Lab object is a context manager and down() is idempotent).
Needs root.

  lab.py up [--delay-ms N] [--drop-every N]   set up and wait (Ctrl-C tears down)
"""
import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
BIN = os.path.join(ROOT, 'build', 'windows', 'bin')
LAB_PREFIX = os.path.join(ROOT, 'build', 'wineprefix-lab')

SERVICE = '198.18.3.2'
WEB = '198.18.3.3'
INTERNET = '198.18.4.2'
R1 = '198.18.1.1'
R2 = '198.18.2.2'
PC = '198.18.1.2'

HOSTS = {
    R1: 'r1.lab.test',
    R2: 'r2.lab.test',
    SERVICE: 'sip.voxtrel.test',
    WEB: 'www.voxtrel.test',
    INTERNET: 'net.lab.test',
    PC: 'pc.lab.test',
}


def sh(*args, check=True, **kw):
    return subprocess.run(list(args), check=check, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, **kw)


class Lab:
    def __init__(self, delay_ms=0, drop_every=0, service_up=True, web_resolves=True, internet_up=True,
                 sip_scenario=None):
        """delay_ms is added to the round trip over the r2 == svc link (half
        each way); drop_every=n drops every n-th echo request reaching svc;
        sip_scenario names a SIPp scenario the service answers SIP over TCP
        with (none: nothing listens on 5060)."""
        if os.geteuid() != 0:
            raise PermissionError('the lab needs root')
        self.delay_ms = delay_ms
        self.drop_every = drop_every
        self.service_up = service_up
        self.web_resolves = web_resolves
        self.internet_up = internet_up
        self.sip_scenario = sip_scenario
        self.sipp = None
        tag = 'pxl%d' % os.getpid()
        self.ns = {k: '%s-%s' % (tag, k) for k in ('pc', 'r1', 'r2', 'svc', 'net')}
        self.tag = tag
        self.emulator = None
        self.wine_started = False
        self._up = False

    # -- set-up and tear-down --------------------------------------------
    def __enter__(self):
        try:
            self.up()
        except BaseException:
            self.down()
            raise
        return self

    def __exit__(self, *exc):
        self.down()

    def ip(self, ns, *args):
        return sh('ip', '-n', self.ns[ns], *args)

    def exec(self, ns, *args, check=True, timeout=None, env=None):
        # Output through files, not pipes: Wine's helper processes (and a
        # wineserver gone to the background) inherit the descriptors and would
        # keep a pipe open long after the program itself has ended.
        with tempfile.TemporaryFile('w+') as out, tempfile.TemporaryFile('w+') as err:
            result = subprocess.run(['ip', 'netns', 'exec', self.ns[ns]] + list(args), timeout=timeout, env=env,
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=err)
            out.seek(0)
            err.seek(0)
            result.stdout, result.stderr = out.read(), err.read()
        if check and result.returncode != 0:
            raise subprocess.CalledProcessError(result.returncode, result.args, result.stdout, result.stderr)
        return result

    def veth(self, a, a_if, a_addr, b, b_if, b_addr):
        sh('ip', 'link', 'add', a_if, 'netns', self.ns[a], 'type', 'veth', 'peer', 'name', b_if, 'netns', self.ns[b])
        self.ip(a, 'addr', 'add', a_addr, 'dev', a_if)
        self.ip(b, 'addr', 'add', b_addr, 'dev', b_if)
        self.ip(a, 'link', 'set', a_if, 'up')
        self.ip(b, 'link', 'set', b_if, 'up')

    def up(self):
        self._up = True
        for name in self.ns.values():
            sh('ip', 'netns', 'add', name)
        for key in self.ns:
            self.ip(key, 'link', 'set', 'lo', 'up')
            # Routers answer every probe: no ICMP rate limit in the lab.
            self.exec(key, 'sysctl', '-qw', 'net.ipv4.icmp_ratelimit=0')
            self.exec(key, 'sysctl', '-qw', 'net.ipv4.icmp_msgs_per_sec=100000')
        for router in ('r1', 'r2'):
            self.exec(router, 'sysctl', '-qw', 'net.ipv4.ip_forward=1')
        t = self.tag
        self.veth('pc', t + 'p', PC + '/24', 'r1', t + 'a', R1 + '/24')
        self.veth('r1', t + 'b', '198.18.2.1/24', 'r2', t + 'c', R2 + '/24')
        self.veth('r1', t + 'd', '198.18.4.1/24', 'net', t + 'e', INTERNET + '/24')

        # r2 == svc through the link emulator.
        half = self.delay_ms / 2.0
        self.emulator = subprocess.Popen(
            [sys.executable, os.path.join(ROOT, 'tests', 'lab', 'linkemu.py'), t + 'x', t + 'y',
             '--delay-ab', str(half), '--delay-ba', str(half)],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        if self.emulator.stdout.readline().strip() != 'ready':
            raise RuntimeError('link emulator did not start: ' + self.emulator.stderr.read())
        sh('ip', 'link', 'set', t + 'x', 'netns', self.ns['r2'])
        sh('ip', 'link', 'set', t + 'y', 'netns', self.ns['svc'])
        self.ip('r2', 'addr', 'add', '198.18.3.1/24', 'dev', t + 'x')
        self.ip('svc', 'addr', 'add', SERVICE + '/24', 'dev', t + 'y')
        self.ip('svc', 'addr', 'add', WEB + '/24', 'dev', t + 'y')
        self.ip('r2', 'link', 'set', t + 'x', 'up')
        self.ip('svc', 'link', 'set', t + 'y', 'up' if self.service_up else 'down')

        self.ip('pc', 'route', 'add', 'default', 'via', R1)
        self.ip('r1', 'route', 'add', '198.18.3.0/24', 'via', R2)
        self.ip('r2', 'route', 'add', 'default', 'via', '198.18.2.1')
        if self.service_up:
            self.ip('svc', 'route', 'add', 'default', 'via', '198.18.3.1')
        self.ip('net', 'route', 'add', 'default', 'via', '198.18.4.1')
        if not self.internet_up:
            # Silent, not refused: a router's "unreachable" would count as a reply.
            self.exec('net', 'iptables', '-A', 'INPUT', '-j', 'DROP')
        if self.drop_every:
            self.exec('svc', 'iptables', '-A', 'INPUT', '-p', 'icmp', '--icmp-type', 'echo-request', '-m', 'statistic',
                      '--mode', 'nth', '--every', str(self.drop_every), '--packet', '0', '-j', 'DROP')

        if self.sip_scenario:
            self.sipp = subprocess.Popen(
                ['ip', 'netns', 'exec', self.ns['svc'], 'sipp', '-sf', self.sip_scenario, '-i', SERVICE, '-p', '5060',
                 '-t', 't1', '-m', '1', '-nostdin', '-timeout', '120s'],
                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd='/tmp')

        # The PC resolves only from its own hosts file.
        etc = '/etc/netns/' + self.ns['pc']
        os.makedirs(etc, exist_ok=True)
        with open(etc + '/hosts', 'w') as f:
            f.write('127.0.0.1 localhost\n')
            for address, name in HOSTS.items():
                if name == 'www.voxtrel.test' and not self.web_resolves:
                    continue
                f.write('%s %s\n' % (address, name))
        with open(etc + '/nsswitch.conf', 'w') as f:
            f.write('hosts: files\n')
        open(etc + '/resolv.conf', 'w').close()

    def down(self):
        if not self._up:
            return
        self._up = False
        if self.wine_started:
            self.exec('pc', 'wineserver', '-k', check=False, env=self.wine_env())
            self.wine_started = False
        if self.sipp and self.sipp.poll() is None:
            self.sipp.kill()
            self.sipp.wait()
        if self.emulator and self.emulator.poll() is None:
            self.emulator.terminate()
            try:
                self.emulator.wait(5)
            except subprocess.TimeoutExpired:
                self.emulator.kill()
                self.emulator.wait()
        if self.emulator:
            self.emulator.stdout.close()
            self.emulator.stderr.close()
            self.emulator = None
        for name in self.ns.values():
            pids = sh('ip', 'netns', 'pids', name, check=False).stdout.split()
            for pid in pids:
                try:
                    os.kill(int(pid), signal.SIGKILL)
                except (ProcessLookupError, ValueError):
                    pass
            sh('ip', 'netns', 'del', name, check=False)
            shutil.rmtree('/etc/netns/' + name, ignore_errors=True)

    # -- Windows programs in the PC namespace ------------------------------
    def wine_env(self):
        env = dict(os.environ)
        env.update(WINEPREFIX=LAB_PREFIX, WINEDEBUG='-all', WINEARCH='win64', LC_ALL='ru_RU.UTF-8',
                   WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d')
        env.pop('DISPLAY', None)
        return env

    def start_wine(self):
        env = self.wine_env()
        # A server of this prefix started elsewhere would own the sockets.
        subprocess.run(['wineserver', '-k'], env=env, stderr=subprocess.DEVNULL)
        ready = os.path.join(LAB_PREFIX, '.probix-ready')
        if not os.path.exists(ready):
            self.exec('pc', 'bash', '-c', 'source "%s/scripts/wine-env" && probix_wine_prefix' % ROOT, env=env,
                      timeout=300)
        self.exec('pc', 'wineserver', '-p', env=env)
        self.exec('pc', 'wine', 'cmd', '/c', 'exit', env=env, timeout=120)
        self.wine_started = True

    def wine(self, program, *args, timeout=600):
        if not self.wine_started:
            self.start_wine()
        path = os.path.join(BIN, program)
        return self.exec('pc', 'wine', path, *args, check=False, timeout=timeout, env=self.wine_env())

    def shell(self, ns, command, timeout=600):
        return self.exec(ns, 'bash', '-c', command, check=False, timeout=timeout)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument('command', choices=['up'])
    ap.add_argument('--delay-ms', type=float, default=0)
    ap.add_argument('--drop-every', type=int, default=0)
    args = ap.parse_args()
    with Lab(delay_ms=args.delay_ms, drop_every=args.drop_every) as lab:
        print('lab up; namespaces:', ' '.join(lab.ns.values()))
        print('e.g.: ip netns exec %s ping -c 3 sip.voxtrel.test' % lab.ns['pc'])
        try:
            signal.pause()
        except KeyboardInterrupt:
            pass


if __name__ == '__main__':
    main()
