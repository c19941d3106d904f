// Walking dialog templates.
#include "translator/resources/dialog_codec.h"

#include "platform/byte_stream.h"

namespace ulk {
namespace {

constexpr std::uint32_t kExtendedSignature = 0xFFFF0001;  // version 1, signature 0xFFFF
constexpr std::uint32_t kDsSetFont = 0x40;
constexpr std::size_t kHeadSize = 18;
constexpr std::size_t kExHeadSize = 26;
constexpr std::size_t kItemHeadSize = 18;
constexpr std::size_t kExItemHeadSize = 24;

// A name-or-ordinal field: 0 (nothing), 0xFFFF and an ordinal, or a string.
struct NameOrOrdinal {
  bool isOrdinal = false;
  std::uint16_t ordinal = 0;
  std::u16string text;
};

bool ReadNameOrOrdinal(ByteReader& r, NameOrOrdinal& field) {
  field = {};
  std::uint16_t first = 0;
  if (!r.PeekU16(r.Offset(), first)) return false;
  if (first == 0xFFFF) {
    field.isOrdinal = true;
    return r.Skip(2) && r.U16(field.ordinal);
  }
  return r.Utf16z(field.text);
}

}  // namespace

bool DialogCodec::Parse(std::string_view bytes) {
  Reset(bytes);
  parsed_ = false;
  ByteReader r(data_);
  std::uint32_t first = 0;
  if (!r.PeekU32(0, first)) return Fail("dialog head runs past the end");
  extended_ = first == kExtendedSignature;
  if (!extended_ && first >= 0xFFFF0000) return Fail("unknown dialog template version");

  std::uint32_t style = 0;
  std::uint16_t controls = 0;
  const std::size_t headSize = extended_ ? kExHeadSize : kHeadSize;
  if (!r.PeekU32(extended_ ? 12 : 0, style) || !r.PeekU16(extended_ ? 16 : 8, controls) ||
      !r.Seek(headSize)) {
    return Fail("dialog head runs past the end");
  }
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  if (!ReadNameOrOrdinal(r, menu) || !ReadNameOrOrdinal(r, windowClass)) {
    return Fail("dialog menu or class runs past the end");
  }
  AddSegment(0, r.Offset());
  const std::size_t captionStart = r.Offset();
  std::u16string caption;
  if (!r.Utf16z(caption)) return Fail("dialog caption is unterminated");
  AddTextSegment(captionStart, r.Offset(), kDialogCaptionItem);
  if (!caption.empty()) AddItem(kDialogCaptionId, caption, kDialogCaptionItem);

  if (style & kDsSetFont) {
    const std::size_t fontStart = r.Offset();
    std::u16string face;
    if (!r.Skip(extended_ ? 6 : 2) || !r.Utf16z(face)) return Fail("dialog font runs past the end");
    AddSegment(fontStart, r.Offset());
  }

  for (std::uint32_t n = 1; n <= controls; ++n) {
    const std::string where = "control " + std::to_string(n);
    if (!r.AlignTo4()) return Fail(where + " lies past the end of the dialog");
    const std::size_t start = r.Offset();
    std::uint16_t id16 = 0;
    std::uint32_t id32 = 0;
    const bool headRead = extended_ ? r.PeekU32(start + 20, id32) : r.PeekU16(start + 16, id16);
    if (!headRead || !r.Skip(extended_ ? kExItemHeadSize : kItemHeadSize)) {
      return Fail(where + ": head runs past the end");
    }
    NameOrOrdinal controlClass;
    if (!ReadNameOrOrdinal(r, controlClass)) return Fail(where + ": class runs past the end");
    AddSegment(start, r.Offset(), true);

    const std::size_t titleStart = r.Offset();
    NameOrOrdinal title;
    if (!ReadNameOrOrdinal(r, title)) return Fail(where + ": title runs past the end");
    const bool translatable =
        controlClass.isOrdinal && !title.isOrdinal && !title.text.empty() &&
        (controlClass.ordinal == kButtonClass || controlClass.ordinal == kStaticClass);
    if (translatable) {
      AddTextSegment(titleStart, r.Offset(), n);
      // Only the low 16 bits of an extended control's identifier name it.
      const std::int32_t id = extended_ ? static_cast<std::int32_t>(id32 & 0xFFFF) : id16;
      AddItem(id, title.text, n);
    } else {
      AddSegment(titleStart, r.Offset());
    }

    const std::size_t dataStart = r.Offset();
    std::uint16_t extra = 0;
    if (!r.U16(extra)) return Fail(where + ": creation data runs past the end");
    // DLGITEMTEMPLATE counts the size word in its creation data;
    // DLGITEMTEMPLATEEX counts only the bytes that follow it.
    const std::uint64_t following = extended_ ? extra : (extra > 2 ? extra - 2u : 0u);
    if (!r.Skip(following)) return Fail(where + ": creation data runs past the end");
    AddSegment(dataStart, r.Offset());
  }
  AddSegment(r.Offset(), data_.size());
  parsed_ = true;
  return true;
}

std::optional<std::string> DialogCodec::Build() const {
  if (!parsed_) return std::nullopt;
  return Replay();
}

}  // namespace ulk
