#!/usr/bin/env python3
"""Runs serial_wintest.exe against a Wine COM port backed by a pseudo-terminal pair.

The Wine end of a socat pty pair becomes COM<n> of the project's prefix; this script holds the
Linux end: it checks the 256 bytes the test writes, answers them reversed, and then stops
reading so that the test can check its write time-out.
"""
import os
import select
import subprocess
import sys
import tempfile
import time

root = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
wine_run = os.path.join(root, "tools", "wine-run")
# The prefix the test program runs in (inside a test run, the shard ctest gave this test).
prefix = subprocess.check_output([wine_run, "--prefix"], text=True).strip()


def read_exactly(fd, count, timeout):
    data = b""
    deadline = time.time() + timeout
    while len(data) < count:
        left = deadline - time.time()
        if left <= 0:
            break
        ready, _, _ = select.select([fd], [], [], left)
        if ready:
            data += os.read(fd, count - len(data))
    return data


def main():
    exe, port = sys.argv[1], int(sys.argv[2])
    tmp = tempfile.mkdtemp(prefix="zuvo-serial-")
    wine_end, linux_end = os.path.join(tmp, "ttyWINE"), os.path.join(tmp, "ttyLINUX")
    socat = subprocess.Popen(
        ["socat", f"pty,raw,echo=0,link={wine_end}", f"pty,raw,echo=0,link={linux_end}"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    link = os.path.join(prefix, "dosdevices", f"com{port}")
    status = 1
    try:
        for _ in range(100):
            if os.path.exists(wine_end) and os.path.exists(linux_end):
                break
            time.sleep(0.05)
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(wine_end, link)
        fd = os.open(linux_end, os.O_RDWR | os.O_NOCTTY)
        env = dict(os.environ, ZUVO_TEST_COM_PORT=str(port))
        test = subprocess.Popen([wine_run, exe, "--gtest_color=no"], env=env)
        pattern = read_exactly(fd, 256, 30)
        if pattern != bytes(range(256)):
            print(f"serial_driver: expected 0..255, got {len(pattern)} bytes: {pattern[:16]!r}")
        else:
            os.write(fd, bytes(reversed(pattern)))
        # From here on the Linux end is kept open but never read: the line stalls.
        status = test.wait(timeout=120)
        os.close(fd)
        if pattern != bytes(range(256)):
            status = 1
    finally:
        if os.path.lexists(link):
            os.remove(link)
        socat.terminate()
        socat.wait()
    return status


if __name__ == "__main__":
    sys.exit(main())
