#!/usr/bin/env python3
"""A user-space link emulator for the lab: two TUN devices joined by this
process, which hands every packet from one to the other after a fixed delay
and, optionally, drops every n-th packet (per direction).

The kernel here has no netem, so delay on a link comes from here. The lab
creates the two devices through this program, moves each into its namespace
and gives them addresses; this program keeps the file descriptors.

  linkemu.py NAME_A NAME_B [--delay-ab MS] [--delay-ba MS] [--drop-every N]

Prints "ready" on stdout once both devices exist; runs until SIGTERM.
"""
import argparse
import fcntl
import heapq
import os
import select
import signal
import struct
import sys
import time

TUNSETIFF = 0x400454CA
IFF_TUN = 0x0001
IFF_NO_PI = 0x1000
MTU = 65535


def open_tun(name):
    fd = os.open('/dev/net/tun', os.O_RDWR | os.O_NONBLOCK)
    fcntl.ioctl(fd, TUNSETIFF, struct.pack('16sH', name.encode(), IFF_TUN | IFF_NO_PI))
    return fd


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('name_a')
    ap.add_argument('name_b')
    ap.add_argument('--delay-ab', type=float, default=0.0, help='milliseconds from A to B')
    ap.add_argument('--delay-ba', type=float, default=0.0, help='milliseconds from B to A')
    ap.add_argument('--drop-every', type=int, default=0, help='drop every n-th packet in each direction')
    args = ap.parse_args()

    a, b = open_tun(args.name_a), open_tun(args.name_b)
    peer = {a: b, b: a}
    delay = {a: args.delay_ab / 1000.0, b: args.delay_ba / 1000.0}
    seen = {a: 0, b: 0}
    queue = []  # (due time, sequence, destination fd, packet)
    sequence = 0
    running = [True]
    signal.signal(signal.SIGTERM, lambda *_: running.__setitem__(0, False))
    signal.signal(signal.SIGINT, lambda *_: running.__setitem__(0, False))
    print('ready', flush=True)

    while running[0]:
        now = time.monotonic()
        while queue and queue[0][0] <= now:
            _, _, dest, packet = heapq.heappop(queue)
            try:
                os.write(dest, packet)
            except OSError:
                pass  # the device is down or gone: the packet is lost, as on a wire
        timeout = max(0.0, queue[0][0] - now) if queue else 0.5
        try:
            readable, _, _ = select.select([a, b], [], [], timeout)
        except InterruptedError:
            continue
        for fd in readable:
            while True:
                try:
                    packet = os.read(fd, MTU)
                except BlockingIOError:
                    break
                except OSError:
                    break
                seen[fd] += 1
                if args.drop_every and seen[fd] % args.drop_every == 0:
                    continue
                sequence += 1
                heapq.heappush(queue, (time.monotonic() + delay[fd], sequence, peer[fd], packet))
    os.close(a)
    os.close(b)


if __name__ == '__main__':
    sys.exit(main())
