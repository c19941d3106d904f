// Fuzz target: the dialog and menu layouts the checks and the exchange
// formats read from a module. Layouts have no writer of their own; what
// fits is what they serve: the codecs number the texts whose controls and
// menu levels a layout is asked for, so a layout must agree with the
// codec's walk of the same template (every control and item a codec
// numbers has its box or level, the dialog's font is valid UTF-8 without
// NUL), and must read the same from the template the codec rebuilds with
// every text translated.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text.h"
#include "translator/resources/dialog_codec.h"
#include "translator/resources/menu_codec.h"
#include "translator/resources/resource_layout.h"

namespace {

bool SameBoxes(const ulk::DialogBox& a, const ulk::DialogBox& b) {
  if (a.hasFont != b.hasFont || a.font.face != b.font.face ||
      a.font.pointSize != b.font.pointSize || a.font.weight != b.font.weight ||
      a.font.italic != b.font.italic || a.font.charset != b.font.charset || a.cx != b.cx ||
      a.cy != b.cy || a.controls.size() != b.controls.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.controls.size(); ++i) {
    const ulk::ControlBox& x = a.controls[i];
    const ulk::ControlBox& y = b.controls[i];
    if (x.item != y.item || x.x != y.x || x.y != y.y || x.cx != y.cx || x.cy != y.cy ||
        x.style != y.style || x.classIsOrdinal != y.classIsOrdinal ||
        x.classOrdinal != y.classOrdinal) {
      return false;
    }
  }
  return true;
}

template <typename Codec>
void Translate(Codec& codec) {
  for (std::size_t i = 0; i < codec.ItemCount(); ++i) {
    codec.SetTranslationAt(i, "Traducción «" + std::to_string(i) + "»");
  }
}

void CheckDialog(const std::string& bytes) {
  ulk::DialogBox layout;
  const bool read = ulk::ParseDialogBox(bytes, layout);
  ulk::DialogTemplate dialog;
  ulk::DialogCodec codec;
  if (codec.Parse(bytes, &dialog) != read) std::abort();
  if (!read) return;
  if (!ulk::IsValidUtf8(layout.font.face) || layout.font.face.find('\0') != std::string::npos) {
    std::abort();
  }
  if (layout.controls.size() != dialog.controls.size()) std::abort();
  for (std::size_t i = 0; i < layout.controls.size(); ++i) {
    if (layout.controls[i].item != i + 1 ||
        layout.Control(static_cast<std::uint32_t>(i + 1)) != &layout.controls[i]) {
      std::abort();
    }
  }
  for (const auto& item : codec.Items()) {
    if (item.item != 0 && !layout.Control(item.item)) std::abort();
  }
  Translate(codec);
  const auto rebuilt = codec.Build();
  if (!rebuilt) return;  // a length that no longer fits is refused, not written
  ulk::DialogBox again;
  if (!ulk::ParseDialogBox(*rebuilt, again) || !SameBoxes(layout, again)) std::abort();
}

// The parents a depth-first walk of the codec's tree gives, numbered as the
// codec numbers its items.
void ParentsOf(const std::vector<ulk::MenuNode>& level, std::int32_t parent,
               std::vector<std::int32_t>& parents) {
  for (const auto& node : level) {
    const auto item = static_cast<std::int32_t>(parents.size());
    parents.push_back(parent);
    ParentsOf(node.children, item, parents);
  }
}

void CheckMenu(const std::string& bytes) {
  ulk::MenuLayout layout;
  const bool read = ulk::ParseMenuLayout(bytes, layout);
  ulk::MenuTemplate menu;
  ulk::MenuCodec codec;
  const bool parsed = codec.Parse(bytes, &menu);
  // An extended menu whose items do not follow its header has no texts
  // (and no levels) to tell.
  const bool withTexts = parsed && codec.Problem() != ulk::MenuCodec::kUnknownExtendedMenu;
  if (read != withTexts) std::abort();
  if (!read) return;
  std::vector<std::int32_t> parents;
  ParentsOf(menu.items, -1, parents);
  if (parents != layout.parents) std::abort();
  for (const auto& item : codec.Items()) {
    if (item.item >= layout.parents.size()) std::abort();
  }
  Translate(codec);
  const auto rebuilt = codec.Build();
  if (!rebuilt) return;
  ulk::MenuLayout again;
  if (!ulk::ParseMenuLayout(*rebuilt, again) || again.parents != layout.parents) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckDialog(bytes);
  CheckMenu(bytes);
  return 0;
}
