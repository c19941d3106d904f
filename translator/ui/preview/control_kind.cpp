// Control kinds by class and style.
// Ref: Microsoft documentation, "Button Styles", "Edit Control Styles",
// "Static Control Styles", "Combo Box Styles", "Scroll Bar Control Styles",
// "Window Classes" (common controls).
#include "translator/ui/preview/control_kind.h"

#include <algorithm>
#include <cctype>

namespace ulk {
namespace {

constexpr std::uint16_t kButton = 0x80;
constexpr std::uint16_t kEdit = 0x81;
constexpr std::uint16_t kStatic = 0x82;
constexpr std::uint16_t kListBox = 0x83;
constexpr std::uint16_t kScrollBar = 0x84;
constexpr std::uint16_t kComboBox = 0x85;

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool StartsWithName(std::string_view name, std::string_view prefix) {
  return name.size() >= prefix.size() && SameName(name.substr(0, prefix.size()), prefix);
}

ControlLook ButtonLook(std::uint32_t style) {
  ControlLook look;
  look.showsText = true;
  look.pushLike = (style & 0x1000) != 0;   // BS_PUSHLIKE
  look.multiLine = (style & 0x2000) != 0;  // BS_MULTILINE
  switch (style & 0x0F) {
    case 0x1:  // BS_DEFPUSHBUTTON
    case 0xD:  // BS_DEFSPLITBUTTON
    case 0xF:  // BS_DEFCOMMANDLINK
      look.kind = ControlKind::kDefaultPushButton;
      break;
    case 0x2:  // BS_CHECKBOX
    case 0x3:  // BS_AUTOCHECKBOX
      look.kind = ControlKind::kCheckBox;
      break;
    case 0x4:  // BS_RADIOBUTTON
    case 0x9:  // BS_AUTORADIOBUTTON
      look.kind = ControlKind::kRadioButton;
      break;
    case 0x5:  // BS_3STATE
    case 0x6:  // BS_AUTO3STATE
      look.kind = ControlKind::kThreeState;
      break;
    case 0x7:  // BS_GROUPBOX
      look.kind = ControlKind::kGroupBox;
      break;
    case 0xB:  // BS_OWNERDRAW
      look.kind = ControlKind::kOwnerDrawButton;
      break;
    default:  // push, user button, push box, split button, command link
      look.kind = ControlKind::kPushButton;
      break;
  }
  const bool check = look.kind == ControlKind::kCheckBox ||
                     look.kind == ControlKind::kRadioButton ||
                     look.kind == ControlKind::kThreeState;
  // Push buttons centre their text unless told otherwise; BS_LEFT, BS_RIGHT.
  switch (style & 0x300) {
    case 0x100:
      look.align = TextAlign::kLeft;
      break;
    case 0x200:
      look.align = TextAlign::kRight;
      break;
    case 0x300:
      look.align = TextAlign::kCenter;
      break;
    default:
      look.align = check && !look.pushLike ? TextAlign::kLeft : TextAlign::kCenter;
      break;
  }
  if (look.kind == ControlKind::kGroupBox) look.align = TextAlign::kLeft;
  return look;
}

ControlLook EditLook(std::uint32_t style) {
  ControlLook look;
  look.kind = ControlKind::kEdit;
  look.showsText = true;
  look.align = (style & 0x3) == 1   ? TextAlign::kCenter
               : (style & 0x3) == 2 ? TextAlign::kRight
                                    : TextAlign::kLeft;
  look.multiLine = (style & 0x4) != 0;   // ES_MULTILINE
  look.password = (style & 0x20) != 0;   // ES_PASSWORD
  look.readOnly = (style & 0x800) != 0;  // ES_READONLY
  return look;
}

ControlLook StaticLook(std::uint32_t style) {
  ControlLook look;
  switch (style & 0x1F) {
    case 0x0:  // SS_LEFT
    case 0xB:  // SS_SIMPLE
    case 0xC:  // SS_LEFTNOWORDWRAP
      look.kind = ControlKind::kStaticText;
      break;
    case 0x1:  // SS_CENTER
      look.kind = ControlKind::kStaticText;
      look.align = TextAlign::kCenter;
      break;
    case 0x2:  // SS_RIGHT
      look.kind = ControlKind::kStaticText;
      look.align = TextAlign::kRight;
      break;
    case 0x3:  // SS_ICON
    case 0xE:  // SS_BITMAP
    case 0xF:  // SS_ENHMETAFILE
    case 0xD:  // SS_OWNERDRAW
    case 0xA:  // SS_USERITEM
      look.kind = ControlKind::kImageFrame;
      break;
    case 0x4:  // SS_BLACKRECT
    case 0x5:  // SS_GRAYRECT
    case 0x6:  // SS_WHITERECT
      look.kind = ControlKind::kRectangle;
      look.shade = static_cast<Shade>((style & 0x1F) - 0x4);
      break;
    case 0x7:  // SS_BLACKFRAME
    case 0x8:  // SS_GRAYFRAME
    case 0x9:  // SS_WHITEFRAME
      look.kind = ControlKind::kFrame;
      look.shade = static_cast<Shade>((style & 0x1F) - 0x7);
      break;
    case 0x10:  // SS_ETCHEDHORZ
      look.kind = ControlKind::kEtchedLine;
      break;
    case 0x11:  // SS_ETCHEDVERT
      look.kind = ControlKind::kEtchedLine;
      look.vertical = true;
      break;
    case 0x12:  // SS_ETCHEDFRAME
      look.kind = ControlKind::kEtchedFrame;
      break;
    default:
      look.kind = ControlKind::kStaticText;
      break;
  }
  look.showsText = look.kind == ControlKind::kStaticText;
  return look;
}

ControlLook ComboLook(std::uint32_t style) {
  ControlLook look;
  look.showsText = true;
  switch (style & 0x3) {
    case 0x1:
      look.kind = ControlKind::kComboSimple;
      break;
    case 0x3:
      look.kind = ControlKind::kComboDropList;
      break;
    default:
      look.kind = ControlKind::kComboDropDown;
      break;
  }
  return look;
}

ControlLook ScrollBarLook(std::uint32_t style) {
  ControlLook look;
  // SBS_SIZEBOX, SBS_SIZEGRIP
  look.kind = (style & 0x18) ? ControlKind::kSizeBox : ControlKind::kScrollBar;
  look.vertical = (style & 0x1) != 0;  // SBS_VERT
  return look;
}

ControlLook Simple(ControlKind kind, bool showsText = false) {
  ControlLook look;
  look.kind = kind;
  look.showsText = showsText;
  return look;
}

// The common controls, by the class names their library registers.
ControlLook CommonControlLook(std::string_view name, std::uint32_t style) {
  if (SameName(name, "SysListView32")) return Simple(ControlKind::kListView);
  if (SameName(name, "SysTreeView32")) return Simple(ControlKind::kTreeView);
  if (SameName(name, "msctls_progress32")) {
    ControlLook look = Simple(ControlKind::kProgress);
    look.vertical = (style & 0x4) != 0;  // PBS_VERTICAL
    return look;
  }
  if (SameName(name, "msctls_trackbar32")) {
    ControlLook look = Simple(ControlKind::kTrackbar);
    look.vertical = (style & 0x2) != 0;  // TBS_VERT
    return look;
  }
  if (SameName(name, "msctls_updown32")) {
    ControlLook look = Simple(ControlKind::kUpDown);
    look.vertical = (style & 0x40) == 0;  // UDS_HORZ
    return look;
  }
  if (SameName(name, "SysTabControl32")) return Simple(ControlKind::kTab);
  if (SameName(name, "SysDateTimePick32")) return Simple(ControlKind::kDateTime);
  if (SameName(name, "SysMonthCal32")) return Simple(ControlKind::kMonthCalendar);
  if (StartsWithName(name, "RichEdit") || SameName(name, "RICHEDIT50W")) {
    ControlLook look = EditLook(style);
    look.kind = ControlKind::kRichEdit;
    return look;
  }
  if (SameName(name, "SysLink")) return Simple(ControlKind::kLink, true);
  if (SameName(name, "msctls_hotkey32")) return Simple(ControlKind::kHotKey);
  if (SameName(name, "SysIPAddress32")) return Simple(ControlKind::kIpAddress);
  if (SameName(name, "SysHeader32")) return Simple(ControlKind::kHeader);
  if (SameName(name, "SysAnimate32")) return Simple(ControlKind::kAnimation);
  if (SameName(name, "msctls_statusbar32")) return Simple(ControlKind::kStatusBar, true);
  if (SameName(name, "ToolbarWindow32") || SameName(name, "ReBarWindow32")) {
    return Simple(ControlKind::kToolBar);
  }
  if (SameName(name, "ComboBoxEx32")) return ComboLook(style);
  return Simple(ControlKind::kUnknown);
}

}  // namespace

std::uint16_t PredefinedClassOf(const TemplateName& windowClass) {
  if (windowClass.isOrdinal) {
    return windowClass.ordinal >= kButton && windowClass.ordinal <= kComboBox ? windowClass.ordinal
                                                                              : 0;
  }
  static constexpr std::pair<std::string_view, std::uint16_t> kNames[] = {
      {"Button", kButton},   {"Edit", kEdit},           {"Static", kStatic},
      {"ListBox", kListBox}, {"ScrollBar", kScrollBar}, {"ComboBox", kComboBox},
  };
  for (const auto& [name, ordinal] : kNames) {
    if (SameName(windowClass.text, name)) return ordinal;
  }
  return 0;
}

std::string LinkText(std::string_view markup) {
  std::string text;
  std::size_t at = 0;
  while (at < markup.size()) {
    const std::size_t open = markup.find('<', at);
    if (open == std::string_view::npos) break;
    const std::size_t close = markup.find('>', open);
    const std::string_view tag = close == std::string_view::npos
                                     ? std::string_view()
                                     : markup.substr(open + 1, close - open - 1);
    const bool isLinkTag = !tag.empty() &&
                           (tag == "/a" || tag == "/A" || tag[0] == 'a' || tag[0] == 'A') &&
                           (tag.size() == 1 || tag[0] == '/' || tag[1] == ' ');
    text.append(markup.substr(at, open - at));
    if (isLinkTag) {
      at = close + 1;
    } else {
      text.push_back('<');
      at = open + 1;
    }
  }
  text.append(markup.substr(std::min(at, markup.size())));
  return text;
}

ControlLook ClassifyControl(const DialogControl& control) {
  const std::uint32_t style = control.style;
  switch (PredefinedClassOf(control.windowClass)) {
    case kButton:
      return ButtonLook(style);
    case kEdit:
      return EditLook(style);
    case kStatic:
      return StaticLook(style);
    case kListBox:
      return Simple(ControlKind::kListBox);
    case kScrollBar:
      return ScrollBarLook(style);
    case kComboBox:
      return ComboLook(style);
    default:
      break;
  }
  return control.windowClass.isOrdinal ? Simple(ControlKind::kUnknown)
                                       : CommonControlLook(control.windowClass.text, style);
}

}  // namespace ulk
