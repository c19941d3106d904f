#include "translator/model/translation_rows.h"

#include <gtest/gtest.h>

namespace ulk {
namespace {

constexpr const char* kKey = "DL_N_100 (1)";

// A module of `count` languages, the first the original, named L0, L1...;
// the original and L1 have the entry.
Module ModuleOf(int count) {
  Module module;
  module.path = "/m/prog.dll";
  for (int i = 0; i < count; ++i) {
    ModuleLanguage& language = module.AddLanguage(
        ModuleLanguage("L" + std::to_string(i), i == 0 ? "" : "/o/" + std::to_string(i), i == 0));
    if (i == 0) language.SetEntry(kKey, "Aceptar", kStatusNewOrChanged);
    if (i == 1) language.SetEntry(kKey, "OK\\nnow");
  }
  return module;
}

std::vector<std::string> ShownLanguages(const TranslationRows& rows) {
  std::vector<std::string> shown;
  for (int slot = 0; slot < rows.VisibleSlots(); ++slot) {
    shown.push_back(rows.RowInSlot(slot)->language);
  }
  return shown;
}

TEST(TranslationRowsTest, RowsFollowTheModuleWithTheOriginalReadOnly) {
  const TranslationRows rows(ModuleOf(3), kKey);
  ASSERT_EQ(rows.Rows().size(), 3u);
  EXPECT_EQ(rows.Rows()[0].text, "Aceptar");
  EXPECT_TRUE(rows.Rows()[0].readOnly);
  EXPECT_EQ(rows.Rows()[1].text, "OK\\nnow");  // shown as stored
  EXPECT_FALSE(rows.Rows()[1].readOnly);
  EXPECT_EQ(rows.Rows()[2].text, "");
}

TEST(TranslationRowsTest, FewLanguagesShowFewSlotsAndNoScrollBar) {
  const struct {
    int languages;
    int slots;
  } cases[] = {{1, 1}, {2, 2}, {3, 3}};
  for (const auto& c : cases) {
    TranslationRows rows(ModuleOf(c.languages), kKey);
    EXPECT_EQ(rows.VisibleSlots(), c.slots);
    const TranslationScrollBar bar = rows.ScrollBar();
    EXPECT_FALSE(bar.shown);
    EXPECT_EQ(bar.range + bar.page + bar.position, 0);
    rows.Scroll(TranslationScroll::kPageDown);
    EXPECT_EQ(rows.FirstVisible(), 0) << c.languages;
  }
}

TEST(TranslationRowsTest, FiveLanguagesScrollToTheFirstThreeRowsOnly) {
  TranslationRows rows(ModuleOf(5), kKey);
  const TranslationScrollBar bar = rows.ScrollBar();
  EXPECT_TRUE(bar.shown);
  EXPECT_EQ(bar.range, 4);
  EXPECT_EQ(bar.page, 3);
  const struct {
    TranslationScroll request;
    int thumb;
    int first;
  } steps[] = {
      {TranslationScroll::kPageDown, 0, 2},  // from 0: rows 2 to 4
      {TranslationScroll::kLineDown, 0, 2}, {TranslationScroll::kLineUp, 0, 1},
      {TranslationScroll::kLineUp, 0, 0},   {TranslationScroll::kLineUp, 0, 0},
      {TranslationScroll::kThumb, 4, 2},    {TranslationScroll::kPageUp, 0, 0},
      {TranslationScroll::kThumb, 1, 1},    {TranslationScroll::kOther, 0, 1},
      {TranslationScroll::kThumb, -7, 0},
  };
  for (const auto& step : steps) {
    rows.Scroll(step.request, step.thumb);
    EXPECT_EQ(rows.FirstVisible(), step.first);
    EXPECT_EQ(rows.ScrollBar().position, step.first);
  }
  rows.Scroll(TranslationScroll::kPageDown);
  EXPECT_EQ(ShownLanguages(rows), (std::vector<std::string>{"L2", "L3", "L4"}));
}

TEST(TranslationRowsTest, EditsComeBackEscapedIntoTheRowOfTheirSlot) {
  TranslationRows rows(ModuleOf(5), kKey);
  rows.Scroll(TranslationScroll::kLineDown);
  rows.SetSlotText(0, "one\ntwo\tthree\r");
  rows.SetSlotText(2, "Vier");
  rows.SetSlotText(3, "ignored");  // no such slot
  EXPECT_EQ(rows.Rows()[1].text, "one\\ntwo\\tthree\\r");
  EXPECT_EQ(rows.Rows()[3].text, "Vier");
  rows.Scroll(TranslationScroll::kLineUp);
  rows.SetSlotText(0, "changed");  // the original is read-only
  EXPECT_EQ(rows.Rows()[0].text, "Aceptar");
}

// A typed (or pasted) text the gate refuses holds the dialog open and is
// never written into the module.
TEST(TranslationRowsTest, TextsThatCannotBeStoredAreNotAccepted) {
  TranslationRows rows(ModuleOf(3), kKey);
  rows.SetSlotText(1, "bad\x01");
  rows.SetSlotText(2, "fine");
  EXPECT_EQ(rows.Problem(), "El texto en L1 contiene el carácter de control U+0001.");
  Module module = ModuleOf(3);
  rows.ApplyTo(module);
  EXPECT_EQ(module.FindLanguage("L1")->FindEntry(kKey)->text, "OK\\nnow");
  EXPECT_EQ(module.FindLanguage("L2")->FindEntry(kKey)->text, "fine");
  rows.SetSlotText(1, "bien");
  EXPECT_EQ(rows.Problem(), "");
}

TEST(TranslationRowsTest, AcceptingWithoutChangesMarksTheOriginalAndCreatesEmptyEntries) {
  Module module = ModuleOf(3);
  TranslationRows(module, kKey).ApplyTo(module);
  const TextEntry* original = module.DefaultLanguage()->FindEntry(kKey);
  EXPECT_EQ(original->status, kStatusByHand);
  EXPECT_EQ(original->text, "Aceptar");
  EXPECT_EQ(module.FindLanguage("L1")->FindEntry(kKey)->text, "OK\\nnow");
  const TextEntry* created = module.FindLanguage("L2")->FindEntry(kKey);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->text, "");
  EXPECT_EQ(created->status, kStatusUnchanged);
}

TEST(TranslationRowsTest, AcceptingWritesTheEditsAndSkipsLanguagesThatWent) {
  Module module = ModuleOf(3);
  TranslationRows rows(module, kKey);
  rows.SetSlotText(1, "Vale");
  rows.SetSlotText(2, "D'accord");
  module.RemoveLanguage("L2");
  rows.ApplyTo(module);
  EXPECT_EQ(module.FindLanguage("L1")->FindEntry(kKey)->text, "Vale");
  EXPECT_EQ(module.LanguageCount(), 2u);

  // An original without the entry gets one with the row's text.
  Module bare = ModuleOf(2);
  bare.DefaultLanguage()->RemoveEntry(kKey);
  TranslationRows(bare, kKey).ApplyTo(bare);
  ASSERT_NE(bare.DefaultLanguage()->FindEntry(kKey), nullptr);
  EXPECT_EQ(bare.DefaultLanguage()->FindEntry(kKey)->status, kStatusUnchanged);
}

TEST(TranslationRowsTest, NotesAndReviewStatesGoWithTheirRow) {
  Module module = ModuleOf(3);
  TextEntry& l1 = *module.FindLanguage("L1")->FindEntry(kKey);
  l1.review = kReviewDone;
  l1.note = "ya visto";
  TranslationRows rows(module, kKey);
  EXPECT_EQ(rows.RowInSlot(1)->review, kReviewDone);
  EXPECT_EQ(rows.RowInSlot(1)->note, "ya visto");
  rows.SetSlotNote(0, "botón de\nconfirmar");
  rows.SetSlotReview(0, kReviewDone);  // the original has no state
  rows.SetSlotText(1, "Okay");         // a changed text is no longer reviewed
  rows.SetSlotNote(2, "ask");
  rows.SetSlotReview(2, kReviewNeeded);  // ... but an empty one has no state
  rows.ApplyTo(module);
  const TextEntry* original = module.DefaultLanguage()->FindEntry(kKey);
  EXPECT_EQ(original->note, "botón de\\nconfirmar");
  EXPECT_EQ(original->review, kReviewTranslated);
  EXPECT_EQ(module.FindLanguage("L1")->FindEntry(kKey)->review, kReviewTranslated);
  EXPECT_EQ(module.FindLanguage("L1")->FindEntry(kKey)->note, "ya visto");
  EXPECT_EQ(module.FindLanguage("L2")->FindEntry(kKey)->note, "ask");
  EXPECT_EQ(module.FindLanguage("L2")->FindEntry(kKey)->review, kReviewTranslated);

  // A state the user chose stands, changed text or not; a note that cannot
  // be stored holds the dialog open as a text does.
  TranslationRows again(module, kKey);
  again.SetSlotText(1, "OK!");
  again.SetSlotReview(1, kReviewNeeded);
  again.SetSlotNote(2, std::string("a\0b", 3));
  EXPECT_NE(again.Problem().find("La nota en L2"), std::string::npos);
  again.ApplyTo(module);
  EXPECT_EQ(module.FindLanguage("L1")->FindEntry(kKey)->review, kReviewNeeded);
  EXPECT_EQ(module.FindLanguage("L2")->FindEntry(kKey)->note, "ask");
}

TEST(TranslationRowsTest, TwoLanguagesOfOneNameEachKeepTheirRow) {
  Module module = ModuleOf(2);
  module.AddLanguage(ModuleLanguage("L1", "/o/again", false));
  TranslationRows rows(module, kKey);
  rows.SetSlotText(1, "first");
  rows.SetSlotText(2, "second");
  rows.ApplyTo(module);
  auto language = std::next(module.languages.begin());
  EXPECT_EQ(language->FindEntry(kKey)->text, "first");
  EXPECT_EQ(std::next(language)->FindEntry(kKey)->text, "second");
}

}  // namespace
}  // namespace ulk
