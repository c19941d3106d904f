// The translation dialog's rows and scrolling.
#include "translator/model/translation_rows.h"

#include <algorithm>

#include "platform/stored_text.h"

namespace ulk {

TranslationRows::TranslationRows(const Module& module, std::string key) : key_(std::move(key)) {
  for (const ModuleLanguage& language : module.languages) {
    const TextEntry* entry = language.FindEntry(key_);
    TranslationRow& row = rows_.emplace_back();
    row.language = language.name;
    row.readOnly = language.isDefault;
    if (entry) {
      row.text = entry->text;
      row.note = entry->note;
      if (!language.isDefault) row.review = entry->review;
    }
  }
}

int TranslationRows::VisibleSlots() const {
  return std::min(static_cast<int>(rows_.size()), kTranslationSlots);
}

const TranslationRow* TranslationRows::RowInSlot(int slot) const {
  if (slot < 0 || slot >= VisibleSlots()) return nullptr;
  const auto row = static_cast<std::size_t>(first_ + slot);
  return row < rows_.size() ? &rows_[row] : nullptr;
}

TranslationScrollBar TranslationRows::ScrollBar() const {
  const int count = static_cast<int>(rows_.size());
  if (count <= kTranslationSlots) return {};
  return {true, count - 1, kTranslationSlots, first_};
}

void TranslationRows::Scroll(TranslationScroll request, int thumb) {
  switch (request) {
    case TranslationScroll::kLineUp:
      --first_;
      break;
    case TranslationScroll::kLineDown:
      ++first_;
      break;
    case TranslationScroll::kPageUp:
      first_ -= kTranslationSlots;
      break;
    case TranslationScroll::kPageDown:
      first_ += kTranslationSlots;
      break;
    case TranslationScroll::kThumb:
      first_ = thumb;
      break;
    case TranslationScroll::kOther:
      break;
  }
  Clamp();
}

void TranslationRows::Clamp() {
  const int last = static_cast<int>(rows_.size()) - kTranslationSlots;
  first_ = std::max(0, std::min(first_, last));
}

void TranslationRows::SetSlotText(int slot, std::string_view editText) {
  if (slot < 0 || slot >= VisibleSlots()) return;
  TranslationRow& row = rows_[static_cast<std::size_t>(first_ + slot)];
  if (row.readOnly) return;
  std::string stored;
  const TextProblem problem = ToStoredText(editText, stored);
  row.problem = problem.what;
  row.text = problem ? std::string(editText) : std::move(stored);
}

void TranslationRows::SetSlotNote(int slot, std::string_view editText) {
  if (slot < 0 || slot >= VisibleSlots()) return;
  TranslationRow& row = rows_[static_cast<std::size_t>(first_ + slot)];
  std::string stored;
  const TextProblem problem = ToStoredText(editText, stored);
  row.noteProblem = problem.what;
  row.note = problem ? std::string(editText) : std::move(stored);
}

void TranslationRows::SetSlotReview(int slot, std::int32_t review) {
  if (slot < 0 || slot >= VisibleSlots() || review < 0 || review >= kReviewStateCount) return;
  TranslationRow& row = rows_[static_cast<std::size_t>(first_ + slot)];
  if (row.readOnly) return;
  row.review = review;
  row.reviewChosen = true;
}

std::string TranslationRows::Problem() const {
  for (const TranslationRow& row : rows_) {
    if (!row.problem.empty()) return "El texto en " + row.language + " " + row.problem + ".";
    if (!row.noteProblem.empty()) {
      return "La nota en " + row.language + " " + row.noteProblem + ".";
    }
  }
  return {};
}

void TranslationRows::ApplyTo(Module& module) const {
  // Rows were made in module order; a name is looked up only where that
  // order no longer holds, so that two languages of one name (a
  // hand-edited project) each keep their own row.
  auto position = module.languages.begin();
  for (const TranslationRow& row : rows_) {
    ModuleLanguage* language = nullptr;
    if (position != module.languages.end() && position->name == row.language) {
      language = &*position;
    } else {
      language = module.FindLanguage(row.language);
    }
    if (position != module.languages.end()) ++position;
    if (!language || !row.problem.empty() || !row.noteProblem.empty()) continue;
    TextEntry* entry = language->FindEntry(key_);
    if (language->isDefault) {
      if (entry) {
        entry->status = kStatusByHand;
      } else {
        entry = &language->SetEntry(key_, row.text, kStatusUnchanged);
      }
      entry->note = row.note;
      continue;
    }
    if (!entry) entry = &language->SetEntry(key_, "", kStatusUnchanged);
    const bool changed = entry->text != row.text;
    entry->text = row.text;
    entry->note = row.note;
    if (row.reviewChosen) {
      entry->review = row.review;
    } else if (changed) {
      entry->review = kReviewTranslated;
    }
    if (entry->text.empty()) entry->review = kReviewTranslated;
  }
}

}  // namespace ulk
