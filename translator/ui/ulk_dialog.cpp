// The translator's dialog base.
#include "translator/ui/ulk_dialog.h"

#include <algorithm>

#include <wx/accel.h>
#include <wx/button.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "translator/ui/dialog_ids.h"
#include "translator/ui/ulk_art.h"
#include "translator/ui/window_ui.h"
#include "uikit/command_id.h"
#include "uikit/list_ctrl_helper.h"
#include "uikit/message_box.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

// Where a context menu opened from the keyboard appears: below the
// selected row, or at the list's top left corner.
wxPoint KeyboardMenuPosition(wxListCtrl* list) {
  const long row = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  wxRect rect;
  if (row >= 0 && list->GetItemRect(row, rect)) {
    return list->ClientToScreen(wxPoint(rect.x + 16, rect.GetBottom()));
  }
  return list->ClientToScreen(wxPoint(8, 8));
}

// The list a key event comes from: the list itself or one of its own
// windows (a generic list takes the keys in its inner window).
wxListCtrl* ListOf(wxObject* object) {
  for (auto* window = dynamic_cast<wxWindow*>(object); window && !window->IsTopLevel();
       window = window->GetParent()) {
    if (auto* list = dynamic_cast<wxListCtrl*>(window)) return list;
  }
  return nullptr;
}

// The width a row's small image takes before its text.
constexpr int kRowImageRoom = 22;

}  // namespace

void DialogUi::ShowMessage(const std::string& text, MessageIcon icon) {
  ShowMessageBox(parent_, text, MessageKindOf(icon));
}

bool DialogUi::AskYesNo(const std::string& text) {
  return ShowMessageBox(parent_, text, MessageKind::kQuestion);
}

void DialogUi::BeginWait() {
  wxBeginBusyCursor();
}

void DialogUi::EndWait() {
  wxEndBusyCursor();
}

UlkDialog::UlkDialog(wxWindow* parent, int templateId, const std::string& title)
    : ToolkitDialog(parent, templateId, title), ui_(this) {
  Bind(wxEVT_BUTTON, &UlkDialog::OnOk, this, wxID_OK);
  Bind(wxEVT_CHAR_HOOK, &UlkDialog::OnCharHook, this);
}

void UlkDialog::OnOk(wxCommandEvent&) {
  if (!Accept()) return;
  SetReturnCode(wxID_OK);
  if (IsModal()) EndModal(wxID_OK);
}

void UlkDialog::OnCharHook(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  const bool enter = key == WXK_RETURN || key == WXK_NUMPAD_ENTER;
  // A list takes Return for itself; in these dialogs Return is the default
  // button's, as everywhere else in them.
  if (enter && !event.HasAnyModifiers() && ListOf(event.GetEventObject())) {
    wxCommandEvent ok(wxEVT_BUTTON, GetAffirmativeId());
    ok.SetEventObject(this);
    ProcessWindowEvent(ok);
    return;
  }
  event.Skip();
}

void UlkDialog::RunCommand(int commandId) {
  wxCommandEvent event(wxEVT_MENU, WxId(commandId));
  event.SetEventObject(this);
  ProcessWindowEvent(event);
}

bool UlkDialog::IsCommandEnabled(int commandId) const {
  return std::find(disabled_.begin(), disabled_.end(), commandId) == disabled_.end();
}

wxSizer* UlkDialog::MakeButtons(const std::string& okLabel, const std::string& cancelLabel) {
  auto* sizer = new wxBoxSizer(wxHORIZONTAL);
  sizer->AddStretchSpacer();
  auto* ok = new wxButton(this, wxID_OK, ToWx(okLabel));
  ok->SetDefault();
  sizer->Add(ok, 0, wxRIGHT, cancelLabel.empty() ? 0 : 8);
  if (!cancelLabel.empty()) {
    sizer->Add(new wxButton(this, wxID_CANCEL, ToWx(cancelLabel)));
  } else {
    SetEscapeId(wxID_OK);
  }
  SetAffirmativeId(wxID_OK);
  return sizer;
}

wxListCtrl* UlkDialog::MakeList(int id, bool withHeader, const wxSize& size) {
  long style = wxLC_REPORT | wxLC_SINGLE_SEL | wxBORDER_SUNKEN;
  if (!withHeader) style |= wxLC_NO_HEADER;
  return new wxListCtrl(this, id, wxDefaultPosition, size, style);
}

wxTextCtrl* UlkDialog::MakeCountLine() {
  auto* line = new wxTextCtrl(this, kCtlCountLine, wxString(), wxDefaultPosition, wxDefaultSize,
                              wxTE_READONLY | wxTE_RIGHT | wxBORDER_NONE);
  // A line of the dialog, not a field to type in.
  line->SetBackgroundColour(GetBackgroundColour());
  return line;
}

