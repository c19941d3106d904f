// What the menu, dialog and version codecs share: the ordered list of
// translatable items of one resource, and for menus and dialogs the walk of
// the template recorded as segments, so that rebuilding replays the source
// with translated texts in place of the items' own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "translator/resources/resource_kind.h"
#include "translator/resources/text_translator.h"

namespace ulk {

class TemplateCodec {
 public:
  virtual ~TemplateCodec() = default;

  std::size_t ItemCount() const { return items_.size(); }
  const TemplateItem& ItemAt(std::size_t index) const { return items_[index]; }
  const std::vector<TemplateItem>& Items() const { return items_; }
  // Sets the translation of the first item numbered `item`; false when none.
  bool SetItemTranslation(std::uint32_t item, std::string_view translation);
  // The translation of the index-th item (in ItemAt order).
  void SetTranslationAt(std::size_t index, std::string translation) {
    items_[index].translation = std::move(translation);
  }
  // Hands the index-th item's text over (it is left empty): a rebuild
  // replays the template's own bytes, not the texts read from it.
  std::string TakeItemText(std::size_t index) { return std::move(items_[index].text); }
  bool HasTranslations() const;
  // The rebuilt menu or dialog (Replay of a parsed template); none when
  // Parse did not succeed.
  virtual std::optional<std::string> BuildTemplate() const { return std::nullopt; }
  // Why the last Parse failed, or a warning when it succeeded without texts.
  const std::string& Problem() const { return problem_; }

  // Walks `bytes` once and appends the rebuilt template to `out` as it
  // goes, each text the translator gives in place of the item's own, with
  // no items or segments kept: what Parse, SetTranslationAt and
  // BuildTemplate give together. The template as it is when nothing is
  // translated or it cannot be walked (the result is then false).
  bool AppendTranslated(std::string_view bytes, TextTranslator& translator, std::string& out);

 protected:
  // A stretch of the source: copied as it is, or, for a text slot, replaced
  // by the translation of `item` when there is one.
  struct Segment {
    std::size_t offset = 0;
    std::size_t length = 0;
    bool align4Before = false;  // pad the output to a multiple of 4 first
    bool isText = false;
    std::uint32_t item = 0;
  };

  // The walk a codec's Parse makes of `bytes`, through the Add functions
  // below; false when the template cannot be walked. Menus and dialogs
  // walk theirs; other codecs are not rebuilt this way.
  virtual bool Walk(std::string_view /*bytes*/) { return false; }
  void Reset(std::string_view bytes);
  // The bytes being walked.
  std::string_view Data() const { return streaming_ ? stream_.bytes : std::string_view(data_); }
  const std::string* TranslationOf(std::uint32_t item) const;
  void AddSegment(std::size_t from, std::size_t to, bool align4Before = false);
  void AddTextSegment(std::size_t from, std::size_t to, std::uint32_t item,
                      bool align4Before = false);
  void AddItem(std::int32_t id, std::u16string_view text, std::uint32_t item);
  bool Fail(std::string message);
  // Replays the segments; the source as it is when nothing is translated.
  std::string Replay() const;

  std::string data_;
  std::vector<TemplateItem> items_;
  // Scratch for the texts a walk reads, kept from one walk to the next.
  std::u16string text_;
  std::vector<Segment> segments_;
  std::string problem_;

 private:
  // While AppendTranslated walks: where the output goes, and the text
  // segment waiting for its item.
  struct Stream {
    std::string_view bytes;
    TextTranslator* translator = nullptr;
    std::string* out = nullptr;
    std::size_t start = 0;
    bool translated = false;
    bool pending = false;
    Segment waiting;
    std::string text;
    std::string translation;
  };
  void StreamSegment(const Segment& segment, const std::string* translation);
  void FlushPending();
  bool streaming_ = false;
  Stream stream_;  // its buffers are kept from one walk to the next
};

}  // namespace ulk
