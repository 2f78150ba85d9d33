"""The built Avatello program on a private X display, and where its controls are.

Positions are the program's layout in twips divided by 15, relative to a window's client area.
Menu items are chosen with the keyboard (Down once per selectable item, then Enter), so nothing
depends on how tall the style draws a menu item.
"""

import os
import subprocess

from xsession import WINDOW_TIMEOUT, Failure, stop_process, wait_until

# Main window (client area 161 x 122): left, top, width, height.
MAIN = {
    "Canvas": (8, 8, 50, 50),
    "Finished view": (104, 8, 50, 50),
    "Load": (8, 64, 49, 17),
    "New": (56, 64, 49, 17),
    "Edit": (104, 64, 49, 17),
    "Save": (8, 80, 49, 17),
    "Finished": (56, 80, 49, 17),
    "Other": (104, 80, 49, 17),
}
MAIN_SIZE = (161, 122)

# Move Text window (client area 154 x 89).
MOVE_TEXT = {
    "Move Up": (40, 8, 65, 25),
    "Move Left": (8, 32, 65, 25),
    "Move Right": (72, 32, 73, 25),
    "Move Down": (40, 56, 73, 25),
}

# Change Font window (client area 160 x 97).
CHANGE_FONT = {
    "Font list": (8, 8, 145, 21),
    "Size list": (8, 32, 49, 21),
    "OK": (8, 64, 49, 25),
    "Cancel": (56, 64, 49, 25),
}


