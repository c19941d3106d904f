// The administrator's images.
#include "glossmith/ui/glossmith_art.h"

#include <string>

#include <wx/artprov.h>

#include "glossmith/ui/glossmith_ids.h"

namespace ulk::glossmith {
namespace {

// Shapes on a 16 x 16 grid.
constexpr const char* kDocument =
    R"(<path d="M2.5 1.5h7l3 3v10h-10z" fill="#ffffff" stroke="#555555"/>)"
    R"(<path d="M4.5 5h5M4.5 7.5h6M4.5 10h4" stroke="#3f6fb8"/>)";
constexpr const char* kBubbles =
    R"(<path d="M1 1.5h9v5.5h-5.5l-2.5 2.5v-2.5h-1z" fill="#3f6fb8"/>)"
    R"(<path d="M6 6.5h9v5.5h-1v2.5l-2.5-2.5h-5.5z" fill="#f0a030" stroke="#ffffff" )"
    R"(stroke-width="0.7"/>)";
constexpr const char* kGlobe =
    R"(<circle cx="8" cy="8" r="6.5" fill="#7fb5ea" stroke="#2a5a9a"/>)"
    R"(<path d="M1.5 8h13M8 1.5c-3 3-3 10 0 13M8 1.5c3 3 3 10 0 13M3 4.5h10M3 11.5h10" )"
    R"(fill="none" stroke="#2a5a9a" stroke-width="0.8"/>)";

constexpr const char* kPlus =
    R"(<path d="M12 8v7.5M8.25 11.75h7.5" stroke="#ffffff" stroke-width="3.6"/>)"
    R"(<path d="M12 8.5v6.5M8.75 11.75h6.5" stroke="#2e8b2e" stroke-width="2"/>)";
constexpr const char* kPencil =
    R"(<path d="M8.5 15.5l0.8-3 5-5 2.2 2.2-5 5z" fill="#e8a820" stroke="#5a3e00" )"
    R"(stroke-width="0.8"/>)";
constexpr const char* kCross =
    R"(<path d="M9 9l6 6M15 9l-6 6" stroke="#ffffff" stroke-width="3.6"/>)"
    R"(<path d="M9.5 9.5l5 5M14.5 9.5l-5 5" stroke="#c62828" stroke-width="2"/>)";

std::string Body(Art art) {
  switch (art) {
    case Art::kProgram:
      return R"(<path d="M1.5 3c2.2-1.3 4.5-1.3 6.5 0.3v11.2c-2-1.5-4.3-1.5-6.5-0.3z" )"
             R"(fill="#2a5a9a"/>)"
             R"(<path d="M14.5 3c-2.2-1.3-4.5-1.3-6.5 0.3v11.2c2-1.5 4.3-1.5 6.5-0.3z" )"
             R"(fill="#3f6fb8"/>)"
             R"(<path d="M3 5.5c1.3-0.5 2.6-0.5 3.7 0.2M3 8c1.3-0.5 2.6-0.5 3.7 0.2M9.3 5.7)"
             R"(c1.1-0.7 2.4-0.7 3.7-0.2M9.3 8.2c1.1-0.7 2.4-0.7 3.7-0.2" stroke="#ffffff" )"
             R"(stroke-width="0.8" fill="none"/>)"
             R"(<path d="M9 10h6.5v4h-1v1.8l-1.8-1.8h-3.7z" fill="#f0a030" stroke="#ffffff" )"
             R"(stroke-width="0.6"/>)";
    case Art::kMaker:
      return R"(<path d="M8 0.8l7.2 7.2-7.2 7.2-7.2-7.2z" fill="#b03a2e"/>)"
             R"(<path d="M8 4.2l3.8 3.8-3.8 3.8-3.8-3.8z" fill="#ffffff"/>)";
    case Art::kStringType:
      return R"(<rect x="1" y="2" width="14" height="12" rx="2" fill="#3f6fb8"/>)"
             R"(<path d="M3.5 5.5h9M3.5 8h9M3.5 10.5h6" stroke="#ffffff" stroke-width="1.2"/>)";
    case Art::kDialogType:
      return R"(<rect x="1.5" y="2.5" width="13" height="11" fill="#ffffff" stroke="#555555"/>)"
             R"(<rect x="1.5" y="2.5" width="13" height="3" fill="#3f6fb8"/>)"
             R"(<rect x="8.5" y="9.5" width="4.5" height="2.5" fill="#b0b0b0"/>)"
             R"(<path d="M3.5 8h5" stroke="#555555"/>)";
    case Art::kMenuType:
      return R"(<rect x="1" y="1.5" width="14" height="3.5" fill="#3f6fb8"/>)"
             R"(<rect x="3.5" y="5" width="9" height="9.5" fill="#ffffff" stroke="#555555"/>)"
             R"(<path d="M5 7.75h6M5 10.25h6M5 12.75h4" stroke="#555555"/>)";
    case Art::kVersionType:
      return R"(<circle cx="8" cy="8" r="6.8" fill="#2e8b57"/>)"
             R"(<path d="M8 6.8v5.4" stroke="#ffffff" stroke-width="2"/>)"
             R"(<circle cx="8" cy="4.3" r="1.3" fill="#ffffff"/>)";
    case Art::kFilter:
      return R"(<path d="M1.5 2.5h13l-5 6v5l-3 1.5v-6.5z" fill="#7fb5ea" stroke="#2a5a9a"/>)";
    case Art::kLanguages:
      return kGlobe;
    case Art::kAddText:
      return std::string(kDocument) + kPlus;
    case Art::kEditText:
      return std::string(kDocument) + kPencil;
    case Art::kDeleteText:
      return std::string(kDocument) + kCross;
    case Art::kAddTranslation:
      return std::string(kBubbles) + kPlus;
    case Art::kEditTranslation:
      return std::string(kBubbles) + kPencil;
    case Art::kDeleteTranslation:
      return std::string(kBubbles) + kCross;
    case Art::kCreateLanguage:
      return std::string(kGlobe) + kPlus;
    case Art::kRenameLanguage:
      return std::string(kGlobe) + kPencil;
    case Art::kDeleteLanguage:
      return std::string(kGlobe) + kCross;
  }
  return {};
}

