#!/usr/bin/python3
"""Measures how the built program meets today's Linux desktops, one row per desktop.

    tests/desktops/measure.py build/src/avatello [--out DIR] [--only NAME ...]

Each desktop runs nested in a private Xvfb (tests/support/xserver.py): openbox, xfwm4 and mutter
as X11 window managers; mutter in Wayland mode with its XWayland, where the program picks X11 by
itself; weston and mutter natively on Wayland (QT_QPA_PLATFORM=wayland, as a user would choose
it). The program is driven by real input through XTEST (xdotool) on the outer Xvfb, which the
nested compositors read as their own input, and everything is measured from screenshots of that
Xvfb, so X11 and Wayland rows are measured alike:

  starts     the main window shows the start-up picture within 60 s and the program runs
  placement  the main window is centred on the screen (within 40 pixels)
  on top     Move Text stays over the main window when the main window is dragged onto it
  menus      the Edit menu opened near the screen's bottom right corner is wholly on screen
  maximize   maximize requests (title double-click; on Wayland also Qt's maximize box) leave
             the window where and as it was, and the program running
  dark       under qt6ct's "darker" scheme the link reads at 4.5:1 and the arrow at 3:1

Screenshots of each step go to DIR (default: a new folder under /tmp), named after the row.
The packages it needs are installed with apt-get when missing, as scripts/install-deps.sh does.
"""

import argparse
import os
import signal
import subprocess
import sys
import tempfile
import time
from collections import Counter

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from xserver import client_env, start_xvfb, stop_process  # noqa: E402

PACKAGES = ["xvfb", "xdotool", "x11-utils", "imagemagick", "python3-pil", "dbus", "openbox",
            "xfwm4", "mutter", "xwayland", "weston", "qt6-wayland", "qt6ct"]
WIDTH, HEIGHT = 1024, 768
CLIENT = (161, 122)  # the main window's client area
STARTUP_PICTURE = os.path.join(HERE, "..", "..", "src", "imageio", "pictures", "startup.gif")
DARKER = "/usr/share/qt6ct/colors/darker.conf"


def install_missing():
    missing = [p for p in PACKAGES if subprocess.run(
        ["dpkg-query", "-W", "-f=${Status}", p], capture_output=True,
        text=True).stdout.find("install ok installed") < 0]
    if not missing:
        return
    sudo = [] if os.geteuid() == 0 else ["sudo"]
    print("Installing:", " ".join(missing), flush=True)
    subprocess.run(sudo + ["apt-get", "update", "-qq"], check=True)
    subprocess.run(sudo + ["apt-get", "install", "-y", "-qq", "--no-install-recommends",
                           *missing], check=True, env={**os.environ,
                                                        "DEBIAN_FRONTEND": "noninteractive"})


try:
    from PIL import Image
except ImportError:  # installed by main() before first use
    Image = None


def wait_for(condition, timeout, interval=0.1):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


# ----- colours ---------------------------------------------------------------------------------

