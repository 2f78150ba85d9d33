"""A private X display for end-to-end tests: Xvfb with openbox, driven with xdotool.

Everything here talks to the X server only the way a user would: real pointer motion, button
presses and key strokes through the XTEST extension (xdotool), window lookups by title, and
screenshots of the root window (ImageMagick's `import`).
"""

import io
import os
import subprocess
import sys
import time

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xserver import (WINDOW_TIMEOUT, XServerError, client_env, start_xvfb,  # noqa: E402,F401
                     stop_process)


class Failure(Exception):
    """A check or a wait that did not come true."""


class Skip(Exception):
    """A case that cannot check anything on this machine; the message says why."""


POLL = 0.02  # seconds between two looks at a condition


def wait_for(condition, timeout, interval=POLL):
    """Calls condition() until it returns something true or timeout seconds have passed;
    returns its last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


def wait_until(condition, timeout, what, interval=POLL):
    """Calls condition() until it returns something true; returns that, or raises Failure."""
    value = wait_for(condition, timeout, interval)
    if not value:
        raise Failure(f"timed out after {timeout:g} s waiting for {what}")
    return value


# A small, fixed openbox configuration, so that the user's or the system's settings do not change
# how windows are focused, placed or closed. Alt+F4 closes the active window the way its close box
# does: openbox sends it WM_DELETE_WINDOW.
OPENBOX_RC = """<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <resistance><strength>0</strength><screen_edge_strength>0</screen_edge_strength></resistance>
  <focus>
    <focusNew>yes</focusNew>
    <followMouse>no</followMouse>
    <focusLast>yes</focusLast>
    <underMouse>no</underMouse>
  </focus>
  <placement><policy>Smart</policy><center>yes</center></placement>
  <desktops><number>1</number></desktops>
  <margins><top>0</top><bottom>0</bottom><left>0</left><right>0</right></margins>
  <keyboard>
    <keybind key="A-F4"><action name="Close"/></keybind>
    <keybind key="A-Tab"><action name="NextWindow"><dialog>no</dialog></action></keybind>
  </keyboard>
  <mouse>
    <dragThreshold>1</dragThreshold>
    <doubleClickTime>500</doubleClickTime>
    <context name="Client">
      <mousebind button="Left" action="Press">
        <action name="Focus"/><action name="Raise"/>
      </mousebind>
      <mousebind button="Right" action="Press">
        <action name="Focus"/><action name="Raise"/>
      </mousebind>
    </context>
    <context name="Titlebar">
      <mousebind button="Left" action="Press">
        <action name="Focus"/><action name="Raise"/>
      </mousebind>
    </context>
    <context name="Close">
      <mousebind button="Left" action="Click"><action name="Close"/></mousebind>
    </context>
    <context name="Iconify">
      <mousebind button="Left" action="Click"><action name="Iconify"/></mousebind>
    </context>
  </mouse>
