// A line of text in the order it is drawn: SDL_ttf shapes a run of one
// direction (through HarfBuzz) but has no bidirectional step, so a line of
// Arabic with digits or Latin words in it is cut here, with FriBidi, into
// runs of one direction each, left to right as they appear.
#pragma once

#include <string>
#include <vector>

struct Run {
  std::string text;  // UTF-8, in reading order within the run
  bool rightToLeft;
};

// The runs of a line whose paragraph reads right to left (rtl) or left to
// right.
std::vector<Run> visualRuns(const std::string &line, bool rtl);
