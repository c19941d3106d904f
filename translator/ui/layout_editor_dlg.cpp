// The layout editor's window.
#include "translator/ui/layout_editor_dlg.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/panel.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include "platform/pe_image.h"
#include "platform/text.h"
#include "translator/model/text_escape.h"
#include "translator/model/undo_history.h"
#include "translator/resources/resource_kind.h"
#include "translator/ui/dialog_ids.h"
#include "translator/ui/preview/dialog_renderer.h"
#include "translator/ui/preview/preview_controls.h"
#include "uikit/message_box.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

constexpr const char* kCaption = "Editar disposición";
constexpr int kHandle = 5;  // pixels
constexpr int kCanvasMargin = 12;
constexpr const char* kFieldNames[4] = {"&x:", "&y:", "cx (a&ncho):", "cy (a&lto):"};

// The dialog's template in the module file, in the language the reader takes.
bool ReadModuleDialog(const std::string& path, std::string_view dialogKey, DialogTemplate& out) {
  ModuleImage image;
  if (image.Open(path) != 0) return false;
  // "DL_N_100" names dialog 100, "DL_S_NAME" the dialog named NAME.
  if (dialogKey.size() < 6) return false;
  const std::string_view name = dialogKey.substr(5);
  ResourceId id;
  if (dialogKey[3] == 'N') {
    std::uint32_t number = 0;
    for (const char c : name) {
      if (c < '0' || c > '9' || number > 0xFFFF) return false;
      number = number * 10 + static_cast<std::uint32_t>(c - '0');
    }
    id = ResourceId::Number(number);
  } else {
    id = ResourceId::Name(name);
  }
  for (const auto& type : image.Resources()) {
    if (type.id != ResourceId::Number(kRtDialog)) continue;
    for (const auto& entry : type.names) {
      const bool same = id.named ? entry.id.named && ToUpperUtf8(entry.id.NameUtf8()) ==
                                                         ToUpperUtf8(id.NameUtf8())
                                 : !entry.id.named && (entry.id.number & 0xFFFF) == id.number;
      if (!same) continue;
      const ResourceData* data = image.Find(type.id, entry.id);
      return data && ReadDialogTemplate(data->bytes, out).ok();
    }
  }
  return false;
}

}  // namespace

CLayoutEditorDlg::CLayoutEditorDlg(wxWindow* parent, DialogTemplate dialog,
                                   std::unique_ptr<LayoutEditSession> session,
                                   const std::string& languageName)
    : UlkDialog(parent, kDlgLayoutEditor,
                std::string(kCaption) + " - " + session->DialogKey() + " (" + languageName + ")"),
      dialog_(std::move(dialog)),
      session_(std::move(session)) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  canvas_ = new wxScrolledWindow(this, kCtlLayoutCanvas, wxDefaultPosition, wxSize(560, 420),
                                 wxBORDER_SUNKEN | wxHSCROLL | wxVSCROLL | wxWANTS_CHARS);
  canvas_->SetScrollRate(10, 10);
  canvas_->SetBackgroundColour(wxColour(128, 128, 128));
  row->Add(canvas_, 1, wxEXPAND | wxALL, 10);

  auto* side = new wxBoxSizer(wxVERTICAL);
  selectionName_ = new wxStaticText(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(200, -1));
  side->Add(selectionName_, 0, wxEXPAND | wxBOTTOM, 8);
  auto* grid = new wxFlexGridSizer(2, 6, 6);
  for (int i = 0; i < 4; ++i) {
    grid->Add(new wxStaticText(this, wxID_ANY, ToWx(kFieldNames[i])), 0, wxALIGN_CENTER_VERTICAL);
    fields_[i] = new wxSpinCtrl(this, kCtlLayoutX + i, wxString(), wxDefaultPosition, wxDefaultSize,
                                wxSP_ARROW_KEYS, kMinDialogUnit, kMaxDialogUnit);
    fields_[i]->Bind(wxEVT_SPINCTRL, &CLayoutEditorDlg::OnField, this);
    grid->Add(fields_[i], 0, wxEXPAND);
  }
  side->Add(grid, 0, wxEXPAND | wxBOTTOM, 10);
  auto* fit = new wxButton(this, kCtlLayoutFit, ToWx("&Ajustar al texto"));
  auto* reset = new wxButton(this, kCtlLayoutReset, ToWx("&Restablecer"));
  side->Add(fit, 0, wxEXPAND | wxBOTTOM, 6);
  side->Add(reset, 0, wxEXPAND | wxBOTTOM, 10);
  notFitting_ = new wxStaticText(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(200, 60));
  side->Add(notFitting_, 0, wxEXPAND);
  side->Add(new wxStaticText(this, wxID_ANY,
                             ToWx("Flechas: mover una unidad\nMayús+flechas: cambiar el tamaño\n"
                                  "Tab: siguiente control")),
            0, wxEXPAND | wxTOP, 10);
  row->Add(side, 0, wxEXPAND | wxTOP | wxRIGHT | wxBOTTOM, 10);
  top->Add(row, 1, wxEXPAND);
  top->Add(MakeButtons(), 0, wxEXPAND | wxALL, 10);
  SetSizer(top);

  fit->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    session_->Fit();
    Refresh();
  });
  reset->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    session_->Reset();
    Refresh();
  });
  Bind(wxEVT_CHAR_HOOK, &CLayoutEditorDlg::OnCharHook, this);
  BindMouse(canvas_);
  canvas_->Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) {
    captured_ = false;
    drag_ = kNoDrag;
  });
  Refresh();
  FitToContents();
  canvas_->SetFocus();
}

