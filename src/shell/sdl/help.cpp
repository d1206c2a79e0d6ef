// The help (helpload of shell.h): the help's HTML pages, which any desktop's
// browser shows, opened with the desktop's xdg-open. The compiled help file
// of the Windows program has no viewer here.
#include "help.h"

#include <SDL.h>
#include <fcntl.h>
#include <glib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "language.h"
#include "shell.h"
#include "state.h"
#include "texts.h"

namespace {

// GLib starts xdg-open as a shell would, with no signal blocked (SDL's
// threads block SIGTERM and others, and a child would inherit that), and
// waits for its exit status. The box is the only report: the viewer's own
// messages go nowhere.
bool viewerOpened(const std::string &file) {
  if (access(file.c_str(), R_OK) != 0) return false;
  char program[] = "xdg-open";
  std::string path = file;
  char *argv[] = {program, path.data(), nullptr};
  int status = 0;
  return g_spawn_sync(
             nullptr, argv, nullptr,
             GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL |
                         G_SPAWN_STDERR_TO_DEV_NULL),
             nullptr, nullptr, nullptr, nullptr, &status, nullptr) &&
         g_spawn_check_wait_status(status, nullptr);
}

// The first page in the language in use, else in English: beside the
// executable in the build tree (help/ and help/<language>/) or in the help
// folders once installed (INSTALLED_HELP, relative to the program's folder,
// ends in C/quintara/, where the desktop keeps English help; the other
// languages' lie beside C); empty when none has it.
std::string helpPage() {
  std::string installed = getDrivePath + INSTALLED_HELP;
  const std::string english = "/C/quintara/";
  const std::string language = languageInUse();
  installed.replace(installed.size() - english.size(), english.size(),
                    "/" + language + "/quintara/");
  for (const std::string &folder :
       {getDrivePath + "help/" + language + "/", installed,
        getDrivePath + "help/", getDrivePath + INSTALLED_HELP}) {
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

// Run in the helper between fork and exec: a process group of its own, and
// no signal blocked (SDL's threads block SIGTERM and others).
void ownGroup(gpointer) {
  setpgid(0, 0);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
}

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
  char program[] = "/proc/self/exe", name[] = "quintara";
  std::string option = kErrorBoxSwitch;
  char *argv[] = {program, name, option.data(), nullptr};
  GPid helper;
  const bool spawned = g_spawn_async_with_fds(
      nullptr, argv, nullptr,
      GSpawnFlags(G_SPAWN_DO_NOT_REAP_CHILD | G_SPAWN_FILE_AND_ARGV_ZERO),
      ownGroup, nullptr, &helper, link[0], -1, -1, nullptr);
  close(link[0]);
  if (!spawned) {
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
  // Its one button in the language in use; SDL's own box says "OK".
  const SDL_MessageBoxButtonData ok{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT |
                                        SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                                    0, TEXT_OK};
  const SDL_MessageBoxData box{
      0, nullptr, TEXT_HELP_ERROR_TITLE, TEXT_HELP_ERROR, 1, &ok, nullptr};
  int pressed;
  SDL_ShowMessageBox(&box, &pressed);
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
