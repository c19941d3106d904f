// The part of the icon menus that needs no display: the process-wide maps
// from command id to menu text and to toolbar image, the split of an item
// text into label and shortcut, the order in which toolbars are asked for
// images, and the mnemonic matching with doubled ampersands.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ulk {

// An item text as a menu holds it: label, a tab, shortcut.
struct MenuItemText {
  std::string label;
  std::string shortcut;  // "" when the text has no tab
};
MenuItemText SplitMenuText(std::string_view text);

// The label as it is measured: its first "&" removed.
std::string LabelWithoutMnemonic(std::string_view label);

// Command id -> the item's whole text. The same id in two menus shares one
// text: the last one stored.
class MenuTextMap {
 public:
  void Set(int id, std::string text) { texts_[id] = std::move(text); }
  const std::string* Find(int id) const;
  void Clear() { texts_.clear(); }

 private:
  std::map<int, std::string> texts_;
};

// Where an item's image comes from: a source (a toolbar, or a window's table
// of images) and the image's index in it.
struct MenuImageRef {
  const void* source = nullptr;
  int index = -1;
};

// Command id -> image.
class MenuImageMap {
 public:
  void Set(int id, MenuImageRef image) { images_[id] = image; }
  std::optional<MenuImageRef> Find(int id) const;
  void Forget(const void* source);  // a source that is going away
  void Clear() { images_.clear(); }

 private:
  std::map<int, MenuImageRef> images_;
};

// The two looks of the menus; the choice is process-wide. The toolkit draws
// the items, so the look only records the program's choice.
enum class MenuDrawStyle { kFlat, kClassic };

// The process-wide state.
MenuTextMap& MenuTexts();
MenuImageMap& MenuImages();
MenuDrawStyle GetMenuDrawStyle();
void SetMenuDrawStyle(MenuDrawStyle style);

// The toolbars asked for a command's image, in order: each registered
// toolbar is put in front of those collected before it, after the window's
// own bars; so the most recently registered comes first and the window's
// bars follow in reverse order.
std::vector<const void*> MenuImageSourceOrder(const std::vector<const void*>& windowBars,
                                              const std::vector<const void*>& registered);

// Which item a typed character selects: the first label (in item order)
// holding "&" followed by the character, compared upper-cased; an "&" that
// follows another "&" is an escaped ampersand and does not count. -1 when
// none matches. Labels of separators are empty.
int MatchMenuChar(char32_t character, const std::vector<std::string>& labels);

// The tooltip of a command prompt ("description\nshort name"): the part
// after the first line feed, or the whole text when it has none; at most
// 79 bytes, never cutting a character.
std::string TooltipOfPrompt(std::string_view prompt);
// The status-bar part of a prompt: the text before the first line feed.
std::string StatusTextOfPrompt(std::string_view prompt);

}  // namespace ulk