def _linear(c):
    c /= 255
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def luminance(rgb):
    r, g, b = (_linear(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def text_contrast(image, box):
    """Contrast of the most contrasting frequent colour in box against its commonest one."""
    counts = Counter(image.crop(box).getdata())
    background = counts.most_common(1)[0][0]
    frequent = [c for c, n in counts.items() if n >= 3 and c != background]
    if not frequent:
        return 1.0, background, background
    ink = max(frequent, key=lambda c: contrast(c, background))
    return contrast(ink, background), ink, background


# ----- finding the main window -----------------------------------------------------------------

def _startup_template():
    picture = Image.open(STARTUP_PICTURE)
    transparent = picture.info.get("transparency")
    indices = picture.load()
    rgb = picture.convert("RGB").load()
    return [(x, y, rgb[x, y]) for y in range(picture.size[1]) for x in range(picture.size[0])
            if indices[x, y] != transparent]


TEMPLATE = None


def find_main_window(image):
    """Top-left corner of the main window's client area, found by the start-up picture on the
    canvas (drawn at (9, 9) of the client area, whatever the palette), or None."""
    global TEMPLATE
    if TEMPLATE is None:
        TEMPLATE = _startup_template()
    counts = Counter(c for _, _, c in TEMPLATE)
    x0, y0, key = min(TEMPLATE, key=lambda p: counts[p[2]])
    pixels = image.load()
    width, height = image.size
    data = image.getdata()
    for i, colour in enumerate(data):
        if colour != key:
            continue
        left, top = i % width - x0, i // width - y0
        if all(0 <= left + x < width and 0 <= top + y < height and
               pixels[left + x, top + y] == c for x, y, c in TEMPLATE):
            return left - 9, top - 9
    return None


# ----- desktops ----------------------------------------------------------------------------------

class Desktop:
    """A private Xvfb with a window manager or a nested compositor in it."""

    name = ""
    wayland_native = False

    def __init__(self, workdir):
        self.workdir = workdir
        self.processes = []
        self.logs = []
        self.runtime = tempfile.mkdtemp(prefix="runtime-", dir=workdir)
        os.chmod(self.runtime, 0o700)
        self.home = tempfile.mkdtemp(prefix="home-", dir=workdir)

    def log(self, name):
        f = open(os.path.join(self.workdir, f"{self.name}-{name}.log"), "wb")
        self.logs.append(f)
        return f

    def start(self):
        self.xvfb, self.display = start_xvfb(self.log("xvfb"), f"{WIDTH}x{HEIGHT}x24")
        self.processes.append(self.xvfb)
        self.start_desktop()

    def spawn(self, args, name, env=None):
        env = env or self.outer_env()
        process = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL,
                                   stdout=self.log(name), stderr=subprocess.STDOUT,
                                   start_new_session=True)
        self.processes.append(process)
        return process

    def outer_env(self):
        env = client_env(self.display)
        env.update(HOME=self.home, XDG_RUNTIME_DIR=self.runtime, XDG_CONFIG_HOME=os.path.join(
            self.home, ".config"))
        for name in ("XDG_SESSION_TYPE", "QT_QPA_PLATFORM", "QT_QPA_PLATFORMTHEME",
                     "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_STYLE_OVERRIDE"):
            env.pop(name, None)
        return env

    def stop(self):
        for process in reversed(self.processes):
            stop_process(process)
        for f in self.logs:
            f.close()

    def xdotool(self, *args):
        subprocess.run(["xdotool", *[str(a) for a in args]], env=client_env(self.display),
                       capture_output=True, timeout=20)

    def screenshot(self, path=None):
        out = subprocess.run(["import", "-window", "root", "png:-"], env=client_env(self.display),
                             capture_output=True, timeout=60).stdout
        image = Image.open(__import__("io").BytesIO(out)).convert("RGB")
        if path:
            image.save(path)
        return image

    def program_env(self):
        raise NotImplementedError

    def program_display(self):
        """The X display the program's windows are on, or None natively on Wayland."""
        return self.program_env().get("DISPLAY")

    def stacked_above(self, upper, lower):
        """True when the window titled upper is stacked above the one titled lower (X11)."""
        env = {**client_env(self.program_display()), **{
            k: v for k, v in self.program_env().items() if k == "XAUTHORITY"}}

        def ids(title):
            out = subprocess.run(["xdotool", "search", "--name", f"^{title}$"], env=env,
                                 capture_output=True, text=True).stdout
            return {int(w) for w in out.split()}
        stack = subprocess.run(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"], env=env,
                               capture_output=True, text=True).stdout
        order = [int(w.strip(), 16) for w in stack.partition("#")[2].split(",") if w.strip()]
        top = [order.index(w) for w in ids(upper) if w in order]
        bottom = [order.index(w) for w in ids(lower) if w in order]
        return bool(top and bottom) and max(top) > max(bottom)

    def start_desktop(self):
        raise NotImplementedError

    def maximize_requests(self, client):
        """Asks to maximize the main window in every way this desktop offers a user."""
        x, y = client
        self.xdotool("mousemove", x + 40, y - 12, "click", "--repeat", "2", "--delay", "80", 1)


class X11Desktop(Desktop):
    wm = []

    def start_desktop(self):
        self.spawn(["dbus-run-session", "--", *self.wm], "wm")
        wait_for(lambda: "window id #" in subprocess.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=client_env(self.display),
            capture_output=True, text=True).stdout, 60)
        time.sleep(2)  # no request tells when a window manager has read its settings

    def program_env(self):
        env = self.outer_env()
        env["XDG_SESSION_TYPE"] = "x11"
        return env


class Openbox(X11Desktop):
    name = "openbox"
    wm = ["openbox", "--sm-disable"]


class Xfwm4(X11Desktop):
    name = "xfwm4"
    wm = ["xfwm4", "--compositor=off", "--sm-client-disable"]


class MutterX11(X11Desktop):
    name = "mutter-x11"
    wm = ["mutter", "--x11", "--replace", "--sm-disable"]


