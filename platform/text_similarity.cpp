// The similarity score of two stored texts and the pieces it is made of.
#include "platform/text_similarity.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <limits>

#include "platform/utf8.h"

namespace ulk {
namespace {

// One unit of a stored text before normalising.
struct RawUnit {
  char32_t code = 0;
  bool special = false;  // a specifier or escape: never folded or trimmed
  bool marker = false;   // a single "&"
};

// Specifiers and escapes stand for themselves as a code point of the
// supplementary private use area A, chosen by their text.
char32_t SpecialCode(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (const char c : text) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  }
  return static_cast<char32_t>(0xF0000u + hash % 0xFFFEu);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The length of a specifier starting with '%' at `at`, 0 when there is none.
std::size_t PercentSpecifierLength(std::string_view text, std::size_t at) {
  std::size_t i = at + 1;
  if (i >= text.size()) return 0;
  if (text[i] == '%') return 2;
  if (IsDigit(text[i]) && text[i] != '0') {
    // The message formatter's "%1", "%1!d!", and printf's "%1$s".
    std::size_t j = i;
    while (j < text.size() && IsDigit(text[j])) ++j;
    if (j < text.size() && text[j] == '!') {
      const std::size_t close = text.find('!', j + 1);
      if (close != std::string_view::npos && close - j <= 16) return close + 1 - at;
    }
    if (j >= text.size() || text[j] != '$') return j - at;
    i = j + 1;
  }
  while (i < text.size() && std::string_view("-+ #0'").find(text[i]) != std::string_view::npos) ++i;
  while (i < text.size() && (IsDigit(text[i]) || text[i] == '*')) ++i;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && (IsDigit(text[i]) || text[i] == '*')) ++i;
  }
  for (const std::string_view length : {"I64", "I32", "hh", "ll", "h", "l", "L", "z", "j", "t", "I"}) {
    if (text.substr(i, length.size()) == length) {
      i += length.size();
      break;
    }
  }
  if (i < text.size() && std::string_view("diouxXeEfFgGaAcspnSC").find(text[i]) != std::string_view::npos) {
    return i + 1 - at;
  }
  return 0;
}

std::size_t BraceSpecifierLength(std::string_view text, std::size_t at) {
  std::size_t i = at + 1;
  while (i < text.size() && IsDigit(text[i])) ++i;
  if (i == at + 1 || i >= text.size() || text[i] != '}') return 0;
  return i + 1 - at;
}

std::vector<RawUnit> RawUnits(std::string_view text) {
  std::vector<RawUnit> units;
  units.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    std::size_t special = 0;
    if (c == '\\' && at + 1 < text.size() &&
        std::string_view("nrt\\").find(text[at + 1]) != std::string_view::npos) {
      special = 2;
    } else if (c == '%') {
      special = PercentSpecifierLength(text, at);
    } else if (c == '{') {
      special = BraceSpecifierLength(text, at);
    }
    if (special) {
      units.push_back({SpecialCode(text.substr(at, special)), true, false});
      at += special;
      continue;
    }
    if (c == '&') {
      if (at + 1 < text.size() && text[at + 1] == '&') {
        units.push_back({U'&', false, false});
        at += 2;
      } else {
        units.push_back({U'&', false, true});
        ++at;
      }
      continue;
    }
    char32_t code = 0;
    if (!DecodeUtf8(text, at, code)) code = 0xFFFD;
    units.push_back({code, false, false});
  }
  return units;
}

// The normalising steps, each of which may be left out to see whether it
// was what made two texts equal.
enum Step : unsigned {
  kStepHotkey = 1u << 0,
  kStepCase = 1u << 1,
  kStepBlanks = 1u << 2,
  kStepPunctuation = 1u << 3,
  kAllSteps = 0xFu,
};

bool IsBlank(const RawUnit& unit) {
  return !unit.special && u_isUWhiteSpace(static_cast<UChar32>(unit.code));
}

bool IsFinalPunctuation(const RawUnit& unit) {
  if (unit.special) return false;
  switch (unit.code) {
    case U'.': case U':': case U'!': case U'?': case U';': case U',':
    case U'\u2026': case U'\u3002': case U'\uFF1A': case U'\uFF01': case U'\uFF1F':
    case U'\uFF1B': case U'\u3001': case U'\u060C': case U'\u061F': case U'\u00A1':
    case U'\u00BF':
      return true;
    default:
      return false;
  }
}

