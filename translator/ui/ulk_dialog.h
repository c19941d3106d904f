// What the translator's own dialogs share: "Aceptar" that checks before it
// closes, Return on a list pressing the default button, list context menus
// opened by mouse or keyboard, toolbars in place of their placeholders, and
// the operations' messages shown over the dialog.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <wx/listctrl.h>

#include "translator/model/operation_ui.h"
#include "uikit/toolkit_dialog.h"

class wxMenu;
class wxSizer;
class wxTextCtrl;

namespace ulk {

// Messages and questions of operations run from a dialog, shown over it.
class DialogUi : public OperationUi {
 public:
  explicit DialogUi(wxWindow* parent) : parent_(parent) {}
  void ShowMessage(const std::string& text, MessageIcon icon) override;
  bool AskYesNo(const std::string& text) override;
  void PushStatusText(const std::string&) override {}
  void PopStatusText() override {}
  void BeginWait() override;
  void EndWait() override;

 private:
  wxWindow* parent_;
};

class UlkDialog : public ToolkitDialog {
 public:
  UlkDialog(wxWindow* parent, int templateId, const std::string& title);

  // "Aceptar": Accept() decides; true closes the dialog with wxID_OK (and
  // leaves wxID_OK as its return code when it is not shown modally, as in
  // tests), false keeps it open.
  virtual bool Accept() { return true; }

  // A command of the dialog's toolbars and menus, as a click sends it.
  void RunCommand(int commandId);
  // Whether a command is available (its buttons and menu items enabled).
  bool IsCommandEnabled(int commandId) const;

 protected:
  // "Aceptar" and "Cancelar" (or the given labels; an empty cancel label
  // leaves the cancel button out and lets Escape press the OK button).
  wxSizer* MakeButtons(const std::string& okLabel = "Aceptar",
                       const std::string& cancelLabel = "Cancelar");
  // A single-selection report list that keeps showing its selection.
  wxListCtrl* MakeList(int id, bool withHeader, const wxSize& size);
  // A read-only, right-aligned line of text.
  wxTextCtrl* MakeCountLine();
  // Every column fitted to its texts (the first with room for the row's
  // image), the last one widened to the list's width; again whenever the
  // list changes its size.
  static void FitListColumns(wxListCtrl* list);
  static void KeepColumnsFitted(wxListCtrl* list);
  // Puts a placeholder into `sizer` and the toolbar in its place.
  DialogToolbar* PlaceToolbar(wxSizer* sizer, int placeholderId, const ToolbarResource& resource,
                              int flags = 0, int border = 0);
  // A resource of buttons with the program's images.
  static ToolbarResource Toolbar(int id, std::initializer_list<int> commands);

  // Binds a command of the toolbars, menus and shortcuts to a handler,
  // which runs only while the command is enabled.
  void OnCommand(int commandId, std::function<void()> handler);
  // Keys for commands whose buttons the keyboard cannot reach (toolbars
  // take no focus): Ctrl and a letter. The button's tooltip names the key.
  struct Shortcut {
    char letter;
    int commandId;
  };
  void SetShortcuts(std::initializer_list<Shortcut> shortcuts);
  // Enables or disables a command's buttons; menus ask IsCommandEnabled.
  void EnableCommand(int commandId, bool enabled);
  // Insert, Delete and F5 on the list run these commands (0: none) or the
  // refresh; a right click or the menu key pops up `makeMenu`'s menu.
  void BindListKeys(wxListCtrl* list, int insertCommand, int deleteCommand,
                    std::function<void()> refresh, std::function<wxMenu*()> makeMenu);
  // Appends a menu item with its command's image, enabled as the command.
  void AppendCommand(wxMenu* menu, int commandId, const std::string& text,
                     wxItemKind kind = wxITEM_NORMAL);

  // Fits the window to its sizer and keeps that as its smallest size.
  void FitToContents();

  DialogUi& Ui() { return ui_; }

 private:
  void OnOk(wxCommandEvent& event);
  void OnCharHook(wxKeyEvent& event);

  DialogUi ui_;
  std::vector<DialogToolbar*> toolbars_;
  std::vector<int> disabled_;
};

}  // namespace ulk
