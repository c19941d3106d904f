// Walking dialog and menu templates for their geometry and levels.
#include "translator/resources/resource_layout.h"

#include "platform/byte_stream.h"
#include "platform/pe_image.h"
#include "platform/text.h"
#include "translator/resources/resource_kind.h"

namespace ulk {
namespace {

constexpr std::uint32_t kExtendedSignature = 0xFFFF0001;
constexpr std::uint32_t kDsSetFont = 0x40;
constexpr int kMaxMenuDepth = 64;

std::int16_t Signed(std::uint16_t value) {
  return static_cast<std::int16_t>(value);
}

// A name-or-ordinal field; its ordinal when it has one.
bool SkipNameOrOrdinal(ByteReader& r, bool& isOrdinal, std::uint16_t& ordinal) {
  std::uint16_t first = 0;
  if (!r.PeekU16(r.Offset(), first)) return false;
  isOrdinal = first == 0xFFFF;
  if (isOrdinal) return r.Skip(2) && r.U16(ordinal);
  std::u16string ignored;
  return r.Utf16z(ignored);
}

bool ReadControl(ByteReader& r, bool extended, std::uint32_t item, ControlLayout& control) {
  if (!r.AlignTo4()) return false;
  const std::size_t start = r.Offset();
  const std::size_t geometry = start + (extended ? 12 : 8);
  std::uint16_t x = 0, y = 0, cx = 0, cy = 0;
  if (!r.PeekU32(extended ? start + 8 : start, control.style) || !r.PeekU16(geometry, x) ||
      !r.PeekU16(geometry + 2, y) || !r.PeekU16(geometry + 4, cx) || !r.PeekU16(geometry + 6, cy) ||
      !r.Skip(extended ? 24 : 18)) {
    return false;
  }
  control.item = item;
  control.x = Signed(x);
  control.y = Signed(y);
  control.cx = Signed(cx);
  control.cy = Signed(cy);
  bool titleIsOrdinal = false;
  std::uint16_t titleOrdinal = 0;
  if (!SkipNameOrOrdinal(r, control.classIsOrdinal, control.classOrdinal) ||
      !SkipNameOrOrdinal(r, titleIsOrdinal, titleOrdinal)) {
    return false;
  }
  std::uint16_t extra = 0;
  if (!r.U16(extra)) return false;
  // DLGITEMTEMPLATE counts the size word in its creation data;
  // DLGITEMTEMPLATEEX counts only the bytes that follow it.
  return r.Skip(extended ? extra : (extra > 2 ? extra - 2u : 0u));
}

bool WalkMenu(ByteReader& r, bool extended, int depth, std::int32_t parent, MenuLayout& layout) {
  if (depth > kMaxMenuDepth) return false;
  while (true) {
    const auto item = static_cast<std::int32_t>(layout.parents.size());
    bool popup = false;
    bool last = false;
    if (extended) {
      std::uint32_t type = 0, state = 0, id = 0;
      std::uint16_t resInfo = 0;
      if (!r.AlignTo4() || !r.U32(type) || !r.U32(state) || !r.U32(id) || !r.U16(resInfo)) {
        return false;
      }
      popup = resInfo & 0x01;
      last = resInfo & 0x80;
    } else {
      std::uint16_t flags = 0;
      std::uint16_t id = 0;
      if (!r.U16(flags) || (!(flags & 0x10) && !r.U16(id))) return false;
      popup = flags & 0x10;
      last = flags & 0x80;
    }
    std::u16string text;
    if (!r.Utf16z(text)) return false;
    layout.parents.push_back(parent);
    if (popup) {
      std::uint32_t helpId = 0;
      if (extended && (!r.AlignTo4() || !r.U32(helpId))) return false;
      if (!WalkMenu(r, extended, depth + 1, item, layout)) return false;
    }
    if (last) return true;
  }
}

}  // namespace

const ControlLayout* DialogLayout::Control(std::uint32_t item) const {
  if (item == 0 || item > controls.size()) return nullptr;
  return &controls[item - 1];
}

bool ParseDialogLayout(std::string_view bytes, DialogLayout& layout) {
  layout = {};
  ByteReader r(bytes);
  std::uint32_t first = 0;
  if (!r.PeekU32(0, first)) return false;
  const bool extended = first == kExtendedSignature;
  if (!extended && first >= 0xFFFF0000) return false;
  std::uint32_t style = 0;
  std::uint16_t count = 0, cx = 0, cy = 0;
  const std::size_t geometry = extended ? 18 : 10;
  if (!r.PeekU32(extended ? 12 : 0, style) || !r.PeekU16(extended ? 16 : 8, count) ||
      !r.PeekU16(geometry + 4, cx) || !r.PeekU16(geometry + 6, cy) || !r.Seek(extended ? 26 : 18)) {
    return false;
  }
  layout.cx = Signed(cx);
  layout.cy = Signed(cy);
  bool isOrdinal = false;
  std::uint16_t ordinal = 0;
  std::u16string caption;
  if (!SkipNameOrOrdinal(r, isOrdinal, ordinal) || !SkipNameOrOrdinal(r, isOrdinal, ordinal) ||
      !r.Utf16z(caption)) {
    return false;
  }
  if (style & kDsSetFont) {
    DialogFont& font = layout.font;
    font.present = true;
    std::u16string face;
    if (!r.U16(font.pointSize)) return false;
    if (extended) {
      std::uint8_t italic = 0, charset = 0;
      if (!r.U16(font.weight) || !r.U8(italic) || !r.U8(charset)) return false;
      font.italic = italic != 0;
    }
    if (!r.Utf16z(face)) return false;
    font.face = Utf16ToUtf8(face);
  }
  layout.controls.resize(count);
  for (std::uint32_t n = 1; n <= count; ++n) {
    if (!ReadControl(r, extended, n, layout.controls[n - 1])) return false;
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

const DialogLayout* ModuleLayouts::DialogOf(std::string_view entryKey) const {
  const auto found = dialogs.find(ToUpperUtf8(ResourceKeyOf(entryKey)));
  return found == dialogs.end() ? nullptr : &found->second;
}

const ControlLayout* ModuleLayouts::ControlOf(std::string_view entryKey) const {
  const DialogLayout* dialog = DialogOf(entryKey);
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

int ReadModuleLayouts(const std::string& path, ModuleLayouts& layouts) {
  layouts = {};
  ModuleImage image;
  if (const int error = image.Open(path)) return error;
  for (const ResourceTypeNode& type : image.Resources()) {
    if (type.id.named || (type.id.number != kRtDialog && type.id.number != kRtMenu)) continue;
    for (const ResourceName& name : type.names) {
      const ResourceData* data = ChooseLanguage(name.languages);
      if (!data) continue;
      // Upper case, as keys come back from a project file.
      const std::string key = ToUpperUtf8(
          MakeResourceKey(type.id.number, name.id.number, name.id.named ? name.id.NameUtf8() : ""));
      if (type.id.number == kRtDialog) {
        DialogLayout layout;
        if (ParseDialogLayout(data->bytes, layout)) layouts.dialogs[key] = std::move(layout);
      } else {
        MenuLayout layout;
        if (ParseMenuLayout(data->bytes, layout)) layouts.menus[key] = std::move(layout);
      }
    }
  }
  return 0;
}

}  // namespace ulk
