"""End-to-end cases where the program meets the desktop: Qt's file and colour dialogs, the
keyboard, the user's home folder and the installed fonts.

run_e2e.py appends CASES to its own list; each case gets a running program and its work folder.
"""

import hashlib
import os
import subprocess
import time

from PIL import Image

from avatello import CHANGE_FONT, Avatello
from xsession import Failure, Skip, wait_until


def expect(condition, message):
    if not condition:
        raise Failure(message)


def same(a, b):
    return a.size == b.size and a.tobytes() == b.tobytes()


def watch_nothing_opens(app, windows, what):
    """Watches a short while that the program's set of shown windows stays as it is."""
    deadline = time.monotonic() + 0.6
    while time.monotonic() < deadline:
        now = set(app.x.visible_windows_of_class("^avatello$"))
        expect(now == windows, f"{what} opened or closed a window")
        time.sleep(0.05)


def save_through_dialog(app, path, file_type=None):
    """Save with a typed path; file_type: keys that pick an entry in the open type list."""
    app.click_main("Save")
    if not file_type:
        app.answer_file_dialog("^Save Icon$", path)
        return
    dialog = app.wait_dialog("^Save Icon$")
    app.x.key("ctrl+a")
    app.x.type(path)
    app.wait_menu_closed()  # the name box's completion list, if it showed
    # The type list sits on the dialog's bottom row, left of Cancel.
    left, top, width, height = app.x.geometry(dialog)
    app.x.click(left + width // 2, top + height - 28)
    wait_until(app.open_popups, 10, "the file type list to open")
    app.x.key(*file_type, "Return")
    app.wait_menu_closed()
    app.x.key("Return")
    app.x.wait_window_gone(dialog, "^Save Icon$")


def wait_saved(path):
    folder = os.path.dirname(path)
    try:
        wait_until(lambda: os.path.exists(path) and os.path.getsize(path) == 6966, 10,
                   f"{os.path.basename(path)} to be written")
    except Failure:
        raise Failure(f"{os.path.basename(path)} was not written; the folder holds "
                      f"{sorted(os.listdir(folder))}")


def case_save_keeps_typed_name(app, workdir):
    """Picking another file type in the Save dialog leaves the typed name alone."""
    folder = os.path.join(workdir, "saved")
    os.makedirs(folder)
    save_through_dialog(app, os.path.join(folder, "icon.bmp"), ["Down"])  # GIF Files (*.gif)
    wait_saved(os.path.join(folder, "icon.bmp"))
    save_through_dialog(app, os.path.join(folder, "avatar.bmp"), ["End"])  # All Files (*.*)
    wait_saved(os.path.join(folder, "avatar.bmp"))
    names = sorted(os.listdir(folder))
    expect(names == ["avatar.bmp", "icon.bmp"], f"the folder holds {names}")
    return "icon.bmp under GIF Files, avatar.bmp under All Files"


def case_all_files_lists_names_without_dot(app, workdir):
    """An icon saved as "avatar" is listed by Load's "All Files (*.*)" and opens from the list."""
    folder = os.path.join(workdir, "icons")
    os.makedirs(folder)
    saved = os.path.join(folder, "avatar")
    save_through_dialog(app, saved)
    wait_saved(saved)
    with Image.open(saved) as image:
        icon = image.convert("RGB")
    # Then a grey icon beside it, which Load proposes next (a proposed file is always listed).
    app.choose("New", "AIM Back Color")
    app.wait_menu_closed()
    app.click_main("Finished")
    app.x.park_pointer()
    wait_until(lambda: not same(app.finished_view(), icon), 10, "the finished view to turn grey")
    save_through_dialog(app, os.path.join(folder, "grey.bmp"))
    wait_saved(os.path.join(folder, "grey.bmp"))

    # The dialog opens in that folder. Another name in the name box, then the file picked from
    # the list by typing its first letters there: only a listed file can be picked.
    app.click_main("Load")
    dialog = app.wait_dialog("^Load Icon$")
    app.x.key("ctrl+a")
    app.x.type("none")
    app.x.key("shift+Tab")  # the file list
    app.x.type("av")
    app.x.key("Return")
    app.x.wait_window_gone(dialog, "^Load Icon$")
    app.x.park_pointer()
    wait_until(lambda: same(app.canvas(), icon), 10, "the canvas to show the icon picked in the list")
    return "avatar listed and loaded"


def tree(folder):
    """Every file and folder below folder, with its kind, size, content and time stamp."""
    found = {}
    for root, dirs, files in os.walk(folder):
        for name in dirs + files:
            path = os.path.join(root, name)
            info = os.lstat(path)
            digest = ""
            if os.path.isfile(path) and not os.path.islink(path):
                with open(path, "rb") as f:
                    digest = hashlib.sha256(f.read()).hexdigest()
            found[os.path.relpath(path, folder)] = (info.st_mode, info.st_size, info.st_mtime_ns,
                                                    digest)
    return found


def colour_through_dialog(app, button, item, title, html, keep=False):
    app.choose(button, item)
    dialog = app.wait_dialog(title)
    app.x.key("alt+h")  # the "&HTML:" field
    app.x.key("ctrl+a")
    app.x.type(html)
    if keep:
        app.x.key("alt+a")  # "&Add to Custom Colors"
    app.x.key("Return")
    app.x.wait_window_gone(dialog, title)


def case_desktop_left_as_it_was(app, workdir):
    """A run through every dialog leaves the home and runtime folders exactly as they were."""
    app.stop()  # a fresh run whose home holds another Qt program's dialog settings
    own = Avatello(app.x, app.program, os.path.join(workdir, "own"))
    home = os.path.join(own.workdir, "home")
    runtime = os.path.join(own.workdir, "runtime")
    os.makedirs(os.path.join(home, ".config"))
    os.makedirs(runtime, mode=0o700)
    pictures = os.path.join(workdir, "pictures")
    os.makedirs(pictures)
    with open(os.path.join(home, ".config", "QtProject.conf"), "w") as f:
        f.write(f"[FileDialog]\nlastVisited=file://{pictures}\nviewMode=List\n")
    before = tree(home), tree(runtime)
    picture = os.path.join(pictures, "red.bmp")
    Image.new("RGB", (20, 20), (200, 0, 0)).save(picture)
    try:
        own.start()
        own.click_main("Load")
        own.answer_file_dialog("^Load Icon$", picture)
        colour_through_dialog(own, "New", "Choose Color", "^Select Color$", "#3366cc", True)
        colour_through_dialog(own, "Edit", "Back Color", "^Choose Back Color$", "#22aa44", True)
        colour_through_dialog(own, "Edit", "Text Color", "^Choose New Icon Color$", "#ffff00")
        own.choose("Edit", "Change Font")
        font = own.wait_dialog("^Change Font$")
        own.click_control(font, CHANGE_FONT["OK"])
        own.x.wait_window_gone(font, "^Change Font$")
        own.choose("Edit", "Add Text")
        prompt = own.wait_dialog("^Add Text$")
        own.x.type("Hi")
        own.x.key("Return")
        own.x.wait_window_gone(prompt, "^Add Text$")
        own.click_main("Finished")
        saved = os.path.join(pictures, "icon.bmp")
        own.click_main("Save")
        own.answer_file_dialog("^Save Icon$", saved)
        wait_saved(saved)
        own.x.activate(own.main)
        own.x.key("alt+F4")
        code = own.process.wait(timeout=10)
        expect(code == 0, f"the program ended with exit status {code}")
    except Failure:
        own.x.screenshot().save(os.path.join(own.workdir, "failure.png"))
        raise
    finally:
        own.stop()
    after = tree(home), tree(runtime)
    for where, old, new in zip(("home", "runtime"), before, after):
        changed = sorted(name for name in set(old) | set(new) if old.get(name) != new.get(name))
        expect(not changed, f"the run changed these in its {where} folder: {changed}")
    return "home and runtime folders unchanged"


def case_enter_presses_focused_button(app, workdir):
    """Enter presses the focused button as Space does; with the hidden box focused, nothing."""
    x = app.x
    x.key("Return")
    watch_nothing_opens(app, set(x.visible_windows_of_class("^avatello$")),
                        "Enter with the hidden box focused")
    x.key("Tab", "Tab", "Tab")  # the canvas, the finished view, Load
    x.key("Return")
    dialog = app.wait_dialog("^Load Icon$")
    x.key("Escape")
    x.wait_window_gone(dialog, "^Load Icon$")

    app.choose("Edit", "Change Font")
    font = app.wait_dialog("^Change Font$")
    shown = set(x.visible_windows_of_class("^avatello$"))
    x.key("Return")
    watch_nothing_opens(app, shown, "Enter in Change Font with the hidden box focused")
    x.key("Tab", "Tab", "Tab")  # the face list, the size list, OK
    x.key("Return")
    x.wait_window_gone(font, "^Change Font$")
    return "Load opened and Change Font closed by Enter"


def font_families():
    """Installed families as fontconfig names them, and those offered by several foundries."""
    out = subprocess.run(["fc-list", ":", "family", "foundry"], capture_output=True, text=True,
                         check=True).stdout
    foundries = {}
    for line in out.splitlines():
        family, _, foundry = line.partition(":foundry=")
        foundries.setdefault(family.split(",")[0], set()).add(foundry)
    return set(foundries), sorted(f for f, where in foundries.items() if len(where) > 1)


def face_list(app, font, unlike, what):
    """The face list as shown once it has settled and differs from every image in unlike."""
    previous = [None]

    def check():
        shot = app.grab(font, CHANGE_FONT["Font list"])
        settled = (previous[0] is not None and same(shot, previous[0])
                   and not any(same(shot, other) for other in unlike))
        previous[0] = shot
        return shot if settled else None
    return wait_until(check, 10, what, interval=0.05)


def case_change_font_lists_each_family_once(app, workdir):
    """A family that several foundries offer is one entry: the next entry is the next family."""
    families, shared = font_families()
    if not shared:
        raise Skip("no installed font family is offered by two foundries, so no family here "
                   "could be listed twice")
    family = shared[0]
    families.add("Tahoma")  # the program adds it where the system has none
    following = min((f for f in families if f.lower() > family.lower()), key=str.lower)

    def open_focused():
        app.choose("Edit", "Change Font")
        font = app.wait_dialog("^Change Font$")
        app.x.key("Tab")  # from the hidden box to the face list
        return font

    def close(font):
        app.click_control(font, CHANGE_FONT["Cancel"])
        app.x.wait_window_gone(font, "^Change Font$")

    # The list as it opens (Tahoma), then with the focus; then typing a name selects it.
    app.choose("Edit", "Change Font")
    font = app.wait_dialog("^Change Font$")
    plain = face_list(app, font, [], "the face list to be painted")
    app.x.key("Tab")
    focused = face_list(app, font, [plain], "the face list to take the focus")
    app.x.type(following)
    expected = face_list(app, font, [plain, focused], f"the face list to show {following!r}")
    close(font)

    font = open_focused()
    app.x.type(family)
    named = face_list(app, font, [plain, focused], f"the face list to show {family!r}")
    app.x.key("Down")
    shown = face_list(app, font, [plain, focused, named], "the face list to show the next entry")
    close(font)
    expect(same(shown, expected), f"the entry after {family!r} is not {following!r}")
    return f"{family!r} is followed by {following!r}"


CASES = [
    ("save_keeps_typed_name", case_save_keeps_typed_name),
    ("all_files_lists_names_without_dot", case_all_files_lists_names_without_dot),
    ("desktop_left_as_it_was", case_desktop_left_as_it_was),
    ("enter_presses_focused_button", case_enter_presses_focused_button),
    ("change_font_lists_each_family_once", case_change_font_lists_each_family_once),
]
