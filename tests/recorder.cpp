#include "recorder.h"

#include "layout.h"
#include "shell.h"
#include "state.h"

Recorder recorder;

void restart() {
  initState();
  recorder = Recorder{};
  for (const Control &c : kControls)
    if (c.kind == ControlKind::Static) recorder.text[c.id] = c.text;
}

void setStaticText(int id, const std::string &text) {
  recorder.log.push_back("text " + std::to_string(id) + " " + text);
  recorder.text[id] = text;
}
void redrawPlace(int k) {
  recorder.log.push_back("redraw " + std::to_string(k));
}
void redrawWindow() { recorder.log.push_back("redrawWindow"); }
void enableIconSetBox(bool enable) {
  recorder.log.push_back(enable ? "box on" : "box off");
  recorder.boxEnabled = enable;
}
void startTimer() {
  recorder.log.push_back("timer start");
  recorder.timerRunning = true;
}
void stopTimer() {
  recorder.log.push_back("timer stop");
  recorder.timerRunning = false;
}
void beep() { recorder.log.push_back("beep"); }
void minimiseWindow() { recorder.log.push_back("minimise"); }
void endProgram() {
  recorder.log.push_back("end");
  recorder.ended = true;
}
void playSound(int k) { recorder.log.push_back("playwav" + std::to_string(k)); }
void helpload() { recorder.log.push_back("help"); }
