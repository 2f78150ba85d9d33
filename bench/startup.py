#!/usr/bin/python3
"""Start-up time and peak memory of Avatello beside a bare Qt window (the floor).

Runs a private Xvfb server (its own display, chosen with -displayfd), then launches each program
many times, alternating between them, and times each launch from just before the process is
spawned to the moment the X server reports its main window mapped. The MapNotify event is
awaited on the root window through libX11 (ctypes), so nothing polls: the time is taken as soon
as the event arrives. After the window has been up for a moment the program is stopped and its
peak resident memory and CPU time read from the kernel (wait4's rusage).

Three programs are measured: the floor (bare_window: an empty window of the main window's size),
the floor with one button caption measured before the map (bare_window --text: what any text
costs on top), and Avatello.
The goal compares Avatello's median with the floor's. The CPU time (user + system, the whole life
of the process, including the short while its window stays up) is less disturbed than the wall
time when other work shares the machine.

usage: bench/startup.py --app build/src/avatello --bare build/bench/bare_window [--runs 30]
"""

import argparse
import ctypes
import ctypes.util
import os
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

# --- A little of Xlib, through ctypes -------------------------------------------------------------

SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
MAP_NOTIFY = 19
ANY_PROPERTY_TYPE = 0


class XMapEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("event", ctypes.c_ulong),
        ("window", ctypes.c_ulong),
        ("override_redirect", ctypes.c_int),
    ]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", XMapEvent), ("pad", ctypes.c_long * 24)]


