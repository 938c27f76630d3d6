#!/usr/bin/python3
"""The Linux end of the tower light's Wine COM port, started by light_wintest.exe.

    light_line.py MODE WORKDIR DOSDEVICES PORT BAUD

Creates a pseudo-terminal pair with socat, maps COM<PORT> of the Wine prefix (the symbolic
link DOSDEVICES/com<PORT>) to one end and serves the other end in MODE:

  capture  records every byte that arrives; at the end writes them to WORKDIR/line.bin; a
           file WORKDIR/peek is answered with WORKDIR/seen holding the bytes so far
  modbus   a Modbus RTU slave (pymodbus), unit 1, coils 0 to 7 starting as 0,1,0,1,0,0,0,0;
           a file WORKDIR/query-N is answered with WORKDIR/coils-N holding coils 0 to 3 as
           the characters 0 and 1
  stall    holds the end open and never reads it; WORKDIR/fill makes it fill the line's
           buffers from the Wine end's side until nothing more fits, answered by
           WORKDIR/filled holding the number of bytes

The test and this script talk through files in WORKDIR: "ready" once the port is mapped (or
"error" with the reason), then the test writes "stop" after closing the port; this script
removes the mapping, ends socat and writes "done". It gives up by itself after a few minutes
so that a crashed test leaves nothing running.
"""
import asyncio
import errno
import os
import select
import shutil
import subprocess
import sys
import time

LIFETIME_S = 240
POLL_S = 0.02
FILL_BYTE = b"\x55"  # never part of a light frame, so filler and frames stay apart


class Failure(Exception):
    pass


def write_file(workdir, name, data):
    """Writes a file the test polls for: complete before it appears under its name."""
    temporary = os.path.join(workdir, "." + name)
    with open(temporary, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode())
    os.replace(temporary, os.path.join(workdir, name))


def take_request(workdir, name):
    path = os.path.join(workdir, name)
    if os.path.exists(path):
        os.remove(path)
        return True
    return False


def stop_requested(workdir, started):
    return os.path.exists(os.path.join(workdir, "stop")) or time.time() - started > LIFETIME_S


