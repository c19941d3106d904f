// Texts of a dialog resource (RT_DIALOG), DLGTEMPLATE or DLGTEMPLATEEX: the
// caption and the titles of Button and Static controls; the dialog rebuilt
// with translated texts and everything else carried over.
// Ref: Microsoft documentation, "DLGTEMPLATE", "DLGITEMTEMPLATE",
// "DLGTEMPLATEEX", "DLGITEMTEMPLATEEX".
#pragma once

#include "translator/resources/dialog_template.h"
#include "translator/resources/template_codec.h"

namespace ulk {

class DialogCodec : public TemplateCodec {
 public:
  // Item 0 is the caption; control n (from 1) is item n, every control
  // counted. False (no items) when the template ends before its declared
  // controls or holds an unterminated string.
  bool Parse(std::string_view bytes) { return Parse(bytes, nullptr); }
  // The same walk, also reading the whole template into `model` when it is
  // not null (left partly filled when the walk fails).
  bool Parse(std::string_view bytes, DialogTemplate* model);
  std::optional<std::string> Build() const;
  std::optional<std::string> BuildTemplate() const override { return Build(); }

  bool IsExtended() const { return extended_; }

  static constexpr std::uint16_t kButtonClass = 0x0080;
  static constexpr std::uint16_t kStaticClass = 0x0082;

 private:
  bool Walk(std::string_view bytes) override { return Parse(bytes, nullptr); }
  bool parsed_ = false;
  bool extended_ = false;
};

}  // namespace ulk
