// Our own drawings, as SVG kept in the program.
#include "translator/ui/ulk_art.h"

#include <iterator>
#include <string>

#include <wx/artprov.h>
#include <wx/imaglist.h>

#include "translator/model/project.h"
#include "translator/ui/command_ids.h"

namespace ulk {
namespace {

// Pieces of 16x16 drawings.
constexpr const char* kFolder = R"(<path d="M1 4h5l1 1h8v9H1z" fill="#e8b84a" stroke="#9a7420"/>)";
constexpr const char* kFolderOpen =
    R"(<path d="M1 4h5l1 1h6v2H4l-3 7z" fill="#d9a636" stroke="#9a7420"/>)"
    R"(<path d="M4 7h11l-3 7H1z" fill="#f3cd6b" stroke="#9a7420"/>)";
constexpr const char* kModule =
    R"(<rect x="2" y="2" width="12" height="12" fill="#ffffff" stroke="#3b5f9e"/>)"
    R"(<rect x="2" y="2" width="12" height="3" fill="#3b5f9e"/>)"
    R"(<rect x="4" y="7" width="3" height="2" fill="#7a9bd1"/><rect x="9" y="7" width="3" height="2" fill="#7a9bd1"/>)"
    R"(<rect x="4" y="10" width="8" height="2" fill="#7a9bd1"/>)";
constexpr const char* kStrings =
    R"(<rect x="2" y="1.5" width="12" height="13" fill="#ffffff" stroke="#6b6b6b"/>)"
    R"(<path d="M4 4.5h8M4 7h8M4 9.5h8M4 12h5" stroke="#2f6fba" stroke-width="1.2"/>)";
constexpr const char* kDialog =
    R"(<rect x="1.5" y="2.5" width="13" height="11" fill="#f4f4f4" stroke="#4a6fa5"/>)"
    R"(<rect x="1.5" y="2.5" width="13" height="2.5" fill="#4a6fa5"/>)"
    R"(<rect x="8" y="10" width="5" height="2" fill="#b0c4de" stroke="#4a6fa5" stroke-width="0.5"/>)";
constexpr const char* kMenu =
    R"(<rect x="1" y="1.5" width="14" height="3" fill="#4a6fa5"/>)"
    R"(<rect x="3.5" y="4.5" width="9" height="10" fill="#ffffff" stroke="#4a6fa5"/>)"
    R"(<path d="M5 7h6M5 9.5h6M5 12h6" stroke="#555555"/>)";
constexpr const char* kVersion =
    R"(<path d="M2 2h7l5 5-7 7-5-5z" fill="#f6e3a1" stroke="#a4862d"/>)"
    R"(<circle cx="5.5" cy="5.5" r="1.3" fill="#a4862d"/>)";
// A message table: a speech balloon with lines of text.
constexpr const char* kMessages =
    R"(<path d="M1.5 2.5h13v8.5H7l-3.5 3v-3h-2z" fill="#ffffff" stroke="#6b6b6b"/>)"
    R"(<path d="M4 5.5h8M4 8h6" stroke="#c0651f" stroke-width="1.2"/>)";
// A form: a window with an edit box and two buttons.
constexpr const char* kForm =
    R"(<rect x="1.5" y="2.5" width="13" height="11" fill="#f4f4f4" stroke="#8a5a9e"/>)"
    R"(<rect x="1.5" y="2.5" width="13" height="2.5" fill="#8a5a9e"/>)"
    R"(<rect x="3.5" y="6.5" width="9" height="2" fill="#ffffff" stroke="#8a5a9e" stroke-width="0.5"/>)"
    R"(<rect x="4" y="10.5" width="3.5" height="1.8" fill="#d6c4e0"/><rect x="8.5" y="10.5" width="3.5" height="1.8" fill="#d6c4e0"/>)";
constexpr const char* kSortUp = R"(<path d="M8 4l5 7H3z" fill="#555555"/>)";
constexpr const char* kSortDown = R"(<path d="M3 5h10l-5 7z" fill="#555555"/>)";
constexpr const char* kPlus =
    R"(<circle cx="12" cy="12" r="3.8" fill="#2e9d3a"/><path d="M12 9.6v4.8M9.6 12h4.8" stroke="#ffffff" stroke-width="1.6"/>)";
constexpr const char* kCross =
    R"(<circle cx="12" cy="12" r="3.8" fill="#c9302c"/><path d="M10.3 10.3l3.4 3.4M13.7 10.3l-3.4 3.4" stroke="#ffffff" stroke-width="1.5"/>)";
constexpr const char* kGear =
    R"(<circle cx="12" cy="12" r="3.6" fill="#5577aa" stroke="#2c4570"/><circle cx="12" cy="12" r="1.3" fill="#ffffff"/>)";
constexpr const char* kGo =
    R"(<path d="M8.5 10h3.5V7.5l4 4.5-4 4.5V14H8.5z" fill="#e07b1a" stroke="#9c5010" stroke-width="0.6"/>)";
constexpr const char* kBook =
    R"(<path d="M2 2.5h9.5a1.5 1.5 0 0 1 1.5 1.5v10H3.5A1.5 1.5 0 0 1 2 12.5z" fill="#8c2f39" stroke="#5e1d25"/>)"
    R"(<path d="M3.5 11.5H13" stroke="#f2e6d0" stroke-width="1.2"/><path d="M5 5h5" stroke="#f2e6d0"/>)";
constexpr const char* kGlobe =
    R"(<circle cx="7" cy="7" r="5.5" fill="#8fc3ea" stroke="#2d6b9a"/>)"
    R"(<path d="M1.5 7h11M7 1.5c-3 3-3 8 0 11M7 1.5c3 3 3 8 0 11" stroke="#2d6b9a" fill="none"/>)";
constexpr const char* kLens =
    R"(<circle cx="6" cy="6" r="4" fill="#e8f1fb" stroke="#444444" stroke-width="1.5"/>)"
    R"(<path d="M9 9l5 5" stroke="#444444" stroke-width="2"/>)";
constexpr const char* kInfo =
    R"(<circle cx="8" cy="8" r="7" fill="#2f6fba"/><rect x="7" y="7" width="2" height="5.5" fill="#ffffff"/>)"
    R"(<circle cx="8" cy="4.5" r="1.2" fill="#ffffff"/>)";
constexpr const char* kEye =
    R"(<path d="M6 11.5c1.5-2.4 3.3-3.5 5-3.5s3.5 1.1 5 3.5c-1.5 2.4-3.3 3.5-5 3.5s-3.5-1.1-5-3.5z" fill="#ffffff" stroke="#333333" stroke-width="0.8"/>)"
    R"(<circle cx="11" cy="11.5" r="1.7" fill="#333333"/>)";
constexpr const char* kFlag =
    R"(<path d="M9 8.5v7.5" stroke="#333333"/><path d="M9.5 8.5h6l-1.5 2 1.5 2h-6z" fill="#d9342b"/>)";

// The review marks of the list's cells, whole and as a badge on a note.
constexpr const char* kToReview =
    R"(<circle cx="8" cy="8" r="6" fill="#e8891c" stroke="#a85a08"/>)"
    R"(<rect x="7" y="4" width="2" height="5.2" fill="#ffffff"/><circle cx="8" cy="11.3" r="1.1" fill="#ffffff"/>)";
constexpr const char* kReviewed =
    R"(<circle cx="8" cy="8" r="6" fill="#2e9d3a" stroke="#1d6b26"/>)"
    R"(<path d="M5 8.3l2.1 2.1 4-4.4" stroke="#ffffff" stroke-width="1.8" fill="none"/>)";
constexpr const char* kNote =
    R"(<path d="M2.5 1.5h7.5l3 3v10h-10.5z" fill="#fff3a6" stroke="#a88a1c"/>)"
    R"(<path d="M10 1.5v3h3" fill="#e6d27a" stroke="#a88a1c"/>)"
    R"(<path d="M4.5 6.5h6M4.5 9h6M4.5 11.5h4" stroke="#8a7420"/>)";
constexpr const char* kToReviewBadge =
    R"(<circle cx="11.5" cy="11.5" r="4.2" fill="#e8891c" stroke="#a85a08"/>)"
    R"(<rect x="10.8" y="8.8" width="1.4" height="3.4" fill="#ffffff"/><circle cx="11.5" cy="13.6" r="0.8" fill="#ffffff"/>)";
constexpr const char* kReviewedBadge =
    R"(<circle cx="11.5" cy="11.5" r="4.2" fill="#2e9d3a" stroke="#1d6b26"/>)"
    R"(<path d="M9.4 11.6l1.5 1.5 2.8-3" stroke="#ffffff" stroke-width="1.4" fill="none"/>)";

wxBitmapBundle Svg(const std::string& body, int size = 16) {
  const std::string svg =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\" viewBox=\"0 0 16 "
      "16\">" +
      body + "</svg>";
  return wxBitmapBundle::FromSVG(svg.c_str(), wxSize(size, size));
}

wxBitmapBundle Art(const wxArtID& id) {
  return wxArtProvider::GetBitmapBundle(id, wxART_TOOLBAR, wxSize(16, 16));
}

}  // namespace

wxBitmapBundle CommandImage(int id) {
  using std::string;
  switch (id) {
    case kIdFileNew:
      return Art(wxART_NEW);
    case kIdFileOpen:
      return Art(wxART_FILE_OPEN);
    case kIdFileSave:
      return Art(wxART_FILE_SAVE);
    case kIdFileSaveAs:
      return Art(wxART_FILE_SAVE_AS);
    case kIdEditCut:
      return Art(wxART_CUT);
    case kIdEditCopy:
      return Art(wxART_COPY);
    case kIdEditPaste:
      return Art(wxART_PASTE);
    case kIdEditUndo:
      return Art(wxART_UNDO);
    case kIdEditRedo:
      return Art(wxART_REDO);
    case kIdEditFind:
      return Art(wxART_FIND);
    case kIdFindNext:
      return Svg(string(kLens) + kGo);
    case kIdProjectProperties:
      return Svg(string(kFolder) + kGear);
    case kIdAddModules:
      return Svg(string(kModule) + kPlus);
    case kIdDeleteModule:
      return Svg(string(kModule) + kCross);
    case kIdModuleProperties:
      return Svg(string(kModule) + kGear);
    case kIdProperties:
      return Svg(kGear);
    case kIdGetAllResources:
    case kIdGetModuleResources:
    case kIdGetResources:
      return Svg(string(kStrings) + kGo);
    case kIdGenerateModule:
      return Svg(string(kModule) + kGo);
    case kIdGenerateProject:
      return Svg(string(kFolder) + kGo);
    case kIdGenerate:
      return Svg(kGo);
    case kIdTranslateResource:
      return Svg(string(kStrings) + kFlag);
    case kIdDeleteTranslation:
      return Svg(string(kStrings) + kCross);
    case kIdShowOriginal:
      return Svg(string(kDialog) + kEye);
    case kIdShowTranslated:
      return Svg(string(kDialog) + kFlag);
    case kIdAddSelected:
      return Svg(string(kBook) + kPlus);
    case kIdTranslateSelected:
      return Svg(string(kBook) + kFlag);
    case kIdDictionaryAdmin:
    case kIdOpenDictionary:
      return Svg(kBook);
    case kIdUserLanguages:
    case kIdShowIsoLanguages:
      return Svg(kGlobe);
    case kIdAddLanguage:
    case kIdNewLanguage:
      return Svg(string(kGlobe) + kPlus);
    case kIdDeleteLanguage:
    case kIdDeleteUserLanguage:
      return Svg(string(kGlobe) + kCross);
    case kIdLanguageProperties:
      return Svg(string(kGlobe) + kGear);
    case kIdChangePath:
      return Svg(string(kFolderOpen) + kGo);
    case kIdDefaultOutputFile:
      return Svg(string(kModule) + kFlag);
    case kIdSelectOutputFile:
      return Svg(string(kFolder) + kFlag);
    case kIdAppAbout:
      return Svg(kInfo);
    case kIdMarkReviewed:
      return Svg(kReviewed);
    case kIdMarkToReview:
      return Svg(kToReview);
    default:
      return wxBitmapBundle();
  }
}

wxImageList* CreateTreeImages() {
  const std::string images[] = {kFolder,
                                kFolderOpen,
                                kModule,
                                kModule,
                                kModule,
                                kStrings,
                                kDialog,
                                kMenu,
                                kVersion,
                                kSortDown,
                                kSortUp,
                                kModule,
                                kToReview,
                                kReviewed,
                                kNote,
                                std::string(kNote) + kToReviewBadge,
                                std::string(kNote) + kReviewedBadge,
                                kMessages,
                                kForm};
  auto* list = new wxImageList(16, 16, true, static_cast<int>(std::size(images)));
  for (const std::string& body : images) list->Add(Svg(body).GetBitmap(wxSize(16, 16)));
  return list;
}

int CellMarkImage(std::int32_t review, bool hasNote) {
  switch (review) {
    case kReviewNeeded:
      return hasNote ? kImageNoteToReview : kImageToReview;
    case kReviewDone:
      return hasNote ? kImageNoteReviewed : kImageReviewed;
    default:
      return hasNote ? kImageNote : -1;
  }
}

wxBitmapBundle ProgramIcon() {
  return Svg(std::string(kGlobe) + kFlag, 32);
}

wxBitmapBundle ModuleIcon() {
  return Svg(kModule);
}

wxBitmapBundle MakerIcon() {
  return Svg(
      R"(<rect x="1" y="1" width="14" height="14" rx="2" fill="#2c4570"/>)"
      R"(<path d="M5 3.5v9M5 8l5-4.5M6.5 7l4 5.5" stroke="#ffffff" stroke-width="1.8" fill="none"/>)",
      32);
}

}  // namespace ulk
