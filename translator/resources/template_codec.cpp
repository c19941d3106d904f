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
  // A streaming walk reads the caller's bytes where they are.
  if (!streaming_) data_.assign(bytes);
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
  if (!(to > from || align4Before)) return;
  const Segment segment{from, to - from, align4Before, false, 0};
  if (streaming_) {
    FlushPending();
    StreamSegment(segment, nullptr);
  } else {
    segments_.push_back(segment);
  }
}

void TemplateCodec::AddTextSegment(std::size_t from, std::size_t to, std::uint32_t item,
                                   bool align4Before) {
  const Segment segment{from, to - from, align4Before, true, item};
  if (streaming_) {
    // Written when its item comes, or as it is when none does.
    FlushPending();
    stream_.waiting = segment;
    stream_.pending = true;
  } else {
    segments_.push_back(segment);
  }
}

void TemplateCodec::AddItem(std::int32_t id, std::u16string_view text, std::uint32_t item) {
  if (!streaming_) {
    items_.push_back(TemplateItem{id, Utf16ToUtf8(text), {}, item});
    return;
  }
  Stream& s = stream_;
  if (!s.pending || s.waiting.item != item) return;
  s.pending = false;
  s.text.clear();
  AppendUtf16AsUtf8(s.text, text);
  s.translation.clear();
  const bool given = s.translator->Translate(item, s.text, s.translation) && !s.translation.empty();
  StreamSegment(s.waiting, given ? &s.translation : nullptr);
  s.translated = s.translated || given;
}

void TemplateCodec::FlushPending() {
  if (!stream_.pending) return;
  stream_.pending = false;
  StreamSegment(stream_.waiting, nullptr);
}

void TemplateCodec::StreamSegment(const Segment& segment, const std::string* translation) {
  std::string& out = *stream_.out;
  if (segment.align4Before) {
    out.resize(stream_.start + AlignUp(out.size() - stream_.start, 4), '\0');
  }
  if (translation) {
    AppendUtf16Le(out, *translation);
    out.append(2, '\0');
  } else {
    out.append(stream_.bytes.substr(segment.offset, segment.length));
  }
}

bool TemplateCodec::AppendTranslated(std::string_view bytes, TextTranslator& translator,
                                     std::string& out) {
  stream_.bytes = bytes;
  stream_.translator = &translator;
  stream_.out = &out;
  stream_.start = out.size();
  stream_.translated = false;
  stream_.pending = false;
  streaming_ = true;
  const bool walked = Walk(bytes);
  if (walked) FlushPending();
  streaming_ = false;
  // Padding between items is written as zeros: untranslated, the template
  // keeps its own bytes, as BuildTemplate gives them.
  if (!walked || !stream_.translated) {
    out.resize(stream_.start);
    out.append(bytes);
  }
  return walked;
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