SimilarityUnits Normalise(const std::vector<RawUnit>& raw, unsigned steps) {
  std::vector<RawUnit> units;
  units.reserve(raw.size());
  for (const RawUnit& unit : raw) {
    if (unit.marker && (steps & kStepHotkey)) continue;
    units.push_back(unit);
  }
  std::size_t begin = 0;
  std::size_t end = units.size();
  const auto trimBlanks = [&] {
    if (!(steps & kStepBlanks)) return;
    while (begin < end && IsBlank(units[begin])) ++begin;
    while (end > begin && IsBlank(units[end - 1])) --end;
  };
  trimBlanks();
  if (steps & kStepPunctuation) {
    while (end > begin && IsFinalPunctuation(units[end - 1])) --end;
    trimBlanks();
  }
  SimilarityUnits out;
  out.reserve(end - begin);
  for (std::size_t i = begin; i < end; ++i) {
    const RawUnit& unit = units[i];
    char32_t code = unit.code;
    if (!unit.special && (steps & kStepCase)) {
      code = static_cast<char32_t>(u_foldCase(static_cast<UChar32>(code), U_FOLD_CASE_DEFAULT));
    }
    out.push_back(code);
  }
  return out;
}

TextSimilarity FormalDifferences(const std::vector<RawUnit>& a, const std::vector<RawUnit>& b) {
  struct Aspect {
    unsigned step;
    unsigned difference;
    int cost;
  };
  constexpr Aspect kAspects[] = {
      {kStepHotkey, kDiffersInHotkey, 1},
      {kStepCase, kDiffersInCase, 2},
      {kStepBlanks, kDiffersInBlanks, 1},
      {kStepPunctuation, kDiffersInPunctuation, 1},
  };
  TextSimilarity result{100, 0};
  for (const Aspect& aspect : kAspects) {
    if (Normalise(a, kAllSteps & ~aspect.step) != Normalise(b, kAllSteps & ~aspect.step)) {
      result.differences |= aspect.difference;
      result.score -= aspect.cost;
    }
  }
  // Texts that differ yet in none of the formal ways (two invalid bytes,
  // two specifiers with one code) are one point apart.
  if (result.differences == 0) {
    result.differences = kDiffersInText;
    result.score = 99;
  }
  return result;
}

}  // namespace

SimilarityUnits NormalisedUnits(std::string_view text) {
  return Normalise(RawUnits(text), kAllSteps);
}

int EditDistanceWithin(const SimilarityUnits& a, const SimilarityUnits& b, int limit) {
  if (limit < 0) return 0;
  const auto n = static_cast<std::int64_t>(a.size());
  const auto m = static_cast<std::int64_t>(b.size());
  const std::int64_t outside = std::int64_t{limit} + 1;
  if (std::max(n - m, m - n) > limit) return limit + 1;
  if (n == 0 || m == 0) return static_cast<int>(std::max(n, m));
  std::vector<std::int64_t> previous(static_cast<std::size_t>(m + 1));
  std::vector<std::int64_t> current(static_cast<std::size_t>(m + 1));
  for (std::int64_t j = 0; j <= m; ++j) previous[static_cast<std::size_t>(j)] = std::min(j, outside);
  for (std::int64_t i = 1; i <= n; ++i) {
    const std::int64_t low = std::max<std::int64_t>(1, i - limit);
    const std::int64_t high = std::min<std::int64_t>(m, i + limit);
    current[static_cast<std::size_t>(low - 1)] = low == 1 ? std::min(i, outside) : outside;
    std::int64_t rowMinimum = current[static_cast<std::size_t>(low - 1)];
    for (std::int64_t j = low; j <= high; ++j) {
      const auto at = static_cast<std::size_t>(j);
      const std::int64_t substitution =
          previous[at - 1] + (a[static_cast<std::size_t>(i - 1)] != b[at - 1] ? 1 : 0);
      const std::int64_t value =
          std::min({substitution, previous[at] + 1, current[at - 1] + 1, outside});
      current[at] = value;
      rowMinimum = std::min(rowMinimum, value);
    }
    if (high < m) current[static_cast<std::size_t>(high + 1)] = outside;
    if (rowMinimum > limit) return limit + 1;
    std::swap(previous, current);
  }
  return static_cast<int>(std::min(previous[static_cast<std::size_t>(m)], outside));
}

int UnitScoreAtLeast(const SimilarityUnits& a, const SimilarityUnits& b, int minimum) {
  minimum = std::clamp(minimum, 0, 100);
  if (a == b) return 100;
  const auto longer = static_cast<std::int64_t>(std::max(a.size(), b.size()));
  const auto limit = static_cast<int>(
      std::min<std::int64_t>(longer * (100 - minimum) / 100, std::numeric_limits<int>::max() - 1));
  const int distance = EditDistanceWithin(a, b, limit);
  if (distance > limit) return -1;
  const auto score = static_cast<int>(std::min<std::int64_t>(99, 100 * (longer - distance) / longer));
  return score >= minimum ? score : -1;
}

