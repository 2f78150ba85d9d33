#!/usr/bin/python3
"""End-to-end tests of the built Avatello program in a real X server.

Usage: run_e2e.py path/to/avatello [-k NAME] [--keep]

Each case starts its own Xvfb (on a free display, found with -displayfd) with openbox as the window
manager, and its own copy of the program with a private HOME and XDG_RUNTIME_DIR. The program is
driven only through real input: xdotool pointer clicks at the controls' pixel positions and key
strokes typed into the real Qt dialogs. Results are read back from screenshots of the screen and
from the files the program saves.

Prints one line per case and a closing line "N passed, M failed, K skipped"; exits non-zero on
any failure. A case that has nothing to check on this machine says SKIP and why.
"""

import argparse
import os
import shutil
import signal
import struct
import sys
import tempfile
import time
import traceback

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from PIL import Image  # noqa: E402

from avatello import (MAIN, MOVE_TEXT, CHANGE_FONT, Avatello, drawing_area,  # noqa: E402
                      template_tile)
from cases_desktop import CASES as DESKTOP_CASES  # noqa: E402
from xsession import Failure, Skip, XSession, wait_until  # noqa: E402
import cases_cli  # noqa: E402
import cases_files  # noqa: E402
import cases_keyboard  # noqa: E402
import cases_text  # noqa: E402

CASE_TIMEOUT = 90  # seconds; every wait inside a case has its own, shorter timeout
WHITE = (255, 255, 255)


# ----- pixel helpers ------------------------------------------------------------------------------

def pixels(image):
    return list(image.convert("RGB").getdata())


def same(a, b):
    return a.size == b.size and pixels(a) == pixels(b)


def is_plain(image, colour):
    return all(p == colour for p in pixels(image))


def describe_difference(actual, expected):
    a, e = pixels(actual), pixels(expected)
    wrong = [i for i in range(len(a)) if a[i] != e[i]]
    if not wrong:
        return "no difference"
    width = actual.size[0]
    first = wrong[0]
    return (f"{len(wrong)} of {len(a)} pixels differ; first at ({first % width}, "
            f"{first // width}): {a[first]} instead of {e[first]}")


