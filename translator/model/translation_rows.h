// The translation dialog without its window: one row per language of the
// module, three slots that show three rows at a time, the scroll bar that
// moves them, the edits taken back escaped and the rows written into the
// module when the user accepts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "translator/model/project.h"

namespace ulk {

inline constexpr int kTranslationSlots = 3;

struct TranslationRow {
  std::string language;
  std::string text;       // escaped, as stored; as typed while `problem` is set
  bool readOnly = false;  // the module's original language
  std::string problem;    // why the typed text cannot be stored; "" when it can
  std::string note;       // escaped, as stored; as typed while `noteProblem` is set
  std::string noteProblem;
  std::int32_t review = kReviewTranslated;  // target rows
  bool reviewChosen = false;                // the user set `review`
};

// What the scroll bar shows: hidden (all zero) while every row fits.
struct TranslationScrollBar {
  bool shown = false;
  int range = 0;  // the highest position: rows - 1
  int page = 0;
  int position = 0;
};

enum class TranslationScroll { kLineUp, kLineDown, kPageUp, kPageDown, kThumb, kOther };

class TranslationRows {
 public:
  // The rows of `key` in every language of `module`, in module order.
  TranslationRows(const Module& module, std::string key);

  const std::string& key() const { return key_; }
  const std::vector<TranslationRow>& Rows() const { return rows_; }
  int FirstVisible() const { return first_; }
  // How many slots show a row: min(rows, 3).
  int VisibleSlots() const;
  // The row a visible slot (0 to 2) shows, or null.
  const TranslationRow* RowInSlot(int slot) const;
  TranslationScrollBar ScrollBar() const;

  // Moves the first visible row as the request says (`thumb` for kThumb)
  // and clamps it so that the last slot never passes the last row.
  void Scroll(TranslationScroll request, int thumb = 0);

  // Takes back what a visible slot's edit box holds through the gate of
  // stored texts: line feeds, carriage returns and tabs become "\n", "\r"
  // and "\t"; a text it refuses (a control character, invalid UTF-8) is
  // kept as typed with the row's problem set. Read-only rows keep theirs.
  void SetSlotText(int slot, std::string_view editText);
  // The same for the row's note, which the original language's row has too.
  void SetSlotNote(int slot, std::string_view editText);
  // The review state the user chose for a target row.
  void SetSlotReview(int slot, std::int32_t review);
  // For the user: the first row whose text cannot be stored ("El texto en
  // English contiene ..."); "" when every row can. Accepting waits for it.
  std::string Problem() const;

  // Accepting: the original language's entry gets status 2 and keeps its
  // text; every other language's entry takes its row's text; a language
  // without the entry gets one (status 0), empty text included. Every row's
  // entry takes its note; a target entry takes the review state the user
  // chose, and without one a text that changed is translated (no longer
  // reviewed nor to review) and an empty one has no state. Rows whose
  // language the module no longer has, or whose text or note cannot be
  // stored, are skipped.
  void ApplyTo(Module& module) const;

 private:
  void Clamp();

  std::string key_;
  std::vector<TranslationRow> rows_;
  int first_ = 0;
};

}  // namespace ulk