wxBitmapBundle Theme(const wxArtID& id, int size) {
  return wxArtProvider::GetBitmapBundle(id, wxART_TOOLBAR, wxSize(size, size));
}

}  // namespace

wxBitmapBundle ArtImage(Art art, int size) {
  const std::string svg =
      R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">)" +
      Body(art) + "</svg>";
  return wxBitmapBundle::FromSVG(svg.c_str(), wxSize(size, size));
}

wxBitmapBundle CommandImage(int commandId, int size) {
  switch (commandId) {
    case kCmdOpen:
      return Theme(wxART_FILE_OPEN, size);
    case kCmdExit:
      return Theme(wxART_QUIT, size);
    case kCmdFind:
      return Theme(wxART_FIND, size);
    case kCmdFilterStrings:
      return ArtImage(Art::kStringType, size);
    case kCmdFilterMenus:
      return ArtImage(Art::kMenuType, size);
    case kCmdFilterDialogs:
      return ArtImage(Art::kDialogType, size);
    case kCmdFilterVersions:
      return ArtImage(Art::kVersionType, size);
    case kCmdFilterMessages:
      return ArtImage(Art::kStringType, size);
    case kCmdFilterForms:
      return ArtImage(Art::kDialogType, size);
    case kCmdFilterMenu:
      return ArtImage(Art::kFilter, size);
    case kCmdLanguages:
      return ArtImage(Art::kLanguages, size);
    case kCmdAddText:
      return ArtImage(Art::kAddText, size);
    case kCmdEditText:
      return ArtImage(Art::kEditText, size);
    case kCmdDeleteText:
      return ArtImage(Art::kDeleteText, size);
    case kCmdAddTranslation:
      return ArtImage(Art::kAddTranslation, size);
    case kCmdEditTranslation:
      return ArtImage(Art::kEditTranslation, size);
    case kCmdDeleteTranslation:
      return ArtImage(Art::kDeleteTranslation, size);
    case kCmdCreateLanguage:
      return ArtImage(Art::kCreateLanguage, size);
    case kCmdRenameLanguage:
      return ArtImage(Art::kRenameLanguage, size);
    case kCmdDeleteLanguage:
      return ArtImage(Art::kDeleteLanguage, size);
    default:
      return wxBitmapBundle();
  }
}

}  // namespace ulk::glossmith
