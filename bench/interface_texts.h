// Interface-like texts for the benchmarks of similar texts: words made of
// syllables, used with a frequency that falls with their rank, in phrases of
// the lengths interface texts have, with hotkeys, ellipses and specifiers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ulk::bench {

struct Random {
  std::uint64_t state;
  std::uint64_t Next() {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return state >> 33;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
};

// Words made of syllables, used with a frequency that falls with their
// rank, as the words of interface texts are.
class Vocabulary {
 public:
  Vocabulary() {
    const char* syllables[] = {"ra", "to", "ne", "li", "sa", "mo", "ku", "pe", "di", "fa", "lo", "ve",
                               "bri", "tar", "son", "mel", "gra", "pin", "dus", "cor", "ex", "in",
                               "ab", "ul", "or", "en", "st", "tion", "er", "al"};
    Random random{7};
    for (int i = 0; i < 20000; ++i) {
      std::string word;
      const int count = 1 + random.Below(4);
      for (int s = 0; s < count; ++s) word += syllables[random.Below(30)];
      words_.push_back(word);
    }
  }
  const std::string& Pick(Random& random) const {
    // Zipf-like: the square of a uniform number favours the first words.
    const double u = static_cast<double>(random.Below(1 << 20)) / (1 << 20);
    return words_[static_cast<std::size_t>(u * u * u * static_cast<double>(words_.size()))];
  }

 private:
  std::vector<std::string> words_;
};

inline std::string Phrase(const Vocabulary& vocabulary, Random& random) {
  static const int lengths[] = {1, 2, 2, 2, 3, 3, 3, 4, 4, 5, 6, 8, 10, 14};
  const int words = lengths[random.Below(14)];
  std::string text;
  for (int w = 0; w < words; ++w) {
    if (w) text += ' ';
    text += vocabulary.Pick(random);
  }
  text[0] = static_cast<char>(text[0] - 'a' + 'A');
  switch (random.Below(12)) {
    case 0: text.insert(static_cast<std::size_t>(random.Below(static_cast<int>(text.size()))), "&"); break;
    case 1: text += "..."; break;
    case 2: text += ":"; break;
    case 3: text += " %d"; break;
    case 4: text = "%s " + text; break;
    default: break;
  }
  return text;
}

// A text close to `text`: one word changed, added or dropped, a letter
// more, or its case.
inline std::string Variant(const Vocabulary& vocabulary, std::string text, Random& random) {
  switch (random.Below(4)) {
    case 0: return text + "s";
    case 1: return text + " " + vocabulary.Pick(random);
    case 2: {
      const std::size_t space = text.find(' ');
      if (space != std::string::npos) return vocabulary.Pick(random) + text.substr(space);
      return text + "x";
    }
    default:
      for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
      return text;
  }
}

}  // namespace ulk::bench
