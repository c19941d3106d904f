// The text dialog: a text (several lines) and its type, for a new text, a
// new translation or a change of either.
#pragma once

#include "glossmith/browser/browser_prompter.h"
#include "uikit/toolkit_dialog.h"

class wxBitmapComboBox;
class wxTextCtrl;

namespace ulk::glossmith {

class CTextDlg : public ToolkitDialog {
 public:
  // Shows `fields`. OK refuses a type of more than two characters (501).
  CTextDlg(wxWindow* parent, const TextDialogFields& fields);

  // What the dialog holds: the text as edited and the chosen type.
  TextDialogFields Fields() const;

  wxTextCtrl* textEdit() const { return text_; }
  wxBitmapComboBox* typePicker() const { return type_; }

 private:
  void OnOk();

  TextDialogFields fields_;
  wxTextCtrl* text_ = nullptr;
  wxBitmapComboBox* type_ = nullptr;
};

}  // namespace ulk::glossmith
