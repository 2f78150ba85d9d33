#!/usr/bin/python3
"""A keyboard-only road through Avatello with a real screen reader listening: Debian's Orca.

Usage: run_orca.py path/to/avatello [--keep]

The road: Tab round the main window, a template chosen from New, Change Font, Add Text, Move Text,
Finished and Save, by keys alone. At each step the test waits until Orca has said what a listener
must hear there (each button's caption, "Font" and "Size" with their values and the new value an
arrow key chooses, the template's name, the text prompt's label), and at the end checks that the
controls nobody sees were never said.

Everything runs privately, in an Xvfb display with openbox (xsession.py): a session bus, the
accessibility bus (at-spi-bus-launcher), speech-dispatcher, whose only speech module writes what it
is given to a file instead of a sound card, and Orca with its own settings folder. What Orca says
is read from its debug output, which an orca-customizations.py in that folder makes Orca write line
by line (it writes 8 KiB blocks otherwise), so each step's speech can be read as the step ends.

Prints "PASS orca_keyboard_road" with what Orca said at each step, or FAIL with the step, what was
expected and what was said; a failing run keeps its folder (Orca's debug output, the program's
output, a screenshot). Where this user already runs an Orca, the road is skipped (exit status 77),
except in CI (CI=true), where that fails.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from avatello import Avatello  # noqa: E402
from xsession import Failure, XSession, client_env, stop_process, wait_until  # noqa: E402

ROAD_TIMEOUT = 300  # seconds for the whole road; every step has its own, shorter wait
STEP_TIMEOUT = 20  # seconds for Orca to say what a step must make it say
SKIPPED = 77  # the exit status that tells CTest the test was skipped

# Orca 43 (Debian 12) says "Load push button.", Orca 48 (Debian 13) "Load button.".
BUTTON = r"(push )?button"

# Makes Orca write its debug output line by line.
ORCA_CUSTOMIZATIONS = """import orca.debug
if orca.debug.debugFile:
    orca.debug.debugFile = open(orca.debug.debugFile.name, "a", buffering=1)
