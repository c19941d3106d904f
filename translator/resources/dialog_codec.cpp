// Walking dialog templates.
#include "translator/resources/dialog_codec.h"

#include "platform/byte_stream.h"
#include "platform/system_error.h"
#include "platform/text.h"

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
  field.isOrdinal = false;
  field.ordinal = 0;
  field.text.clear();
  std::uint16_t first = 0;
  if (!r.PeekU16(r.Offset(), first)) return false;
  if (first == 0xFFFF) {
    field.isOrdinal = true;
    return r.Skip(2) && r.U16(field.ordinal);
  }
  return r.Utf16z(field.text);
}

TemplateName ModelName(const NameOrOrdinal& field) {
  return {field.isOrdinal, field.ordinal, Utf16ToUtf8(field.text)};
}

std::int16_t Signed16(std::uint16_t value) {
  return static_cast<std::int16_t>(value);
}

// The fixed head of the dialog: styles and rectangle.
void ReadDialogHead(const ByteReader& r, bool extended, DialogTemplate& model) {
  std::uint16_t rect[4] = {};
  const std::size_t rectAt = extended ? 18 : 10;
  for (std::size_t i = 0; i < 4; ++i) (void)r.PeekU16(rectAt + 2 * i, rect[i]);
  model.extended = extended;
  if (extended) {
    (void)r.PeekU32(4, model.helpId);
    (void)r.PeekU32(8, model.exStyle);
    (void)r.PeekU32(12, model.style);
  } else {
    (void)r.PeekU32(0, model.style);
    (void)r.PeekU32(4, model.exStyle);
  }
  model.x = Signed16(rect[0]);
  model.y = Signed16(rect[1]);
  model.cx = Signed16(rect[2]);
  model.cy = Signed16(rect[3]);
}

// The fixed head of the control that starts at `start` (already checked to
// lie inside the data).
DialogControl ReadControlHead(const ByteReader& r, std::size_t start, bool extended) {
  DialogControl control;
  std::uint16_t rect[4] = {};
  const std::size_t rectAt = start + (extended ? 12 : 8);
  for (std::size_t i = 0; i < 4; ++i) (void)r.PeekU16(rectAt + 2 * i, rect[i]);
  if (extended) {
    (void)r.PeekU32(start, control.helpId);
    (void)r.PeekU32(start + 4, control.exStyle);
    (void)r.PeekU32(start + 8, control.style);
    (void)r.PeekU32(start + 20, control.id);
  } else {
    std::uint16_t id = 0;
    (void)r.PeekU32(start, control.style);
    (void)r.PeekU32(start + 4, control.exStyle);
    (void)r.PeekU16(start + 16, id);
    control.id = id;
  }
  control.headOffset = start;
  control.x = Signed16(rect[0]);
  control.y = Signed16(rect[1]);
  control.cx = Signed16(rect[2]);
  control.cy = Signed16(rect[3]);
  return control;
}

}  // namespace

bool DialogCodec::Parse(std::string_view bytes, DialogTemplate* model) {
  Reset(bytes);
  parsed_ = false;
  ByteReader r(Data());
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
  if (model) ReadDialogHead(r, extended_, *model);
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  if (!ReadNameOrOrdinal(r, menu) || !ReadNameOrOrdinal(r, windowClass)) {
    return Fail("dialog menu or class runs past the end");
  }
  if (model) {
    model->menu = ModelName(menu);
    model->windowClass = ModelName(windowClass);
  }
  AddSegment(0, r.Offset());
  const std::size_t captionStart = r.Offset();
  std::u16string caption;
  if (!r.Utf16z(caption)) return Fail("dialog caption is unterminated");
  AddTextSegment(captionStart, r.Offset(), kDialogCaptionItem);
  if (!caption.empty()) AddItem(kDialogCaptionId, caption, kDialogCaptionItem);
  if (model) model->caption = Utf16ToUtf8(caption);

  if (style & kDsSetFont) {
    const std::size_t fontStart = r.Offset();
    std::u16string face;
    if (!r.Skip(extended_ ? 6 : 2) || !r.Utf16z(face)) return Fail("dialog font runs past the end");
    AddSegment(fontStart, r.Offset());
    if (model) {
      DialogFont& font = model->font;
      model->hasFont = true;
      std::uint8_t italic = 0;
      (void)r.PeekU16(fontStart, font.pointSize);
      if (auto head = r.Sub(fontStart + 2, 4); head && extended_) {
        (void)(head->U16(font.weight) && head->U8(italic) && head->U8(font.charset));
      }
      font.italic = italic != 0;
      font.face = Utf16ToUtf8(face);
    }
  }

  // Read again for every control, so that their room is kept.
  NameOrOrdinal controlClass;
  NameOrOrdinal title;
  for (std::uint32_t n = 1; n <= controls; ++n) {
    const auto where = [n] { return "control " + std::to_string(n); };
    if (!r.AlignTo4()) return Fail(where() + " lies past the end of the dialog");
    const std::size_t start = r.Offset();
    std::uint16_t id16 = 0;
    std::uint32_t id32 = 0;
    const bool headRead = extended_ ? r.PeekU32(start + 20, id32) : r.PeekU16(start + 16, id16);
    if (!headRead || !r.Skip(extended_ ? kExItemHeadSize : kItemHeadSize)) {
      return Fail(where() + ": head runs past the end");
    }
    DialogControl* control = nullptr;
    if (model) control = &model->controls.emplace_back(ReadControlHead(r, start, extended_));
    if (!ReadNameOrOrdinal(r, controlClass)) return Fail(where() + ": class runs past the end");
    if (control) control->windowClass = ModelName(controlClass);
    AddSegment(start, r.Offset(), true);

    const std::size_t titleStart = r.Offset();
    if (!ReadNameOrOrdinal(r, title)) return Fail(where() + ": title runs past the end");
    if (control) control->title = ModelName(title);
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
    if (!r.U16(extra)) return Fail(where() + ": creation data runs past the end");
    // DLGITEMTEMPLATE counts the size word in its creation data;
    // DLGITEMTEMPLATEEX counts only the bytes that follow it.
    const std::uint64_t following = extended_ ? extra : (extra > 2 ? extra - 2u : 0u);
    std::string_view creationData;
    if (!r.Bytes(following, creationData))
      return Fail(where() + ": creation data runs past the end");
    if (control) control->creationData.assign(creationData);
    AddSegment(dataStart, r.Offset());
  }
  AddSegment(r.Offset(), Data().size());
  parsed_ = true;
  return true;
}

Status ReadDialogTemplate(std::string_view bytes, DialogTemplate& out) {
  out = {};
  DialogCodec codec;
  if (!codec.Parse(bytes, &out)) return Status::Fail(kErrorBadTemplate, codec.Problem());
  return {};
}

std::optional<std::string> DialogCodec::Build() const {
  if (!parsed_) return std::nullopt;
  return Replay();
}

}  // namespace ulk
