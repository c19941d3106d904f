// The resource list: filling, sorting, rows for the undo history, keys, the
// cells' marks and tips, and the context menu.
#include "translator/ui/ulk_view.h"

#include <wx/menu.h>
#include <wx/utils.h>

#include "translator/model/messages.h"
#include "translator/model/resource_rows.h"
#include "translator/ui/command_ids.h"
#include "translator/ui/left_view.h"
#include "translator/ui/main_frame.h"
#include "translator/ui/translator_app.h"
#include "translator/ui/ulk_art.h"
#include "translator/ui/ulk_doc.h"
#include "uikit/command_id.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

constexpr int kKeyColumn = 0;

// A row of the table as the list keeps it: the cells, the status for the
// text colour, and each language cell's mark.
ListRow ToListRow(ResourceRow row) {
  ListRow listRow{std::move(row.cells), row.status, {}};
  listRow.images.reserve(row.reviews.size() + 1);
  listRow.images.push_back(-1);  // the key's
  for (std::size_t i = 0; i < row.reviews.size(); ++i) {
    listRow.images.push_back(CellMarkImage(row.reviews[i], !row.notes[i].empty()));
  }
  return listRow;
}

void SendToFrame(int commandId) {
  if (CMainFrame* frame = TheApp().MainFrame()) {
    wxCommandEvent event(wxEVT_MENU, WxId(commandId));
    event.SetEventObject(frame);
    frame->GetEventHandler()->ProcessEvent(event);
  }
}

}  // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CULKView, wxView);

ResourceList::ResourceList(wxWindow* parent)
    : StripedListCtrl(parent, wxID_ANY, wxLC_HRULES | wxLC_VRULES | wxBORDER_SUNKEN) {
  SetTextColourOf(&ResourceList::StatusColour);
  Bind(wxEVT_LIST_COL_CLICK, &ResourceList::OnColumnClick, this);
  Bind(wxEVT_LIST_ITEM_ACTIVATED, &ResourceList::OnActivated, this);
  Bind(wxEVT_LIST_KEY_DOWN, &ResourceList::OnKeyDown, this);
  Bind(wxEVT_CONTEXT_MENU, &ResourceList::OnContextMenu, this);
  Bind(wxEVT_SIZE, &ResourceList::OnSize, this);
  if (wxWindow* rows = RowsWindow()) {
    rows->Bind(wxEVT_LEFT_DOWN, &ResourceList::OnRowsMouseDown, this);
    rows->Bind(wxEVT_RIGHT_DOWN, &ResourceList::OnRowsMouseDown, this);
    rows->Bind(wxEVT_MOTION, &ResourceList::OnRowsMotion, this);
  }
}

wxWindow* ResourceList::RowsWindow() const {
  // The list is made of two windows, the header and the rows under it.
  for (wxWindow* child : GetChildren()) {
    if (static_cast<const void*>(child) != static_cast<const void*>(m_headerWin)) return child;
  }
  return nullptr;
}

void ResourceList::OnRowsMouseDown(wxMouseEvent& event) {
  event.Skip();
  // Columns lie side by side in the rows as in the header: x alone says which.
  if (view_) view_->ColumnClicked(ListCtrlHelper(this).HitTestColumn(event.GetPosition()));
}

void ResourceList::OnRowsMotion(wxMouseEvent& event) {
  event.Skip();
  wxWindow* rows = RowsWindow();
  if (!view_ || !rows) return;
  int flags = 0;
  const long row = HitTest(event.GetPosition(), flags);
  const int column = ListCtrlHelper(this).HitTestColumn(event.GetPosition());
  const wxString tip = row >= 0 && column >= 0 ? ToWx(view_->CellTip(row, column)) : wxString();
  if (tip.empty()) {
    if (rows->GetToolTip()) rows->UnsetToolTip();
  } else if (rows->GetToolTipText() != tip) {
    rows->SetToolTip(tip);
  }
}

wxColour ResourceList::StatusColour(long status) {
  switch (status) {
    case kStatusNewOrChanged:
      return wxColour(0, 128, 0);
    case kStatusByHand:
      return wxColour(0, 0, 240);
    case kStatusDictionaryOne:
      return wxColour(128, 128, 0);
    case kStatusDictionarySeveral:
      return wxColour(255, 0, 0);
    default:
      return wxNullColour;
  }
}

void ResourceList::RowsReordered(const std::vector<std::size_t>&) {
  if (view_) view_->RowsMoved();
}

void ResourceList::OnColumnClick(wxListEvent& event) {
  if (view_) view_->SortColumn(event.GetColumn());
}