def load_xlib():
    name = ctypes.util.find_library("X11") or "libX11.so.6"
    xlib = ctypes.CDLL(name)
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
    xlib.XConnectionNumber.argtypes = [ctypes.c_void_p]
    xlib.XPending.argtypes = [ctypes.c_void_p]
    xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XGetWindowProperty.argtypes = [
        ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
        ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
        ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
        ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
    xlib.XFree.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return xlib


class Display:
    """A connection that sees every top-level window of the display being mapped."""

    def __init__(self, xlib, name):
        self.xlib = xlib
        self.handle = xlib.XOpenDisplay(name.encode())
        if not self.handle:
            raise RuntimeError(f"cannot open display {name}")
        root = xlib.XDefaultRootWindow(self.handle)
        xlib.XSelectInput(self.handle, root, SUBSTRUCTURE_NOTIFY_MASK)
        xlib.XSync(self.handle, 0)
        self.fd = xlib.XConnectionNumber(self.handle)
        self.net_wm_name = xlib.XInternAtom(self.handle, b"_NET_WM_NAME", 0)
        self.wm_name = xlib.XInternAtom(self.handle, b"WM_NAME", 0)

    def title(self, window):
        for atom in (self.net_wm_name, self.wm_name):
            actual_type = ctypes.c_ulong()
            actual_format = ctypes.c_int()
            items = ctypes.c_ulong()
            after = ctypes.c_ulong()
            data = ctypes.c_void_p()
            status = self.xlib.XGetWindowProperty(
                self.handle, window, atom, 0, 256, 0, ANY_PROPERTY_TYPE,
                ctypes.byref(actual_type), ctypes.byref(actual_format), ctypes.byref(items),
                ctypes.byref(after), ctypes.byref(data))
            if status == 0 and data.value:
                text = ctypes.string_at(data.value, items.value).decode("utf-8", "replace")
                self.xlib.XFree(data)
                if text:
                    return text
        return ""

    def drain(self):
        """Throws away the events that have arrived (the previous run's windows going away)."""
        self.xlib.XSync(self.handle, 0)
        event = XEvent()
        while self.xlib.XPending(self.handle):
            self.xlib.XNextEvent(self.handle, ctypes.byref(event))

    def wait_for_map(self, title, deadline):
        """The time at which a top-level window with this title is mapped, or None."""
        event = XEvent()
        while True:
            while self.xlib.XPending(self.handle):
                self.xlib.XNextEvent(self.handle, ctypes.byref(event))
                if event.type == MAP_NOTIFY and not event.xmap.override_redirect:
                    now = time.perf_counter()
                    if self.title(event.xmap.window) == title:
                        return now
            left = deadline - time.perf_counter()
            if left <= 0:
                return None
            select.select([self.fd], [], [], left)

    def close(self):
        self.xlib.XCloseDisplay(self.handle)


# --- The X server ------------------------------------------------------------------------------


def start_xvfb():
    if not shutil.which("Xvfb"):
        sys.exit("Xvfb is not installed (Debian package xvfb)")
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten",
         "tcp", "-noreset"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        ready, _, _ = select.select([read_end], [], [], 10)
        chunk = os.read(read_end, 16) if ready else b""
        if not chunk:
            server.kill()
            sys.exit("Xvfb did not start")
        number += chunk
    os.close(read_end)
    return server, ":" + number.decode().strip()


# --- One launch --------------------------------------------------------------------------------


def launch(display, command, title, environment, settle):
    """Seconds from spawn to the mapped window, peak RSS in KiB and CPU seconds."""
    display.drain()
    actions = [(os.POSIX_SPAWN_OPEN, 0, os.devnull, os.O_RDONLY, 0),
               (os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0),
               (os.POSIX_SPAWN_OPEN, 2, os.devnull, os.O_WRONLY, 0)]
    start = time.perf_counter()
    pid = os.posix_spawn(command[0], command, environment, file_actions=actions)
    mapped = display.wait_for_map(title, start + 20)
    if mapped is not None:
        time.sleep(settle)  # let it paint and settle before its memory is read
    os.kill(pid, signal.SIGTERM)
    _, _, usage = os.wait4(pid, 0)
    if mapped is None:
        sys.exit(f"{' '.join(command)}: no window titled {title!r} within 20 s")
    return mapped - start, usage.ru_maxrss, usage.ru_utime + usage.ru_stime


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--app", required=True, help="the avatello binary")
    parser.add_argument("--bare", required=True, help="the bare_window binary")
    parser.add_argument("--runs", type=int, default=30, help="launches of each (default 30)")
    parser.add_argument("--settle", type=float, default=0.2,
                        help="seconds a window stays up before the program is stopped")
    parser.add_argument("--goal", type=float, default=1.15,
                        help="largest acceptable ratio of the medians (default 1.15)")
    arguments = parser.parse_args()
    bare = os.path.abspath(arguments.bare)
    app = os.path.abspath(arguments.app)
    programs = [("Bare", [bare], "Bare"), ("Bare+text", [bare, "--text"], "Bare"),
                ("Avatello", [app], "Avatello")]
    for path in (bare, app):
        if not os.access(path, os.X_OK):
            sys.exit(f"{path}: not built")

    server, display_name = start_xvfb()
    runtime = tempfile.mkdtemp(prefix="startup-runtime-")
    os.chmod(runtime, 0o700)
    environment = dict(os.environ)
    for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR",
                 "QT_SCREEN_SCALE_FACTORS"):
        environment.pop(name, None)
    environment.update(DISPLAY=display_name, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime)
    try:
        display = Display(load_xlib(), display_name)
        samples = {name: [] for name, _, _ in programs}
        for name, command, title in programs:  # warm-up: page cache, font caches
            launch(display, command, title, environment, arguments.settle)
        for run in range(arguments.runs):
            order = programs if run % 2 == 0 else programs[::-1]
            for name, command, title in order:
                samples[name].append(launch(display, command, title, environment,
                                            arguments.settle))
        display.close()
    finally:
        server.terminate()
        server.wait()
        shutil.rmtree(runtime, ignore_errors=True)

    def median(name, index):
        return statistics.median(sample[index] for sample in samples[name])

    print(f"Start-up to the mapped main window, {arguments.runs} launches each, "
          f"Xvfb {display_name}, xcb platform")
    print(f"{'':10} {'median ms':>10} {'min ms':>8} {'max ms':>8} {'CPU ms':>8} "
          f"{'peak RSS MiB':>13}")
    for name, _, _ in programs:
        wall = [sample[0] * 1000 for sample in samples[name]]
        print(f"{name:10} {statistics.median(wall):10.1f} {min(wall):8.1f} {max(wall):8.1f} "
              f"{median(name, 2) * 1000:8.1f} {median(name, 1) / 1024:13.1f}")
    ratio = median("Avatello", 0) / median("Bare", 0)
    verdict = "met" if ratio <= arguments.goal else "MISSED"
    print(f"Avatello / Bare: {ratio:.2f}x time (goal at most {arguments.goal}x: {verdict}), "
          f"{median('Avatello', 2) / median('Bare', 2):.2f}x CPU, "
          f"{median('Avatello', 1) / median('Bare', 1):.2f}x peak memory")
    print(f"Avatello / Bare+text: {median('Avatello', 0) / median('Bare+text', 0):.2f}x time, "
          f"{median('Avatello', 2) / median('Bare+text', 2):.2f}x CPU, "
          f"{median('Avatello', 1) / median('Bare+text', 1):.2f}x peak memory")


if __name__ == "__main__":
    main()