def start_line(workdir):
    socat = shutil.which("socat")
    if socat is None:
        raise Failure("socat is not installed")
    wine_end, linux_end = os.path.join(workdir, "ttyWINE"), os.path.join(workdir, "ttyLINUX")
    process = subprocess.Popen(
        [socat, f"pty,raw,echo=0,link={wine_end}", f"pty,raw,echo=0,link={linux_end}"],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.time() + 10
    while not (os.path.exists(wine_end) and os.path.exists(linux_end)):
        if process.poll() is not None or time.time() > deadline:
            process.kill()
            raise Failure("socat did not create the pseudo-terminal pair")
        time.sleep(POLL_S)
    return process, wine_end, linux_end


def map_port(link, target):
    """Points the COM port at target, replacing whatever an earlier run left there."""
    temporary = link + ".new"
    if os.path.lexists(temporary):
        os.remove(temporary)
    os.symlink(target, temporary)
    os.replace(temporary, link)


def unmap_port(link, target):
    if os.path.islink(link) and os.readlink(link) == target:
        os.remove(link)


def serve_capture(workdir, linux_end, started):
    fd = os.open(linux_end, os.O_RDWR | os.O_NOCTTY)
    write_file(workdir, "ready", "")
    received = bytearray()
    while True:
        ready, _, _ = select.select([fd], [], [], POLL_S)
        if ready:
            received += os.read(fd, 4096)
        elif stop_requested(workdir, started):
            break
        if take_request(workdir, "peek"):
            write_file(workdir, "seen", bytes(received))
    # The port is closed before "stop": whatever is still under way arrives within moments.
    quiet_since = time.time()
    while time.time() - quiet_since < 0.2:
        ready, _, _ = select.select([fd], [], [], POLL_S)
        if ready:
            received += os.read(fd, 4096)
            quiet_since = time.time()
    write_file(workdir, "line.bin", bytes(received))
    os.close(fd)


def fill_line(wine_end):
    """Writes from the Wine end's side until neither the pseudo-terminals nor socat take
    more: after that, nothing the Wine program writes can leave its end. The kernel keeps
    spare small buffers that only small writes reach, so the last rounds write single bytes."""
    fd = os.open(wine_end, os.O_WRONLY | os.O_NOCTTY | os.O_NONBLOCK)
    total = 0
    for size in (1024, 8, 1):
        chunk = FILL_BYTE * size
        idle_since = time.time()
        while time.time() - idle_since < 0.3:
            try:
                total += os.write(fd, chunk)
                idle_since = time.time()
            except OSError as error:
                if error.errno != errno.EAGAIN:
                    raise
                time.sleep(POLL_S)
    os.close(fd)
    return total


def serve_stall(workdir, wine_end, linux_end, started):
    fd = os.open(linux_end, os.O_RDWR | os.O_NOCTTY)
    write_file(workdir, "ready", "")
    while not stop_requested(workdir, started):
        if take_request(workdir, "fill"):
            write_file(workdir, "filled", str(fill_line(wine_end)))
        time.sleep(POLL_S)
    os.close(fd)


def serve_modbus(workdir, linux_end, baud, started):
    try:
        from pymodbus.datastore import (ModbusSequentialDataBlock, ModbusServerContext,
                                        ModbusSlaveContext)
        from pymodbus.server.async_io import ModbusSerialServer
        from pymodbus.transaction import ModbusRtuFramer
    except ImportError as error:
        raise Failure(f"pymodbus is not installed for {sys.executable}: {error}")

    async def serve():
        # zero_mode: coil address n on the line is entry n of the block.
        slave = ModbusSlaveContext(co=ModbusSequentialDataBlock(0, [0, 1, 0, 1, 0, 0, 0, 0]),
                                   zero_mode=True)
        context = ModbusServerContext(slaves={1: slave}, single=False)
        server = ModbusSerialServer(context, ModbusRtuFramer, port=linux_end, baudrate=baud,
                                    bytesize=8, parity="N", stopbits=1)
        await server.start()
        if server.transport is None:
            raise Failure(f"the Modbus slave could not open {linux_end}")
        write_file(workdir, "ready", "")
        while not stop_requested(workdir, started):
            for name in sorted(os.listdir(workdir)):
                if name.startswith("query-") and take_request(workdir, name):
                    coils = slave.getValues(1, 0, count=4)
                    write_file(workdir, "coils-" + name[len("query-"):],
                               "".join("1" if c else "0" for c in coils))
            await asyncio.sleep(POLL_S)
        await server.shutdown()

    asyncio.run(serve())


def main():
    mode, workdir, dosdevices, port, baud = sys.argv[1:6]
    # Whatever this process inherited as output may be the test runner's pipe, which must not
    # stay open after the test: everything goes to a log in the shared folder instead.
    log = os.open(os.path.join(workdir, "peer.log"), os.O_WRONLY | os.O_CREAT | os.O_APPEND)
    null = os.open(os.devnull, os.O_RDONLY)
    os.dup2(null, 0)
    os.dup2(log, 1)
    os.dup2(log, 2)
    os.close(null)
    os.close(log)
    started = time.time()
    link = os.path.join(dosdevices, f"com{int(port)}")
    socat = None
    wine_end = None
    try:
        if not os.path.isdir(dosdevices):
            raise Failure(f"no Wine prefix devices folder {dosdevices}")
        socat, wine_end, linux_end = start_line(workdir)
        map_port(link, wine_end)
        if mode == "capture":
            serve_capture(workdir, linux_end, started)
        elif mode == "stall":
            serve_stall(workdir, wine_end, linux_end, started)
        elif mode == "modbus":
            serve_modbus(workdir, linux_end, int(baud), started)
        else:
            raise Failure(f"unknown mode {mode}")
    except Exception as error:  # every failure reaches the test as its message
        write_file(workdir, "error", f"{type(error).__name__}: {error}")
    finally:
        if wine_end is not None:
            unmap_port(link, wine_end)
        if socat is not None:
            socat.terminate()
            socat.wait()
        write_file(workdir, "done", "")


if __name__ == "__main__":
    main()
