"""End-to-end cases driven by the keyboard alone: after the program has started, no pointer event
reaches it. run_e2e.py appends CASES to its own list.
"""

import os
import subprocess

from avatello import MAIN
from xsession import Failure, wait_until


def expect(condition, message):
    if not condition:
        raise Failure(message)


def stacking(x):
    """The managed windows from bottom to top, as the window manager stacks them."""
    out = x.run(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"])
    return [int(w, 16) for w in out.split("#", 1)[-1].replace(",", " ").split()]


def wait_active(x, window, what):
    wait_until(lambda: x.active_window() == window, 10, what)


def wait_popup(app, what):
    return wait_until(lambda: (app.open_popups() or [None])[0], 10, what)


def case_keyboard_only_road(app, workdir):
    """Tab to New, a template by arrows and Space, Change Font, Add Text, Move Text, Finished and
    Save, all by keys: the file is byte for byte what `avatello make` writes for that recipe."""
    x = app.x
    main = app.main
    wait_active(x, main, "the main window to have the keyboard")

    # Tab in reading order: canvas, finished view, Load, New. Space opens New's menu below it.
    x.key("Tab", "Tab", "Tab", "Tab", "space")
    popup = wait_popup(app, "the New menu to open from the keyboard")
    left, top = x.geometry(popup)[:2]
    bx, by, _, bh = app.screen_rect(main, MAIN["New"])
    expect(abs(left - bx) <= 2 and abs(top - (by + bh)) <= 2,
           f"the New menu opened at ({left}, {top}), not below its button at ({bx}, {by + bh})")
    # The first item, Choose Color, is chosen already: AIM Back Color, Templates.
    x.key("Down", "Down", "Return")

    # Templates: the first tile has the focus; Right three times is tile 4; Space chooses it.
    gallery = x.wait_window("^Templates$")
    x.wait_placed(gallery)
    wait_active(x, gallery, "the gallery to have the keyboard")
    x.key("Right", "Right", "Right", "space")
    x.wait_window_gone(gallery, "^Templates$")
    wait_active(x, main, "the main window to have the keyboard again")

    # Change Font by Alt+E: size 12 in the size list, then OK by Tab and Space.
    x.key("alt+e")
    wait_popup(app, "the Edit menu")
    x.key("Down", "Down", "Return")  # from Add Text: Move Text, Change Font
    font = x.wait_window("^Change Font$")
    x.wait_placed(font)
    wait_active(x, font, "Change Font to have the keyboard")
    x.key("Tab", "Tab", "Home", "Down", "Down", "Down", "Down", "Down", "Down", "Tab", "space")
    x.wait_window_gone(font, "^Change Font$")
    wait_active(x, main, "the main window after Change Font")

    # Add Text: the prompt takes the text and Enter.
    x.key("alt+e")
    wait_popup(app, "the Edit menu")
    x.key("Return")  # Add Text
    prompt = x.wait_window("^Add Text$")
    wait_active(x, prompt, "the text prompt to have the keyboard")
    x.type("Hi")
    x.key("Return")
    x.wait_window_gone(prompt, "^Add Text$")

    # Move Text: Up once, Right twice; the text goes from (200, 500) to (240, 480) twips, the
    # spot a press on pixel (16, 32) gives.
    x.key("alt+e")
    wait_popup(app, "the Edit menu")
    x.key("Down", "Return")  # Move Text
    move = x.wait_window("^Move Text$")
    x.wait_placed(move)
    wait_active(x, move, "Move Text to have the keyboard")
    x.key("Tab", "space", "Tab", "Tab", "space", "space")  # Move Up; Move Left; Move Right x2

    # Back to the main window by the window manager's Alt+Tab; Move Text stays open on top.
    x.key("alt+Tab")
    wait_active(x, main, "Alt+Tab to bring back the main window")
    x.key("alt+f")  # Finished
    saved = os.path.join(workdir, "saved", "icon.bmp")
    os.makedirs(os.path.dirname(saved))
    x.key("alt+s")
    dialog = x.wait_window("^Save Icon$")
    x.wait_placed(dialog)
    order = stacking(x)
    expect(order.index(dialog) > order.index(move),
           "the Save dialog opened beneath Move Text, which is kept on top")
    wait_active(x, dialog, "the Save dialog to have the keyboard")
    app.enter_file_name(dialog, "^Save Icon$", saved, reactivate=False)
    wait_until(lambda: os.path.exists(saved), 10, "the saved file")
    order = stacking(x)
    expect(order.index(move) > order.index(main), "Move Text is no longer above the main window")

    # Escape closes Move Text.
    x.key("alt+Tab")
    wait_active(x, move, "Alt+Tab to bring back Move Text")
    x.key("Escape")
    x.wait_window_gone(move, "^Move Text$")

    made = os.path.join(workdir, "made.bmp")
    subprocess.run([app.program, "make", "--template", "4", "--font", "Tahoma", "--size", "12",
                    "--text", "Hi", "--at", "16,32", "-o", made], check=True, timeout=60,
                   env={k: v for k, v in os.environ.items() if k != "DISPLAY"})
    with open(saved, "rb") as f:
        window_bytes = f.read()
    with open(made, "rb") as f:
        make_bytes = f.read()
    expect(len(window_bytes) == 6966, f"saved file is {len(window_bytes)} bytes")
    expect(window_bytes == make_bytes, "the saved icon differs from avatello make's in "
           f"{sum(a != b for a, b in zip(window_bytes, make_bytes))} bytes")
    return "saved icon equals avatello make's byte for byte"


CASES = [
    ("keyboard_only_road", case_keyboard_only_road),
]