void ResourceList::OnActivated(wxListEvent&) {
  SendToFrame(kIdTranslateResource);
}

void ResourceList::OnKeyDown(wxListEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_DELETE:
      if (!wxGetKeyState(WXK_SHIFT) && !wxGetKeyState(WXK_CONTROL)) {
        SendToFrame(kIdDeleteTranslation);
        return;
      }
      break;
    case WXK_F5:
      if (view_ && view_->GetDocument()) view_->GetDocument()->UpdateAllViews(view_);
      return;
    default:
      break;
  }
  event.Skip();
}

void ResourceList::OnContextMenu(wxContextMenuEvent& event) {
  if (!view_) return;
  wxPoint position = event.GetPosition();
  if (position == wxDefaultPosition) position = ClientToScreen(wxPoint(0, 0));
  view_->ContextMenu(position);
}

void ResourceList::OnSize(wxSizeEvent& event) {
  event.Skip();
  if (GetColumnCount() > 1) {
    CallAfter([this] { ListCtrlHelper(this).ShareWidth(GetColumnCount() - 1); });
  }
}

CULKView::~CULKView() {
  if (list_) list_->SetView(nullptr);
  if (findDialog_) findDialog_->Destroy();
  if (CULKDoc* doc = Doc()) doc->History().SetView(nullptr);
}

bool CULKView::OnCreate(wxDocument* doc, long) {
  CMainFrame* frame = TheApp().MainFrame();
  if (!frame) return false;
  SetFrame(frame);
  list_ = frame->List();
  list_->SetView(this);
  helper_.Attach(list_);
  static_cast<CULKDoc*>(doc)->History().SetView(this);
  return true;
}

bool CULKView::OnClose(bool) {
  if (list_) {
    list_->SetRows({});
    list_->DeleteAllColumns();
    list_->SetView(nullptr);
  }
  if (findDialog_) {
    findDialog_->Destroy();
    findDialog_ = nullptr;
  }
  if (CULKDoc* doc = Doc()) doc->History().SetView(nullptr);
  list_ = nullptr;
  return true;
}

CULKDoc* CULKView::Doc() const {
  return static_cast<CULKDoc*>(GetDocument());
}

Module* CULKView::CurrentModule() const {
  CMainFrame* frame = TheApp().MainFrame();
  CLeftView* tree = frame ? frame->TreeView() : nullptr;
  return tree ? tree->GetSelectedModule() : nullptr;
}

long CULKView::RowCount() const {
  return list_ ? list_->RowCount() : 0;
}

void CULKView::OnUpdate(wxView*, wxObject*) {
  Fill();
}

void CULKView::Fill() {
  if (!list_) return;
  const std::string remembered = GetSelectedKey();
  list_->Freeze();
  list_->SetRows({});
  list_->DeleteAllColumns();
  keyIndex_.clear();
  columnLanguages_.clear();
  list_->AppendColumn(ToWx(MessageText(kMsgResourceColumn)));

  CMainFrame* frame = TheApp().MainFrame();
  CLeftView* tree = frame ? frame->TreeView() : nullptr;
  const Module* module = tree ? tree->GetSelectedModule() : nullptr;
  nodeRowCount_ = 0;
  if (module && module->DefaultLanguage()) {
    ResourceTable table =
        BuildResourceTable(*module, tree->GetSelectedNodeCode(), tree->GetSelectedStem(), filter_);
    columnLanguages_ = std::move(table.languages);
    nodeRowCount_ = table.nodeRowCount;
    for (const std::string& language : columnLanguages_) list_->AppendColumn(ToWx(language));
    std::vector<ListRow> rows;
    rows.reserve(table.rows.size());
    for (ResourceRow& row : table.rows) rows.push_back(ToListRow(std::move(row)));
    list_->SetRows(std::move(rows));
    RebuildKeyIndex();
  }
  helper_.FitColumn(kKeyColumn, true);
  if (list_->GetColumnCount() > 1) helper_.ShareWidth(list_->GetColumnCount() - 1);
  list_->Thaw();

  if (RowCount() > 0) {
    const long row = FindRowOfKey(remembered);
    SelectRowOnly(row >= 0 ? row : 0);
  }
}

void CULKView::RebuildKeyIndex() {
  keyIndex_.clear();
  keyIndex_.reserve(static_cast<std::size_t>(RowCount()));
  for (long i = 0; i < RowCount(); ++i) keyIndex_.emplace(list_->RowAt(i).cells[0], i);
}

