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


def case_unreadable_file_argument(app, workdir):
    """A file that cannot be read: the program starts as usual and says why on stderr."""
    start_canvas = _pixels(app.canvas())
    path = os.path.join(workdir, "notes.txt")
    with open(path, "w") as f:
        f.write("not a picture\n")
    _restart_with(app, [path])
    if _pixels(app.canvas()) != start_canvas:
        raise Failure("the canvas is not the start-up picture")
    said = app.stderr_text()
    if path not in said or "picture" not in said:
        raise Failure(f"stderr does not say why: {said!r}")
    return "started as usual; stderr: " + said.strip().splitlines()[0]


CASES = [
    ("file_argument_loads_picture", case_file_argument),
    ("unreadable_file_argument_starts_anyway", case_unreadable_file_argument),
]