TextSimilarity CompareTextsAtLeast(std::string_view a, std::string_view b, int minimum) {
  if (a == b) return {100, 0};
  const std::vector<RawUnit> rawA = RawUnits(a);
  const std::vector<RawUnit> rawB = RawUnits(b);
  const SimilarityUnits unitsA = Normalise(rawA, kAllSteps);
  const SimilarityUnits unitsB = Normalise(rawB, kAllSteps);
  if (unitsA == unitsB) {
    TextSimilarity formal = FormalDifferences(rawA, rawB);
    if (formal.score < minimum) formal.score = -1;
    return formal;
  }
  return {UnitScoreAtLeast(unitsA, unitsB, minimum), kDiffersInText};
}

TextSimilarity CompareTexts(std::string_view a, std::string_view b) {
  return CompareTextsAtLeast(a, b, 0);
}

std::string DescribeDifferences(unsigned differences) {
  struct Name {
    unsigned difference;
    const char* text;
  };
  constexpr Name kNames[] = {
      {kDiffersInText, "texto"},
      {kDiffersInCase, "mayúsculas"},
      {kDiffersInHotkey, "marcador de tecla"},
      {kDiffersInBlanks, "espacios"},
      {kDiffersInPunctuation, "puntuación final"},
  };
  std::string out;
  for (const Name& name : kNames) {
    if (!(differences & name.difference)) continue;
    if (!out.empty()) out += ", ";
    out += name.text;
  }
  return out;
}

TextMeasure MeasureText(std::string_view text) {
  TextMeasure measure;
  std::u16string plain;
  plain.reserve(text.size());
  for (const RawUnit& unit : RawUnits(text)) {
    if (unit.marker) continue;
    // A specifier or escape separates words and is no character.
    const char32_t code = unit.special ? U' ' : unit.code;
    if (!unit.special && !u_isUWhiteSpace(static_cast<UChar32>(code))) ++measure.characters;
    if (code > 0xFFFF) {
      plain.push_back(static_cast<char16_t>(U16_LEAD(code)));
      plain.push_back(static_cast<char16_t>(U16_TRAIL(code)));
    } else {
      plain.push_back(static_cast<char16_t>(code));
    }
  }
  UErrorCode status = U_ZERO_ERROR;
  UBreakIterator* words = ubrk_open(UBRK_WORD, "", reinterpret_cast<const UChar*>(plain.data()),
                                    static_cast<int32_t>(plain.size()), &status);
  if (U_FAILURE(status) || !words) return measure;
  for (int32_t end = ubrk_next(words); end != UBRK_DONE; end = ubrk_next(words)) {
    if (ubrk_getRuleStatus(words) >= UBRK_WORD_NONE_LIMIT) ++measure.words;
  }
  ubrk_close(words);
  return measure;
}

void LengthWindow(std::size_t length, int minimum, std::size_t& shortest, std::size_t& longest) {
  minimum = std::clamp(minimum, 0, 100);
  shortest = (length * static_cast<std::size_t>(minimum) + 99) / 100;
  longest = minimum == 0 ? std::numeric_limits<std::size_t>::max()
                         : length * 100 / static_cast<std::size_t>(minimum);
}

std::vector<std::uint64_t> UnitGrams(const SimilarityUnits& units) {
  constexpr char32_t kPad = 0x110000;  // beyond every code point, inside 21 bits
  SimilarityUnits padded;
  padded.reserve(units.size() + 4);
  padded.append(2, kPad);
  padded += units;
  padded.append(2, kPad);
  std::vector<std::uint64_t> grams;
  grams.reserve(padded.size() - 2);
  for (std::size_t i = 0; i + 2 < padded.size(); ++i) {
    grams.push_back((std::uint64_t{padded[i]} << 42) | (std::uint64_t{padded[i + 1]} << 21) |
                    std::uint64_t{padded[i + 2]});
  }
  std::sort(grams.begin(), grams.end());
  grams.erase(std::unique(grams.begin(), grams.end()), grams.end());
  return grams;
}

