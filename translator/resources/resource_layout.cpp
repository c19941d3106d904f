// Walking dialog and menu templates for their geometry and levels.
#include "translator/resources/resource_layout.h"

#include "platform/byte_stream.h"
#include "platform/pe_image.h"
#include "platform/text.h"
#include "translator/resources/form_stream_codec.h"
#include "translator/resources/resource_kind.h"

namespace ulk {
namespace {

constexpr int kMaxMenuDepth = 64;

bool WalkMenu(ByteReader& r, bool extended, int depth, std::int32_t parent, MenuLayout& layout) {
  if (depth > kMaxMenuDepth) return false;
  while (true) {
    const auto item = static_cast<std::int32_t>(layout.parents.size());
    bool popup = false;
    bool last = false;
    std::uint32_t command = 0;
    if (extended) {
      std::uint32_t type = 0, state = 0, id = 0;
      std::uint16_t resInfo = 0;
      if (!r.AlignTo4() || !r.U32(type) || !r.U32(state) || !r.U32(id) || !r.U16(resInfo)) {
        return false;
      }
      popup = resInfo & 0x01;
      last = resInfo & 0x80;
      command = id;
    } else {
      std::uint16_t flags = 0;
      std::uint16_t id = 0;
      if (!r.U16(flags) || (!(flags & 0x10) && !r.U16(id))) return false;
      popup = flags & 0x10;
      last = flags & 0x80;
      command = id;
    }
    std::u16string text;
    if (!r.Utf16z(text)) return false;
    layout.parents.push_back(parent);
    layout.commands.push_back(command);
    if (popup) {
      std::uint32_t helpId = 0;
      if (extended && (!r.AlignTo4() || !r.U32(helpId))) return false;
      if (!WalkMenu(r, extended, depth + 1, item, layout)) return false;
    }
    if (last) return true;
  }
}

}  // namespace

const ControlBox* DialogBox::Control(std::uint32_t item) const {
  if (item == 0 || item > controls.size()) return nullptr;
  return &controls[item - 1];
}

bool ParseDialogBox(std::string_view bytes, DialogBox& layout) {
  layout = {};
  DialogTemplate dialog;
  if (!ReadDialogTemplate(bytes, dialog)) return false;
  layout.hasFont = dialog.hasFont;
  layout.font = std::move(dialog.font);
  layout.x = dialog.x;
  layout.y = dialog.y;
  layout.cx = dialog.cx;
  layout.cy = dialog.cy;
  layout.controls.reserve(dialog.controls.size());
  std::uint32_t item = 0;
  for (const DialogControl& control : dialog.controls) {
    ControlBox& box = layout.controls.emplace_back();
    box.item = ++item;
    box.id = control.id & 0xFFFF;
    box.x = control.x;
    box.y = control.y;
    box.cx = control.cx;
    box.cy = control.cy;
    box.style = control.style;
    box.classIsOrdinal = control.windowClass.isOrdinal;
    box.classOrdinal = control.windowClass.ordinal;
  }
  return true;
}

bool ParseMenuLayout(std::string_view bytes, MenuLayout& layout) {
  layout = {};
  ByteReader r(bytes);
  std::uint16_t version = 0;
  std::uint16_t offset = 0;
  if (!r.U16(version) || !r.U16(offset)) return false;
  if (version == 0) return WalkMenu(r, false, 0, -1, layout);
  // An extended menu whose items do not start right after its header is
  // kept without texts by the reader: it has no levels to tell either.
  if (version != 1 || offset != 4 || !r.Skip(4)) return false;
  return WalkMenu(r, true, 0, -1, layout);
}

const DialogBox* ModuleLayouts::DialogOf(std::string_view entryKey) const {
  const auto found = dialogs.find(ToUpperUtf8(ResourceKeyOf(entryKey)));
  return found == dialogs.end() ? nullptr : &found->second;
}

const ControlBox* ModuleLayouts::ControlOf(std::string_view entryKey) const {
  const DialogBox* dialog = DialogOf(entryKey);
  std::uint32_t item = 0;
  return dialog && ItemOfKey(entryKey, item) ? dialog->Control(item) : nullptr;
}

bool ModuleLayouts::MenuParentOf(std::string_view entryKey, std::int32_t& parent) const {
  const auto found = menus.find(ToUpperUtf8(ResourceKeyOf(entryKey)));
  std::uint32_t item = 0;
  if (found == menus.end() || !ItemOfKey(entryKey, item) || item >= found->second.parents.size()) {
    return false;
  }
  parent = found->second.parents[item];
  return true;
}

bool ModuleLayouts::MenuCommandOf(std::string_view entryKey, std::uint32_t& command) const {
  const auto found = menus.find(ToUpperUtf8(ResourceKeyOf(entryKey)));
  std::uint32_t item = 0;
  if (found == menus.end() || !ItemOfKey(entryKey, item) || item >= found->second.commands.size()) {
    return false;
  }
  command = found->second.commands[item];
  return true;
}

const std::string* ModuleLayouts::FormPathOf(std::string_view entryKey) const {
  const auto form = formPaths.find(ToUpperUtf8(ResourceKeyOf(entryKey)));
  std::uint32_t item = 0;
  if (form == formPaths.end() || !ItemOfKey(entryKey, item)) return nullptr;
  const auto path = form->second.find(item);
  return path == form->second.end() ? nullptr : &path->second;
}

namespace {

void ReadFormPaths(const ResourceName& name, std::string_view bytes, ModuleLayouts& layouts) {
  std::vector<FormString> strings;
  std::string problem;
  if (!IsFormStream(bytes) || !ParseFormStream(bytes, strings, problem)) return;
  auto& paths = layouts.formPaths[ToUpperUtf8(
      MakeResourceKey(kRtRcdata, name.id.number, name.id.named ? name.id.NameUtf8() : ""))];
  for (FormString& string : strings) {
    if (string.isInterfaceText) paths.emplace(string.ordinal, std::move(string.path));
  }
}

}  // namespace

int ReadModuleLayouts(const std::string& path, ModuleLayouts& layouts) {
  layouts = {};
  ModuleImage image;
  if (const int error = image.Open(path)) return error;
  for (const ResourceTypeNode& type : image.Resources()) {
    if (!type.id.named && type.id.number == kRtAccelerator) {
      // A table cut short still binds the keys read before its end.
      std::vector<Accelerator> table;
      for (const ResourceName& name : type.names) {
        const ResourceData* data = ChooseLanguage(name.languages);
        if (!data) continue;
        ParseAcceleratorTable(data->bytes, table);
        for (const Accelerator& accelerator : table)
          layouts.accelerators.emplace(accelerator.command, accelerator.chord);
      }
      continue;
    }
    if (!type.id.named && type.id.number == kRtRcdata) {
      for (const ResourceName& name : type.names) {
        if (const ResourceData* data = ChooseLanguage(name.languages))
          ReadFormPaths(name, data->bytes, layouts);
      }
      continue;
    }
    if (type.id.named || (type.id.number != kRtDialog && type.id.number != kRtMenu)) continue;
    for (const ResourceName& name : type.names) {
      const ResourceData* data = ChooseLanguage(name.languages);
      if (!data) continue;
      // Upper case, as keys come back from a project file.
      const std::string key = ToUpperUtf8(
          MakeResourceKey(type.id.number, name.id.number, name.id.named ? name.id.NameUtf8() : ""));
      if (type.id.number == kRtDialog) {
        DialogBox layout;
        if (ParseDialogBox(data->bytes, layout)) layouts.dialogs[key] = std::move(layout);
      } else {
        MenuLayout layout;
        if (ParseMenuLayout(data->bytes, layout)) layouts.menus[key] = std::move(layout);
      }
    }
  }
  return 0;
}

}  // namespace ulk