"""

# speech-dispatcher with one output module, sd_generic, that appends each message to a file; no
# sound card is opened (libao's null driver, set in HOME/.libao).
SPEECHD_CONF = """AddModule "file" "sd_generic" "file.conf"
DefaultModule file
LanguageDefaultModule "en" "file"
AudioOutputMethod "libao"
LogDir "{logs}"
"""
FILE_MODULE_CONF = """GenericExecuteSynth "printf '%s\\\\n' \\'$DATA\\' >> {spoken}"
AddVoice "en" "MALE1" "default"
"""


class ScreenReader:
    """Orca on a private session bus and accessibility bus, speaking to a file."""

    def __init__(self, workdir, display):
        self.workdir = workdir
        self.display = display
        self.runtime = os.path.join(workdir, "orca-runtime")
        self.debug_log = os.path.join(workdir, "orca-debug.txt")
        self.spoken = os.path.join(workdir, "speech-dispatcher-spoken.txt")
        self.bus = None
        self.launcher = None
        self.orca = None
        self.bus_address = None
        self._logs = []

    def start(self):
        home = os.path.join(self.workdir, "orca-home")
        config = os.path.join(home, ".config")
        modules = os.path.join(config, "speech-dispatcher", "modules")
        prefs = os.path.join(self.workdir, "orca-settings")
        for folder in (modules, prefs):
            os.makedirs(folder)
        os.makedirs(self.runtime, mode=0o700)
        with open(os.path.join(config, "speech-dispatcher", "speechd.conf"), "w") as f:
            f.write(SPEECHD_CONF.format(logs=self.workdir))
        with open(os.path.join(modules, "file.conf"), "w") as f:
            f.write(FILE_MODULE_CONF.format(spoken=self.spoken))
        with open(os.path.join(home, ".libao"), "w") as f:
            f.write("default_driver=null\n")
        with open(os.path.join(prefs, "orca-customizations.py"), "w") as f:
            f.write(ORCA_CUSTOMIZATIONS)

        self.bus = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=1"],
            stdout=subprocess.PIPE, stderr=self._log("dbus.log"), stdin=subprocess.DEVNULL,
            start_new_session=True)
        self.bus_address = self.bus.stdout.readline().decode().strip()
        if not self.bus_address:
            raise Failure("dbus-daemon gave no session bus address")
        env = client_env(self.display)
        env.update(DBUS_SESSION_BUS_ADDRESS=self.bus_address, HOME=home, XDG_CONFIG_HOME=config,
                   XDG_RUNTIME_DIR=self.runtime, LC_ALL="C.UTF-8", LANGUAGE="en")
        for name in ("XDG_DATA_HOME", "XDG_CACHE_HOME", "SPEECHD_ADDRESS", "SESSION_MANAGER"):
            env.pop(name, None)
        self.launcher = subprocess.Popen(
            ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=env,
            stdin=subprocess.DEVNULL, stdout=self._log("at-spi.log"), stderr=subprocess.STDOUT,
            start_new_session=True)
        self.orca = subprocess.Popen(
            ["orca", "--user-prefs", prefs, "--debug-file", self.debug_log],
            env=env, stdin=subprocess.DEVNULL, stdout=self._log("orca.log"),
            stderr=subprocess.STDOUT, start_new_session=True)

        def on():
            if self.orca.poll() is not None:
                raise Failure(f"Orca ended at start (exit {self.orca.returncode})")
            return "Screen reader on" in " ".join(self.said())
        wait_until(on, 60, "Orca to say that it is on")

    def said(self):
        """Everything Orca has said so far, one utterance a line."""
        try:
            with open(self.debug_log, encoding="utf-8", errors="replace") as f:
                return re.findall(r"SPEECH OUTPUT: '(.*?)'", f.read())
        except FileNotFoundError:
            return []

    def stop(self):
        for process in (self.orca, self.launcher, self.bus):
            stop_process(process)
        # speech-dispatcher, the accessibility bus and the settings service leave their parents'
        # process groups; each runs with this reader's runtime folder.
        mark = f"XDG_RUNTIME_DIR={self.runtime}".encode()
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(f"/proc/{pid}/environ", "rb") as f:
                    if mark in f.read().split(b"\0"):
                        os.kill(int(pid), signal.SIGKILL)
            except (OSError, ProcessLookupError):
                pass
        for log in self._logs:
            log.close()

    def _log(self, name):
        log = open(os.path.join(self.workdir, name), "wb")
        self._logs.append(log)
        return log


# The road after the window has opened: the keys (xdotool names, space-separated, or "type:" and
# a text to type) and what Orca must say after them.
TAB_STOPS = [r"Icon To Edit", r"Finished Icon", rf"Load {BUTTON}", rf"New {BUTTON}",
             rf"Edit {BUTTON}", rf"Save {BUTTON}", rf"Finished {BUTTON}", rf"Other {BUTTON}",
             r"avatello\.example\.org link"]
ROAD = [
    # Tab round the main window, in reading order, the link included, then round again.
    *[("Tab", stop) for stop in TAB_STOPS + TAB_STOPS[:4]],
    # New's menu from the keyboard: its first item is chosen as it opens, so it is said.
    ("space", r"Choose Color"),
    ("Down", r"AIM Back Color"),
    ("Down", r"^Templates\.?$"),
    # The gallery: its name, then each picture's as the arrows move. (As a window opens, Orca 48
    # may take its first focus in silence: when it hears the key that opened the window only after
    # the window has opened. So a window's first focus is not asked of Orca; the arrows are.)
    ("Return", r"Templates"),
    ("Right", r"Template 2\b"),
    ("Left", r"Template 1\b"),
    *[("Right", rf"Template {n}\b") for n in (2, 3, 4)],
    ("space", rf"New {BUTTON}"),
    # Change Font: each list says what it chooses and its value, and the new value of an arrow.
    ("alt+e", r"Add Text"),
    ("Down", r"Move Text"),
    ("Down", r"Change Font"),
    ("Return", r"Change Font"),
    ("Tab", r"Font combo box\.? Tahoma"),
    ("Tab", r"Size combo box\.? 8\b"),
    ("Down", r"(^| )9\b"),
    ("Down", r"(^| )10\b"),
    ("Tab", rf"OK {BUTTON}"),
    ("space", rf"New {BUTTON}"),
    # Add Text: the prompt's label, said with the dialog's name as its description.
    ("alt+e", r"Add Text"),
    ("Return", r"Add Text dialog", r"Text To Add"),
    ("type:Hi", r"(^| )i\b"),
    ("Return", rf"New {BUTTON}"),
    # Move Text: its buttons by name; Escape closes it.
    ("alt+e", r"Add Text"),
    ("Down", r"Move Text"),
    ("Return", r"Move Text"),
    *[("Tab", rf"{button} {BUTTON}") for button in ("Move Up", "Move Left", "Move Right",
                                                      "Move Down")],
    ("space", r"space"),
    ("Escape", rf"New {BUTTON}"),
    # Finished, then Save: the dialog is said by its name.
    ("alt+f", r"alt"),
    ("alt+s", r"Save Icon dialog"),
]


def keyboard_road(app, reader, workdir):
    """Goes along ROAD, waiting after each step until Orca has said what it must; saves the icon
    in the Save dialog the road ends in. Returns each step's keys and what Orca said."""
    # The hidden box holds the focus as the window opens; its name says where the buttons are.
    wait_until(lambda: "press Tab for the buttons" in " ".join(reader.said()), STEP_TIMEOUT,
               "Orca to say the main window's first focus")
    transcript = []
    for keys, *expected in ROAD:
        start = len(reader.said())
        if keys.startswith("type:"):
            app.x.type(keys[len("type:"):])
        else:
            app.x.key(*keys.split())
        heard = [""]

        def all_said():
            heard[0] = " ".join(u.strip() for u in reader.said()[start:])
            return all(re.search(pattern, heard[0]) for pattern in expected)
        try:
            wait_until(all_said, STEP_TIMEOUT, "Orca's speech")
        except Failure:
            missing = [p for p in expected if not re.search(p, heard[0])]
            raise Failure(f"after {keys}, Orca did not say {missing}; it said: {heard[0]!r}")
        transcript.append((keys, heard[0]))

    saved = os.path.join(workdir, "saved", "icon.bmp")
    os.makedirs(os.path.dirname(saved))
    app.enter_file_name(app.x.wait_window("^Save Icon$"), "^Save Icon$", saved, reactivate=False)
    wait_until(lambda: os.path.exists(saved) and os.path.getsize(saved) == 6966, 10,
               "the saved icon")

    # Controls that nobody sees are never said.
    everything = " ".join(reader.said())
    for hidden in ("Undo copy", "Empty picture", "Text position"):
        if hidden in everything:
            raise Failure(f"Orca said {hidden!r}, a control that is not on screen")
    return transcript


