"""End-to-end cases for the text people type today: emoji typed into Add Text are stamped in
colour, and the saved icon is the one `avatello make` writes for the same text.

run_e2e.py appends CASES to its own list; each case gets a running program and its work folder.
"""

import os
import re
import subprocess

from PIL import Image

from avatello import UNSET
from xsession import Failure, wait_until


def bind_keys(x, text):
    """Puts each character of `text` on a key of its own before it is typed. xdotool would map
    a character the keyboard lacks onto a spare key for one press and take it back at once, and
    Qt, reading the new map from the server only when told of the change, may find it gone and
    type nothing."""
    keymap = x.run(["xkbcomp", "-xkb", x.display, "-"], timeout=20)
    for i, c in enumerate(text):  # the last key codes: media keys no case presses
        key = f"<I{255 - i}>"
        keymap, found = re.subn(r"key " + key + r" \{[^}]*\};", f"key {key} {{ [ U{ord(c):X} ] }};",
                                keymap)
        if found != 1:
            raise Failure(f"the keyboard map has no key {key} to put {c!r} on")
    x.run(["xkbcomp", "-", x.display], data=keymap.encode(), timeout=20)


def make_icon(app, text, out):
    """The same icon through `avatello make`, with the environment the program runs in."""
    env = {k: v for k, v in os.environ.items() if k not in UNSET and k != "DISPLAY"}
    env.update(LC_ALL="C.UTF-8", HOME=os.path.dirname(out))
    result = subprocess.run([app.program, "make", "--text", text, "-o", out], env=env,
                            capture_output=True, timeout=60)
    if result.returncode != 0:
        raise Failure(f"make ended with {result.returncode}: {result.stderr.decode()!r}")


def case_emoji_typed_into_add_text(app, workdir):
    """A thumb with a skin tone typed into Add Text is stamped in its colours, and Save writes
    the bytes make writes for that text."""
    text = "Hi\U0001F44D\U0001F3FD"
    bind_keys(app.x, text[2:])
    before = list(app.canvas().getdata())
    app.choose("Edit", "Add Text")
    prompt = app.wait_dialog("^Add Text$")
    app.x.type(text)
    app.x.key("Return")
    app.x.wait_window_gone(prompt, "^Add Text$")
    wait_until(lambda: list(app.canvas().getdata()) != before, 10, "the text on the canvas")
    app.click_main("Finished")
    app.x.park_pointer()
    wait_until(lambda: list(app.finished_view().getdata()) == list(app.canvas().getdata()), 10,
               "the finished view to show the canvas")
    saved = os.path.join(workdir, "saved", "icon.bmp")
    os.makedirs(os.path.dirname(saved))
    app.click_main("Save")
    app.answer_file_dialog("^Save Icon$", saved)
    wait_until(lambda: os.path.exists(saved) and os.path.getsize(saved) == 6966, 10,
               "the saved file")

    made = os.path.join(workdir, "made.bmp")
    make_icon(app, text, made)
    with open(saved, "rb") as f, open(made, "rb") as g:
        same = f.read() == g.read()
    with Image.open(saved) as image:
        icon = image.convert("RGB")
    # The thumb's own browns, not the black of the text or the start-up picture's colours.
    browns = {p for p in icon.getdata() if p[0] > p[1] > p[2] and p[0] - p[2] > 40}
    if len(browns) < 5:
        raise Failure(f"the saved icon shows {len(browns)} brown shades, not a coloured thumb")
    if not same:
        raise Failure("Save wrote other bytes than make for the same text")
    return f"the same 6966 bytes as make, {len(browns)} brown shades"


CASES = [
    ("emoji_typed_into_add_text", case_emoji_typed_into_add_text),
]
