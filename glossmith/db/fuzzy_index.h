// The dictionary's index of similar texts, and the search over it.
//
// Kept in the dictionary file beside the texts it indexes: an FTS5 table
// without content ("ulk_fuzzy") whose document for each text is the list of
// its three-unit grams, each as a token that also names the text's
// language and length band; the number of texts of each token
// ("ulk_fuzzy_terms"); and a one-row table ("ulk_fuzzy_state") with the
// index's version and the number of texts it holds. A reader that does
// not know these tables passes them over; a writer that does not keep them
// leaves a count that no longer matches the texts, and the index is built
// again at its next use. A dictionary that cannot be written gets its
// index in the connection's temporary schema instead, for as long as it
// stays open.
//
// A search takes the grams of the text, reads for each the texts of the
// source language in the length band the minimum score allows, ranks them
// by the grams they share, and scores the best of them with the similarity
// score: the index proposes, the score decides, so an index out of step
// with its texts (or made by someone else) can miss a text but never give
// a wrong score.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "glossmith/db/dictionary_connection.h"

namespace ulk {

inline constexpr int kDefaultFuzzyMinimum = 75;

struct FuzzyMatch {
  int score = 0;
  unsigned differences = 0;  // TextDifference bits
  std::string type;
  std::string source;
  std::string translation;
};

// Asked now and then while the index is built: (texts done, texts in all).
// Returning false stops the build, which then changes nothing.
using FuzzyIndexProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

class FuzzyIndex {
 public:
  explicit FuzzyIndex(DictionaryConnection& connection) : connection_(connection) {}

  // The definition of one of the index's tables as created here, null for
  // a name that is none of them: the schema check refuses a dictionary
  // that holds other tables under these names.
  static const char* Definition(std::string_view lowerName);

  // Whether the file holds the index (current or not), and whether it is
  // current: of this version, and counting as many texts as the file has.
  bool InFile();
  bool IsCurrentInFile();
  // Makes the index usable: nothing when the file's is current, otherwise
  // it is built, in the file when it can be written and in the temporary
  // schema when not. False when the build fails or is stopped.
  bool Prepare(const FuzzyIndexProgress& progress = {});
  bool IsReady() const { return !schema_.empty(); }
  // Drops what was learnt of the file (another connection may have changed
  // it): the next Prepare looks again.
  void Forget() { schema_.clear(); }

  // Keep the file's index in step with a text added or removed, inside
  // the caller's transaction. True, doing nothing, when the file has no
  // index.
  bool Add(std::int64_t textId, std::int64_t languageId, std::string_view text);
  bool Remove(std::int64_t textId, std::int64_t languageId, std::string_view text);

  // The texts of `sourceLanguage` similar to `text` that have translations
  // into `targetLanguage`: each pair scoring at least `minimum`, best
  // first; among equal scores those of `type` first (any type is searched).
  // At most `maxMatches`. Empty when the index is not ready.
  std::vector<FuzzyMatch> Find(std::string_view type, std::int64_t sourceLanguage,
                               std::string_view text, std::int64_t targetLanguage, int minimum,
                               std::size_t maxMatches);

 private:
  bool Build(const std::string& schema, const FuzzyIndexProgress& progress);
  bool Fill(const std::string& schema, const FuzzyIndexProgress& progress);
  bool Insert(const std::string& schema, std::int64_t textId,
              const std::vector<std::uint64_t>& keys);
  bool CountTerms(const std::vector<std::uint64_t>& keys, std::int64_t delta);
  bool CountIndexed(std::int64_t delta);

  DictionaryConnection& connection_;
  std::string schema_;  // "main" or "temp" once ready
};

// The number of a length in units among the index's length bands (each
// about an eighth longer than the one before).
int LengthBand(std::size_t units);

}  // namespace ulk