</openbox_config>
"""


class XSession:
    """Xvfb (from tests/support/xserver.py) with openbox as its window manager."""

    def __init__(self, workdir, width=1024, height=768):
        self.workdir = workdir
        self.width = width
        self.height = height
        self.display = None
        self.xvfb = None
        self.openbox = None
        self._logs = []

    # ----- life cycle -------------------------------------------------------------------------

    def start(self):
        try:
            self.xvfb, self.display = start_xvfb(self._log("xvfb.log"),
                                                 f"{self.width}x{self.height}x24")
        except XServerError as error:
            raise Failure(str(error))

        home = os.path.join(self.workdir, "wm-home")
        os.makedirs(home, exist_ok=True)
        rc = os.path.join(self.workdir, "openbox-rc.xml")
        with open(rc, "w", encoding="utf-8") as f:
            f.write(OPENBOX_RC)
        env = self.tool_env()
        env["HOME"] = home
        env["XDG_CONFIG_HOME"] = os.path.join(home, ".config")
        log = self._log("openbox.log")
        self.openbox = subprocess.Popen(
            ["openbox", "--sm-disable", "--config-file", rc], env=env,
            stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
        wait_until(self._wm_running, 20, "openbox to claim the display")
        wait_until(self._wm_answers, 20, "openbox to answer a request", interval=0)

    def stop(self):
        stop_process(self.openbox)
        stop_process(self.xvfb)
        for log in self._logs:
            log.close()
        self._logs = []

    def _log(self, name):
        log = open(os.path.join(self.workdir, name), "wb")
        self._logs.append(log)
        return log

    def _wm_running(self):
        if self.openbox.poll() is not None:
            raise Failure("openbox ended at start")
        out = self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)
        return "window id #" in out

    def _wm_answers(self):
        """True once openbox's event loop has answered a request.

        Openbox claims the display early and then spends a long while (seconds on busy cores)
        reading its configuration and theme. A window mapped in that time has its map request
        read but not handled, and openbox only looks at it again when some later event wakes it:
        the program's window then never appears. So no program starts before openbox has handled
        a fresh request: asking for a second desktop changes the desktop count only from its
        event loop (start-up sets it to the configured one), and handling that request also
        handles everything read before it. The count goes back to one before a case begins."""
        if self.openbox.poll() is not None:
            raise Failure("openbox ended at start")
        self.xdotool("set_num_desktops", 2, check=False)
        if not wait_for(lambda: self._desktops() == 2, 1):
            return False
        self.xdotool("set_num_desktops", 1)
        return wait_for(lambda: self._desktops() == 1, 10)

    def _desktops(self):
        out = self.run(["xprop", "-root", "_NET_NUMBER_OF_DESKTOPS"], check=False)
        _, _, value = out.partition("=")
        return int(value) if value.strip().isdigit() else None

    # ----- tools --------------------------------------------------------------------------------

    def tool_env(self):
        return client_env(self.display)

    def run(self, args, check=True, timeout=10, data=None):
        """Runs an X tool on this display; returns its standard output as text."""
        try:
            result = subprocess.run(args, env=self.tool_env(), input=data, capture_output=True,
                                    timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"{args[0]} did not finish within {timeout} s: {' '.join(args)}")
        if check and result.returncode != 0:
            raise Failure(f"{' '.join(args)} failed ({result.returncode}): "
                          f"{result.stderr.decode(errors='replace').strip()}")
        return result.stdout.decode(errors="replace")

    def xdotool(self, *args, check=True):
        return self.run(["xdotool", *[str(a) for a in args]], check=check)

    # ----- windows ------------------------------------------------------------------------------

    def visible_windows(self, name_regex):
        """Ids of the viewable windows whose title matches the regular expression."""
        out = self.xdotool("search", "--onlyvisible", "--name", name_regex, check=False)
        return [int(line) for line in out.split() if line.strip().isdigit()]

    def wait_window(self, name_regex, timeout=10, exclude=()):
        """Waits for exactly one new viewable window with that title and returns its id."""
        def found():
            ids = [w for w in self.visible_windows(name_regex) if w not in exclude]
            return ids[0] if len(ids) == 1 else None
        return wait_until(found, timeout, f"a window titled {name_regex!r}")

    def wait_window_gone(self, window_id, name_regex, timeout=10):
        wait_until(lambda: window_id not in self.visible_windows(name_regex), timeout,
                   f"the window {name_regex!r} to close")

    def visible_windows_of_class(self, class_regex):
        out = self.xdotool("search", "--onlyvisible", "--class", class_regex, check=False)
        return [int(line) for line in out.split() if line.strip().isdigit()]

    def override_redirect(self, window_id):
        """True for windows the window manager leaves alone: pop-up menus, lists, tooltips."""
        out = self.run(["xwininfo", "-id", str(window_id)], check=False)
        return "Override Redirect State: yes" in out

    def geometry(self, window_id):
        """(x, y, width, height) of a window's client area on the screen."""
        out = self.run(["xwininfo", "-id", str(window_id)])
        fields = {}
        for line in out.splitlines():
            key, _, value = line.strip().partition(":")
            fields[key] = value.strip()
        return (int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
                int(fields["Width"]), int(fields["Height"]))

    def wait_placed(self, window_id, timeout=10):
        """Waits until the window manager has framed the window and it stopped moving."""
        last = [None]

        def settled():
            extents = self.run(["xprop", "-id", str(window_id), "_NET_FRAME_EXTENTS"],
                               check=False)
            if "=" not in extents:
                return None
            now = self.geometry(window_id)
            if now == last[0]:
                return now
            last[0] = now
            return None
        return wait_until(settled, timeout, f"window {window_id} to settle", interval=0.05)

    def active_window(self):
        out = self.xdotool("getactivewindow", check=False).strip()
        return int(out) if out.isdigit() else None

    def activate(self, window_id):
        """Makes the window the active one (the window manager gives it the keyboard focus)."""
        self.xdotool("windowactivate", window_id, check=False)
        wait_until(lambda: self.active_window() == window_id and
                   self.xdotool("getwindowfocus", check=False).strip() == str(window_id),
                   10, f"window {window_id} to become active")

    def wm_state(self, window_id):
        return self.run(["xprop", "-id", str(window_id), "_NET_WM_STATE"], check=False)

    def map_state(self, window_id):
        for line in self.run(["xwininfo", "-id", str(window_id)], check=False).splitlines():
            if "Map State:" in line:
                return line.split(":", 1)[1].strip()
        return ""

    # ----- input --------------------------------------------------------------------------------

    def click(self, x, y, button=1, repeat=1):
        """Moves the pointer to a screen pixel and clicks there (repeat=2: a double-click)."""
        args = ["mousemove", x, y, "click"]
        if repeat > 1:
            args += ["--repeat", repeat, "--delay", 60]
        self.xdotool(*args, button)

    def park_pointer(self):
        """Moves the pointer to an empty corner of the screen, away from every tooltip."""
        self.xdotool("mousemove", self.width - 4, self.height - 4)

    def key(self, *keys):
        self.xdotool("key", "--delay", 25, *keys)

    def type(self, text):
        self.xdotool("type", "--delay", 12, "--", text)

    # ----- pixels -------------------------------------------------------------------------------

    def screenshot(self):
        """The whole screen as an RGB image."""
        for _ in range(3):
            result = subprocess.run(["import", "-silent", "-window", "root", "png:-"],
                                    env=self.tool_env(), capture_output=True, timeout=20)
            if result.returncode == 0 and result.stdout:
                return Image.open(io.BytesIO(result.stdout)).convert("RGB")
        raise Failure("import could not take a screenshot: "
                      + result.stderr.decode(errors="replace").strip())

    def keep_screenshot(self, path):
        """Saves a screenshot for a failure's record, if the display still takes one."""
        if not self.display:
            return
        try:
            self.screenshot().save(path)
        except Exception:  # the record of a failure must not hide the failure
            pass

    def grab(self, x, y, width, height):
        """A rectangle of the screen as an RGB image."""
        return self.screenshot().crop((x, y, x + width, y + height))
