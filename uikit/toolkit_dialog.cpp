// Dialog base and in-place dialog toolbars.
#include "uikit/toolkit_dialog.h"

#include <wx/sizer.h>

#include "platform/text.h"
#include "uikit/command_id.h"
#include "uikit/wx_text.h"

namespace ulk {

ToolkitDialog::ToolkitDialog(wxWindow* parent, int templateId, const std::string& title, long style)
    : wxDialog(parent, wxID_ANY, ToWx(title), wxDefaultPosition, wxDefaultSize, style),
      templateId_(templateId) {}

void ToolkitDialog::SetMinTrackSize(int width, int height) {
  minWidth_ = width;
  minHeight_ = height;
  ApplyTrackSizes();
}

void ToolkitDialog::SetMaxTrackSize(int width, int height) {
  maxWidth_ = width;
  maxHeight_ = height;
  ApplyTrackSizes();
}

void ToolkitDialog::ApplyTrackSizes() {
  SetSizeHints(wxSize(minWidth_, minHeight_), wxSize(maxWidth_, maxHeight_));
}

bool DialogToolbar::CreateInPlaceOf(wxWindow* dialog, int placeholderId,
                                    const ToolbarResource& resource, long style) {
  errorText_.clear();
  wxWindow* placeholder = dialog ? dialog->FindWindow(placeholderId) : nullptr;
  if (!placeholder) {
    errorText_ = Format("No existe el control %d", placeholderId);
    return false;
  }
  if (!Create(placeholder->GetParent(), WxId(resource.id), placeholder->GetPosition(),
              placeholder->GetSize(), style)) {
    errorText_ = Format("No se ha podido crear la barra de botones %d", resource.id);
    return false;
  }
  LoadButtons(resource);
  if (wxSizer* sizer = placeholder->GetContainingSizer()) {
    sizer->Replace(placeholder, this);
    SetMinSize(GetBestSize());
  }
  placeholder->Hide();
  MoveAfterInTabOrder(placeholder);
  if (auto* toolkit = dynamic_cast<ToolkitDialog*>(dialog)) toolkit->Menus().AddSource(this);
  return true;
}

void AddCommandTools(wxToolBar* toolbar, const ToolbarResource& resource) {
  for (const ToolbarButton& button : resource.buttons) {
    if (button.id == 0) {
      toolbar->AddSeparator();
      continue;
    }
    const std::string prompt = CommandPrompt(button.id);
    toolbar->AddTool(WxId(button.id), wxString(), button.image, wxBitmapBundle(), button.kind,
                     ToWx(TooltipOfPrompt(prompt)), ToWx(StatusTextOfPrompt(prompt)));
  }
  toolbar->Realize();
}

void DialogToolbar::LoadButtons(const ToolbarResource& resource) {
  ClearTools();
  buttons_ = resource.buttons;
  AddCommandTools(this, resource);
  if (GetContainingSizer()) SetMinSize(GetBestSize());
}

int DialogToolbar::FindButton(int id, int start) const {
  for (std::size_t i = static_cast<std::size_t>(std::max(start, 0)); i < buttons_.size(); ++i) {
    if (buttons_[i].id == id) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace ulk
