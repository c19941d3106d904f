// Walking menu templates.
#include "translator/resources/menu_codec.h"

#include "platform/byte_stream.h"
#include "platform/system_error.h"
#include "platform/text.h"

namespace ulk {
namespace {

constexpr std::uint16_t kMfPopup = 0x10;
constexpr std::uint16_t kMfEnd = 0x80;
// The flags of a normal item that are item types and states.
constexpr std::uint16_t kMfTypeBits = kMftBitmap | kMftMenuBarBreak | kMftMenuBreak |
                                      kMftOwnerDraw | kMftSeparator | kMftRightJustify;
constexpr std::uint16_t kMfStateBits = kMfsGrayed | kMfsChecked | kMfsDefault;
constexpr std::uint16_t kExPopup = 0x01;
constexpr std::uint16_t kExEnd = 0x80;
constexpr int kMaxDepth = 64;

}  // namespace

bool MenuCodec::Parse(std::string_view bytes, MenuTemplate* model) {
  Reset(bytes);
  parsed_ = false;
  ByteReader r(Data());
  std::uint16_t version = 0;
  std::uint16_t offset = 0;
  if (!r.U16(version) || !r.U16(offset)) return Fail("menu header runs past the end");
  std::uint32_t itemCount = 0;
  bool walked = false;
  if (model) *model = MenuTemplate{version == 1, {}};
  std::vector<MenuNode>* top = model ? &model->items : nullptr;
  if (version == 0) {
    AddSegment(0, 4);
    walked = WalkNormal(r, 0, itemCount, top);
  } else if (version == 1) {
    if (offset != 4 && model) {
      // The offset counts from its own end; the texts stay unread.
      MenuCodec walker;
      walker.data_.assign(Data());
      ByteReader items(walker.data_);
      if (!items.Seek(4u + offset)) return Fail("menu header offset lies past the end");
      if (!walker.WalkExtended(items, 0, itemCount, top)) return Fail(walker.problem_);
    }
    if (offset != 4) {
      // Kept as it is: no texts, rebuilt unchanged.
      problem_ = kUnknownExtendedMenu;
      AddSegment(0, Data().size());
      parsed_ = true;
      return true;
    }
    if (!r.Skip(4)) return Fail("menu header runs past the end");
    AddSegment(0, 8);
    walked = WalkExtended(r, 0, itemCount, top);
  } else {
    return Fail("unknown menu version " + std::to_string(version));
  }
  if (!walked) return false;
  // Whatever follows the last item (after its padding, in an extended menu).
  AddSegment(r.Offset(), Data().size(), version == 1 && r.Offset() % 4 == 0);
  parsed_ = true;
  return true;
}

bool MenuCodec::WalkNormal(ByteReader& r, int depth, std::uint32_t& itemCount,
                           std::vector<MenuNode>* level) {
  if (depth > kMaxDepth) return Fail("menu pop-ups nest too deep");
  while (true) {
    const std::size_t start = r.Offset();
    const std::uint32_t item = itemCount;
    std::uint16_t flags = 0;
    std::uint16_t id = 0;
    if (!r.U16(flags) || (!(flags & kMfPopup) && !r.U16(id))) {
      return Fail("menu item " + std::to_string(item) + " runs past the end");
    }
    AddSegment(start, r.Offset());
    const std::size_t textStart = r.Offset();
    std::u16string& text = text_;  // used before the walk goes deeper
    if (!r.Utf16z(text)) {
      return Fail("menu item " + std::to_string(item) + ": unterminated text");
    }
    AddTextSegment(textStart, r.Offset(), item);
    if (!text.empty()) AddItem(id, text, item);
    ++itemCount;
    MenuNode* node = nullptr;
    if (level) {
      node = &level->emplace_back();
      node->popup = (flags & kMfPopup) != 0;
      node->type = flags & kMfTypeBits;
      node->state = flags & kMfStateBits;
      node->id = id;
      node->text = Utf16ToUtf8(text);
      // The loader makes a command without text a separator.
      if (!node->popup && text.empty()) node->type |= kMftSeparator;
    }
    if ((flags & kMfPopup) &&
        !WalkNormal(r, depth + 1, itemCount, node ? &node->children : nullptr))
      return false;
    if (flags & kMfEnd) return true;
  }
}

bool MenuCodec::WalkExtended(ByteReader& r, int depth, std::uint32_t& itemCount,
                             std::vector<MenuNode>* level) {
  if (depth > kMaxDepth) return Fail("menu pop-ups nest too deep");
  while (true) {
    const std::uint32_t item = itemCount;
    const std::size_t start = r.Offset();
    std::uint32_t type = 0;
    std::uint32_t state = 0;
    std::uint32_t id = 0;
    std::uint16_t resInfo = 0;
    if (!r.U32(type) || !r.U32(state) || !r.U32(id) || !r.U16(resInfo)) {
      return Fail("menu item " + std::to_string(item) + " runs past the end");
    }
    // Every extended item starts at a multiple of 4.
    AddSegment(start, r.Offset(), true);
    const std::size_t textStart = r.Offset();
    std::u16string& text = text_;  // used before the walk goes deeper
    if (!r.Utf16z(text)) {
      return Fail("menu item " + std::to_string(item) + ": unterminated text");
    }
    AddTextSegment(textStart, r.Offset(), item);
    // Separators carry an empty text and are not translated.
    if (!text.empty() && !(type & kMftSeparator))
      AddItem(static_cast<std::int32_t>(id), text, item);
    if (!r.AlignTo4() && (resInfo & kExPopup)) {
      return Fail("menu item " + std::to_string(item) + " runs past the end");
    }
    ++itemCount;
    MenuNode* node = nullptr;
    if (level) {
      node = &level->emplace_back();
      node->popup = (resInfo & kExPopup) != 0;
      node->type = type;
      node->state = state;
      node->id = id;
      if (!(type & kMftSeparator)) node->text = Utf16ToUtf8(text);
    }
    if (resInfo & kExPopup) {
      const std::size_t helpStart = r.Offset();
      std::uint32_t helpId = 0;
      if (!r.U32(helpId)) return Fail("menu pop-up " + std::to_string(item) + ": no help id");
      AddSegment(helpStart, r.Offset(), true);
      if (!WalkExtended(r, depth + 1, itemCount, node ? &node->children : nullptr)) return false;
    }
    if (resInfo & kExEnd) return true;
  }
}

Status ReadMenuTemplate(std::string_view bytes, MenuTemplate& out) {
  MenuCodec codec;
  if (!codec.Parse(bytes, &out)) {
    out = {};
    return Status::Fail(kErrorBadTemplate, codec.Problem());
  }
  return {};
}

std::optional<std::string> MenuCodec::Build() const {
  if (!parsed_) return std::nullopt;
  return Replay();
}

}  // namespace ulk
