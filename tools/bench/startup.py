"""Start-up benchmark of the Linux program (not a test): seconds from start
to the first shown frame, against a bare SDL2 window of the same size and
place, each the median of 10 runs on a private Xvfb, and their ratio.
Usage: scripts/bench-startup [--runs N] [program]   (default: the native
build's program, built first)."""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile

from tools import facts
from tools.pictures import Picture

ROOT = facts.ROOT

SCREEN = 1024, 768


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("program", nargs="?")
    args = parser.parse_args()
    program = args.program
    if not program:
        subprocess.run(["cmake", "--preset", "native"], cwd=ROOT, check=True,
                       stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", "--preset", "native", "--target",
                        "quintara", "quintara_run_files"], cwd=ROOT,
                       check=True, stdout=subprocess.DEVNULL)
        program = os.path.join(ROOT, "build/native/src/shell/sdl/quintara")
    program = os.path.abspath(program)

    tmp = tempfile.mkdtemp(prefix="quintara-bench-")
    bench = os.path.join(ROOT, "tools", "bench")
    sdl = subprocess.run(["sdl2-config", "--cflags", "--libs"], check=True,
                         capture_output=True, text=True).stdout.split()
    for name, libs in (("bare", sdl), ("watch", ["-lX11"])):
        subprocess.run(["g++", "-O2", os.path.join(bench, name + ".cpp"), "-o",
                        os.path.join(tmp, name)] + libs, check=True)

    # The probe: a pixel of the face's top strip, which the bare window
    # paints in the same colour.
    x0 = facts.windowX(SCREEN[0])
    y0 = facts.windowY(SCREEN[1])
    w, h = facts.WINDOW_W, facts.WINDOW_H
    face = Picture.read(os.path.join(ROOT, "resources", "face.bmp"))
    colour = face.pixel(w // 2, 5)
    probe = [str(v) for v in (x0 + w // 2, y0 + 5) + colour]

    # -noreset: the server must not reset between runs, when no client is
    # left.
    ready, tell = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(tell), "-noreset", "-nolisten", "tcp",
         "-screen", "0", "%dx%dx24" % SCREEN], pass_fds=(tell,),
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(tell)
    with os.fdopen(ready) as said:
        display = ":" + said.readline().strip()
    env = dict(os.environ, DISPLAY=display)
    env.pop("WAYLAND_DISPLAY", None)
    try:
        def seconds(argv):
            out = subprocess.run([os.path.join(tmp, "watch")] + probe + argv,
                                 env=env, capture_output=True, text=True,
                                 cwd=os.path.dirname(program))
            return float(out.stdout)

        # Taken in turns, so that a change in the machine's load falls on
        # both alike.
        bare_argv = [os.path.join(tmp, "bare"), str(x0), str(y0), str(w),
                     str(h)] + [str(v) for v in colour]
        runs = [(seconds(bare_argv), seconds([program]))
                for _ in range(args.runs)]
        if min(min(pair) for pair in runs) < 0:
            sys.exit("a start showed no frame: %s" % runs)
        bare = statistics.median(b for b, _ in runs)
        game = statistics.median(g for _, g in runs)
    finally:
        xvfb.terminate()
        xvfb.wait()
    print("SDL_AUDIODRIVER=%s, %d runs" % (os.environ.get(
        "SDL_AUDIODRIVER", "(unset)"), args.runs))
    print("bare SDL2 window: %.3f s" % bare)
    print("the game:         %.3f s" % game)
    print("ratio:            %.2f" % (game / bare))


if __name__ == "__main__":
    main()
