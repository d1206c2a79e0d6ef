"""A private X server for the end-to-end tests of both programs."""
import os
import subprocess


def start_xvfb(displays, width, height):
    """Xvfb on the first free display of displays, once it takes
    connections (it names its display on a pipe then): (process, ":n")."""
    for n in displays:
        if os.path.exists("/tmp/.X%d-lock" % n):
            continue
        ready, tell = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", ":%d" % n, "-screen", "0", "%dx%dx24" % (width, height),
             "-nolisten", "tcp", "-displayfd", str(tell)], pass_fds=(tell,),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(tell)
        with os.fdopen(ready) as said:
            if said.readline().strip() == str(n):
                return xvfb, ":%d" % n
        xvfb.wait(10)
    raise RuntimeError("no free display among :%d-:%d"
                       % (displays[0], displays[-1]))
