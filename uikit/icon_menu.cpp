// Menu items with the images of their toolbar buttons.
#include "uikit/icon_menu.h"

#include <wx/toolbar.h>

#ifdef __WXGTK3__
#include <gtk/gtk.h>
#endif

#include "uikit/command_id.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

CommandPromptLookup& PromptLookup() {
  static CommandPromptLookup lookup;
  return lookup;
}

std::vector<wxToolBar*>& RegisteredToolbars() {
  static std::vector<wxToolBar*> toolbars;
  return toolbars;
}

// The image of tool `index` of `toolbar`.
wxBitmapBundle ToolImage(wxToolBar* toolbar, int index) {
  const wxToolBarToolBase* tool = toolbar->GetToolByPos(index);
  return tool ? tool->GetNormalBitmapBundle() : wxBitmapBundle();
}

// GTK 3 draws a menu item's image only when the item is told to, or when
// the theme-wide "gtk-menu-images" setting asks for it, which is off and
// deprecated since GTK 3.10; wx 3.2 does neither. Told item by item, the
// images show whatever the desktop's settings say.
void ShowImageAlways(wxMenuItem* item) {
#ifdef __WXGTK3__
  GtkWidget* widget = item->GetMenuItem();
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  if (widget && GTK_IS_IMAGE_MENU_ITEM(widget)) {
    gtk_image_menu_item_set_always_show_image(GTK_IMAGE_MENU_ITEM(widget), TRUE);
  }
  G_GNUC_END_IGNORE_DEPRECATIONS
#else
  (void)item;
#endif
}

}  // namespace

void MenuImageTable::Add(int id, const wxBitmapBundle& image) {
  ids_.push_back(id);
  images_.push_back(image);
}

int MenuImageTable::IndexOf(int id) const {
  for (std::size_t i = 0; i < ids_.size(); ++i) {
    if (ids_[i] == id) return static_cast<int>(i);
  }
  return -1;
}

void SetCommandPrompts(CommandPromptLookup lookup) {
  PromptLookup() = std::move(lookup);
}

std::string CommandPrompt(int id) {
  return PromptLookup() ? PromptLookup()(id) : std::string();
}

IconMenus::~IconMenus() {
  for (const Source& source : sources_) MenuImages().Forget(source.key);
}

void IconMenus::AddSource(wxToolBar* toolbar) {
  sources_.push_back({toolbar, toolbar, nullptr});
}

void IconMenus::AddSource(const MenuImageTable* table) {
  sources_.push_back({table, nullptr, table});
}

void IconMenus::RegisterMenuToolbar(wxToolBar* toolbar) {
  RegisteredToolbars().push_back(toolbar);
}

void IconMenus::UnregisterMenuToolbar(wxToolBar* toolbar) {
  std::erase(RegisteredToolbars(), toolbar);
  MenuImages().Forget(toolbar);
}

wxBitmapBundle IconMenus::ImageFor(int id) {
  std::vector<const void*> own;
  for (const Source& source : sources_) own.push_back(source.key);
  std::vector<const void*> registered(RegisteredToolbars().begin(), RegisteredToolbars().end());
  for (const void* key : MenuImageSourceOrder(own, registered)) {
    wxToolBar* toolbar = nullptr;
    const MenuImageTable* table = nullptr;
    for (const Source& source : sources_) {
      if (source.key == key) {
        toolbar = source.toolbar;
        table = source.table;
      }
    }
    for (wxToolBar* each : RegisteredToolbars()) {
      if (each == key) toolbar = each;
    }
    const int index = toolbar ? toolbar->GetToolPos(WxId(id)) : (table ? table->IndexOf(id) : -1);
    if (index < 0) continue;
    wxBitmapBundle image = toolbar ? ToolImage(toolbar, index) : table->Image(index);
    if (!image.IsOk()) continue;
    MenuImages().Set(id, {key, index});
    return image;
  }
  return wxBitmapBundle();
}

wxMenuItem* IconMenus::Append(wxMenu* menu, int id, const std::string& text, wxItemKind kind) {
  MenuTexts().Set(id, text);
  const std::string help = StatusTextOfPrompt(CommandPrompt(id));
  auto* item = new wxMenuItem(menu, WxId(id), ToWx(text), ToWx(help), kind);
  bool hasImage = false;
  if (kind == wxITEM_NORMAL) {
    const wxBitmapBundle image = ImageFor(id);
    hasImage = image.IsOk();
    if (hasImage) item->SetBitmap(image);
  }
  wxMenuItem* appended = menu->Append(item);
  // The toolkit's item exists once appended.
  if (appended && hasImage) ShowImageAlways(appended);
  return appended;
}

wxMenuItem* IconMenus::AppendSubMenu(wxMenu* menu, wxMenu* subMenu, const std::string& text) {
  return menu->AppendSubMenu(subMenu, ToWx(text));
}

}  // namespace ulk