class NestedCompositor(Desktop):
    socket = "wayland-measure"

    def program_env(self):
        env = self.outer_env()
        env.pop("DISPLAY", None)
        env.update(WAYLAND_DISPLAY=self.socket, XDG_SESSION_TYPE="wayland")
        return env

    def maximize_requests(self, client):
        super().maximize_requests(client)
        # Qt's own title bar on Wayland: its maximize box, 40 pixels left of the right edge.
        x, y = client
        self.xdotool("mousemove", x + CLIENT[0] + 3 - 40, y - 15, "click", 1)


class Weston(NestedCompositor):
    name = "weston"
    wayland_native = True

    def start_desktop(self):
        # No on-screen keyboard: it would pop up over the windows whenever a text box has focus.
        config = os.path.join(self.workdir, "weston.ini")
        with open(config, "w") as f:
            f.write("[input-method]\npath=/bin/true\n")
        self.spawn(["weston", "--backend=x11-backend.so", "--use-pixman", f"--width={WIDTH}",
                    f"--height={HEIGHT}", f"--socket={self.socket}", "--idle-time=0",
                    f"--config={config}"], "weston")
        wait_for(lambda: os.path.exists(os.path.join(self.runtime, self.socket)), 60)
        time.sleep(3)  # its panel and background are clients of their own


class MutterWayland(NestedCompositor):
    name = "mutter-wayland"
    native = False

    def start_desktop(self):
        env = self.outer_env()
        env["MUTTER_DEBUG_DUMMY_MODE_SPECS"] = f"{WIDTH}x{HEIGHT}"
        self.spawn(["dbus-run-session", "--", "mutter", "--nested", "--wayland",
                    f"--wayland-display={self.socket}", "--sm-disable"], "mutter", env)
        wait_for(lambda: os.path.exists(os.path.join(self.runtime, self.socket)), 60)
        # "Using public X11 display :3, ...": its XWayland, with a cookie in the runtime folder.
        self.xwayland = wait_for(self._xwayland_display, 60)
        time.sleep(2)

    def _xwayland_display(self):
        with open(os.path.join(self.workdir, f"{self.name}-mutter.log"), errors="replace") as f:
            for line in f:
                if "Using public X11 display" in line:
                    return line.split("display ")[1].split(",")[0].strip()
        return None

    def program_env(self):
        env = super().program_env()
        if self.native:
            env["QT_QPA_PLATFORM"] = "wayland"
        elif self.xwayland:
            env["DISPLAY"] = self.xwayland
            cookies = [n for n in os.listdir(self.runtime) if n.startswith(".mutter-Xwaylandauth")]
            if cookies:
                env["XAUTHORITY"] = os.path.join(self.runtime, cookies[0])
        return env


class MutterNative(MutterWayland):
    name = "mutter-native"
    native = True
    wayland_native = True


DESKTOPS = [Openbox, Xfwm4, MutterX11, MutterWayland, Weston, MutterNative]


# ----- one row -----------------------------------------------------------------------------------

