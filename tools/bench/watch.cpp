// Starts a program and prints the seconds until the screen pixel (x, y)
// has colour (r, g, b), polled every millisecond; then ends the program.
// Arguments: x y r g b program [arguments].
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

static double now() {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

int main(int argc, char **argv) {
  Display *d = XOpenDisplay(nullptr);
  if (argc < 7 || !d) return 2;
  const int x = atoi(argv[1]), y = atoi(argv[2]);
  const unsigned long want = static_cast<unsigned long>(atoi(argv[3])) << 16 |
                             atoi(argv[4]) << 8 | atoi(argv[5]);
  const double start = now();
  const pid_t child = fork();
  if (child == 0) {
    execv(argv[6], argv + 6);
    _exit(127);
  }
  double seen = -1;
  while (now() - start < 20) {
    XImage *img =
        XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
    const unsigned long p = img ? XGetPixel(img, 0, 0) & 0xFFFFFF : 0;
    if (img) XDestroyImage(img);
    if (p == want) {
      seen = now() - start;
      break;
    }
    usleep(1000);
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  printf("%.4f\n", seen);
  return seen < 0;
}
