// An OperationUi for tests: records everything shown and answers questions
// from a script (No once the script runs out).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "translator/model/operation_ui.h"

namespace ulk::testing {

class ScriptedUi : public OperationUi {
 public:
  void ShowMessage(const std::string& text, MessageIcon icon) override {
    log.push_back(std::string(IconName(icon)) + ": " + text);
  }
  bool AskYesNo(const std::string& text) override {
    const bool answer = !answers.empty() && answers.front();
    if (!answers.empty()) answers.pop_front();
    log.push_back("ask: " + text + (answer ? " -> yes" : " -> no"));
    return answer;
  }
  void PushStatusText(const std::string& text) override { status.push_back("push " + text); }
  void PopStatusText() override { status.push_back("pop"); }
  void ShowProgress(bool show) override { progress.push_back(show ? "show" : "hide"); }
  void SetProgressRange(int lower, int upper) override {
    progress.push_back("range " + std::to_string(lower) + " " + std::to_string(upper));
  }
  void SetProgressPos(int position) override {
    progress.push_back("pos " + std::to_string(position));
  }
  void BeginWait() override { ++waits; }
  void EndWait() override { --waits; }

  static const char* IconName(MessageIcon icon) {
    switch (icon) {
      case MessageIcon::kError:
        return "error";
      case MessageIcon::kExclamation:
        return "exclamation";
      case MessageIcon::kQuestion:
        return "question";
      default:
        return "information";
    }
  }

  std::deque<bool> answers;
  std::vector<std::string> log;
  std::vector<std::string> status;
  std::vector<std::string> progress;
  int waits = 0;
};

}  // namespace ulk::testing