CLayoutEditorDlg::~CLayoutEditorDlg() {
  ReleaseCapture();
}

DialogTemplate CLayoutEditorDlg::TranslatedTemplate() const {
  DialogTemplate shown = dialog_;
  const LaidOutDialog& layout = session_->Layout();
  shown.x = layout.dialog.x;
  shown.y = layout.dialog.y;
  shown.cx = layout.dialog.cx;
  shown.cy = layout.dialog.cy;
  for (std::size_t i = 0; i < shown.controls.size() && i < layout.controls.size(); ++i) {
    DialogControl& control = shown.controls[i];
    control.x = layout.controls[i].x;
    control.y = layout.controls[i].y;
    control.cx = layout.controls[i].cx;
    control.cy = layout.controls[i].cy;
    const std::string* text = session_->TranslationOf(static_cast<std::uint32_t>(i + 1));
    if (text && !control.title.isOrdinal) control.title.text = UnescapeText(*text);
  }
  if (const std::string* caption = session_->TranslationOf(kDialogCaptionItem)) {
    shown.caption = UnescapeText(*caption);
  }
  return shown;
}

void CLayoutEditorDlg::BuildDialog() {
  if (embedded_) embedded_->Destroy();
  embedded_ = new EmbeddedDialog(canvas_, TranslatedTemplate(), nullptr);
  embedded_->Move(kCanvasMargin, kCanvasMargin);
  shownDialog_ = session_->Layout().dialog;
  const wxSize size = embedded_->DialogSize();
  canvas_->SetVirtualSize(size.x + 2 * kCanvasMargin, size.y + 2 * kCanvasMargin);
  BindMouse(embedded_);
  wxWindow* client = embedded_->ClientArea();
  BindMouse(client);
  client->Bind(wxEVT_PAINT, [this, client](wxPaintEvent&) {
    wxPaintDC dc(client);
    dc.SetBackground(wxBrush(client->GetBackgroundColour()));
    dc.Clear();
    PaintMarks(dc);
  });
  for (std::size_t i = 0; i < session_->ControlCount(); ++i) {
    if (wxWindow* window = embedded_->ControlWindow(i)) {
      BindMouse(window);
      // The controls are pictures here: the keys belong to the editor.
      window->SetCanFocus(false);
      for (wxWindow* child : window->GetChildren()) BindMouse(child);
    }
  }
}

void CLayoutEditorDlg::BindMouse(wxWindow* window) {
  window->Bind(wxEVT_LEFT_DOWN, &CLayoutEditorDlg::OnMouseDown, this);
  window->Bind(wxEVT_LEFT_DCLICK, &CLayoutEditorDlg::OnMouseDown, this);
  window->Bind(wxEVT_MOTION, &CLayoutEditorDlg::OnMouseMove, this);
  window->Bind(wxEVT_LEFT_UP, &CLayoutEditorDlg::OnMouseUp, this);
}

