// The index of similar texts in the dictionary file, and the search.
#include "glossmith/db/fuzzy_index.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <unordered_map>

#include "platform/stored_text.h"
#include "platform/text_similarity.h"

namespace ulk {
namespace {

// Raised when what the index holds changes meaning: an index of another
// version is built again.
constexpr std::int64_t kIndexVersion = 1;

constexpr const char* kIndexDefinition =
    "create virtual table ulk_fuzzy using fts5(fuzzy_grams, content='', columnsize=0, "
    "detail=none, tokenize='ascii')";
constexpr const char* kStateDefinition =
    "create table ulk_fuzzy_state ( state_version integer, state_texts integer)";

// How many of the texts that share the most grams with the searched one
// are scored: more finds a match hidden among many alike, fewer is faster.
constexpr std::size_t kScoredCandidates = 96;
// How many texts one gram may propose before it is left out as too common
// to tell texts apart (the rarer grams still find them).
constexpr std::int64_t kCommonGramRows = 40000;

std::uint64_t Mix(std::uint64_t value) {
  value += std::uint64_t{0x9E3779B97F4A7C15};
  value = (value ^ (value >> 30)) * std::uint64_t{0xBF58476D1CE4E5B9};
  value = (value ^ (value >> 27)) * std::uint64_t{0x94D049BB133111EB};
  return value ^ (value >> 31);
}

// The token of a gram of a text of one language and length band.
std::string GramToken(std::uint64_t gram, std::int64_t languageId, int band) {
  const std::uint64_t key =
      Mix(gram ^ Mix(static_cast<std::uint64_t>(languageId) * std::uint64_t{0x100000001B3} +
                     static_cast<std::uint64_t>(band)));
  char token[24];
  std::snprintf(token, sizeof token, "g%016" PRIx64, key);
  return token;
}

std::string Document(std::int64_t languageId, std::string_view text) {
  const SimilarityUnits units = NormalisedUnits(text);
  const int band = LengthBand(units.size());
  std::string document;
  for (const std::uint64_t gram : UnitGrams(units)) {
    if (!document.empty()) document += ' ';
    document += GramToken(gram, languageId, band);
  }
  return document;
}

std::string Qualified(const std::string& schema, std::string_view table) {
  return schema + "." + std::string(table);
}

bool HasTable(DictionaryConnection& connection, const std::string& schema, std::string_view name) {
  PreparedStatement* query = connection.Prepared("select 1 from " + schema +
                                                 ".sqlite_master where type = 'table' and name = ?");
  if (!query) return false;
  query->Bind(name);
  const bool found = query->Step() == SQLITE_ROW;
  query->Reset();
  return found;
}

bool Done(int result) {
  return result == SQLITE_DONE || result == SQLITE_ROW;
}

struct Candidate {
  std::int64_t textId = 0;
  int shared = 0;
};

}  // namespace

int LengthBand(std::size_t units) {
  // Lengths up to 16 have a band each; then each band starts an eighth
  // above the one before. Integers only, so that every machine
  // puts a text in the same band.
  static const std::vector<std::size_t> starts = [] {
    std::vector<std::size_t> s;
    for (std::size_t start = 0; start < (std::size_t{1} << 40);
         start = std::max(start + 1, start + start / 8)) {
      s.push_back(start);
    }
    return s;
  }();
  const auto after = std::upper_bound(starts.begin(), starts.end(), units);
  return static_cast<int>(after - starts.begin()) - 1;
}

const char* FuzzyIndex::IndexDefinition() {
  return kIndexDefinition;
}

const char* FuzzyIndex::StateDefinition() {
  return kStateDefinition;
}

bool FuzzyIndex::IsIndexTable(std::string_view lowerName) {
  return lowerName == "ulk_fuzzy" || lowerName == "ulk_fuzzy_state";
}

bool FuzzyIndex::InFile() {
  return HasTable(connection_, "main", "ulk_fuzzy") &&
         HasTable(connection_, "main", "ulk_fuzzy_state");
}

bool FuzzyIndex::IsCurrentInFile() {
  if (!InFile()) return false;
  PreparedStatement* state =
      connection_.Prepared("select state_version, state_texts from main.ulk_fuzzy_state");
  PreparedStatement* texts = connection_.Prepared("select count(*) from main.texts");
  if (!state || !texts) return false;
  bool current = false;
  if (state->Step() == SQLITE_ROW && state->Integer(0) == kIndexVersion &&
      texts->Step() == SQLITE_ROW) {
    current = state->Integer(1) == texts->Integer(0);
  }
  state->Reset();
  texts->Reset();
  return current;
}

bool FuzzyIndex::Prepare(const FuzzyIndexProgress& progress) {
  if (IsReady()) return true;
  if (IsCurrentInFile()) {
    schema_ = "main";
    return true;
  }
  const std::string schema = connection_.IsReadOnly() ? "temp" : "main";
  if (!Build(schema, progress)) return false;
  schema_ = schema;
  return true;
}

bool FuzzyIndex::Build(const std::string& schema, const FuzzyIndexProgress& progress) {
  const bool ownTransaction = !connection_.InTransaction();
  if (ownTransaction && !connection_.Begin()) return false;
  bool built = true;
  if (!HasTable(connection_, schema, "ulk_fuzzy")) {
    std::string create = kIndexDefinition;
    if (schema != "main") create.insert(std::string_view("create virtual table ").size(), schema + ".");
    built = connection_.Execute(create) == SQLITE_OK;
  } else {
    built = connection_.Execute("insert into " + Qualified(schema, "ulk_fuzzy") +
                                "(ulk_fuzzy) values('delete-all')") == SQLITE_OK;
  }
  if (built && !HasTable(connection_, schema, "ulk_fuzzy_state")) {
    std::string create = kStateDefinition;
    if (schema != "main") create.insert(std::string_view("create table ").size(), schema + ".");
    built = connection_.Execute(create) == SQLITE_OK;
  }
  built = built && Fill(schema, progress);
  if (!ownTransaction) return built;
  if (built) return connection_.Commit();
  connection_.Rollback();
  return false;
}

bool FuzzyIndex::Fill(const std::string& schema, const FuzzyIndexProgress& progress) {
  PreparedStatement* count = connection_.Prepared("select count(*) from main.texts");
  if (!count || count->Step() != SQLITE_ROW) return false;
  const std::int64_t total = count->Integer(0);
  count->Reset();
  PreparedStatement* texts = connection_.Prepared(
      "select text_id, text_lang_id, text_text from main.texts order by text_id");
  if (!texts) return false;
  std::int64_t done = 0;
  int result = SQLITE_ROW;
  while ((result = texts->Step()) == SQLITE_ROW) {
    const std::string_view text = texts->TextView(2);
    // A row another program stored as no text is not proposed; it still
    // counts, so that the index stays current.
    if (texts->ColumnType(2) == SQLITE_TEXT && !CheckStoredText(text) &&
        !Insert(schema, texts->Integer(0), texts->Integer(1), text)) {
      texts->Reset();
      return false;
    }
    if (++done % 1024 == 0 && progress && !progress(done, total)) {
      texts->Reset();
      return false;
    }
  }
  texts->Reset();
  if (result != SQLITE_DONE) return false;
  if (progress) progress(done, total);
  const std::string state = Qualified(schema, "ulk_fuzzy_state");
  PreparedStatement* insert =
      connection_.Prepared("insert into " + state + " (state_version, state_texts) values (?, ?)");
  return connection_.Execute("delete from " + state) == SQLITE_OK && insert &&
         Done(insert->Bind(kIndexVersion).Bind(done).Step()) &&
         connection_.Execute("insert into " + Qualified(schema, "ulk_fuzzy") +
                             "(ulk_fuzzy) values('optimize')") == SQLITE_OK;
}

bool FuzzyIndex::Insert(const std::string& schema, std::int64_t textId, std::int64_t languageId,
                        std::string_view text) {
  PreparedStatement* insert = connection_.Prepared(
      "insert into " + Qualified(schema, "ulk_fuzzy") + " (rowid, fuzzy_grams) values (?, ?)");
  if (!insert) return false;
  const bool inserted = Done(insert->Bind(textId).Bind(Document(languageId, text)).Step());
  insert->Reset();
  return inserted;
}

bool FuzzyIndex::CountIndexed(std::int64_t delta) {
  PreparedStatement* update =
      connection_.Prepared("update main.ulk_fuzzy_state set state_texts = state_texts + ?");
  if (!update) return false;
  const bool updated = Done(update->Bind(delta).Step());
  update->Reset();
  return updated;
}

bool FuzzyIndex::Add(std::int64_t textId, std::int64_t languageId, std::string_view text) {
  if (!InFile()) return true;
  return Insert("main", textId, languageId, text) && CountIndexed(1);
}

bool FuzzyIndex::Remove(std::int64_t textId, std::int64_t languageId, std::string_view text) {
  if (!InFile()) return true;
  PreparedStatement* remove = connection_.Prepared(
      "insert into main.ulk_fuzzy (ulk_fuzzy, rowid, fuzzy_grams) values ('delete', ?, ?)");
  if (!remove) return false;
  const bool removed = Done(remove->Bind(textId).Bind(Document(languageId, text)).Step());
  remove->Reset();
  return removed && CountIndexed(-1);
}

std::vector<FuzzyMatch> FuzzyIndex::Find(std::string_view type, std::int64_t sourceLanguage,
                                         std::string_view text, std::int64_t targetLanguage,
                                         int minimum, std::size_t maxMatches) {
  std::vector<FuzzyMatch> matches;
  if (!IsReady() || maxMatches == 0) return matches;
  minimum = std::clamp(minimum, 1, 100);
  const SimilarityUnits units = NormalisedUnits(text);
  std::size_t shortest = 0;
  std::size_t longest = 0;
  LengthWindow(units.size(), minimum, shortest, longest);
  const int firstBand = LengthBand(shortest);
  const int lastBand = LengthBand(longest);

  PreparedStatement* postings = connection_.Prepared(
      "select rowid from " + Qualified(schema_, "ulk_fuzzy") + " where ulk_fuzzy match ?");
  if (!postings) return matches;
  std::unordered_map<std::int64_t, int> shared;
  for (const std::uint64_t gram : UnitGrams(units)) {
    std::string expression;
    for (int band = firstBand; band <= lastBand; ++band) {
      if (!expression.empty()) expression += " OR ";
      expression += GramToken(gram, sourceLanguage, band);
    }
    postings->Bind(expression);
    std::vector<std::int64_t> rows;
    while (postings->Step() == SQLITE_ROW) {
      rows.push_back(postings->Integer(0));
      if (static_cast<std::int64_t>(rows.size()) > kCommonGramRows) break;
    }
    postings->Reset();
    if (static_cast<std::int64_t>(rows.size()) > kCommonGramRows) continue;
    for (const std::int64_t row : rows) ++shared[row];
  }

  std::vector<Candidate> candidates;
  candidates.reserve(shared.size());
  for (const auto& [textId, count] : shared) candidates.push_back({textId, count});
  const std::size_t scored = std::min(candidates.size(), kScoredCandidates);
  std::partial_sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(scored),
                    candidates.end(), [](const Candidate& a, const Candidate& b) {
                      return a.shared != b.shared ? a.shared > b.shared : a.textId < b.textId;
                    });
  candidates.resize(scored);