std::vector<TextRange> DifferingRanges(std::string_view text, std::string_view reference) {
  struct Char {
    char32_t code;
    std::size_t offset;
    std::size_t length;
  };
  const auto chars = [](std::string_view s) {
    std::vector<Char> out;
    for (std::size_t at = 0; at < s.size();) {
      const std::size_t start = at;
      char32_t code = 0;
      if (!DecodeUtf8(s, at, code)) code = 0xFFFD;
      out.push_back({static_cast<char32_t>(u_foldCase(static_cast<UChar32>(code), U_FOLD_CASE_DEFAULT)),
                     start, at - start});
    }
    return out;
  };
  const std::vector<Char> t = chars(text);
  const std::vector<Char> r = chars(reference);
  std::vector<TextRange> ranges;
  if (t.empty()) return ranges;
  // Longer texts than a window shows are marked whole rather than aligned.
  constexpr std::size_t kMaxCells = 4'000'000;
  if (r.empty() || t.size() * r.size() > kMaxCells) {
    ranges.push_back({0, text.size()});
    return ranges;
  }
  // Longest common subsequence, then a walk back that marks what is not in it.
  const std::size_t n = t.size();
  const std::size_t m = r.size();
  std::vector<std::uint16_t> table((n + 1) * (m + 1), 0);
  const auto cell = [&](std::size_t i, std::size_t j) -> std::uint16_t& { return table[i * (m + 1) + j]; };
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t j = m; j-- > 0;) {
      cell(i, j) = t[i].code == r[j].code
                       ? static_cast<std::uint16_t>(cell(i + 1, j + 1) + 1)
                       : std::max(cell(i + 1, j), cell(i, j + 1));
    }
  }
  const auto mark = [&](const Char& c) {
    if (!ranges.empty() && ranges.back().offset + ranges.back().length == c.offset) {
      ranges.back().length += c.length;
    } else {
      ranges.push_back({c.offset, c.length});
    }
  };
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < n) {
    if (j < m && t[i].code == r[j].code) {
      ++i;
      ++j;
    } else if (j < m && cell(i, j + 1) >= cell(i + 1, j)) {
      ++j;
    } else {
      mark(t[i++]);
    }
  }
  return ranges;
}

std::size_t SimilarTextIndex::Add(std::string_view text) {
  const std::size_t id = texts_.size();
  const SimilarityUnits units = NormalisedUnits(text);
  texts_.emplace_back(text);
  lengths_.push_back(static_cast<std::uint32_t>(std::min<std::size_t>(units.size(), UINT32_MAX)));
  for (const std::uint64_t gram : UnitGrams(units)) {
    postings_[gram].push_back(static_cast<std::uint32_t>(id));
  }
  return id;
}

std::vector<SimilarTextIndex::Hit> SimilarTextIndex::Find(
    std::string_view text, int minimum, std::size_t limit,
    const std::function<bool(std::size_t)>& accept) const {
  // How many of the texts sharing the most grams are scored.
  constexpr std::size_t kScored = 64;
  std::vector<Hit> hits;
  if (limit == 0 || texts_.empty()) return hits;
  minimum = std::clamp(minimum, 1, 100);
  const SimilarityUnits units = NormalisedUnits(text);
  std::size_t shortest = 0;
  std::size_t longest = 0;
  LengthWindow(units.size(), minimum, shortest, longest);
  // Rarest grams first, and only as far as a budget of postings goes: a
  // gram that half the texts have tells little and costs most.
  constexpr std::size_t kPostingBudget = 4000;
  std::vector<const std::vector<std::uint32_t>*> lists;
  for (const std::uint64_t gram : UnitGrams(units)) {
    const auto found = postings_.find(gram);
    if (found != postings_.end()) lists.push_back(&found->second);
  }
  std::sort(lists.begin(), lists.end(),
            [](const auto* a, const auto* b) { return a->size() < b->size(); });
  std::vector<std::uint16_t> shared(texts_.size(), 0);
  std::vector<std::uint32_t> touched;
  std::size_t read = 0;
  for (std::size_t i = 0; i < lists.size(); ++i) {
    if (i >= 2 && read + lists[i]->size() > kPostingBudget) break;
    read += lists[i]->size();
    for (const std::uint32_t id : *lists[i]) {
      if (lengths_[id] < shortest || lengths_[id] > longest) continue;
      if (shared[id] == 0) touched.push_back(id);
      if (shared[id] < UINT16_MAX) ++shared[id];
    }
  }
  std::vector<std::pair<int, std::uint32_t>> ranked;
  ranked.reserve(touched.size());
  for (const std::uint32_t id : touched) {
    if (!accept || accept(id)) ranked.emplace_back(shared[id], id);
  }
  const std::size_t scored = std::min(ranked.size(), kScored);
  std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(scored),
                    ranked.end(), [](const auto& a, const auto& b) {
                      return a.first != b.first ? a.first > b.first : a.second < b.second;
                    });
  for (std::size_t i = 0; i < scored; ++i) {
    const TextSimilarity similarity = CompareTextsAtLeast(text, texts_[ranked[i].second], minimum);
    if (similarity.score >= minimum) hits.push_back({ranked[i].second, similarity});
  }
  std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
    return a.similarity.score != b.similarity.score ? a.similarity.score > b.similarity.score
                                                    : a.id < b.id;
  });
  if (hits.size() > limit) hits.resize(limit);
  return hits;
}

}  // namespace ulk
