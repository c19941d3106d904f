// Icon-menu state and text rules.
#include "uikit/menu_logic.h"

#include <algorithm>

#include "platform/text.h"

namespace ulk {
namespace {

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
  return out;
}

// Tooltips fit a buffer of 80 bytes with its terminating zero.
constexpr std::size_t kTooltipBytes = 79;

}  // namespace

MenuItemText SplitMenuText(std::string_view text) {
  const auto tab = text.find('\t');
  if (tab == std::string_view::npos) return {std::string(text), {}};
  return {std::string(text.substr(0, tab)), std::string(text.substr(tab + 1))};
}

std::string LabelWithoutMnemonic(std::string_view label) {
  std::string out(label);
  const auto amp = out.find('&');
  if (amp != std::string::npos) out.erase(amp, 1);
  return out;
}

const std::string* MenuTextMap::Find(int id) const {
  const auto found = texts_.find(id);
  return found == texts_.end() ? nullptr : &found->second;
}

std::optional<MenuImageRef> MenuImageMap::Find(int id) const {
  const auto found = images_.find(id);
  if (found == images_.end()) return std::nullopt;
  return found->second;
}

void MenuImageMap::Forget(const void* source) {
  std::erase_if(images_, [source](const auto& item) { return item.second.source == source; });
}

MenuTextMap& MenuTexts() {
  static MenuTextMap texts;
  return texts;
}

MenuImageMap& MenuImages() {
  static MenuImageMap images;
  return images;
}

namespace {
MenuDrawStyle gMenuDrawStyle = MenuDrawStyle::kFlat;
}

MenuDrawStyle GetMenuDrawStyle() {
  return gMenuDrawStyle;
}

void SetMenuDrawStyle(MenuDrawStyle style) {
  gMenuDrawStyle = style;
}

std::vector<const void*> MenuImageSourceOrder(const std::vector<const void*>& windowBars,
                                              const std::vector<const void*>& registered) {
  std::vector<const void*> order;
  for (const void* bar : windowBars) order.insert(order.begin(), bar);
  for (const void* bar : registered) order.insert(order.begin(), bar);
  return order;
}

int MatchMenuChar(char32_t character, const std::vector<std::string>& labels) {
  const std::string wanted = ToUpperUtf8(Utf8Of(character));
  if (wanted.empty()) return -1;
  for (std::size_t item = 0; item < labels.size(); ++item) {
    const std::string label = ToUpperUtf8(labels[item]);
    for (std::size_t i = label.size(); i-- > 0;) {
      if (label[i] != '&') continue;
      if (i > 0 && label[i - 1] == '&') continue;
      if (label.compare(i + 1, wanted.size(), wanted) == 0) return static_cast<int>(item);
    }
  }
  return -1;
}

std::string TooltipOfPrompt(std::string_view prompt) {
  const auto newline = prompt.find('\n');
  std::string_view tip = newline == std::string_view::npos ? prompt : prompt.substr(newline + 1);
  // Cut at a character boundary at or below the byte limit.
  std::size_t bytes = 0;
  for (std::size_t chars = 1; bytes < tip.size(); ++chars) {
    const std::size_t next = FirstChars(tip, chars).size();
    if (next > kTooltipBytes) break;
    bytes = next;
  }
  return std::string(tip.substr(0, bytes));
}

std::string StatusTextOfPrompt(std::string_view prompt) {
  return std::string(prompt.substr(0, std::min(prompt.find('\n'), prompt.size())));
}

}  // namespace ulk
