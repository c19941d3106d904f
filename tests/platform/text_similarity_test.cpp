#include "platform/text_similarity.h"

#include <gtest/gtest.h>

namespace ulk {
namespace {

TEST(TextSimilarity, ScoresOfPairsWorkedOutByHand) {
  struct Case {
    const char* a;
    const char* b;
    int score;
    unsigned differences;
  };
  const Case cases[] = {
      {"Abrir archivo", "Abrir archivo", 100, 0},
      {"", "", 100, 0},
      // Differences of form only: one point each, case two.
      {"&Abrir", "Abrir", 99, kDiffersInHotkey},
      {"A&brir", "&Abrir", 99, kDiffersInHotkey},
      {"Abrir...", "Abrir", 99, kDiffersInPunctuation},
      {"Nombre:", "Nombre", 99, kDiffersInPunctuation},
      {"  Abrir ", "Abrir", 99, kDiffersInBlanks},
      {"ABRIR", "abrir", 98, kDiffersInCase},
      {"&Guardar como...", "guardar como", 96, kDiffersInHotkey | kDiffersInCase | kDiffersInPunctuation},
      {" &ABRIR: ", "abrir", 95,
       kDiffersInHotkey | kDiffersInCase | kDiffersInBlanks | kDiffersInPunctuation},
      // "&&" is an ampersand, not a marker.
      {"A&&B", "AB", 66, kDiffersInText},
      // Edits: floor(100 * (longer - distance) / longer).
      {"Open file", "Open files", 90, kDiffersInText},   // 1 of 10
      {"Delete", "Deleted", 85, kDiffersInText},         // 1 of 7
      {"kitten", "sitting", 57, kDiffersInText},         // 3 of 7
      {"abc", "xyz", 0, kDiffersInText},
      {"Abrir", "", 0, kDiffersInText},
      // A specifier or an escape is one unit.
      {"%d files", "%s files", 85, kDiffersInText},  // 1 of 7
      {"%1!d! de %2", "%1!s! de %2", 83, kDiffersInText},  // 1 of 6
      {"Línea\\nDos", "Línea\\tDos", 88, kDiffersInText},  // 1 of 9
      // Non-ASCII letters are one unit each, and fold with their case.
      {"ÉXITO", "éxito", 98, kDiffersInCase},
      {"Configuración", "Configuracion", 92, kDiffersInText},  // 1 of 13
  };
  for (const Case& c : cases) {
    const TextSimilarity s = CompareTexts(c.a, c.b);
    EXPECT_EQ(s.score, c.score) << c.a << " / " << c.b;
    EXPECT_EQ(s.differences, c.differences) << c.a << " / " << c.b;
    EXPECT_EQ(CompareTexts(c.b, c.a).score, c.score) << "symmetric: " << c.a << " / " << c.b;
  }
}

TEST(TextSimilarity, EditsNeverScoreAHundredAndTheFloorIsApplied) {
  const std::string long1(300, 'a');
  std::string long2 = long1;
  long2[150] = 'b';
  EXPECT_EQ(SimilarityScore(long1, long2), 99);  // 99.66 is not 100
  EXPECT_EQ(DescribeDifferences(kDiffersInCase | kDiffersInHotkey), "mayúsculas, marcador de tecla");
}

TEST(TextSimilarity, AtLeastGivesTheSameScoreOrSaysBelow) {
  const char* texts[] = {"Abrir archivo", "Abrir archivos", "Cerrar archivo", "Abrir", "Archivo",
                         "&Abrir archivo...", "Guardar todo", "", "x"};
  for (const char* a : texts) {
    for (const char* b : texts) {
      const int full = SimilarityScore(a, b);
      for (const int minimum : {0, 50, 75, 90, 100}) {
        const int bounded = CompareTextsAtLeast(a, b, minimum).score;
        EXPECT_EQ(bounded, full >= minimum ? full : -1) << a << " / " << b << " >= " << minimum;
      }
    }
  }
}

TEST(TextSimilarity, BandedDistanceMatchesTheFullOne) {
  const SimilarityUnits a = NormalisedUnits("configuración de la impresora");
  const SimilarityUnits b = NormalisedUnits("configurar la impresora predeterminada");
  const int full = EditDistanceWithin(a, b, 1000);
  EXPECT_GT(full, 5);
  for (int limit = 0; limit < full + 3; ++limit) {
    const int banded = EditDistanceWithin(a, b, limit);
    EXPECT_EQ(banded, full <= limit ? full : limit + 1) << limit;
  }
}

TEST(TextSimilarity, LengthWindowHoldsEveryTextThatCanReachTheScore) {
  std::size_t shortest = 0;
  std::size_t longest = 0;
  LengthWindow(20, 75, shortest, longest);
  EXPECT_EQ(shortest, 15u);
  EXPECT_EQ(longest, 26u);
  // The bounds themselves can reach the score: 15 of 20 and 20 of 26 units.
  EXPECT_GE(UnitScoreAtLeast(SimilarityUnits(20, U'a'), SimilarityUnits(15, U'a'), 75), 75);
  EXPECT_GE(UnitScoreAtLeast(SimilarityUnits(20, U'a'), SimilarityUnits(26, U'a'), 75), 75);
  EXPECT_EQ(UnitScoreAtLeast(SimilarityUnits(20, U'a'), SimilarityUnits(27, U'a'), 75), -1);
}

TEST(TextSimilarity, GramsAreSharedByTextsEqualInFormAndPadShortTexts) {
  EXPECT_EQ(UnitGrams(NormalisedUnits("&Abrir...")), UnitGrams(NormalisedUnits("abrir")));
  EXPECT_EQ(UnitGrams(NormalisedUnits("a")).size(), 3u);
  EXPECT_EQ(UnitGrams(NormalisedUnits("")).size(), 1u);
  // Repeated grams count once.
  EXPECT_EQ(UnitGrams(NormalisedUnits("aaaa")).size(), 5u);
}

TEST(TextSimilarity, MeasuresCountWordsAndCharactersAsTranslatorsDo) {
  struct Case {
    const char* text;
    std::size_t words;
    std::size_t characters;
  };
  const Case cases[] = {
      {"&Abrir archivo...", 2, 15},
      {"%d archivos de %s", 2, 10},       // specifiers are neither
      {"Línea\\nsiguiente", 2, 14},      // an escape separates words
      {"Guardar && salir", 2, 13},        // "&&" is an ampersand
      {"Versión 2.0", 2, 10},             // a number is a word
      {"日本語のテキスト", 3, 8},           // by dictionary boundaries
      {"   ", 0, 0},
      {"", 0, 0},
  };
  for (const Case& c : cases) {
    const TextMeasure measure = MeasureText(c.text);
    EXPECT_EQ(measure.words, c.words) << c.text;
    EXPECT_EQ(measure.characters, c.characters) << c.text;
  }
}

TEST(TextSimilarity, DifferingRangesMarkWhatTheReferenceLacks) {
  const auto ranges = DifferingRanges("Abrir archivos nuevos", "Abrir archivo");
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_EQ(ranges[0].offset, 13u);  // "s nuevos"
  EXPECT_EQ(ranges[0].length, 8u);
  EXPECT_TRUE(DifferingRanges("Igual", "igual").empty());
  const auto accented = DifferingRanges("Línea", "Linea");
  ASSERT_EQ(accented.size(), 1u);
  EXPECT_EQ(accented[0].offset, 1u);
  EXPECT_EQ(accented[0].length, 2u);  // "í" is two bytes
}

}  // namespace
}  // namespace ulk