def ink(image, background):
    """The set of (x, y) whose colour differs from the background."""
    width, height = image.size
    data = pixels(image)
    return {(i % width, i // width) for i in range(width * height) if data[i] != background}


def bounding_box(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return min(xs), min(ys), max(xs), max(ys)


def wait_for_image(grab, condition, timeout, what):
    """Grabs an image until condition(image) holds; returns that image."""
    last = [None]

    def check():
        image = grab()
        last[0] = image
        return image if condition(image) else None
    try:
        return wait_until(check, timeout, what, interval=0.05)
    except Failure:
        if last[0] is not None:
            last[0].save(os.path.join(CURRENT_DIR[0], "last-grab.png"))
        raise


def wait_for_stable(grab, timeout, what):
    """Grabs until two grabs in a row are equal (the painting has settled)."""
    previous = [None]

    def check():
        image = grab()
        stable = previous[0] is not None and same(image, previous[0])
        previous[0] = image
        return image if stable else None
    return wait_until(check, timeout, what, interval=0.05)


def expect(condition, message):
    if not condition:
        raise Failure(message)


CURRENT_DIR = [tempfile.gettempdir()]


# ----- the cases ----------------------------------------------------------------------------------

def choose_colour(app, html):
    """New > Choose Color, then the colour typed into the real colour dialog's HTML field."""
    app.choose("New", "Choose Color")
    dialog = app.wait_dialog("^Select Color$")
    app.x.key("alt+h")  # the dialog's "&HTML:" label puts the focus in its field
    app.x.key("ctrl+a")
    app.x.type(html)
    app.x.key("Return")
    app.x.wait_window_gone(dialog, "^Select Color$")


def add_text(app, text):
    app.choose("Edit", "Add Text")
    dialog = app.wait_dialog("^Add Text$")
    app.x.type(text)
    app.x.key("Return")
    app.x.wait_window_gone(dialog, "^Add Text$")


def case_road_of_one_icon(app, workdir):
    """Choose Color, press the canvas, Change Font 12, Add Text, Move Up, Finished, Save."""
    x = app.x
    blue = (0x33, 0x66, 0xCC)

    choose_colour(app, "#3366cc")
    wait_for_image(app.canvas, lambda im: is_plain(im, blue), 10,
                   "the canvas to become a plain #3366cc field")
    expect(is_plain(app.finished_view(), WHITE), "the finished view is not white after New")

    # A press at pixel (10, 20) of the canvas's drawing area sets the text position.
    press = (10, 20)
    canvas_area = drawing_area(MAIN["Canvas"])
    app.click_control(app.main, canvas_area, dx=press[0], dy=press[1])
    x.park_pointer()

    # Change Font: size 12 chosen in the size list by keyboard, then OK.
    app.choose("Edit", "Change Font")
    font = app.wait_dialog("^Change Font$")
    x.key("Tab", "Tab")  # the hidden box holds the focus first; then the face list, then sizes
    x.key("Home", *(["Down"] * 6))  # 6, 7, 8, 9, 10, 11, 12
    app.click_control(font, CHANGE_FONT["OK"])
    x.wait_window_gone(font, "^Change Font$")
    x.park_pointer()

    add_text(app, "Hi")
    stamped = wait_for_image(app.canvas, lambda im: not is_plain(im, blue), 10,
                             "the text to appear on the canvas")
    stamped = wait_for_stable(app.canvas, 5, "the canvas to settle after Add Text")
    before = ink(stamped, blue)
    left, top, right, bottom = bounding_box(before)
    expect(press[0] <= left <= press[0] + 3 and press[1] <= top <= press[1] + 4,
           f"text starts at ({left}, {top}), expected near the pressed spot {press}")
    expect(bottom - top >= 8, f"text is {bottom - top + 1} pixels tall: not 12 points")

    app.choose("Edit", "Move Text")
    move = x.wait_window("^Move Text$")
    x.wait_placed(move)
    app.click_control(move, MOVE_TEXT["Move Up"])
    x.park_pointer()
    moved = wait_for_image(app.canvas, lambda im: not same(im, stamped), 10,
                           "Move Up to change the canvas")
    moved = wait_for_stable(app.canvas, 5, "the canvas to settle after Move Up")
    after = ink(moved, blue)
    shifts = [dy for dy in (1, 2) if {(px, py - dy) for px, py in before} == after]
    expect(shifts, "after Move Up the text is not the same text 1 or 2 pixels higher "
                   f"(before {bounding_box(before)}, after {bounding_box(after)})")

    app.click_main("Finished")
    x.park_pointer()
    wait_for_image(app.finished_view, lambda im: same(im, moved), 10,
                   "the finished view to show the canvas")

    saved = os.path.join(workdir, "saved", "icon.bmp")
    os.makedirs(os.path.dirname(saved))
    app.click_main("Save")
    app.answer_file_dialog("^Save Icon$", saved)
    wait_until(lambda: os.path.exists(saved), 10, "the saved file")

    with open(saved, "rb") as f:
        data = f.read()
    expect(len(data) == 6966, f"saved file is {len(data)} bytes, expected 6966")
    expect(data[:2] == b"BM", f"saved file starts with {data[:2]!r}, expected b'BM'")
    size, _, offset, header, width, height, planes, bits, compression = struct.unpack(
        "<IIIIiiHHI", data[2:34])
    expect((size, offset, header, width, height, planes, bits, compression) ==
           (6966, 54, 40, 48, 48, 1, 24, 0),
           f"unexpected header {(size, offset, header, width, height, planes, bits)}")
    with Image.open(saved) as image:
        icon = image.convert("RGB")
    expect(icon.size == (48, 48), f"saved picture is {icon.size}")
    expect(same(icon, moved), "saved pixels differ from the finished view on the screen: "
           + describe_difference(icon, moved))
    background = sum(1 for p in pixels(icon) if p == blue)
    expect(background >= 48 * 48 * 0.8, f"only {background} pixels of the chosen colour")
    for corner in ((0, 0), (47, 0), (0, 47), (47, 47)):
        expect(icon.getpixel(corner) == blue, f"corner {corner} is {icon.getpixel(corner)}")
    text = ink(icon, blue)
    left, top, right, bottom = bounding_box(text)
    expect(press[0] <= left <= press[0] + 3 and press[1] - 3 <= top <= press[1] + 3,
           f"saved text starts at ({left}, {top}), expected near {press} moved up a little")
    expect(right < press[0] + 24 and bottom < press[1] + 18,
           f"saved text reaches ({right}, {bottom}), too far from {press}")
    darkest = min(sum(icon.getpixel(p)) for p in text)
    expect(darkest < 120, f"the text is not black: darkest text pixel sums to {darkest}")
    return f"text moved up {shifts[0]} px, {len(text)} text pixels at {bounding_box(text)}"


def make_gif(path):
    """A 32 x 32 GIF: a green and blue chequer with a transparent (red) square in it."""
    palette = [255, 0, 0, 0, 160, 0, 0, 0, 200] + [0] * (253 * 3)
    image = Image.new("P", (32, 32), 0)
    image.putpalette(palette)
    expected = Image.new("RGB", (48, 48), WHITE)
    for y in range(32):
        for x in range(32):
            index = 1 if (x // 8 + y // 8) % 2 == 0 else 2
            if 8 <= x < 20 and 12 <= y < 24:
                index = 0
            image.putpixel((x, y), index)
            if index:
                expected.putpixel((x, y), tuple(palette[index * 3:index * 3 + 3]))
    image.save(path, transparency=0)
    return expected


def case_load_gif(app, workdir):
    """Load a 32 x 32 GIF with a transparent colour through the open dialog, then Finished."""
    folder = os.path.join(workdir, "pictures")
    os.makedirs(folder)
    path = os.path.join(folder, "chequer.gif")
    expected = make_gif(path)

    app.click_main("Load")
    app.answer_file_dialog("^Load Icon$", path)
    app.x.park_pointer()
    wait_for_image(app.canvas, lambda im: same(im, expected), 10,
                   "the canvas to show the GIF at its top-left corner on white")
    app.click_main("Finished")
    app.x.park_pointer()
    view = wait_for_image(app.finished_view, lambda im: same(im, expected), 10,
                          "the finished view to show the loaded GIF")
    expect(view.getpixel((10, 15)) == WHITE, "a transparent pixel is not white")
    expect(view.getpixel((40, 40)) == WHITE, "the area beyond the GIF is not white")
    return "finished view matches the GIF pixel for pixel"


def case_load_wide_jpeg(app, workdir):
    """Load a wide photo-like JPEG: the canvas shows its top-left 48 x 48 pixels as decoded."""
    folder = os.path.join(workdir, "pictures")
    os.makedirs(folder)
    path = os.path.join(folder, "wide photo.jpg")
    width, height = 2400, 300
    photo = Image.new("RGB", (width, height))
    photo.putdata([((x * 7 + y * 3) % 256, (x // 10 + y) % 256, (x * y) % 251)
                   for y in range(height) for x in range(width)])
    photo.save(path, quality=90)
    with Image.open(path) as saved:
        expected = saved.convert("RGB").crop((0, 0, 48, 48))

    app.click_main("Load")
    app.answer_file_dialog("^Load Icon$", path)
    app.x.park_pointer()
    wait_for_image(app.canvas, lambda im: same(im, expected), 10,
                   "the canvas to show the JPEG's top-left corner as decoded")
    return "canvas matches the JPEG's corner pixel for pixel"


def case_templates(app, workdir):
    """New > Templates, double-click tile 9: the canvas shows what the tile showed."""
    tile = 9
    original = app.canvas()
    app.choose("New", "Templates")
    gallery = app.x.wait_window("^Templates$")
    app.x.wait_placed(gallery)
    area = drawing_area(template_tile(tile))
    frame = template_tile(tile)

    def painted(image):
        return len(set(pixels(image))) >= 2

    app.x.park_pointer()
    wait_for_image(lambda: app.grab(gallery, frame),
                   lambda im: im.getpixel((0, 0)) == (0, 0, 0) and im.getpixel((49, 49)) ==
                   (0, 0, 0), 10, "the gallery to be painted")
    shown = wait_for_stable(lambda: app.grab(gallery, area), 5, "the tile to settle")
    expect(painted(shown), "tile 9 shows a plain field")
    expect(not same(shown, original), "tile 9 looks like the canvas already")

    app.click_control(gallery, frame, repeat=2)
    app.x.wait_window_gone(gallery, "^Templates$")
    app.x.park_pointer()
    wait_for_image(app.canvas, lambda im: same(im, shown), 10,
                   "the canvas to show the chosen template")
    return "canvas equals the tile"


def case_undo_after_add_text(app, workdir):
    """Add Text, then Edit > Undo: the canvas is as before."""
    before = wait_for_stable(app.canvas, 5, "the start-up canvas to settle")
    add_text(app, "Hi")
    wait_for_image(app.canvas, lambda im: not same(im, before), 10,
                   "the text to appear on the canvas")
    app.choose("Edit", "Undo")
    app.wait_menu_closed()
    wait_for_image(app.canvas, lambda im: same(im, before), 10,
                   "Undo to restore the canvas")
    return "canvas restored"


def case_escape_on_menu(app, workdir):
    """Escape on each open menu, with its first item highlighted, changes nothing."""
    x = app.x
    canvas = wait_for_stable(app.canvas, 5, "the start-up canvas to settle")
    finished = app.finished_view()
    dialogs = {"New": "^Select Color$", "Edit": "^Add Text$", "Other": None}
    for button in ("New", "Edit", "Other"):
        popup = app.open_menu(button)
        x.key("Down")  # highlights the first item: Choose Color, Add Text, Minimize
        x.key("Escape")
        app.wait_menu_closed()
        expect(x.map_state(popup) != "IsViewable", f"the {button} menu is still shown")
        # Nothing may follow: watch a little while for a dialog or a state change.
        deadline = time.monotonic() + 0.6
        while time.monotonic() < deadline:
            if dialogs[button] and x.visible_windows(dialogs[button]):
                raise Failure(f"Escape on the {button} menu opened a dialog")
            expect(x.map_state(app.main) == "IsViewable",
                   f"the main window is not shown after Escape on the {button} menu")
            expect("HIDDEN" not in x.wm_state(app.main),
                   f"the main window was minimized by Escape on the {button} menu")
            time.sleep(0.05)
        expect(app.alive(), "the program ended")
        expect(same(app.canvas(), canvas), f"canvas changed after Escape on the {button} menu")
        expect(same(app.finished_view(), finished),
               f"finished view changed after Escape on the {button} menu")
        others = [w for w in x.visible_windows(".") if w != app.main]
        names = [x.xdotool("getwindowname", w, check=False).strip() for w in others]
        stray = [n for n in names if n and n != "Openbox"]
        expect(not stray, f"unexpected windows after Escape on the {button} menu: {stray}")
    return "three menus dismissed, nothing changed"


def case_close_main_window(app, workdir):
    """Closing the main window with Move Text and Templates open ends the program, unasked."""
    x = app.x
    app.choose("Edit", "Move Text")
    move = x.wait_window("^Move Text$")
    app.choose("New", "Templates")
    gallery = x.wait_window("^Templates$")
    x.wait_placed(move)
    x.wait_placed(gallery)
    # The way a user closes it: Alt+F4 to the window manager, which sends WM_DELETE_WINDOW,
    # as its close box does.
    x.activate(app.main)
    x.key("alt+F4")
    try:
        code = app.process.wait(timeout=10)
    except Exception:
        windows = [x.xdotool("getwindowname", w, check=False).strip()
                   for w in x.visible_windows(".")]
        raise Failure(f"the program still runs 10 s after closing; windows: {windows}")
    expect(code == 0, f"the program ended with exit status {code}")
    left = [w for w in (move, gallery, app.main) if x.map_state(w) == "IsViewable"]
    expect(not left, f"windows still shown after the program ended: {left}")
    return "program ended with status 0"


CASES = [
    ("road_of_one_icon", case_road_of_one_icon),
    ("load_gif_then_finished", case_load_gif),
    ("load_wide_jpeg", case_load_wide_jpeg),
    ("templates_double_click", case_templates),
    ("undo_after_add_text", case_undo_after_add_text),
    ("escape_on_open_menu", case_escape_on_menu),
    ("close_main_window_ends_program", case_close_main_window),
] + cases_cli.CASES + DESKTOP_CASES + cases_files.CASES + cases_text.CASES + cases_keyboard.CASES

# ----- runner -------------------------------------------------------------------------------------

class CaseTimeout(Failure):
    pass


def on_alarm(signum, frame):
    raise CaseTimeout(f"the case took longer than {CASE_TIMEOUT} s")


def run_case(program, name, function, keep):
    workdir = tempfile.mkdtemp(prefix=f"avatello-e2e-{name}-")
    CURRENT_DIR[0] = workdir
    x = XSession(workdir)
    app = None
    started = time.monotonic()
    error = None
    skipped = None
    detail = ""
    signal.signal(signal.SIGALRM, on_alarm)
    signal.alarm(CASE_TIMEOUT)
    try:
        x.start()
        app = Avatello(x, program, workdir)
        app.start()
        detail = function(app, workdir) or ""
    except Skip as skip:
        skipped = str(skip)
    except Failure as failure:
        error = str(failure)
    except Exception:  # a bug in the harness or a tool: report it as this case's failure
        error = traceback.format_exc().strip().replace("\n", "\n    ")
    finally:
        signal.alarm(0)
        if error:
            x.keep_screenshot(os.path.join(workdir, "failure.png"))
        if app is not None:
            app.stop()
        x.stop()
    elapsed = time.monotonic() - started
    if error:
        stderr = app.stderr_text().strip() if app is not None else ""
        print(f"FAIL {name} ({elapsed:.1f} s): {error}")
        if stderr:
            print("    program output: " + stderr.replace("\n", "\n    "))
        print(f"    artefacts kept in {workdir}")
    elif skipped is not None:
        print(f"SKIP {name} ({elapsed:.1f} s): {skipped}")
        if not keep:
            shutil.rmtree(workdir, ignore_errors=True)
    else:
        print(f"PASS {name} ({elapsed:.1f} s){': ' + detail if detail else ''}")
        if not keep:
            shutil.rmtree(workdir, ignore_errors=True)
    sys.stdout.flush()
    return "failed" if error else "skipped" if skipped is not None else "passed"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program", help="path of the built avatello program")
    parser.add_argument("-k", dest="only", action="append", default=[],
                        help="run only the cases whose name contains this text")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folders")
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    if not os.access(program, os.X_OK):
        print(f"not an executable program: {program}")
        print("0 passed, 1 failed, 0 skipped")
        return 1
    for tool in ("Xvfb", "openbox", "xdotool", "xwininfo", "xprop", "import"):
        if shutil.which(tool) is None:
            print(f"missing tool: {tool}")
            print("0 passed, 1 failed, 0 skipped")
            return 1

    outcomes = {"passed": 0, "failed": 0, "skipped": 0}
    for name, function in CASES:
        if args.only and not any(part in name for part in args.only):
            continue
        outcomes[run_case(program, name, function, args.keep)] += 1
    passed, failed = outcomes["passed"], outcomes["failed"]
    print(f"{passed} passed, {failed} failed, {outcomes['skipped']} skipped")
    return 0 if failed == 0 and passed + outcomes["skipped"] > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
