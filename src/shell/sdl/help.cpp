// The help (helpload of shell.h): the help's HTML pages, which any desktop's
// browser shows, opened with the desktop's xdg-open. The compiled help file
// of the Windows program has no viewer here.
#include "help.h"

#include <SDL.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "shell.h"
#include "state.h"
#include "texts.h"

extern char **environ;

namespace {

// Spawn attributes for a child of the help thread: SDL's threads block
// SIGTERM and others, and a child would inherit that; a new process group
// when asked.
struct Attributes {
  posix_spawnattr_t attr;
  explicit Attributes(bool newGroup) {
    posix_spawnattr_init(&attr);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(
        &attr, POSIX_SPAWN_SETSIGMASK | (newGroup ? POSIX_SPAWN_SETPGROUP : 0));
    posix_spawnattr_setpgroup(&attr, 0);
  }
  ~Attributes() { posix_spawnattr_destroy(&attr); }
};

bool viewerOpened(const std::string &file) {
  if (access(file.c_str(), R_OK) != 0) return false;
  // The box is the only report: the viewer's own messages go nowhere.
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY,
                                   0);
  posix_spawn_file_actions_adddup2(&quiet, STDOUT_FILENO, STDERR_FILENO);
  char program[] = "xdg-open";
  std::string path = file;
  char *argv[] = {program, path.data(), nullptr};
  pid_t child;
  Attributes plain(false);
  const int spawned =
      posix_spawnp(&child, program, &quiet, &plain.attr, argv, environ);
  posix_spawn_file_actions_destroy(&quiet);
  if (spawned != 0) return false;
  int status = 0;
  while (waitpid(child, &status, 0) < 0)
    if (errno != EINTR) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The first page, beside the executable in the build tree or in the help
// folder once installed (INSTALLED_HELP, relative to the program's folder);
// empty when neither has it.
std::string helpPage() {
  for (const std::string &folder :
       {getDrivePath + "help/", getDrivePath + INSTALLED_HELP}) {
    const std::unique_ptr<char, decltype(&free)> page(
        realpath((folder + "index.html").c_str(), nullptr), free);
    if (page) return page.get();
  }
  return {};
}

// The helper showing the box. Its watcher reads the game's end of a pipe,
// which the kernel closes however the game ends, and then ends the
// helper's process group: the helper, the watcher and the box process SDL
// forks.
std::mutex boxLock;
pid_t boxHelper = 0;
int boxLink = -1;
bool closing = false;

void showErrorBox() {
  const std::lock_guard<std::mutex> hold(boxLock);
  if (closing) return;
  if (boxHelper > 0) {
    if (waitpid(boxHelper, nullptr, WNOHANG) == 0) return;  // still up
    close(boxLink);
    boxHelper = 0;
  }
  int link[2];
  if (pipe2(link, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, link[0], STDIN_FILENO);
  Attributes group(true);
  char program[] = "quintara";
  std::string option = kErrorBoxSwitch;
  char *argv[] = {program, option.data(), nullptr};
  pid_t helper;
  const int spawned = posix_spawn(&helper, "/proc/self/exe", &actions,
                                  &group.attr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(link[0]);
  if (spawned != 0) {
    close(link[1]);
    return;
  }
  boxHelper = helper;
  boxLink = link[1];
}

int openOrComplain(void *file) {
  const std::unique_ptr<std::string> owned(static_cast<std::string *>(file));
  if (!viewerOpened(*owned)) showErrorBox();
  return 0;
}

}  // namespace

// Hands the help's first page to xdg-open from a thread of its own and
// returns at once. When that fails (no file, no xdg-open, or it exits with
// an error) the help error box comes up, unless one is up already.
void helpload() {
  auto *owned = new std::string(helpPage());
  SDL_Thread *thread = SDL_CreateThread(openOrComplain, "help", owned);
  if (thread)
    SDL_DetachThread(thread);
  else
    delete owned;
}

// The watch on the pipe is a process of its own, not a thread: SDL forks
// to show the box, and a child forked beside a running thread can inherit
// a lock (the allocator's) held forever, and never show the box.
int runErrorBox() {
  const pid_t watcher = fork();
  if (watcher == 0) {
    char byte;
    while (read(STDIN_FILENO, &byte, 1) < 0 && errno == EINTR) {
    }
    kill(0, SIGTERM);
    _exit(0);
  }
  if (watcher < 0) return 1;
  SDL_ShowSimpleMessageBox(0, TEXT_HELP_ERROR_TITLE, TEXT_HELP_ERROR, nullptr);
  kill(watcher, SIGTERM);
  waitpid(watcher, nullptr, 0);
  return 0;
}

void closeHelp() {
  const std::lock_guard<std::mutex> hold(boxLock);
  closing = true;
  if (boxHelper <= 0) return;
  killpg(boxHelper, SIGTERM);
  waitpid(boxHelper, nullptr, 0);
  close(boxLink);
  boxHelper = 0;
}