  PreparedStatement* source = connection_.Prepared(
      "select text_type, text_lang_id, text_text from main.texts where text_id = ?");
  PreparedStatement* translations = connection_.Prepared(
      "select text_type, text_text from main.translations, main.texts where tran_text_id_1 = ? "
      "and tran_text_id_2 = text_id and text_lang_id = ? order by text_text");
  if (!source || !translations) return matches;
  for (const Candidate& candidate : candidates) {
    source->Bind(candidate.textId);
    if (source->Step() != SQLITE_ROW || source->Integer(1) != sourceLanguage ||
        source->ColumnType(2) != SQLITE_TEXT) {
      source->Reset();
      continue;
    }
    const std::string sourceType(source->TextView(0));
    const std::string sourceText(source->TextView(2));
    source->Reset();
    if (CheckStoredText(sourceText) || CheckStoredText(sourceType)) continue;
    const TextSimilarity similarity = CompareTextsAtLeast(text, sourceText, minimum);
    if (similarity.score < minimum) continue;
    translations->Bind(candidate.textId).Bind(targetLanguage);
    while (translations->Step() == SQLITE_ROW) {
      const std::string_view translationType = translations->TextView(0);
      const std::string_view translation = translations->TextView(1);
      if (translation.empty() || CheckStoredText(translation) || CheckStoredText(translationType)) {
        continue;
      }
      matches.push_back(
          {similarity.score, similarity.differences, sourceType, sourceText, std::string(translation)});
    }
    translations->Reset();
  }

  std::sort(matches.begin(), matches.end(), [&](const FuzzyMatch& a, const FuzzyMatch& b) {
    if (a.score != b.score) return a.score > b.score;
    const bool aOfType = a.type == type;
    const bool bOfType = b.type == type;
    if (aOfType != bOfType) return aOfType;
    if (a.source != b.source) return a.source < b.source;
    return a.translation < b.translation;
  });
  // The same translation of the same text under another type says nothing new.
  std::vector<FuzzyMatch> distinct;
  for (FuzzyMatch& match : matches) {
    const bool seen = std::any_of(distinct.begin(), distinct.end(), [&](const FuzzyMatch& m) {
      return m.source == match.source && m.translation == match.translation;
    });
    if (!seen) distinct.push_back(std::move(match));
    if (distinct.size() == maxMatches) break;
  }
  return distinct;
}

}  // namespace ulk
