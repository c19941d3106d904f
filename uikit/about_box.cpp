// The about box.
#include "uikit/about_box.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "platform/version_info.h"
#include "uikit/wx_text.h"

namespace ulk {

AboutBox::AboutBox(wxWindow* parent, const Options& options)
    : wxDialog(parent, wxID_ANY, ToWx(options.caption)) {
  FileVersionInfo info(options.programPath);
  text_ = AboutTextOf(info, options.releaseWhenNoSpecialBuild);
  if (options.icon.IsOk()) SetIcon(options.icon.GetIcon(wxSize(32, 32)));

  auto* icons = new wxBoxSizer(wxVERTICAL);
  if (options.icon.IsOk()) {
    icons->Add(new wxStaticBitmap(this, wxID_ANY, options.icon), 0, wxALL, 4);
  }
  if (options.secondIcon.IsOk()) {
    icons->Add(new wxStaticBitmap(this, wxID_ANY, options.secondIcon), 0, wxALL, 4);
  }

  auto* group =
      new wxStaticBoxSizer(new wxStaticBox(this, kGroupId, ToWx(text_.group)), wxVERTICAL);
  wxWindow* box = group->GetStaticBox();
  const std::pair<int, const std::string*> lines[] = {
      {kText1Id, &text_.title},
      {kText2Id, &text_.description},
      {kText3Id, &text_.copyright},
      {kText4Id, &text_.language},
  };
  for (const auto& [id, line] : lines) {
    group->Add(new wxStaticText(box, id, ToWx(*line)), 0, wxALL, 3);
  }
  link_ = new wxStaticText(box, kLinkId, ToWx(text_.link));
  link_->SetForegroundColour(wxColour(0, 0, 255));
  link_->SetCursor(wxCursor(wxCURSOR_HAND));
  group->Add(link_, 0, wxALL, 3);
  // The hover look follows the pointer's enter and leave events, which
  // serve where a polling timer was once needed.
  link_->Bind(wxEVT_ENTER_WINDOW, [this](wxMouseEvent&) { SetHovered(true); });
  link_->Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent&) { SetHovered(false); });
  link_->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) { OpenLink(); });

  auto* body = new wxBoxSizer(wxHORIZONTAL);
  body->Add(icons, 0, wxALL, 6);
  body->Add(group, 1, wxEXPAND | wxALL, 6);

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(body, 1, wxEXPAND);
  auto* ok = new wxButton(this, wxID_OK, ToWx("Aceptar"));
  ok->SetDefault();
  top->Add(ok, 0, wxALIGN_RIGHT | wxALL, 8);
  SetSizerAndFit(top);
  SetEscapeId(wxID_OK);
  CentreOnParent();
}

void AboutBox::SetHovered(bool hovered) {
  if (hovered == hovered_) return;
  hovered_ = hovered;
  wxFont font = GetFont();
  font.SetUnderlined(hovered);
  link_->SetFont(font);
}

bool AboutBox::OpenLink() {
  if (!IsOpenableLink(text_.link)) return false;
  return wxLaunchDefaultBrowser(ToWx(text_.link));
}

}  // namespace ulk