def template_tile(n):
    """Tile n (1..12) of the Templates window: five 50-pixel tiles a row, 56 pixels apart."""
    index = n - 1
    return (8 + index % 5 * 56, 8 + index // 5 * 56, 50, 50)


def drawing_area(box):
    """The 48 x 48 drawing area inside an icon box's one-pixel frame."""
    left, top, _, _ = box
    return (left + 1, top + 1, 48, 48)


# The selectable items of each pop-up menu, top to bottom (separators and hidden items are not
# reachable by the keyboard). "Undo" is selectable only while it is enabled.
MENUS = {
    "New": ["Choose Color", "AIM Back Color", "Templates"],
    "Edit": ["Add Text", "Move Text", "Change Font", "Text Color", "Back Color",
             "AIM Back Color", "Undo"],
    "Other": ["Minimize", "About"],
}

# Variables that would make the program look or behave differently from one desktop to another.
UNSET = ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
         "QT_QPA_PLATFORMTHEME", "XDG_CURRENT_DESKTOP", "GTK_THEME", "QT_STYLE_OVERRIDE",
         "QT_FONT_DPI", "QT_ENABLE_HIGHDPI_SCALING", "QT_DEVICE_PIXEL_RATIO", "XAUTHORITY",
         "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER", "DESKTOP_SESSION",
         "XDG_SESSION_TYPE", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME")

MAIN_TITLE = "^Avatello$"


class Avatello:
    """One running instance of the program, with a private home folder."""

    def __init__(self, x, program, workdir):
        self.x = x
        self.program = program
        self.workdir = workdir
        self.process = None
        self.main = None
        self.stderr_path = os.path.join(workdir, "avatello.stderr")

    def start(self, arguments=(), covered=False, environment=None):
        """Starts the program and waits for its main window; `covered`: a message is expected
        over it at once, so its paint cannot be seen; `environment`: variables to set besides."""
        home = os.path.join(self.workdir, "home")
        runtime = os.path.join(self.workdir, "runtime")
        os.makedirs(home, exist_ok=True)
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env = {k: v for k, v in os.environ.items() if k not in UNSET}
        env.update(DISPLAY=self.x.display, HOME=home, XDG_RUNTIME_DIR=runtime,
                   LC_ALL="C.UTF-8", QT_QPA_PLATFORM="xcb")
        env.update(environment or {})
        self._stderr = open(self.stderr_path, "wb")
        self.process = subprocess.Popen([self.program, *arguments], env=env, cwd=home,
                                        stdin=subprocess.DEVNULL, stdout=self._stderr,
                                        stderr=self._stderr, start_new_session=True)

        def shown():
            if self.process.poll() is not None:
                raise Failure(f"the program ended at start (exit {self.process.returncode})")
            ids = self.x.visible_windows(MAIN_TITLE)
            return ids[0] if len(ids) == 1 else None
        # Starting Qt is the slowest step of a case; the deadline is the one every test that
        # starts the program uses. The wait ends as soon as the window shows.
        try:
            self.main = wait_until(shown, WINDOW_TIMEOUT, "the main window")
        except Failure:
            self._record_hang()
            raise
        self.x.wait_placed(self.main)
        size = self.x.geometry(self.main)[2:]
        if size != MAIN_SIZE:
            raise Failure(f"main window client area is {size}, expected {MAIN_SIZE}")
        # Both icon boxes have a black one-pixel frame once the window is painted.
        if not covered:
            wait_until(self._painted, 10, "the main window to be painted")
        self.x.park_pointer()

    def _record_hang(self):
        """Keeps what a program that shows no window is doing: its threads' stacks and the
        windows the server has, beside the case's other artefacts."""
        path = os.path.join(self.workdir, "no-window.txt")
        with open(path, "w") as out:
            for command in (["gdb", "-p", str(self.process.pid), "-batch",
                             "-ex", "thread apply all bt"],
                            ["xwininfo", "-root", "-tree"]):
                try:
                    out.write(subprocess.run(command, env=dict(os.environ, DISPLAY=self.x.display),
                                             capture_output=True, text=True, timeout=60).stdout)
                except (OSError, subprocess.TimeoutExpired) as error:
                    out.write(f"{command[0]}: {error}\n")

    def _painted(self):
        shot = self.x.screenshot()
        ox, oy = self.x.geometry(self.main)[:2]
        for box in ("Canvas", "Finished view"):
            left, top, width, height = MAIN[box]
            for px, py in ((left, top), (left + width - 1, top + height - 1)):
                if shot.getpixel((ox + px, oy + py)) != (0, 0, 0):
                    return False
        return True

    def stop(self):
        stop_process(self.process)
        if getattr(self, "_stderr", None):
            self._stderr.close()
            self._stderr = None

    def alive(self):
        return self.process.poll() is None

    def stderr_text(self):
        try:
            with open(self.stderr_path, "rb") as f:
                return f.read().decode(errors="replace")
        except OSError:
            return ""

    # ----- positions --------------------------------------------------------------------------

    def screen_rect(self, window_id, rect):
        ox, oy = self.x.geometry(window_id)[:2]
        left, top, width, height = rect
        return (ox + left, oy + top, width, height)

    def click_control(self, window_id, rect, dx=None, dy=None, repeat=1):
        """Clicks a control: at its centre, or at (dx, dy) inside its rectangle."""
        left, top, width, height = self.screen_rect(window_id, rect)
        self.x.click(left + (width // 2 if dx is None else dx),
                     top + (height // 2 if dy is None else dy), repeat=repeat)

    def click_main(self, control):
        self.click_control(self.main, MAIN[control])

    def grab(self, window_id, rect):
        return self.x.grab(*self.screen_rect(window_id, rect))

    def canvas(self):
        """The canvas's 48 x 48 drawing area as it is on the screen."""
        return self.grab(self.main, drawing_area(MAIN["Canvas"]))

    def finished_view(self):
        return self.grab(self.main, drawing_area(MAIN["Finished view"]))

    # ----- menus and dialogs --------------------------------------------------------------------

    def open_popups(self):
        """Viewable pop-up windows of the program (menus, completion lists, tooltips): its
        windows that the window manager does not manage."""
        return [w for w in self.x.visible_windows_of_class("^avatello$")
                if w != self.main and self.x.override_redirect(w)]

    def open_menu(self, button):
        """Clicks a menu button and waits for its pop-up menu; the pointer stays on the button,
        where the menu opens."""
        if self.open_popups():
            raise Failure("a pop-up is already open before clicking " + button)
        self.click_main(button)
        return wait_until(lambda: (self.open_popups() or [None])[0], 10,
                          f"the {button} menu to open")

    def wait_menu_closed(self, timeout=10):
        wait_until(lambda: not self.open_popups(), timeout, "the pop-up menu to close")

    def choose(self, button, item):
        """Opens a button's menu and chooses an item by keyboard."""
        downs = MENUS[button].index(item) + 1
        self.open_menu(button)
        self.x.key(*(["Down"] * downs), "Return")

    def wait_dialog(self, title_regex, timeout=10):
        """Waits for a window of the program by title, makes it active and returns its id."""
        window = self.x.wait_window(title_regex, timeout)
        self.x.wait_placed(window)
        self.x.activate(window)
        return window

    def answer_file_dialog(self, title_regex, path):
        """Types a full path into the real Qt file dialog's name field and presses Enter."""
        self.enter_file_name(self.wait_dialog(title_regex), title_regex, path)

    def enter_file_name(self, dialog, title_regex, path, reactivate=True):
        """Types a full path into the open file dialog's name field, which has the keyboard, and
        presses Enter. The file name completer can swallow the first Enter while its list is
        showing; a second one goes to the dialog, which is still open in that case (made active
        again first, unless `reactivate` is false: the keyboard alone is used)."""
        self.x.key("ctrl+a")
        self.x.type(path)
        self.x.key("Return")
        try:
            self.x.wait_window_gone(dialog, title_regex, timeout=3)
        except Failure:
            if dialog in self.x.visible_windows(title_regex):
                if reactivate:
                    self.x.activate(dialog)
                self.x.key("Return")
            self.x.wait_window_gone(dialog, title_regex, timeout=10)
