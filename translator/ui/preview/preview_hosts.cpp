// The preview's windows and what runs them.
#include "translator/ui/preview/preview_hosts.h"

#include <wx/evtloop.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include "translator/ui/preview/preview_menu.h"
#include "uikit/message_box.h"

namespace ulk {
namespace {

wxString FromUtf8(const std::string& text) {
  return wxString::FromUTF8(text.data(), text.size());
}

MenuHost::ModalHook& MenuHostHook() {
  static MenuHost::ModalHook hook;
  return hook;
}

// The toolkit takes command ids below 32768 only: every previewed item,
// whose command is kPreviewMenuCommand, carries this one instead.
constexpr int kMenuCommand = 30333;
constexpr int kMenuHostMinWidth = 320;
constexpr int kMenuHostClientHeight = 120;

}  // namespace

DialogHost::DialogHost(wxWindow* parent, const DialogTemplate& dialog, const MenuTemplate* menu)
    : wxDialog(parent, kDialogHostTemplateId, wxString(), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  embedded_ = new EmbeddedDialog(this, dialog, menu);
  embedded_->Move(0, 0);
  SetClientSize(embedded_->DialogSize());
  Bind(wxEVT_CHAR_HOOK, &DialogHost::OnCharHook, this);
  Centre();
}

void DialogHost::OnCharHook(wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
    case WXK_ESCAPE:
      // The embedded dialog's own OK and Cancel do nothing.
      return;
    default:
      event.Skip();
  }
}

MenuHost::MenuHost(wxWindow* parent, const MenuTemplate& menu)
    : wxFrame(
          parent, kMenuHostTemplateId, wxString::FromUTF8(kMenuHostCaption), wxDefaultPosition,
          wxDefaultSize,
          wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxFRAME_FLOAT_ON_PARENT | wxFRAME_NO_TASKBAR) {
  const MenuTemplate shown = NormalisePreviewMenu(menu);
  auto* bar = new wxMenuBar;
  for (const MenuNode& item : shown.items) {
    auto* sub = new wxMenu;
    AddItems(sub, item.children);
    bar->Append(sub, FromUtf8(item.text));
  }
  SetMenuBar(bar);
  for (std::size_t i = 0; i < shown.items.size(); ++i) {
    if (shown.items[i].state & kMfsGrayed) bar->EnableTop(i, false);
  }
  auto* panel = new wxPanel(this);
  panel->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_APPWORKSPACE));
  const int width = std::max(kMenuHostMinWidth, bar->GetBestSize().x + 16);
  SetClientSize(width, kMenuHostClientHeight);
  Bind(wxEVT_MENU, &MenuHost::OnCommand, this, kMenuCommand);
  Bind(wxEVT_CLOSE_WINDOW, &MenuHost::OnClose, this);
  Centre();
}

MenuHost::~MenuHost() = default;

void MenuHost::AddItems(wxMenu* menu, const std::vector<MenuNode>& items) {
  for (const MenuNode& item : items) {
    const wxString text = FromUtf8(item.text);
    if (item.IsSeparator()) {
      menu->AppendSeparator();
      continue;
    }
    wxMenuItem* added = nullptr;
    if (item.popup) {
      auto* sub = new wxMenu;
      AddItems(sub, item.children);
      added = menu->Append(kMenuCommand, text, sub);
    } else {
      const bool checked = (item.state & kMfsChecked) != 0;
      const bool radio = (item.type & kMftRadioCheck) != 0;
      added = menu->Append(kMenuCommand, text, wxString(),
                           checked || radio ? wxITEM_CHECK : wxITEM_NORMAL);
      if (added->IsCheckable()) {
        added->Check(checked);
        checks_.emplace_back(added, checked);
      }
    }
    if (item.state & kMfsGrayed) added->Enable(false);
  }
}

void MenuHost::OnCommand(wxCommandEvent&) {
  // Inert: a check mark the toolkit toggled goes back.
  for (const auto& [item, checked] : checks_) item->Check(checked);
}

void MenuHost::OnClose(wxCloseEvent&) {
  Hide();
  if (loop_) loop_->Exit(wxID_CANCEL);
}

int MenuHost::ShowModal() {
  if (MenuHostHook()) return MenuHostHook()(*this);
  wxWindowDisabler disabler(this);
  Show();
  Raise();
  wxGUIEventLoop loop;
  loop_ = &loop;
  const int result = loop.Run();
  loop_ = nullptr;
  return result;
}

void MenuHost::SetModalHook(ModalHook hook) {
  MenuHostHook() = std::move(hook);
}

void ShowPreviewError(wxWindow* parent, const std::string& text) {
  ShowMessageBox(parent, text, MessageKind::kError);
}

void ReportPreviewFailure(wxWindow* parent, const ResourcePreview& failure) {
  if (failure.Failed()) ShowPreviewError(parent, failure.Message());
}

bool ShowResource(const std::string& path, const std::string& key, wxWindow* parent,
                  ResourcePreview& result) {
  PreviewContent content;
  result = LoadResourcePreview(path, key, content);
  if (result.Failed()) return false;
  if (content.kind == ResourceKind::kMenu) {
    MenuHost host(parent, content.menu);
    host.ShowModal();
    return true;
  }
  if (content.dialogDamaged) {
    ShowPreviewError(parent, MessageText(kMsgErrorLoadingDialog));
    return true;
  }
  DialogHost host(parent, content.dialog, content.hasMenu ? &content.menu : nullptr);
  host.ShowModal();
  return true;
}

bool ShowOriginalPreview(const Module& module, const std::string& key, wxWindow* parent) {
  ResourcePreview result;
  if (ShowResource(module.path, key, parent, result)) return true;
  ReportPreviewFailure(parent, result);
  return false;
}

bool ShowTranslatedPreview(const Module& module, const std::string& key,
                           const PreviewLanguageChooser& choose,
                           const std::string& templateLibraryPath,
                           const std::string& previewOutputPath, wxWindow* parent) {
  if (module.LanguageCount() < 2) return false;
  const TranslatedPreview prepared =
      PrepareTranslatedPreview(module, key, choose, templateLibraryPath, previewOutputPath);
  switch (prepared.outcome) {
    case TranslatedPreview::kFailed:
      ShowPreviewError(parent, prepared.message);
      return false;
    case TranslatedPreview::kCancelled:
      return false;
    case TranslatedPreview::kShow:
      break;
  }
  ResourcePreview result;
  if (ShowResource(prepared.previewPath, prepared.key, parent, result)) return true;
  ReportPreviewFailure(parent, result);
  return false;
}

}  // namespace ulk