wxRect CLayoutEditorDlg::PixelsOf(const DialogRect& rect) const {
  const PixelRect pixels =
      DialogUnitsToPixels(rect.x, rect.y, rect.cx, rect.cy, embedded_->Layout().units);
  return wxRect(pixels.x, pixels.y, pixels.width, pixels.height);
}

int CLayoutEditorDlg::ToUnitsX(int pixels) const {
  return MulDivRounded(pixels, 4, std::max(1, embedded_->Layout().units.x));
}

int CLayoutEditorDlg::ToUnitsY(int pixels) const {
  return MulDivRounded(pixels, 8, std::max(1, embedded_->Layout().units.y));
}

void CLayoutEditorDlg::PlaceControls() {
  // Only the controls move: the renderer's own layout (combo boxes shown
  // closed, and so on) for the template as it now stands.
  const DialogLayout layout = LayoutDialog(TranslatedTemplate(), embedded_->Layout().units);
  for (std::size_t i = 0; i < layout.controls.size(); ++i) {
    wxWindow* window = embedded_->ControlWindow(i);
    if (!window) continue;
    const ControlLayout& control = layout.controls[i];
    const int height = control.closedHeight > 0 ? control.closedHeight : control.rect.height;
    window->SetSize(ScreenCoordinate(control.rect.x), ScreenCoordinate(control.rect.y),
                    ScreenLength(control.rect.width), ScreenLength(height));
  }
}

void CLayoutEditorDlg::PlaceMarks() {
  embedded_->ClientArea()->Refresh();
}

// The outlines and handles lie just outside the controls, on the client
// area itself: painted there, under no control.
void CLayoutEditorDlg::PaintMarks(wxDC& dc) {
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.SetPen(wxPen(*wxRED, 1));
  for (const std::uint32_t item : notFittingItems_) {
    const wxRect r = PixelsOf(session_->RectOfItem(item));
    dc.DrawRectangle(r.x - 1, r.y - 1, r.width + 2, r.height + 2);
  }
  const wxRect r = SelectionPixels();
  dc.SetBrush(wxBrush(wxColour(0, 0, 160)));
  dc.SetPen(*wxTRANSPARENT_PEN);
  for (int column = 0; column < 3; ++column) {
    for (int row = 0; row < 3; ++row) {
      if (column == 1 && row == 1) continue;
      // Of the dialog only the handles of its right and bottom.
      if (session_->Selection() == 0 && (column == 0 || row == 0)) continue;
      dc.DrawRectangle(HandleOfSelection(r, column, row));
    }
  }
}

void CLayoutEditorDlg::ShowFields() {
  const std::uint32_t selected = session_->Selection();
  const DialogRect& rect = session_->RectOfItem(selected);
  showingFields_ = true;
  const int values[4] = {rect.x, rect.y, rect.cx, rect.cy};
  for (int i = 0; i < 4; ++i) fields_[i]->SetValue(values[i]);
  // The dialog keeps the module's position: only its size is edited.
  fields_[0]->Enable(selected != 0);
  fields_[1]->Enable(selected != 0);
  showingFields_ = false;
  selectionName_->SetLabel(ToWx(selected == 0 ? "El diálogo " + session_->DialogKey()
                                              : MakeEntryKey(session_->DialogKey(), selected)));
  notFitting_->SetLabel(notFittingItems_.empty() ? ToWx("Todos los textos caben.")
                                                 : ToWx("Textos que no caben: " +
                                                        std::to_string(notFittingItems_.size())));
}

void CLayoutEditorDlg::Refresh() {
  if (!embedded_ || session_->Layout().dialog != shownDialog_) {
    BuildDialog();
  } else {
    PlaceControls();
  }
  // Measured once for the outlines and the count.
  notFittingItems_ = session_->NotFitting();
  PlaceMarks();
  ShowFields();
}

void CLayoutEditorDlg::OnField(wxSpinEvent&) {
  if (showingFields_) return;
  const DialogRect rect{static_cast<std::int16_t>(fields_[0]->GetValue()),
                        static_cast<std::int16_t>(fields_[1]->GetValue()),
                        static_cast<std::int16_t>(std::max(0, fields_[2]->GetValue())),
                        static_cast<std::int16_t>(std::max(0, fields_[3]->GetValue()))};
  if (session_->SetRect(rect)) Refresh();
}