void UlkDialog::FitListColumns(wxListCtrl* list) {
  const int columns = list->GetColumnCount();
  if (columns == 0) return;
  ListCtrlHelper helper(list);
  int used = 0;
  for (int column = 0; column < columns; ++column) {
    helper.FitColumn(column);
    int width = list->GetColumnWidth(column);
    if (column == 0 && list->GetImageList(wxIMAGE_LIST_SMALL)) {
      width += kRowImageRoom;
      list->SetColumnWidth(0, width);
    }
    used += width;
  }
  const int room = list->GetClientSize().x - used;
  if (room > 0) {
    list->SetColumnWidth(columns - 1, list->GetColumnWidth(columns - 1) + room);
  }
}

void UlkDialog::KeepColumnsFitted(wxListCtrl* list) {
  list->Bind(wxEVT_SIZE, [list](wxSizeEvent& event) {
    event.Skip();
    list->CallAfter([list] { FitListColumns(list); });
  });
}

ToolbarResource UlkDialog::Toolbar(int id, std::initializer_list<int> commands) {
  ToolbarResource resource{id, {}};
  for (int command : commands) {
    if (command == 0) {
      resource.buttons.push_back({});
    } else {
      resource.buttons.push_back({command, CommandImage(command)});
    }
  }
  return resource;
}

DialogToolbar* UlkDialog::PlaceToolbar(wxSizer* sizer, int placeholderId,
                                       const ToolbarResource& resource, int flags, int border) {
  // The placeholder stands where the toolbar goes until the toolbar takes
  // its place (and its place in the tab order).
  auto* placeholder = new wxWindow(this, placeholderId, wxDefaultPosition, wxSize(24, 24));
  sizer->Add(placeholder, 0, flags, border);
  auto* toolbar = new DialogToolbar();
  if (!toolbar->CreateInPlaceOf(this, placeholderId, resource)) {
    // Without its toolbar the dialog still works through its menus and keys.
    delete toolbar;
    return nullptr;
  }
  toolbars_.push_back(toolbar);
  return toolbar;
}

void UlkDialog::OnCommand(int commandId, std::function<void()> handler) {
  Bind(
      wxEVT_MENU,
      [this, commandId, handler = std::move(handler)](wxCommandEvent&) {
        if (IsCommandEnabled(commandId)) handler();
      },
      WxId(commandId));
}

void UlkDialog::SetShortcuts(std::initializer_list<Shortcut> shortcuts) {
  std::vector<wxAcceleratorEntry> entries;
  for (const Shortcut& shortcut : shortcuts) {
    entries.emplace_back(wxACCEL_CTRL, shortcut.letter, WxId(shortcut.commandId));
    for (DialogToolbar* toolbar : toolbars_) {
      if (toolbar->FindButton(shortcut.commandId) < 0) continue;
      const wxString tip = toolbar->GetToolShortHelp(WxId(shortcut.commandId));
      toolbar->SetToolShortHelp(WxId(shortcut.commandId),
                                tip + " (Ctrl+" + wxString(shortcut.letter) + ")");
    }
  }
  SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(entries.size()), entries.data()));
}

void UlkDialog::EnableCommand(int commandId, bool enabled) {
  std::erase(disabled_, commandId);
  if (!enabled) disabled_.push_back(commandId);
  for (DialogToolbar* toolbar : toolbars_) {
    if (toolbar->FindButton(commandId) >= 0) toolbar->EnableTool(WxId(commandId), enabled);
  }
}

void UlkDialog::AppendCommand(wxMenu* menu, int commandId, const std::string& text,
                              wxItemKind kind) {
  wxMenuItem* item = Menus().Append(menu, commandId, text, kind);
  item->Enable(IsCommandEnabled(commandId));
}

void UlkDialog::BindListKeys(wxListCtrl* list, int insertCommand, int deleteCommand,
                             std::function<void()> refresh, std::function<wxMenu*()> makeMenu) {
  list->Bind(wxEVT_LIST_KEY_DOWN, [=, this](wxListEvent& event) {
    const int key = event.GetKeyCode();
    if (key == WXK_INSERT && insertCommand != 0) {
      RunCommand(insertCommand);
    } else if (key == WXK_DELETE && deleteCommand != 0) {
      RunCommand(deleteCommand);
    } else if (key == WXK_F5 && refresh) {
      refresh();
    } else {
      event.Skip();
    }
  });
  list->Bind(wxEVT_CONTEXT_MENU, [=, this](wxContextMenuEvent& event) {
    wxPoint position = event.GetPosition();
    if (position == wxDefaultPosition) position = KeyboardMenuPosition(list);
    wxMenu* menu = makeMenu();
    PopupMenu(menu, ScreenToClient(position));
    delete menu;
  });
}

void UlkDialog::FitToContents() {
  GetSizer()->SetSizeHints(this);
  SetMinTrackSize(GetSize().x, GetSize().y);
  CentreOnParent();
}

}  // namespace ulk
