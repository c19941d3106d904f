// Pictures of the preview's windows under Xvfb: a shown window copied from
// the screen into a PNG, and the hooks that let the modal hosts be shown,
// looked at and closed without a user.
#pragma once

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include <functional>
#include <string>

#include "translator/ui/preview/preview_hosts.h"

namespace ulk::testing {

// Lets pending paint and layout events run; the X server shows a newly
// mapped window only after a few rounds of its frame clock.
inline void Settle(int rounds = 40) {
  for (int i = 0; i < rounds; ++i) {
    wxTheApp->Yield(true);
    wxMilliSleep(10);
  }
}

// The screen pixels of `rect`, read from the X server itself: the
// toolkit's screen device context keeps what it saw first.
wxImage CaptureScreenRect(const wxRect& rect);

inline wxImage CaptureWindow(wxWindow* window) {
  window->Raise();
  window->Refresh();
  window->Update();
  Settle();
  return CaptureScreenRect(window->GetScreenRect());
}

inline bool SavePng(const wxImage& image, const std::string& path) {
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  return image.SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG);
}

// While alive, every dialog host shown modally is handed to `onDialog`
// (shown and settled) and every menu host to `onMenu`; message boxes are
// recorded in `messages` and answered.
class PreviewWindowHook : public wxModalDialogHook {
 public:
  std::function<void(DialogHost&)> onDialog;
  std::function<void(MenuHost&)> onMenu;
  std::vector<std::string> messages;

  PreviewWindowHook() {
    Register();
    MenuHost::SetModalHook([this](MenuHost& host) {
      host.Show();
      Settle();
      if (onMenu) onMenu(host);
      host.Hide();
      return static_cast<int>(wxID_CANCEL);
    });
  }
  ~PreviewWindowHook() override {
    Unregister();
    MenuHost::SetModalHook({});
  }

 protected:
  int Enter(wxDialog* dialog) override {
    if (auto* host = dynamic_cast<DialogHost*>(dialog)) {
      host->Show();
      Settle();
      if (onDialog) onDialog(*host);
      host->Hide();
      return wxID_CANCEL;
    }
    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) {
      messages.push_back(box->GetMessage().utf8_string());
      return wxID_OK;
    }
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
};

}  // namespace ulk::testing
