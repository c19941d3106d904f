// Items and segment replay shared by the template codecs.
#include "translator/resources/template_codec.h"

#include "platform/byte_stream.h"
#include "platform/text.h"

namespace ulk {

bool TemplateCodec::SetItemTranslation(std::uint32_t item, std::string_view translation) {
  for (auto& entry : items_) {
    if (entry.item == item) {
      entry.translation.assign(translation);
      return true;
    }
  }
  return false;
}

bool TemplateCodec::HasTranslations() const {
  for (const auto& entry : items_) {
    if (!entry.translation.empty()) return true;
  }
  return false;
}

void TemplateCodec::Reset(std::string_view bytes) {
  data_.assign(bytes);
  items_.clear();
  segments_.clear();
  problem_.clear();
}

const std::string* TemplateCodec::TranslationOf(std::uint32_t item) const {
  for (const auto& entry : items_) {
    if (entry.item == item) return entry.translation.empty() ? nullptr : &entry.translation;
  }
  return nullptr;
}

void TemplateCodec::AddSegment(std::size_t from, std::size_t to, bool align4Before) {
  if (to > from || align4Before) segments_.push_back({from, to - from, align4Before, false, 0});
}

void TemplateCodec::AddTextSegment(std::size_t from, std::size_t to, std::uint32_t item,
                                   bool align4Before) {
  segments_.push_back({from, to - from, align4Before, true, item});
}

void TemplateCodec::AddItem(std::int32_t id, std::u16string_view text, std::uint32_t item) {
  items_.push_back(TemplateItem{id, Utf16ToUtf8(text), {}, item});
}

bool TemplateCodec::Fail(std::string message) {
  items_.clear();
  segments_.clear();
  problem_ = std::move(message);
  return false;
}

std::string TemplateCodec::Replay() const {
  if (!HasTranslations()) return data_;
  ByteWriter out;
  out.Reserve(data_.size() + 256);
  for (const Segment& segment : segments_) {
    if (segment.align4Before) out.AlignTo4();
    const std::string* translation = segment.isText ? TranslationOf(segment.item) : nullptr;
    if (translation) {
      out.Utf8AsUtf16(*translation);
      out.U16(0);
    } else {
      out.Bytes(std::string_view(data_).substr(segment.offset, segment.length));
    }
  }
  return out.Take();
}

}  // namespace ulk
