// The windows of the preview and its entry points. Both hosts are modal
// and read-only: nothing done in them reaches the project.
//
// Entry points for the main window:
//   ShowOriginalPreview   the module's file as it is (command 32823, the
//                         tree's double click or Return)
//   ShowTranslatedPreview the module as it will be in a target language
//                         (command 32834, the tree with Ctrl held)
// Both report every failure in an error box themselves.
#pragma once

#include <wx/dialog.h>
#include <wx/frame.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "translator/model/project.h"
#include "translator/ui/preview/dialog_renderer.h"
#include "translator/ui/preview/resource_preview.h"
#include "translator/ui/preview/translated_preview.h"

class wxGUIEventLoop;
class wxMenu;
class wxMenuItem;

namespace ulk {

// The dialog host: a modal window without caption text whose client area
// is the embedded dialog. Return and Escape do nothing; the host closes
// from its title bar.
class DialogHost : public wxDialog {
 public:
  DialogHost(wxWindow* parent, const DialogTemplate& dialog, const MenuTemplate* menu);
  EmbeddedDialog* Embedded() const { return embedded_; }

 private:
  void OnCharHook(wxKeyEvent& event);
  EmbeddedDialog* embedded_ = nullptr;
};

// The menu host ("Menú"): a window whose menu bar is the module's menu after
// NormalisePreviewMenu. Choosing an item does nothing.
class MenuHost : public wxFrame {
 public:
  MenuHost(wxWindow* parent, const MenuTemplate& menu);
  ~MenuHost() override;

  // Shows the host and waits until it is closed, every other window
  // disabled meanwhile. With a hook set (tests, screenshots), calls the hook
  // instead and returns what it returns.
  int ShowModal();
  using ModalHook = std::function<int(MenuHost&)>;
  static void SetModalHook(ModalHook hook);

 private:
  void AddItems(wxMenu* menu, const std::vector<MenuNode>& items);
  void OnCommand(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);

  std::vector<std::pair<wxMenuItem*, bool>> checks_;
  wxGUIEventLoop* loop_ = nullptr;
};

// Shows the dialog ("DL_" key) or the menu ("MN_" key) of the module file at
// `path`, modally, as the module itself would show it. False, with the
// failure in `result`, when nothing could be shown. A damaged dialog
// template shows 5025 and counts as shown.
bool ShowResource(const std::string& path, const std::string& key, wxWindow* parent,
                  ResourcePreview& result);

// One error box: 5032, the failure kind's message and its detail text.
void ReportPreviewFailure(wxWindow* parent, const ResourcePreview& failure);
// One error box with `text`.
void ShowPreviewError(wxWindow* parent, const std::string& text);

// The original preview: ShowResource on the module's path; a failure is
// reported. Returns whether something was shown.
bool ShowOriginalPreview(const Module& module, const std::string& key, wxWindow* parent);

// The translated preview: PrepareTranslatedPreview (with `choose` asking
// for the language when the module has more than two), then ShowResource
// on the preview output file; every failure reported. Nothing happens for a
// module of fewer than two languages. Returns whether something was shown.
bool ShowTranslatedPreview(const Module& module, const std::string& key,
                           const PreviewLanguageChooser& choose,
                           const std::string& templateLibraryPath,
                           const std::string& previewOutputPath, wxWindow* parent);

}  // namespace ulk
