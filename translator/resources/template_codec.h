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

  void Reset(std::string_view bytes);
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
  std::vector<Segment> segments_;
  std::string problem_;
};

}  // namespace ulk
