// The layout editor: one dialog of a module in one target language, drawn
// by the preview's renderer with the translated texts and the language's
// geometry. A click selects a control (Tab cycles through them), the mouse
// drags it or its handles, the arrow keys move it by one dialog unit and
// Shift with an arrow resizes it; "Ajustar al texto" and "Restablecer" work
// on the selection (on the whole dialog when the dialog is selected).
// Controls whose text does not fit are outlined in red. Nothing reaches the
// project until the caller stores Geometry() after "Aceptar".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "translator/exchange/layout_edit.h"
#include "translator/resources/dialog_template.h"
#include "translator/ui/ulk_dialog.h"

class wxDC;
class wxScrolledWindow;
class wxSpinCtrl;
class wxSpinEvent;
class wxStaticText;

namespace ulk {

class EmbeddedDialog;

class CLayoutEditorDlg : public UlkDialog {
 public:
  // `dialog` is the module's template of the dialog; `session` the edit
  // state of it in the target language.
  CLayoutEditorDlg(wxWindow* parent, DialogTemplate dialog,
                   std::unique_ptr<LayoutEditSession> session, const std::string& languageName);
  ~CLayoutEditorDlg() override;

  LayoutEditSession& Session() { return *session_; }
  // For tests and the screenshots: what a key press or a click does.
  void PressKey(int keyCode, bool shift);
  void ClickAt(int dialogUnitsX, int dialogUnitsY);
  // Re-reads the session into the window (after a change made to it).
  void Refresh();
  // The dialog's client area as drawn, which takes the mouse, and the
  // selection in its pixels (the dialog: its client area).
  wxWindow* DrawingArea() const;
  wxRect SelectionPixels() const;

 private:
  enum Drag { kNoDrag, kMoving, kResizing };

  void BuildDialog();
  DialogTemplate TranslatedTemplate() const;
  void PlaceControls();
  void PlaceMarks();
  void PaintMarks(wxDC& dc);
  void ShowFields();
  void OnField(wxSpinEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnMouseDown(wxMouseEvent& event);
  void OnMouseMove(wxMouseEvent& event);
  void OnMouseUp(wxMouseEvent& event);
  void ReleaseCapture();
  void BindMouse(wxWindow* window);
  // The event's position in the client area's pixels.
  wxPoint ClientPoint(const wxMouseEvent& event) const;
  int ToUnitsX(int pixels) const;
  int ToUnitsY(int pixels) const;
  wxRect PixelsOf(const DialogRect& rect) const;
  // Handle (column, row) of `r`, each 0 to 2: left or top, middle, right
  // or bottom; just outside the rectangle.
  static wxRect HandleRect(const wxRect& r, int column, int row);
  wxRect HandleOfSelection(const wxRect& r, int column, int row) const;

  DialogTemplate dialog_;
  std::unique_ptr<LayoutEditSession> session_;
  wxScrolledWindow* canvas_ = nullptr;
  EmbeddedDialog* embedded_ = nullptr;
  DialogRect shownDialog_;
  std::vector<std::uint32_t> notFittingItems_;
  wxStaticText* selectionName_ = nullptr;
  wxStaticText* notFitting_ = nullptr;
  wxSpinCtrl* fields_[4] = {};
  bool showingFields_ = false;
  Drag drag_ = kNoDrag;
  bool captured_ = false;
  wxPoint dragStart_;
  DialogRect rectAtStart_;
  int handleColumn_ = 2;
  int handleRow_ = 2;
};

// The editor for dialog `dialogKey` of `module` (read from its file) in
// the target language `languageName`; null when the module has no such
// dialog or language.
std::unique_ptr<CLayoutEditorDlg> MakeLayoutEditor(const Module& module,
                                                   const std::string& dialogKey,
                                                   const std::string& languageName,
                                                   wxWindow* parent);

// Opens the editor and, when the user accepts a change, stores it as one
// undo step of `history`. True when the language's geometry changed.
class UndoHistory;
bool RunLayoutEditor(Module& module, const std::string& dialogKey, const std::string& languageName,
                     UndoHistory& history, wxWindow* parent);

}  // namespace ulk
