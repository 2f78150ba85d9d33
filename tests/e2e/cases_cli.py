"""End-to-end cases for the program started with a file to open, as a file manager starts it."""

import os

from PIL import Image

from xsession import Failure, wait_until

WHITE = (255, 255, 255)


def _pixels(image):
    return list(image.convert("RGB").getdata())


def _restart_with(app, arguments):
    app.stop()
    app.start(arguments)


def case_file_argument(app, workdir):
    """`avatello FILE` shows FILE on the canvas, as Load would, from the first paint on."""
    path = os.path.join(workdir, "red square.gif")
    Image.new("RGB", (20, 20), (200, 0, 0)).save(path)
    expected = Image.new("RGB", (48, 48), WHITE)
    expected.paste((200, 0, 0), (0, 0, 20, 20))
    _restart_with(app, [path])
    wait_until(lambda: _pixels(app.canvas()) == _pixels(expected), 10,
               "the canvas to show the picture named on the command line")
    if app.stderr_text().strip():
        raise Failure(f"unexpected output: {app.stderr_text().strip()}")
    return "the named GIF is on the canvas"


def _open_refused(app, path):
    """Starts the program on a file it cannot open: the reason shows in a message over the
    window (a file manager shows no standard error) and on standard error; the icon is the
    start-up one."""
    start_canvas = _pixels(app.canvas())
    app.stop()
    app.start([path], covered=True)
    box = app.wait_dialog("^Load Icon$")
    said = app.stderr_text()
    app.x.key("Return")
    app.x.wait_window_gone(box, "^Load Icon$")
    wait_until(lambda: _pixels(app.canvas()) == start_canvas, 10,
               "the canvas to show the start-up picture")
    if path not in said:
        raise Failure(f"stderr does not name the file: {said!r}")
    return said.strip().splitlines()[0]


def case_unreadable_file_argument(app, workdir):
    """A file that is no picture: the program starts as usual and says why."""
    path = os.path.join(workdir, "notes.txt")
    with open(path, "w") as f:
        f.write("not a picture\n")
    said = _open_refused(app, path)
    if "not a BMP, GIF or JPEG picture" not in said:
        raise Failure(f"stderr does not say why: {said!r}")
    return "started as usual, said why over the window; stderr: " + said


def case_damaged_picture_argument(app, workdir):
    """Open With of a damaged picture (a GIF whose header stops short): said why, nothing lost."""
    path = os.path.join(workdir, "holiday.gif")
    Image.new("RGB", (20, 20), (200, 0, 0)).save(path)
    with open(path, "r+b") as f:
        f.truncate(9)
    said = _open_refused(app, path)
    if "damaged" not in said:
        raise Failure(f"stderr does not say why: {said!r}")
    return "the damaged GIF was explained over the window; stderr: " + said


CASES = [
    ("file_argument_loads_picture", case_file_argument),
    ("unreadable_file_argument_starts_anyway", case_unreadable_file_argument),
    ("damaged_picture_argument_is_explained", case_damaged_picture_argument),
]
