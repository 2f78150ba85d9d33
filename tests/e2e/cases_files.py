"""End-to-end cases of Load and Save on awkward files: special files, camera photos, pictures too
large to open, and a writable file in a folder the user may not write."""

import os
import stat
import shutil

from PIL import Image

from avatello import Avatello
from xsession import Failure, wait_until

NOBODY = 65534  # uid and gid of nobody / nogroup


def helpers():
    # The runner's pixel helpers, imported when a case runs (the runner imports this module).
    import run_e2e
    return run_e2e


def peak_memory_kib(app):
    """The program's resident-memory high-water mark."""
    with open(f"/proc/{app.process.pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise Failure("no VmHWM for the program")


def load(app, path):
    app.click_main("Load")
    app.answer_file_dialog("^Load Icon$", path)
    app.x.park_pointer()


def case_load_special_files(app, workdir):
    """Load of a pipe nobody writes and of /dev/zero: refused at once, nothing read, nothing
    changed; the window still answers and the next Load works."""
    e2e = helpers()
    folder = os.path.join(workdir, "pictures")
    os.makedirs(folder)
    pipe = os.path.join(folder, "pipe.gif")
    os.mkfifo(pipe)
    gif = os.path.join(folder, "chequer.gif")
    expected = e2e.make_gif(gif)
    original = e2e.wait_for_stable(app.canvas, 5, "the start-up canvas")

    before = peak_memory_kib(app)
    load(app, pipe)
    load(app, "/dev/zero")  # a program stuck on the pipe never shows this dialog
    e2e.expect(e2e.same(app.canvas(), original), "the canvas changed")
    grown = peak_memory_kib(app) - before
    # The two file dialogs account for most of the rise (about 8 MiB, and 65 MiB under
    # AddressSanitizer, whose quarantine keeps freed memory resident); reading /dev/zero as far
    # as the old 256 MiB stream bound raised it by over 500 MiB.
    e2e.expect(grown < 160 * 1024, f"peak memory grew by {grown} KiB on loading /dev/zero")

    load(app, gif)
    e2e.wait_for_image(app.canvas, lambda im: e2e.same(im, expected), 10,
                       "the next Load to show the GIF")
    return f"peak memory grew by {grown} KiB"


def case_load_camera_photo(app, workdir):
    """A 6000 x 4000 JPEG loads; a picture too large to open says so and changes nothing."""
    e2e = helpers()
    folder = os.path.join(workdir, "pictures")
    os.makedirs(folder)
    photo_path = os.path.join(folder, "DSC01234.JPG")
    small = Image.new("RGB", (60, 40))
    small.putdata([((x * 40) % 256, (y * 60) % 256, (x * y) % 256)
                   for y in range(40) for x in range(60)])
    small.resize((6000, 4000), Image.BILINEAR).save(photo_path, quality=85)
    with Image.open(photo_path) as saved:
        expected = saved.convert("RGB").crop((0, 0, 48, 48))

    load(app, photo_path)
    photo = e2e.wait_for_image(app.canvas, lambda im: e2e.same(im, expected), 10,
                               "the canvas to show the photo's top-left corner")

    # A GIF whose screen is 5000 x 5000 pixels: a valid picture beyond the bounds.
    huge = os.path.join(folder, "huge.gif")
    Image.new("P", (1, 1), 0).save(huge)
    with open(huge, "r+b") as f:
        f.seek(6)
        f.write((5000).to_bytes(2, "little") * 2)
    load(app, huge)
    box = app.wait_dialog("^Load Icon$")  # the message; it covers the main window
    app.x.key("Return")
    app.x.wait_window_gone(box, "^Load Icon$")
    e2e.wait_for_image(app.canvas, lambda im: e2e.same(im, photo), 10,
                       "the canvas to show the photo still")
    return f"photo of {os.path.getsize(photo_path)} bytes loaded; the huge GIF was explained"


def start_as_nobody(app, workdir):
    """Ends the program the runner started and starts it again as the user nobody."""
    app.stop()
    own = os.path.join(workdir, "nobody")
    for sub in ("", "home", "runtime"):
        os.makedirs(os.path.join(own, sub), exist_ok=True)
        os.chown(os.path.join(own, sub), NOBODY, NOBODY)
    os.chmod(os.path.join(own, "runtime"), 0o700)
    os.chmod(workdir, 0o755)  # the temporary folder is root's own otherwise
    wrapper = os.path.join(workdir, "as-nobody.sh")
    with open(wrapper, "w") as f:
        f.write(f'#!/bin/sh\nexec setpriv --reuid={NOBODY} --regid={NOBODY} --clear-groups '
                f'-- "{app.program}" "$@"\n')
    os.chmod(wrapper, 0o755)
    other = Avatello(app.x, wrapper, own)
    other.start()
    return other


def case_save_in_read_only_folder(app, workdir):
    """As an ordinary user: Save over a writable file in a folder the user may not write replaces
    it; Save of a new file there says it failed and writes nothing."""
    e2e = helpers()
    if os.geteuid() != 0 or shutil.which("setpriv") is None:
        raise Failure("needs root and setpriv to run the program as another user")
    user_app = start_as_nobody(app, workdir)
    try:
        locked = os.path.join(workdir, "nobody", "locked")
        os.makedirs(locked)
        os.chmod(locked, 0o755)  # root's: nobody may not create files in it
        target = os.path.join(locked, "icon.bmp")
        with open(target, "wb") as f:
            f.write(b"old icon")
        os.chown(target, NOBODY, NOBODY)
        os.chmod(target, 0o644)

        user_app.click_main("Save")
        user_app.answer_file_dialog("^Save Icon$", target)
        wait_until(lambda: os.path.getsize(target) == 6966, 10, "the file to be replaced")
        with open(target, "rb") as f:
            data = f.read()
        e2e.expect(data[:2] == b"BM", f"the file starts with {data[:2]!r}")
        with Image.open(target) as saved:
            e2e.expect(e2e.same(saved.convert("RGB"), user_app.finished_view()),
                       "the file does not hold the finished view")
        e2e.expect(sorted(os.listdir(locked)) == ["icon.bmp"], "another file appeared")

        fresh = os.path.join(locked, "new.bmp")
        user_app.click_main("Save")
        user_app.answer_file_dialog("^Save Icon$", fresh)
        box = user_app.wait_dialog("^Save Icon$")
        e2e.expect(not os.path.exists(fresh), "a new file was written where none may be")
        user_app.x.key("Return")
        user_app.x.wait_window_gone(box, "^Save Icon$")
    finally:
        user_app.stop()
    return "the writable file was replaced in place; the new one was refused with a message"


def case_save_onto_named_pipe(app, workdir):
    """Save onto a named pipe: refused with a message, the pipe left a pipe and nothing read from
    it or written to it."""
    e2e = helpers()
    pipe = os.path.join(workdir, "icon.bmp")
    os.mkfifo(pipe)
    app.click_main("Save")
    app.answer_file_dialog("^Save Icon$", pipe)
    box = app.wait_dialog("^Save Icon$")
    app.x.key("Return")
    app.x.wait_window_gone(box, "^Save Icon$")
    e2e.expect(stat.S_ISFIFO(os.lstat(pipe).st_mode), "the named pipe was replaced")
    e2e.expect(sorted(os.listdir(workdir)).count("icon.bmp") == 1 and
               not any(name.startswith(".avatello-") for name in os.listdir(workdir)),
               "a file was left beside the pipe")
    return "refused with a message; the pipe is still a pipe"


CASES = [
    ("load_special_files", case_load_special_files),
    ("load_camera_photo", case_load_camera_photo),
    ("save_in_read_only_folder", case_save_in_read_only_folder),
    ("save_onto_named_pipe", case_save_onto_named_pipe),
]