void CLayoutEditorDlg::PressKey(int keyCode, bool shift) {
  const int dx = keyCode == WXK_LEFT ? -1 : keyCode == WXK_RIGHT ? 1 : 0;
  const int dy = keyCode == WXK_UP ? -1 : keyCode == WXK_DOWN ? 1 : 0;
  if (keyCode == WXK_TAB) {
    session_->SelectNext(shift);
  } else if (shift) {
    session_->ResizeBy(dx, dy);
  } else {
    session_->MoveBy(dx, dy);
  }
  Refresh();
}

void CLayoutEditorDlg::OnCharHook(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  const bool inCanvas = !std::any_of(std::begin(fields_), std::end(fields_), [](wxSpinCtrl* f) {
    wxWindow* focus = wxWindow::FindFocus();
    return focus && (focus == f || focus->GetParent() == f);
  });
  const bool handled = key == WXK_LEFT || key == WXK_RIGHT || key == WXK_UP || key == WXK_DOWN ||
                       (key == WXK_TAB && !event.ControlDown());
  if (!inCanvas || !handled || event.AltDown()) {
    event.Skip();
    return;
  }
  PressKey(key, event.ShiftDown());
}

wxPoint CLayoutEditorDlg::ClientPoint(const wxMouseEvent& event) const {
  // Window positions, not the screen's: they hold before the window shows.
  wxPoint at = event.GetPosition();
  wxWindow* client = embedded_->ClientArea();
  auto* window = dynamic_cast<wxWindow*>(event.GetEventObject());
  if (window == canvas_) return at - embedded_->GetPosition() - client->GetPosition();
  for (; window && window != client; window = window->GetParent()) {
    if (window == embedded_) return at - client->GetPosition();
    at += window->GetPosition();
  }
  return at;
}

void CLayoutEditorDlg::ClickAt(int dialogUnitsX, int dialogUnitsY) {
  session_->Select(session_->HitTest(dialogUnitsX, dialogUnitsY));
  Refresh();
}

wxWindow* CLayoutEditorDlg::DrawingArea() const {
  return embedded_->ClientArea();
}

wxRect CLayoutEditorDlg::SelectionPixels() const {
  const std::uint32_t selected = session_->Selection();
  const DialogRect& rect = session_->RectOfItem(selected);
  // The dialog's own rectangle is its client area here.
  return selected == 0 ? PixelsOf({0, 0, rect.cx, rect.cy}) : PixelsOf(rect);
}

wxRect CLayoutEditorDlg::HandleRect(const wxRect& r, int column, int row) {
  const int xs[3] = {r.x - kHandle, r.x + r.width / 2 - kHandle / 2, r.x + r.width};
  const int ys[3] = {r.y - kHandle, r.y + r.height / 2 - kHandle / 2, r.y + r.height};
  return wxRect(xs[column], ys[row], kHandle, kHandle);
}

wxRect CLayoutEditorDlg::HandleOfSelection(const wxRect& r, int column, int row) const {
  wxRect handle = HandleRect(r, column, row);
  // The dialog's handles lie just inside its client area, where they show.
  if (session_->Selection() == 0) {
    handle.Offset(column == 2 ? -kHandle : 0, row == 2 ? -kHandle : 0);
  }
  return handle;
}

void CLayoutEditorDlg::OnMouseDown(wxMouseEvent& event) {
  canvas_->SetFocus();
  const wxPoint at = ClientPoint(event);
  // A handle of the selection resizes it from its side (a little room
  // around it, handles are small); anything else selects and moves.
  drag_ = kMoving;
  const wxRect r = SelectionPixels();
  for (int column = 0; column < 3 && drag_ == kMoving; ++column) {
    for (int row = 0; row < 3; ++row) {
      if (column == 1 && row == 1) continue;
      // The dialog keeps its position: only its right and bottom grow.
      if (session_->Selection() == 0 && (column == 0 || row == 0)) continue;
      if (!HandleOfSelection(r, column, row).Inflate(2).Contains(at)) continue;
      drag_ = kResizing;
      handleColumn_ = column;
      handleRow_ = row;
      break;
    }
  }
  if (drag_ == kMoving) session_->Select(session_->HitTest(ToUnitsX(at.x), ToUnitsY(at.y)));
  dragStart_ = at;
  rectAtStart_ = session_->RectOfItem(session_->Selection());
  if (session_->Selection() == 0 && drag_ == kMoving) drag_ = kNoDrag;
  // The canvas takes the mouse while it drags: it lives as long as the
  // editor, where the dialog's own windows are made anew when it resizes.
  // (A window not on screen yet cannot take it, nor needs to.)
  if (drag_ != kNoDrag && !captured_ && canvas_->IsShownOnScreen()) {
    canvas_->CaptureMouse();
    captured_ = true;
  }
  Refresh();
}

