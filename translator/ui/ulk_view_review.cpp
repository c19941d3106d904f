// The resource list's review commands: marking translations revisado or por
// revisar, going to the next text without a translation or to review, and
// the filter of the rows shown.
#include "translator/model/messages.h"
#include "translator/model/resource_rows.h"
#include "translator/ui/main_frame.h"
#include "translator/ui/translator_app.h"
#include "translator/ui/ulk_doc.h"
#include "translator/ui/ulk_view.h"
#include "uikit/wx_text.h"

namespace ulk {

bool CULKView::CanMark() const {
  const Module* module = CurrentModule();
  return AnySelected() && module && module->LanguageCount() > 1;
}

void CULKView::OnMarkReviewed() {
  MarkSelected(kReviewDone);
}

void CULKView::OnMarkToReview() {
  MarkSelected(kReviewNeeded);
}

void CULKView::MarkSelected(std::int32_t review) {
  Module* module = CurrentModule();
  const std::vector<std::string> keys = SelectedKeys();
  if (!module || keys.empty()) return;
  // One step for "Deshacer", whatever the number of rows.
  Doc()->BeginEdit(false);
  if (MarkReviewState(*module, keys, ReviewLanguage(), review) == 0) {
    Doc()->DiscardEdit();
    return;
  }
  Doc()->CommitEdit();
  RefreshRowsOfKeys(keys);
}

void CULKView::OnNextUntranslated() {
  GoToNext(RowFilter::kUntranslated, kMsgNoUntranslatedRow);
}

void CULKView::OnNextToReview() {
  GoToNext(RowFilter::kToReview, kMsgNoRowToReview);
}

void CULKView::GoToNext(RowFilter filter, int noneMessage) {
  const Module* module = CurrentModule();
  if (!module || !list_) return;
  std::vector<std::string> keys;
  keys.reserve(static_cast<std::size_t>(RowCount()));
  for (const ListRow& row : list_->Rows()) keys.push_back(row.cells[0]);
  const long row = NextRowPassing(*module, keys, helper_.FirstSelected(), filter, ReviewLanguage());
  if (row >= 0) SelectRowOnly(row);
  // Nothing moves when no row is left: the status bar says why.
  if (CMainFrame* frame = TheApp().MainFrame()) {
    frame->SetStatusText(ToWx(MessageText(row >= 0 ? kMsgReady : noneMessage)), 0);
  }
}

void CULKView::SetFilter(RowFilter filter) {
  // The same filter again fills again: rows an edit took out of it go.
  filter_ = filter;
  Fill();
}

}  // namespace ulk