def on_alarm(signum, frame):
    raise Failure(f"the road took longer than {ROAD_TIMEOUT} s")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program", help="path of the built avatello program")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    missing = [tool for tool in ("Xvfb", "openbox", "xdotool", "orca", "dbus-daemon",
                                 "speech-dispatcher") if shutil.which(tool) is None]
    if not os.access("/usr/libexec/at-spi-bus-launcher", os.X_OK):
        missing.append("at-spi-bus-launcher")
    if missing:
        print(f"FAIL orca_keyboard_road: missing {', '.join(missing)} (scripts/install-deps.sh)")
        return 1

    # Orca runs once per user: a second one stops at start, and "orca --replace" would end the
    # user's own screen reader. So the road waits for a machine where this user runs no Orca.
    running = subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"],
                             capture_output=True, text=True).stdout.split()
    if running:
        message = (f"an Orca of this user is running (process {', '.join(running)}); the road "
                   "needs its own and does not replace a screen reader in use")
        if os.environ.get("CI") == "true":
            print(f"FAIL orca_keyboard_road: {message}")
            return 1
        print(f"SKIP orca_keyboard_road: {message}")
        return SKIPPED

    workdir = tempfile.mkdtemp(prefix="avatello-orca-")
    x = XSession(workdir)
    reader = ScreenReader(workdir, None)
    app = None
    started = time.monotonic()
    error = None
    transcript = []
    signal.signal(signal.SIGALRM, on_alarm)
    signal.alarm(ROAD_TIMEOUT)
    try:
        x.start()
        reader.display = x.display
        reader.start()
        app = Avatello(x, program, workdir)
        app.start(environment={"DBUS_SESSION_BUS_ADDRESS": reader.bus_address})
        transcript = keyboard_road(app, reader, workdir)
    except Failure as failure:
        error = str(failure)
    except Exception as exception:  # a fault of the harness or a tool: this run's failure
        error = f"{type(exception).__name__}: {exception}"
    finally:
        signal.alarm(0)
        if error:
            x.keep_screenshot(os.path.join(workdir, "failure.png"))
        if app is not None:
            app.stop()
        reader.stop()
        x.stop()
    elapsed = time.monotonic() - started
    if error:
        print(f"FAIL orca_keyboard_road ({elapsed:.1f} s): {error}")
        print(f"    artefacts kept in {workdir}")
        return 1
    print(f"PASS orca_keyboard_road ({elapsed:.1f} s); what Orca said at each step:")
    for keys, heard in transcript:
        print(f"    {keys:>10}: {heard}")
    if not args.keep:
        shutil.rmtree(workdir, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
