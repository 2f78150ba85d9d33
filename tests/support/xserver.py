#!/usr/bin/python3
"""A private X server (Xvfb) for tests that need a real display; every test starts it here.

As a module: start_xvfb() starts one and returns it with its display name.
As a program: xserver.py [--screen WxHxD] -- COMMAND [ARGS...] runs the command with DISPLAY set
to a fresh server (and AVATELLO_WINDOW_TIMEOUT to the seconds a program may take to show its
window), stops the server afterwards and exits with the command's status.

The server picks a free display itself and reports its number (-displayfd), so servers started
at the same moment by parallel tests never share one, and no cookie is involved.

It never resets (-noreset). By default Xvfb resets when its last client disconnects, and the
reset closes every connection it has accepted but not yet finished setting up: a program that
connects just after a probe such as `xwininfo -root` has left is dropped with "could not
connect to display" whenever the server, short of CPU, sees the new connection before the
probe's goodbye.
"""

import os
import select
import signal
import subprocess
import sys
import tempfile
import time

START_TIMEOUT = 30  # seconds for Xvfb to report its display; it runs xkbcomp, slow on busy cores
# Seconds a program under test has to show its first window, for every test that starts one on
# a server from here (commands run by main() find it in AVATELLO_WINDOW_TIMEOUT). Starting Qt
# is the slowest step: on two cores shared with builds it has taken over 20 s.
WINDOW_TIMEOUT = 60


class XServerError(Exception):
    """The X server did not start."""


def start_xvfb(log, screen="1024x768x24"):
    """Starts Xvfb in its own process group, output to the open file log.

    Returns (process, display), display like ":3"; raises XServerError if it does not start."""
    read_end, write_end = os.pipe()
    process = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-nolisten", "tcp",
         "-noreset"],
        pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=log, stderr=log,
        start_new_session=True)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + START_TIMEOUT
    try:
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or process.poll() is not None:
                stop_process(process)
                raise XServerError("Xvfb did not report a display number")
            ready, _, _ = select.select([read_end], [], [], left)
            if ready:
                chunk = os.read(read_end, 16)
                if not chunk:
                    stop_process(process)
                    raise XServerError("Xvfb closed its display pipe without a number")
                number += chunk
    finally:
        os.close(read_end)
    return process, ":" + number.decode().strip()


def client_env(display, base=None):
    """The environment for a client of that display: no cookie file, no Wayland."""
    env = {k: v for k, v in (os.environ if base is None else base).items()
           if k not in ("XAUTHORITY", "WAYLAND_DISPLAY")}
    env["DISPLAY"] = display
    return env


def stop_process(process, grace=3.0):
    """Ends a process started here (and its process group), by its id."""
    if process is None or process.poll() is not None:
        return
    try:
        os.killpg(process.pid, signal.SIGTERM)
    except ProcessLookupError:
        return
    try:
        process.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        process.wait(timeout=grace)


def main(argv):
    screen = "1024x768x24"
    if len(argv) >= 2 and argv[0] == "--screen":
        screen, argv = argv[1], argv[2:]
    if len(argv) < 2 or argv[0] != "--":
        print("usage: xserver.py [--screen WxHxD] -- COMMAND [ARGS...]", file=sys.stderr)
        return 2
    # A test time-out ends this process with SIGTERM: stop the server on the way out.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))
    with tempfile.TemporaryFile() as log:
        xvfb = None
        status = 1
        try:
            xvfb, display = start_xvfb(log, screen)
            env = client_env(display)
            env["AVATELLO_WINDOW_TIMEOUT"] = str(WINDOW_TIMEOUT)
            status = subprocess.run(argv[1:], env=env).returncode
        except XServerError as error:
            print(f"FAIL: {error}")
        finally:
            stop_process(xvfb)
            if status != 0:
                log.seek(0)
                sys.stdout.write("Xvfb said:\n" + log.read().decode(errors="replace"))
        return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
