// Texts of a menu resource (RT_MENU), normal or extended template, and the
// menu rebuilt with translated texts.
// Ref: Microsoft documentation, "MENUITEMTEMPLATEHEADER", "MENUITEMTEMPLATE",
// "MENUEX_TEMPLATE_HEADER", "MENUEX_TEMPLATE_ITEM".
#pragma once

#include "translator/resources/menu_template.h"
#include "translator/resources/template_codec.h"

namespace ulk {

class MenuCodec : public TemplateCodec {
 public:
  // Items are numbered in a depth-first walk from 0, pop-ups before their
  // children, separators and items without text counted. False (no items)
  // for an unknown version or a template that ends early or nests too deep.
  // An extended menu whose header offset is not 4 is kept without texts and
  // leaves the warning in Problem().
  bool Parse(std::string_view bytes) { return Parse(bytes, nullptr); }
  // The same walk, also reading the menu's tree into `model` when it is not
  // null (an extended menu whose header offset is not 4 is then walked from
  // where that offset points, as the platform's loader does).
  bool Parse(std::string_view bytes, MenuTemplate* model);
  // The rebuilt menu; none when Parse did not succeed.
  std::optional<std::string> Build() const;
  std::optional<std::string> BuildTemplate() const override { return Build(); }

  static constexpr const char* kUnknownExtendedMenu = "UNKNOWN EXTENDED MENU, NOT SUPORTED";

 private:
  bool Walk(std::string_view bytes) override { return Parse(bytes, nullptr); }
  bool WalkNormal(class ByteReader& r, int depth, std::uint32_t& itemCount,
                  std::vector<MenuNode>* level);
  bool WalkExtended(class ByteReader& r, int depth, std::uint32_t& itemCount,
                    std::vector<MenuNode>* level);

  bool parsed_ = false;
};

}  // namespace ulk
