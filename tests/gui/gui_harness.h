// Driving real windows in tests: the application object, the command events
// the menus send, the enabling the windows report, and modal dialogs and
// message boxes answered (and recorded) through wx's modal-dialog hook
// instead of being shown.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/apptrait.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>

#include "uikit/spanish.h"
#include "uikit/toolkit_dialog.h"
#include "uikit/wx_text.h"

namespace ulk::testing {

// What a modal dialog was when it was asked to show.
struct ShownDialog {
  std::string className;  // wx's class name: "wxMessageDialog", "wxFileDialog", ...
  std::string message;    // a message box's text
  long style = 0;         // a message box's wxICON_* and button flags
  int templateId = -1;    // a ToolkitDialog's number
  int answer = 0;         // what ShowModal returned
  std::string yesLabel;   // a message box's button labels
  std::string okLabel;

  bool IsError() const { return (style & wxICON_ERROR) != 0; }
  bool IsQuestion() const { return (style & wxICON_QUESTION) != 0; }
  bool IsInformation() const { return (style & wxICON_INFORMATION) != 0; }
  bool IsExclamation() const { return (style & wxICON_EXCLAMATION) != 0; }
};

// Answers every modal dialog while it exists. Each dialog takes the next
// scripted answer (an id such as wxID_YES, or an action that gets the
// dialog and returns the id); without one, a question is answered No and
// anything else is cancelled (a message box: OK).
class ModalAnswers : public wxModalDialogHook {
 public:
  using Action = std::function<int(wxDialog*)>;

  ModalAnswers() { Register(); }
  ~ModalAnswers() override { Unregister(); }

  void Answer(int id) {
    actions_.push_back([id](wxDialog*) { return id; });
  }
  void Answer(Action action) { actions_.push_back(std::move(action)); }

  std::vector<ShownDialog> shown;

  // The texts of the message boxes shown, in order.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const ShownDialog& dialog : shown) {
      if (dialog.className == "wxMessageDialog") texts.push_back(dialog.message);
    }
    return texts;
  }

 protected:
  int Enter(wxDialog* dialog) override {
    ShownDialog record;
    record.className = FromWx(dialog->GetClassInfo()->GetClassName());
    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) {
      record.className = "wxMessageDialog";
      record.message = FromWx(box->GetMessage());
      record.style = box->GetMessageDialogStyle();
      record.yesLabel = FromWx(box->GetYesLabel());
      record.okLabel = FromWx(box->GetOKLabel());
    }
    if (auto* toolkit = dynamic_cast<ToolkitDialog*>(dialog)) {
      record.templateId = toolkit->templateId();
    }
    if (!actions_.empty()) {
      Action action = std::move(actions_.front());
      actions_.pop_front();
      record.answer = action(dialog);
    } else if (record.className == "wxMessageDialog") {
      record.answer = (record.style & wxYES_NO) ? wxID_NO : wxID_OK;
    } else {
      record.answer = wxID_CANCEL;
    }
    shown.push_back(record);
    return record.answer;
  }
  void Exit(wxDialog*) override {}

 private:
  std::deque<Action> actions_;
};

// Runs what the event loop has queued: posted events, pending calls and
// idle handlers (where the windows update their commands and panes).
inline void Pump() {
  for (int round = 0; round < 5; ++round) {
    if (wxTheApp) {
      wxTheApp->ProcessPendingEvents();
      if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
        while (loop->Pending()) loop->Dispatch();
      }
      wxTheApp->ProcessIdle();
    }
  }
}

// Sends the event a menu item sends, as the window's own handler chain
// (and so the document framework's routing) receives it. True when some
// handler took it.
inline bool SendCommand(wxWindow* target, int id) {
  wxCommandEvent event(wxEVT_MENU, id);
  event.SetEventObject(target);
  return target->GetEventHandler()->ProcessEvent(event);
}

struct CommandState {
  bool handled = false;  // some handler said whether it is enabled
  bool enabled = false;
  bool checked = false;
  std::string text;
};

// Asks the windows whether a command is enabled, as idle time does.
inline CommandState QueryCommand(wxWindow* target, int id) {
  wxUpdateUIEvent event(id);
  event.SetEventObject(target);
  target->GetEventHandler()->ProcessEvent(event);
  CommandState state;
  state.handled = event.GetSetEnabled();
  state.enabled = event.GetEnabled();
  state.checked = event.GetSetChecked() && event.GetChecked();
  if (event.GetSetText()) state.text = FromWx(event.GetText());
  return state;
}

// The main of a GUI test program: starts wx with the given application
// object (in Spanish, as the programs start), runs the tests and ends wx.
// Listing the tests needs no display.
template <typename App>
int RunGuiTests(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  PrepareSpanishEnvironment();
  wxApp::SetInstance(new App());
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "no se ha podido iniciar wx (¿falta la pantalla?)\n");
    return 1;
  }
  SetUpSpanishTranslations();
  // A failed wx assertion fails the test instead of opening a dialog that
  // nobody answers.
  wxSetAssertHandler([](const wxString& file, int line, const wxString& func, const wxString& cond,
                        const wxString& msg) {
    ADD_FAILURE() << FromWx(file) << ":" << line << " " << FromWx(func) << ": " << FromWx(cond)
                  << " " << FromWx(msg);
  });
  // An active loop, so that Pump can hand GTK's own events out.
  wxEventLoopBase* loop = wxTheApp->GetTraits()->CreateEventLoop();
  int result = 0;
  {
    wxEventLoopActivator activate(loop);
    result = RUN_ALL_TESTS();
  }
  delete loop;
  wxEntryCleanup();
  return result;
}

}  // namespace ulk::testing
