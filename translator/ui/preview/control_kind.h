// What a dialog control looks like, told from its class and styles: the
// predefined classes by ordinal or name, the common controls by name, and
// anything else drawn as a labelled frame. No toolkit here: the renderer
// turns each kind into a window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "translator/resources/dialog_template.h"

namespace ulk {

enum class ControlKind {
  kPushButton,
  kDefaultPushButton,
  kOwnerDrawButton,  // drawn as a plain push button
  kCheckBox,
  kThreeState,
  kRadioButton,
  kGroupBox,
  kEdit,
  kStaticText,
  kImageFrame,  // an icon or bitmap, drawn as an empty frame
  kEtchedLine,  // horizontal or vertical, by `vertical`
  kEtchedFrame,
  kRectangle,  // filled with `shade`
  kFrame,      // outlined with `shade`
  kListBox,
  kComboSimple,
  kComboDropDown,
  kComboDropList,
  kScrollBar,  // horizontal or vertical, by `vertical`
  kSizeBox,
  kListView,
  kTreeView,
  kProgress,
  kTrackbar,
  kUpDown,
  kTab,
  kDateTime,
  kMonthCalendar,
  kRichEdit,
  kLink,
  kHotKey,
  kIpAddress,
  kHeader,
  kAnimation,
  kStatusBar,
  kToolBar,
  kUnknown,  // a labelled frame showing the class name
};

enum class TextAlign { kLeft, kCenter, kRight };
enum class Shade { kBlack, kGray, kWhite };

struct ControlLook {
  ControlKind kind = ControlKind::kUnknown;
  TextAlign align = TextAlign::kLeft;
  Shade shade = Shade::kBlack;
  bool vertical = false;
  bool multiLine = false;
  bool password = false;
  bool readOnly = false;
  bool pushLike = false;   // a check box or radio button drawn as a button
  bool showsText = false;  // whether the control shows its title
};

// Window styles every control may carry.
enum WindowStyle : std::uint32_t {
  kWsVisible = 0x10000000,
  kWsDisabled = 0x08000000,
  kWsBorder = 0x00800000,
  kWsVScroll = 0x00200000,
  kWsHScroll = 0x00100000,
  kWsExClientEdge = 0x00000200,
  kWsExStaticEdge = 0x00020000,
};

ControlLook ClassifyControl(const DialogControl& control);

// The text a link control shows: its markup ("<a href=...>", "</a>") dropped.
std::string LinkText(std::string_view markup);

// The predefined class of a class field: its ordinal (0x80 Button ... 0x85
// ComboBox), also when given by name; 0 for any other class.
std::uint16_t PredefinedClassOf(const TemplateName& windowClass);

}  // namespace ulk
