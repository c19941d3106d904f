// The lines of a program's about box, taken from its own version block.
#pragma once

#include <string>

#include "platform/version_info.h"

namespace ulk {

struct AboutText {
  std::string group;  // "OriginalFilename"
  std::string title;  // "InternalName  vFileVersion  SpecialBuild"
  std::string description;
  std::string copyright;  // "LegalCopyright CompanyName"
  std::string language;   // the name of the block's language
  std::string link;       // "Comments": the maker's web address
};

// `releaseWhenNoSpecialBuild` puts "Release" in place of an empty
// "SpecialBuild" (the administrator's box does). A file without a version
// block gives empty lines.
AboutText AboutTextOf(const FileVersionInfo& info, bool releaseWhenNoSpecialBuild);

// Only web addresses are opened from the about box.
bool IsOpenableLink(const std::string& text);

}  // namespace ulk