class Row:
    def __init__(self, desktop_class, binary, out):
        self.desktop_class = desktop_class
        self.binary = binary
        self.out = out
        self.results = {}
        self.notes = []

    def shot(self, desktop, step):
        return desktop.screenshot(os.path.join(self.out, f"{desktop.name}-{step}.png"))

    def start_program(self, desktop, extra_env=None):
        env = desktop.program_env()
        env.update(extra_env or {})
        env["LC_ALL"] = "C.UTF-8"
        return desktop.spawn([self.binary], "avatello", env)

    def wait_main(self, desktop, program, timeout=60):
        def found():
            if program.poll() is not None:
                return "ended"
            return find_main_window(desktop.screenshot())
        where = wait_for(found, timeout, 0.5)
        return None if where in (None, "ended") else where

    def settled_main(self, desktop, program):
        """The main window's place once two screenshots in a row agree."""
        last = [None]

        def same():
            now = find_main_window(desktop.screenshot()) if program.poll() is None else None
            agreed = now is not None and now == last[0]
            last[0] = now
            return now if agreed else None
        return wait_for(same, 20, 0.3)

    def measure(self):
        workdir = tempfile.mkdtemp(prefix="desktop-", dir=self.out)
        desktop = self.desktop_class(workdir)
        try:
            desktop.start()
            self.standard(desktop)
        except Exception as error:  # a row that breaks still reports what it saw
            self.notes.append(f"error: {error}")
        finally:
            desktop.stop()
        desktop = self.desktop_class(workdir)
        try:
            desktop.start()
            self.dark(desktop)
        except Exception as error:
            self.notes.append(f"dark: error: {error}")
        finally:
            desktop.stop()
        return self

    def standard(self, desktop):
        program = self.start_program(desktop)
        client = self.wait_main(desktop, program)
        self.results["starts"] = client is not None
        if client is None:
            self.shot(desktop, "no-window")
            return
        client = self.settled_main(desktop, program) or client
        self.shot(desktop, "1-started")
        cx, cy = client[0] + CLIENT[0] / 2, client[1] + CLIENT[1] / 2
        off = (round(cx - WIDTH / 2), round(cy - HEIGHT / 2))
        self.results["placement"] = abs(off[0]) <= 40 and abs(off[1]) <= 40
        self.notes.append(f"centre off by {off}")

        # The Edit menu near the bottom right corner.
        corner = (WIDTH - CLIENT[0] - 20, HEIGHT - CLIENT[1] - 20)
        self.drag_main(desktop, client, corner)
        client = self.settled_main(desktop, program) or client
        before = desktop.screenshot()
        desktop.xdotool("mousemove", client[0] + 128, client[1] + 72, "click", 1)
        time.sleep(2)
        menu = self.shot(desktop, "2-menu-at-corner")
        box = self._changed_outside(before, menu, client, (client[0] + 128, client[1] + 72))
        desktop.xdotool("key", "Escape")
        if box:
            # Whole: its eight items' height, and clear of the bottom row (a menu may lie flush
            # against the right edge, as Qt moves it there).
            on_screen = box[3] - box[1] >= 150 and box[3] < HEIGHT and box[0] > 0
            self.results["menus"] = on_screen
            self.notes.append(f"menu box {box}")

        # Maximize requests, then the pointer over the buttons.
        client = self.settled_main(desktop, program) or client
        desktop.maximize_requests(client)
        time.sleep(2)
        for dx, dy in ((25, 72), (80, 88), (128, 72), (40, 110)):
            desktop.xdotool("mousemove", client[0] + dx, client[1] + dy)
            time.sleep(0.3)
        time.sleep(2)
        self.shot(desktop, "3-after-maximize")
        alive = program.poll() is None
        now = self.settled_main(desktop, program) if alive else None
        self.results["maximize safe"] = alive and now == client
        self.notes.append(f"after maximize: {'running' if alive else 'ended'}, window "
                          f"{'unmoved' if now == client else f'at {now}'}")

        # Move Text from the Edit menu, then the main window dragged onto it.
        client = now or client
        before = desktop.screenshot()
        desktop.xdotool("mousemove", client[0] + 128, client[1] + 72, "click", 1)
        time.sleep(1)
        desktop.xdotool("key", "Down", "Down", "Return")
        opened = wait_for(lambda: self._changed_outside(before, desktop.screenshot(), client), 20,
                          0.5)
        if opened:
            time.sleep(1)
            with_move_text = self.shot(desktop, "4-move-text")
            box = self._changed_outside(before, with_move_text, client)
            inner = (box[0] + 3, box[1] + 30, box[2] - 3, box[3] - 3)
            target = ((inner[0] + inner[2]) // 2 - CLIENT[0] // 2,
                      (inner[1] + inner[3]) // 2 - CLIENT[1] // 2)
            # A click on the main window first: it is raised, and some window managers take the
            # first press on an inactive window for focus only.
            desktop.xdotool("mousemove", client[0] + 33, client[1] + 33, "click", 1)
            time.sleep(1)
            if desktop.program_display():
                # On X11 the stacking order says it, wherever the windows are.
                above = desktop.stacked_above("Move Text", "Avatello")
                self.results["on top"] = above
                self.notes.append(f"X11 stacking: Move Text {'above' if above else 'below'} "
                                  "the main window")
            def landed(where):
                return where and abs(where[0] - target[0]) < 40 and abs(where[1] - target[1]) < 40

            self.drag_main(desktop, client, target)
            now = find_main_window(desktop.screenshot())
            if now and not landed(now):  # mutter takes a quick drag for a short one
                self.drag_main(desktop, now, target, steps=40)
            after = self.shot(desktop, "5-dragged-onto-move-text")
            same = self._same_fraction(with_move_text, after, inner)
            # The main window's canvas lies partly over Move Text there: seen, it came over.
            now = find_main_window(after)
            if desktop.program_display():
                pass
            elif now and not landed(now):
                self.notes.append("the main window did not get there")
            else:
                self.results["on top"] = now is None and same > 0.8
            self.notes.append(f"Move Text unchanged: {same:.0%}, main window at {now}")

    def dark(self, desktop):
        config = os.path.join(desktop.home, ".config", "qt6ct")
        os.makedirs(config, exist_ok=True)
        with open(os.path.join(config, "qt6ct.conf"), "w") as f:
            f.write(f"[Appearance]\ncolor_scheme_path={DARKER}\ncustom_palette=true\n"
                    "style=Fusion\n")
        program = self.start_program(desktop, {"QT_QPA_PLATFORMTHEME": "qt6ct"})
        client = self.wait_main(desktop, program)
        if client is None:
            self.notes.append("dark: no window")
            return
        client = self.settled_main(desktop, program) or client
        image = self.shot(desktop, "6-dark")
        x, y = client
        link, ink, back = text_contrast(image, (x + 8, y + 104, x + 137, y + 121))
        arrow, ink2, _ = text_contrast(image, (x + 64, y + 24, x + 97, y + 49))
        self.results["dark legible"] = link >= 4.5 and arrow >= 3.0
        self.notes.append(f"dark: link {link:.2f}:1 ({'#%02x%02x%02x' % ink} on "
                          f"{'#%02x%02x%02x' % back}), arrow {arrow:.2f}:1 "
                          f"({'#%02x%02x%02x' % ink2})")

    def drag_main(self, desktop, client, target, steps=10):
        """Drags the main window by its title bar so its client area's corner goes to target."""
        x, y = client[0] + 40, client[1] - 12
        dx, dy = target[0] - client[0], target[1] - client[1]
        desktop.xdotool("mousemove", x, y)
        time.sleep(0.3)
        desktop.xdotool("mousedown", 1)
        for i in range(1, steps + 1):
            desktop.xdotool("mousemove", x + dx * i // steps, y + dy * i // steps)
            time.sleep(0.05)
        time.sleep(0.5)  # the compositor catches up with the pointer before the release
        desktop.xdotool("mouseup", 1)
        time.sleep(1)

    @staticmethod
    def _changed_outside(before, after, client, around=None):
        """Bounding box of the pixels that changed outside the main window and its frame (as
        Qt draws it on Wayland), within 300 pixels of a point if one is given."""
        x, y = client
        keep_out = (x - 3, y - 30, x + CLIENT[0] + 3, y + CLIENT[1] + 3)
        area = (0, 0, WIDTH, HEIGHT)
        if around:
            area = (max(0, around[0] - 300), max(0, around[1] - 300),
                    min(WIDTH, around[0] + 300), min(HEIGHT, around[1] + 300))
        a, b = before.load(), after.load()
        xs, ys = [], []
        for py in range(area[1], area[3]):
            for px in range(area[0], area[2], 2):
                if keep_out[0] <= px < keep_out[2] and keep_out[1] <= py < keep_out[3]:
                    continue
                if a[px, py] != b[px, py]:
                    xs.append(px)
                    ys.append(py)
        if len(xs) < 20:
            return None
        return (min(xs), min(ys), max(xs) + 1, max(ys) + 1)

    @staticmethod
    def _same_fraction(before, after, box):
        a, b = before.crop(box).getdata(), after.crop(box).getdata()
        return sum(1 for p, q in zip(a, b) if p == q) / max(1, len(a))


COLUMNS = ["starts", "menus", "on top", "placement", "maximize safe", "dark legible"]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary")
    parser.add_argument("--out")
    parser.add_argument("--only", nargs="*")
    args = parser.parse_args()
    # Stopped, it still stops the servers it started (the finally blocks run).
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))
    install_missing()
    global Image
    from PIL import Image
    binary = os.path.abspath(args.binary)
    out = args.out or tempfile.mkdtemp(prefix="avatello-desktops-")
    os.makedirs(out, exist_ok=True)
    rows = [Row(d, binary, out).measure() for d in DESKTOPS
            if not args.only or d.name in args.only]
    print("| desktop | " + " | ".join(COLUMNS) + " |")
    print("|---" * (len(COLUMNS) + 1) + "|")
    for row in rows:
        cells = [{True: "yes", False: "NO", None: "?"}[row.results.get(c)] for c in COLUMNS]
        print(f"| {row.desktop_class.name} | " + " | ".join(cells) + " |")
    for row in rows:
        print(f"{row.desktop_class.name}: " + "; ".join(row.notes))
    print(f"screenshots and logs: {out}")
    return 0 if all(all(r.results.get(c) for c in COLUMNS) for r in rows) else 1


if __name__ == "__main__":
    sys.exit(main())
