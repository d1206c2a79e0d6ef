// The help (helpload of shell.h): the help's HTML pages, which any desktop's
// browser shows, opened with the desktop's xdg-open. The compiled help file
// of the Windows program has no viewer here.
#include <SDL.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "shell.h"
#include "state.h"
#include "texts.h"

extern char **environ;

namespace {

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
  const int spawned =
      posix_spawnp(&child, program, &quiet, nullptr, argv, environ);
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

int openOrComplain(void *file) {
  const std::unique_ptr<std::string> owned(static_cast<std::string *>(file));
  if (!viewerOpened(*owned))
    SDL_ShowSimpleMessageBox(0, TEXT_HELP_ERROR_TITLE, TEXT_HELP_ERROR,
                             nullptr);
  return 0;
}

}  // namespace

// Hands the help's first page to xdg-open and returns at once. When that fails
// (no file, no xdg-open, or it exits with an error) the help error box comes up
// from a thread of its own, so the game goes on behind it.
void helpload() {
  auto *owned = new std::string(helpPage());
  SDL_Thread *thread = SDL_CreateThread(openOrComplain, "help", owned);
  if (thread)
    SDL_DetachThread(thread);
  else
    delete owned;
}
