// The dialog base of both programs and the toolbar that takes the place of
// a placeholder control inside a dialog.
#pragma once

#include <string>
#include <vector>

#include <wx/bmpbndl.h>
#include <wx/dialog.h>
#include <wx/toolbar.h>

#include "uikit/icon_menu.h"

namespace ulk {

// One button of a toolbar resource: a command id (the tool gets its wx id),
// or 0 for a separator.
struct ToolbarButton {
  int id = 0;
  wxBitmapBundle image;
  wxItemKind kind = wxITEM_NORMAL;
};

struct ToolbarResource {
  int id = 0;
  std::vector<ToolbarButton> buttons;
};

// Appends the resource's buttons to a toolbar (tooltips and status-bar
// texts from the command prompts) and realizes it.
void AddCommandTools(wxToolBar* toolbar, const ToolbarResource& resource);

// A modal dialog with size limits, tooltips from the command prompts and
// icon menus fed by its toolbars.
class ToolkitDialog : public wxDialog {
 public:
  // `templateId` is the dialog's number in the program (kept for callers
  // and tests that ask which dialog is shown).
  ToolkitDialog(wxWindow* parent, int templateId, const std::string& title,
                long style = wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);

  int templateId() const { return templateId_; }

  // -1 leaves a limit unset.
  void SetMinTrackSize(int width, int height);
  void SetMaxTrackSize(int width, int height);

  IconMenus& Menus() { return menus_; }

 private:
  void ApplyTrackSizes();

  int templateId_;
  int minWidth_ = -1;
  int minHeight_ = -1;
  int maxWidth_ = -1;
  int maxHeight_ = -1;
  IconMenus menus_;
};

// A toolbar placed where the dialog has a placeholder window: same place in
// the layout, directly after the placeholder in the tab order.
class DialogToolbar : public wxToolBar {
 public:
  static constexpr long kDefaultStyle =
      wxTB_FLAT | wxTB_HORIZONTAL | wxTB_NODIVIDER | wxTB_NOALIGN | wxTAB_TRAVERSAL;

  DialogToolbar() = default;

  // False when the placeholder does not exist or the toolbar cannot be
  // made; ErrorText() then says why. The placeholder is hidden. In a dialog
  // derived from ToolkitDialog the toolbar lends its images to the menus.
  bool CreateInPlaceOf(wxWindow* dialog, int placeholderId, const ToolbarResource& resource,
                       long style = kDefaultStyle);
  // Replaces every button with those of the resource; tooltips come from
  // the command prompts.
  void LoadButtons(const ToolbarResource& resource);
  // The index of the first button at or after `start` with the command id,
  // or -1.
  int FindButton(int id, int start = 0) const;
  const std::vector<ToolbarButton>& Buttons() const { return buttons_; }
  const std::string& ErrorText() const { return errorText_; }

 private:
  std::vector<ToolbarButton> buttons_;
  std::string errorText_;
};

}  // namespace ulk
