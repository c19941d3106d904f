// About-box lines.
#include "uikit/about_text.h"

#include "platform/text.h"

namespace ulk {

AboutText AboutTextOf(const FileVersionInfo& info, bool releaseWhenNoSpecialBuild) {
  AboutText text;
  if (!info.HasBlock() || info.translation() == 0) return text;
  std::string special = info.GetString("SpecialBuild");
  if (special.empty() && releaseWhenNoSpecialBuild) special = "Release";
  text.group = info.GetString("OriginalFilename");
  text.title = Format("%s  v%s  %s", info.GetString("InternalName").c_str(),
                      info.GetString("FileVersion").c_str(), special.c_str());
  text.description = info.GetString("FileDescription");
  text.copyright = Format("%s %s", info.GetString("LegalCopyright").c_str(),
                          info.GetString("CompanyName").c_str());
  text.language = info.LanguageName();
  text.link = info.GetString("Comments");
  return text;
}

bool IsOpenableLink(const std::string& text) {
  return text.rfind("http://", 0) == 0;
}

}  // namespace ulk
