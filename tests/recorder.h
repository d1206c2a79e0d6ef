// A shell that records every operation the core asks for, in order, and
// keeps the little state a real window would show.
#pragma once

#include <map>
#include <string>
#include <vector>

struct Recorder {
  std::vector<std::string> log;  // e.g. "text 1400 Study Board. ..", "redraw 3"
  std::map<int, std::string> text;  // what each static shows
  bool timerRunning = false;
  bool boxEnabled = true;
  bool ended = false;
};

extern Recorder recorder;

// Back to a fresh process: start-up globals, nothing recorded.
void restart();
// The operations recorded by running f.
template <class F>
std::vector<std::string> opsOf(F f) {
  recorder.log.clear();
  f();
  return recorder.log;
}