void CULKView::RowsMoved() {
  RebuildKeyIndex();
}

void CULKView::SortColumn(int column) {
  if (!list_ || column < 0 || column >= list_->GetColumnCount()) return;
  const bool descending = helper_.HeaderImage(column) == kImageSortAscending;
  for (int c = 0; c < list_->GetColumnCount(); ++c) {
    if (c != column) helper_.ClearHeaderImage(c);
  }
  helper_.SetHeaderImage(column, descending ? kImageSortDescending : kImageSortAscending);
  helper_.SortByColumn(column, !descending);
}

std::string CULKView::GetSelectedKey() const {
  const long row = helper_.FirstSelected();
  return row >= 0 && row < RowCount() ? list_->RowAt(row).cells[0] : std::string();
}

std::vector<std::string> CULKView::SelectedKeys() const {
  std::vector<std::string> keys;
  if (!list_) return keys;
  for (long row = list_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row != -1;
       row = list_->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
    keys.push_back(list_->RowAt(row).cells[0]);
  }
  return keys;
}

long CULKView::FindRowOfKey(const std::string& key) const {
  const auto found = keyIndex_.find(key);
  return found == keyIndex_.end() ? -1 : found->second;
}

void CULKView::RefreshRowOfKey(const std::string& key) {
  const long row = FindRowOfKey(key);
  const Module* module = CurrentModule();
  if (row < 0 || !module) return;
  list_->RowAt(row) = ToListRow(ResourceRowOf(*module, key, columnLanguages_));
  list_->RefreshRowAt(row);
}

std::string CULKView::ReviewLanguage() const {
  // The original's column is the first; a language the module no longer
  // has names no column.
  for (std::size_t i = 1; i < columnLanguages_.size(); ++i) {
    if (columnLanguages_[i] == clickedLanguage_) return clickedLanguage_;
  }
  return {};
}

void CULKView::ColumnClicked(int column) {
  clickedLanguage_.clear();
  if (column >= 2 && static_cast<std::size_t>(column) <= columnLanguages_.size()) {
    clickedLanguage_ = columnLanguages_[static_cast<std::size_t>(column) - 1];
  }
}

std::string CULKView::CellTip(long row, int column) const {
  const Module* module = CurrentModule();
  if (!module || row < 0 || row >= RowCount() || column < 1 ||
      static_cast<std::size_t>(column) > columnLanguages_.size()) {
    return {};
  }
  const ModuleLanguage* language =
      module->FindLanguage(columnLanguages_[static_cast<std::size_t>(column) - 1]);
  if (!language) return {};
  const std::string& key = list_->RowAt(row).cells[0];
  const TextEntry* entry = language->FindEntry(key);
  return CellTooltip(language->isDefault ? kNoReviewState : ReviewStateOf(*language, key),
                     entry ? std::string_view(entry->note) : std::string_view());
}

void CULKView::SelectRowOnly(long row) {
  helper_.DeselectAll();
  helper_.SelectRow(row);
}

std::string CULKView::CurrentModulePath() {
  const Module* module = CurrentModule();
  return module ? module->path : std::string();
}

bool CULKView::CaptureSelection(ModuleSnapshot& snapshot) {
  const Module* module = CurrentModule();
  if (!module) return false;
  return CaptureEntries(*module, SelectedKeys(), snapshot) > 0;
}

int CULKView::FindRow(std::string_view key) {
  return static_cast<int>(FindRowOfKey(std::string(key)));
}

void CULKView::RefreshRow(int row) {
  if (row >= 0 && row < RowCount()) RefreshRowOfKey(list_->RowAt(row).cells[0]);
}

void CULKView::EnsureRowVisible(int row) {
  if (row >= 0 && row < RowCount()) list_->EnsureVisible(row);
}

void CULKView::SuspendRedraw() {
  if (list_) list_->Freeze();
}

void CULKView::ResumeRedraw() {
  if (list_) list_->Thaw();
}

void CULKView::ContextMenu(const wxPoint& screenPosition) {
  CMainFrame* frame = TheApp().MainFrame();
  if (!frame || !list_) return;
  wxMenu* menu = frame->MakeListContextMenu();
  if (list_->GetSelectedItemCount() == 1) {
    if (wxMenu* suggestions = SuggestionMenu(screenPosition)) {
      menu->Insert(0, wxID_ANY, ToWx(MessageText(kMsgTranslateTo)), suggestions);
      menu->InsertSeparator(1);
    }
  }
  frame->PopupContextMenu(menu, screenPosition);
}

}  // namespace ulk
