// How close two stored texts are, from 0 to 100, for the dictionary's
// similar earlier translations and the reuse of older projects.
//
// The score:
//   - 100 only for identical texts.
//   - 95 to 99 for texts that differ only in form: the hotkey marker ("&"),
//     letter case, blanks at either end, and punctuation at the end ("...",
//     ":", "!"). Each kind of difference takes one point, case two; the
//     result says which kinds there were.
//   - Otherwise the edit distance (insertions, deletions, substitutions)
//     between the two texts normalised as above, relative to the longer
//     one: floor(100 * (longer - distance) / longer), at most 99. A format
//     specifier ("%s", "%1!d!", "%2$s", "{0}") and an escape ("\n", "\t")
//     count as one unit each, so that "%d files" and "%s files" are one
//     edit apart, and every other character is one unit.
// Characters rather than words: interface texts are short (one to six
// words), so one changed word in a text of three costs a third of the
// score by words, whatever its length, and a plural ("file" / "files")
// costs as much as a different word; by characters both rank as a
// translator ranks them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <string_view>
#include <vector>

namespace ulk {

// The kinds of difference a score stands for.
enum TextDifference : unsigned {
  kDiffersInHotkey = 1u << 0,
  kDiffersInCase = 1u << 1,
  kDiffersInBlanks = 1u << 2,
  kDiffersInPunctuation = 1u << 3,
  kDiffersInText = 1u << 4,  // edits remain after normalising
};

struct TextSimilarity {
  int score = 0;             // 0 to 100
  unsigned differences = 0;  // TextDifference bits; 0 for identical texts
};

TextSimilarity CompareTexts(std::string_view a, std::string_view b);
// As CompareTexts, with score -1 when it is below `minimum`: texts far
// apart are told so without working out their whole distance.
TextSimilarity CompareTextsAtLeast(std::string_view a, std::string_view b, int minimum);
inline int SimilarityScore(std::string_view a, std::string_view b) {
  return CompareTexts(a, b).score;
}
// The kinds of difference in Spanish, comma-separated ("mayúsculas,
// marcador de tecla"); empty for identical texts.
std::string DescribeDifferences(unsigned differences);

// A text as the score sees it: one unit per character of the normalised
// text, a specifier or escape one unit of its own (a code point of the
// supplementary private use area standing for that specifier).
using SimilarityUnits = std::u32string;
SimilarityUnits NormalisedUnits(std::string_view text);

// The edit distance of two unit strings when it is at most `limit`;
// limit + 1 otherwise. Work is about (limit * 2 + 1) * size.
int EditDistanceWithin(const SimilarityUnits& a, const SimilarityUnits& b, int limit);

// The score of two normalised texts, or -1 when it would be below
// `minimum` (found without computing the whole distance). Two equal unit
// strings score 100 here: the caller tells identical from merely equal.
int UnitScoreAtLeast(const SimilarityUnits& a, const SimilarityUnits& b, int minimum);

// The shortest and longest unit length a text of `length` units may have
// to score at least `minimum` against it.
void LengthWindow(std::size_t length, int minimum, std::size_t& shortest, std::size_t& longest);

// The distinct three-unit grams of a normalised text, padded at both ends
// so that a text of one unit has grams too; each packs its three units
// into 63 bits. Sorted.
std::vector<std::uint64_t> UnitGrams(const SimilarityUnits& units);

// The size of a stored text as translators count it: words by Unicode word
// boundaries, characters as the code points that are not blanks; the
// hotkey marker, format specifiers and escapes count as neither.
struct TextMeasure {
  std::size_t words = 0;
  std::size_t characters = 0;
};
TextMeasure MeasureText(std::string_view text);

// Which parts of `text` (byte ranges) are not in `reference`, as an
// alignment of their characters finds them: what a window marks as the
// difference between a similar earlier text and the current one.
struct TextRange {
  std::size_t offset = 0;
  std::size_t length = 0;
};
std::vector<TextRange> DifferingRanges(std::string_view text, std::string_view reference);

// Texts held in memory (another project's, say) and searched for the ones
// most similar to a text: the texts that share the most grams with it, in
// the length window its minimum allows, are scored, and the best kept.
class SimilarTextIndex {
 public:
  // Adds a text; its number is the count of texts added before it.
  std::size_t Add(std::string_view text);
  std::size_t size() const { return texts_.size(); }
  const std::string& Text(std::size_t id) const { return texts_[id]; }

  struct Hit {
    std::size_t id = 0;
    TextSimilarity similarity;
  };
  // The texts scoring at least `minimum` (1 to 100) that `accept` takes
  // (all when empty), best first, at most `limit`.
  std::vector<Hit> Find(std::string_view text, int minimum, std::size_t limit,
                        const std::function<bool(std::size_t)>& accept = {}) const;

 private:
  std::vector<std::string> texts_;
  std::vector<std::uint32_t> lengths_;  // in units
  std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> postings_;
};

}  // namespace ulk