void CLayoutEditorDlg::OnMouseMove(wxMouseEvent& event) {
  if (drag_ == kNoDrag || !event.LeftIsDown()) return;
  const wxPoint at = ClientPoint(event);
  const int dx = ToUnitsX(at.x - dragStart_.x);
  const int dy = ToUnitsY(at.y - dragStart_.y);
  const DialogRect& from = rectAtStart_;
  int x = from.x, y = from.y, cx = from.cx, cy = from.cy;
  if (drag_ == kMoving) {
    x += dx;
    y += dy;
  } else {
    // The opposite side stays where it is.
    if (handleColumn_ == 0) {
      x += std::min(dx, int{from.cx});
      cx -= std::min(dx, int{from.cx});
    } else if (handleColumn_ == 2) {
      cx += dx;
    }
    if (handleRow_ == 0) {
      y += std::min(dy, int{from.cy});
      cy -= std::min(dy, int{from.cy});
    } else if (handleRow_ == 2) {
      cy += dy;
    }
  }
  const auto unit = [](int value, int low) {
    return static_cast<std::int16_t>(std::clamp(value, low, kMaxDialogUnit));
  };
  const DialogRect rect{unit(x, kMinDialogUnit), unit(y, kMinDialogUnit), unit(cx, 0),
                        unit(cy, 0)};
  if (session_->SetRect(rect)) Refresh();
}

void CLayoutEditorDlg::OnMouseUp(wxMouseEvent&) {
  drag_ = kNoDrag;
  ReleaseCapture();
}

void CLayoutEditorDlg::ReleaseCapture() {
  if (!captured_) return;
  captured_ = false;
  canvas_->ReleaseMouse();
}

std::unique_ptr<CLayoutEditorDlg> MakeLayoutEditor(const Module& module,
                                                   const std::string& givenKey,
                                                   const std::string& languageName,
                                                   wxWindow* parent) {
  // Geometry is kept by the upper-case key, as a project file spells it.
  const std::string dialogKey = ToUpperUtf8(givenKey);
  const ModuleLanguage* target = module.FindLanguage(languageName);
  const ModuleLanguage* original = module.DefaultLanguage();
  DialogTemplate dialog;
  ModuleLayouts layouts;
  // The same boxes the checks and generation read.
  if (!target || target->isDefault || !original ||
      !ReadModuleDialog(module.path, dialogKey, dialog) ||
      ReadModuleLayouts(module.path, layouts) != 0 || !layouts.dialogs.count(dialogKey)) {
    return nullptr;
  }
  auto session = std::make_unique<LayoutEditSession>(layouts.dialogs.at(dialogKey), dialogKey,
                                                     *original, *target);
  return std::make_unique<CLayoutEditorDlg>(parent, std::move(dialog), std::move(session),
                                            languageName);
}

bool RunLayoutEditor(Module& module, const std::string& givenKey, const std::string& languageName,
                     UndoHistory& history, wxWindow* parent) {
  const std::string dialogKey = ToUpperUtf8(givenKey);
  std::unique_ptr<CLayoutEditorDlg> editor =
      MakeLayoutEditor(module, dialogKey, languageName, parent);
  if (!editor) {
    ShowMessageBox(parent, "No se puede cargar el diálogo", MessageKind::kError);
    return false;
  }
  if (editor->ShowModal() != wxID_OK || !editor->Session().Changed()) return false;
  ModuleLanguage& target = *module.FindLanguage(languageName);
  history.BeginLayoutEdit(module, languageName, dialogKey, true);
  DialogGeometry geometry = editor->Session().Geometry();
  if (geometry.empty()) {
    target.dialogGeometry.erase(dialogKey);
  } else {
    target.dialogGeometry.insert_or_assign(dialogKey, std::move(geometry));
  }
  return true;
}

}  // namespace ulk
