// What the preview of one dialog or menu needs before anything is drawn:
// the resource an entry key names, the module file opened as data, the
// template read from it, and, when that fails, why (failure kind, message
// and detail text). No toolkit here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/pe_image.h"
#include "translator/model/messages.h"
#include "translator/resources/dialog_template.h"
#include "translator/resources/menu_template.h"
#include "translator/resources/resource_kind.h"

namespace ulk {

// Why a preview was not shown; 0 when it was.
enum PreviewFailureKind : int {
  kPreviewOk = 0,
  kPreviewBadResourceKind = 1,  // neither a dialog nor a menu key
  kPreviewNotDialog = 2,
  kPreviewNotMenu = 3,
  kPreviewCannotLoadFile = 4,
  kPreviewCannotLoadDialog = 5,
  kPreviewCannotLoadMenu = 6,
};

// The windows of the preview, with the ids their templates had.
inline constexpr int kDialogHostTemplateId = 142;
inline constexpr int kMenuHostTemplateId = 143;
inline constexpr const char* kMenuHostCaption = "Menú";

// The message of a failure kind (5026 ... 5031); 0 for kPreviewOk.
int PreviewFailureMessageId(int failureKind);

// The outcome of one preview request.
struct ResourcePreview {
  int failureKind = kPreviewOk;
  std::string failureText;  // kinds 4 to 6: the system error text

  bool Failed() const { return failureKind != kPreviewOk; }
  // 5032, a line break, the kind's message and, when there is a detail
  // text, a line break and the detail text.
  std::string Message() const;
};

// The resource an entry key names: the kind prefix, and from the sixth
// character the name, a decimal number when the fourth is "N"; anything
// from the first blank (the item number) is dropped first.
struct PreviewKey {
  ResourceKind kind = ResourceKind::kUnknown;
  ResourceId type;  // RT_MENU, RT_DIALOG, RT_STRING or RT_VERSION; 0 unknown
  ResourceId name;
  bool valid = false;  // false: the name part is missing or no number
};
PreviewKey ParsePreviewKey(std::string_view key);

// The key both preview commands use: the selected row's, else, when the
// list has rows, row 0's when it names a menu or a dialog; none otherwise.
std::optional<std::string> ChoosePreviewKey(const std::optional<std::string>& selectedKey,
                                            const std::optional<std::string>& firstRowKey);

// A dialog or a menu read from a module, ready to draw.
struct PreviewContent {
  ResourceKind kind = ResourceKind::kUnknown;
  std::string modulePath;
  DialogTemplate dialog;
  // The dialog's template was found but cannot be made into a dialog (a
  // damaged template): the dialog host reports 5025 and closes.
  bool dialogDamaged = false;
  std::string damage;  // where the template is damaged, for the log
  MenuTemplate menu;   // the menu resource, or the dialog's own menu
  bool hasMenu = false;
};

// ShowResource's loading steps: "DL_" keys read the dialog, "MN_" keys the
// menu; any other key fails with kind 1. The module file is opened as data
// (kind 4), the resource found and read (kinds 5 and 6).
ResourcePreview LoadResourcePreview(const std::string& path, std::string_view key,
                                    PreviewContent& out);
// The dialog alone (kind 2 for a key that is not "DL_") and the menu alone
// (kind 3 for a key that is not "MN_").
ResourcePreview LoadDialogPreview(const std::string& path, std::string_view key,
                                  PreviewContent& out);
ResourcePreview LoadMenuPreview(const std::string& path, std::string_view key, PreviewContent& out);

}  // namespace ulk
