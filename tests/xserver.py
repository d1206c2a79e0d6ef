"""A private X server for the end-to-end tests of both programs."""
import os
import subprocess


def start_xvfb(width, height):
    """Xvfb on a display it picks itself (the first free one, named on a
    pipe once it takes connections), so tests running side by side never
    race for one: (process, ":n")."""
    ready, tell = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-screen", "0", "%dx%dx24" % (width, height), "-nolisten", "tcp",
         "-displayfd", str(tell)], pass_fds=(tell,), stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL, start_new_session=True)
    os.close(tell)
    with os.fdopen(ready) as said:
        display = said.readline().strip()
    if not display.isdigit():
        xvfb.kill()
        xvfb.wait()
        raise RuntimeError("Xvfb did not start")
    return xvfb, ":" + display
