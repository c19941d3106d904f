// Pictures of real windows for scripts/screenshots: each screenshot program
// opens its windows one after the other under the virtual display and
// writes one PNG per window (ImageMagick's import) into the folder named by
// ULK_SCREENSHOT_DIR.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <gtk/gtk.h>

#include "tests/gui/gui_harness.h"

namespace ulk::testing {

inline std::string ScreenshotDir() {
  const char* dir = std::getenv("ULK_SCREENSHOT_DIR");
  return dir && *dir ? dir : "screenshots";
}

// Lets the windows lay themselves out and paint, then writes NAME.png of
// the window (with a small margin), or of the whole screen without one.
// False when the picture could not be written.
inline bool TakeScreenshot(const std::string& name, wxWindow* window = nullptr) {
  for (int i = 0; i < 15; ++i) {
    Pump();
    wxMilliSleep(20);
  }
  const std::string path = ScreenshotDir() + "/" + name + ".png";
  std::string crop;
  // Native dialogs (GTK's file chooser) do not report where they are: the
  // whole screen then.
  if (window && window->GetSize().x > 50) {
    const wxRect rect = window->GetScreenRect().Inflate(4);
    crop = " -crop " + std::to_string(rect.width) + "x" + std::to_string(rect.height) + "+" +
           std::to_string(std::max(0, rect.x)) + "+" + std::to_string(std::max(0, rect.y));
  }
  const std::string command = "import -window root" + crop + " '" + path + "'";
  const bool ok = std::system(command.c_str()) == 0;
  std::fprintf(stderr, "%s %s\n", ok ? "escrito" : "FALLO", path.c_str());
  return ok;
}

// Opens menu `index` of the frame's menu bar with a real click on its title
// (found where GTK laid it out), writes NAME.png of the frame with the menu
// open, and closes the menu again with Escape. False when the menu did not
// open or the picture could not be written.
inline bool TakeOpenMenuScreenshot(const std::string& name, wxFrame* frame, int index) {
  wxMenuBar* bar = frame->GetMenuBar();
  GtkWidget* shell = bar ? static_cast<GtkWidget*>(bar->GetHandle()) : nullptr;
  if (!shell || !GTK_IS_MENU_BAR(shell)) return false;
  GList* titles = gtk_container_get_children(GTK_CONTAINER(shell));
  auto* title = static_cast<GtkWidget*>(g_list_nth_data(titles, static_cast<guint>(index)));
  g_list_free(titles);
  if (!title) return false;
  GtkAllocation size;
  gtk_widget_get_allocation(title, &size);
  GtkWidget* top = gtk_widget_get_toplevel(shell);
  int x = 0;
  int y = 0;
  int originX = 0;
  int originY = 0;
  if (!gtk_widget_translate_coordinates(title, top, size.width / 2, size.height / 2, &x, &y)) {
    return false;
  }
  gdk_window_get_origin(gtk_widget_get_window(top), &originX, &originY);

  bool opened = false;
  const auto onOpen = [&opened](wxMenuEvent& event) {
    opened = true;
    event.Skip();
  };
  frame->Bind(wxEVT_MENU_OPEN, onOpen);
  wxUIActionSimulator simulator;
  simulator.MouseMove(originX + x, originY + y);
  simulator.MouseClick();
  const bool taken = TakeScreenshot(name, frame);
  simulator.Char(WXK_ESCAPE);
  for (int i = 0; i < 10; ++i) {
    Pump();
    wxMilliSleep(20);
  }
  frame->Unbind(wxEVT_MENU_OPEN, onOpen);
  if (!opened) std::fprintf(stderr, "FALLO: el menú %d no se abrió\n", index);
  return opened && taken;
}

// Takes the picture of the next modal dialog once it is on the screen and
// then closes it with `answer`; modal dialogs after it show normally.
class ModalScreenshot : public wxModalDialogHook {
 public:
  ModalScreenshot(std::string name, int answer = wxID_CANCEL)
      : name_(std::move(name)), answer_(answer) {
    Register();
  }
  ~ModalScreenshot() override { Unregister(); }
  bool taken() const { return taken_; }

 protected:
  int Enter(wxDialog* dialog) override {
    if (started_) return wxID_NONE;
    started_ = true;
    timer_ = std::make_unique<wxTimer>();
    timer_->Bind(wxEVT_TIMER, [this, dialog](wxTimerEvent&) {
      taken_ = TakeScreenshot(name_, dialog);
      dialog->EndModal(answer_);
    });
    timer_->StartOnce(400);
    return wxID_NONE;
  }
  void Exit(wxDialog*) override {}

 private:
  std::string name_;
  int answer_;
  bool started_ = false;
  bool taken_ = false;
  std::unique_ptr<wxTimer> timer_;
};

}  // namespace ulk::testing
