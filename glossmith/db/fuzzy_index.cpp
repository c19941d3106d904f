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
// How many texts each token has: the search reads the rarest first.
constexpr const char* kTermsDefinition =
    "create table ulk_fuzzy_terms ( term_key integer primary key, term_texts integer)";

// How many of the texts that share the most grams with the searched one
// are scored: more finds a match hidden among many alike, fewer is faster.
// A search for the best few scores fewer.
std::size_t ScoredCandidates(std::size_t maxMatches) {
  return std::min<std::size_t>(96, 32 + 16 * maxMatches);
}
// How many postings a search reads at most (a few thousand a millisecond),
// beyond its rarest grams, which are always read: a search for the best
// few reads fewer.
std::int64_t PostingBudget(std::size_t maxMatches) {
  return static_cast<std::int64_t>(std::min<std::size_t>(20000, 6000 + 3000 * maxMatches));
}
constexpr std::size_t kAlwaysReadGrams = 2;

std::uint64_t Mix(std::uint64_t value) {
  value += std::uint64_t{0x9E3779B97F4A7C15};
  value = (value ^ (value >> 30)) * std::uint64_t{0xBF58476D1CE4E5B9};
  value = (value ^ (value >> 27)) * std::uint64_t{0x94D049BB133111EB};
  return value ^ (value >> 31);
}

// The key of a gram of a text of one language and length band, and the
// token the FTS table knows it by.
std::uint64_t GramKey(std::uint64_t gram, std::int64_t languageId, int band) {
  return Mix(gram ^ Mix(static_cast<std::uint64_t>(languageId) * std::uint64_t{0x100000001B3} +
                        static_cast<std::uint64_t>(band)));
}

std::string TokenOf(std::uint64_t key) {
  char token[24];
  std::snprintf(token, sizeof token, "g%016" PRIx64, key);
  return token;
}

// The keys of a text's grams.
std::vector<std::uint64_t> TextKeys(std::int64_t languageId, std::string_view text) {
  const SimilarityUnits units = NormalisedUnits(text);
  const int band = LengthBand(units.size());
  std::vector<std::uint64_t> keys;
  for (const std::uint64_t gram : UnitGrams(units)) keys.push_back(GramKey(gram, languageId, band));
  return keys;
}

std::string Document(const std::vector<std::uint64_t>& keys) {
  std::string document;
  for (const std::uint64_t key : keys) {
    if (!document.empty()) document += ' ';
    document += TokenOf(key);
  }
  return document;
}

// SQLite keeps 64-bit integers signed; the same bits either way.
std::int64_t Signed(std::uint64_t key) {
  return static_cast<std::int64_t>(key);
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

const char* FuzzyIndex::Definition(std::string_view lowerName) {
  if (lowerName == "ulk_fuzzy") return kIndexDefinition;
  if (lowerName == "ulk_fuzzy_state") return kStateDefinition;
  if (lowerName == "ulk_fuzzy_terms") return kTermsDefinition;
  return nullptr;
}

bool FuzzyIndex::InFile() {
  // Asked at every stored text: one look at the schema for the three tables.
  PreparedStatement* query = connection_.Prepared(
      "select count(*) from main.sqlite_master where type = 'table' and name in "
      "('ulk_fuzzy', 'ulk_fuzzy_state', 'ulk_fuzzy_terms')");
  if (!query) return false;
  const bool found = query->Step() == SQLITE_ROW && query->Integer(0) == 3;
  query->Reset();
  return found;
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
  // Searches walk the index's pages again and again: keep more of them
  // than SQLite's default of about 8 MB.
  connection_.Execute("pragma cache_size = -65536");
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
  for (const char* definition : {kStateDefinition, kTermsDefinition}) {
    std::string create = definition;
    const std::size_t name = std::string_view("create table ").size();
    const std::string table = create.substr(name, create.find(' ', name) - name);
    if (!built || HasTable(connection_, schema, table)) continue;
    if (schema != "main") create.insert(name, schema + ".");
    built = connection_.Execute(create) == SQLITE_OK;
  }
  built = built && connection_.Execute("delete from " + Qualified(schema, "ulk_fuzzy_terms")) == SQLITE_OK;
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
  std::unordered_map<std::uint64_t, std::int64_t> counts;
  int result = SQLITE_ROW;
  while ((result = texts->Step()) == SQLITE_ROW) {
    const std::string_view text = texts->TextView(2);
    // A row another program stored as no text is not proposed; it still
    // counts, so that the index stays current.
    if (texts->ColumnType(2) == SQLITE_TEXT && !CheckStoredText(text)) {
      const std::vector<std::uint64_t> keys = TextKeys(texts->Integer(1), text);
      if (!Insert(schema, texts->Integer(0), keys)) {
        texts->Reset();
        return false;
      }
      for (const std::uint64_t key : keys) ++counts[key];
    }
    if (++done % 1024 == 0 && progress && !progress(done, total)) {
      texts->Reset();
      return false;
    }
  }
  texts->Reset();
  if (result != SQLITE_DONE) return false;
  if (progress) progress(done, total);
  PreparedStatement* term = connection_.Prepared(
      "insert into " + Qualified(schema, "ulk_fuzzy_terms") + " (term_key, term_texts) values (?, ?)");
  if (!term) return false;
  for (const auto& [key, many] : counts) {
    const bool stored = Done(term->Bind(Signed(key)).Bind(many).Step());
    term->Reset();
    if (!stored) return false;
  }
  const std::string state = Qualified(schema, "ulk_fuzzy_state");
  PreparedStatement* insert =
      connection_.Prepared("insert into " + state + " (state_version, state_texts) values (?, ?)");
  return connection_.Execute("delete from " + state) == SQLITE_OK && insert &&
         Done(insert->Bind(kIndexVersion).Bind(done).Step()) &&
         connection_.Execute("insert into " + Qualified(schema, "ulk_fuzzy") +
                             "(ulk_fuzzy) values('optimize')") == SQLITE_OK;
}

bool FuzzyIndex::Insert(const std::string& schema, std::int64_t textId,
                        const std::vector<std::uint64_t>& keys) {
  PreparedStatement* insert = connection_.Prepared(
      "insert into " + Qualified(schema, "ulk_fuzzy") + " (rowid, fuzzy_grams) values (?, ?)");
  if (!insert) return false;
  const bool inserted = Done(insert->Bind(textId).Bind(Document(keys)).Step());
  insert->Reset();
  return inserted;
}

bool FuzzyIndex::CountTerms(const std::vector<std::uint64_t>& keys, std::int64_t delta) {
  PreparedStatement* count = connection_.Prepared(
      "insert into main.ulk_fuzzy_terms (term_key, term_texts) values (?, ?) on conflict "
      "(term_key) do update set term_texts = term_texts + excluded.term_texts");
  if (!count) return false;
  for (const std::uint64_t key : keys) {
    const bool counted = Done(count->Bind(Signed(key)).Bind(delta).Step());
    count->Reset();
    if (!counted) return false;
  }
  return true;
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
  const std::vector<std::uint64_t> keys = TextKeys(languageId, text);
  return Insert("main", textId, keys) && CountTerms(keys, 1) && CountIndexed(1);
}

bool FuzzyIndex::Remove(std::int64_t textId, std::int64_t languageId, std::string_view text) {
  if (!InFile()) return true;
  PreparedStatement* remove = connection_.Prepared(
      "insert into main.ulk_fuzzy (ulk_fuzzy, rowid, fuzzy_grams) values ('delete', ?, ?)");
  if (!remove) return false;
  const std::vector<std::uint64_t> keys = TextKeys(languageId, text);
  const bool removed = Done(remove->Bind(textId).Bind(Document(keys)).Step());
  remove->Reset();
  return removed && CountTerms(keys, -1) && CountIndexed(-1);
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

  // The grams are read rarest first, and only as far as the budget goes:
  // a gram that half the texts have tells little and costs most.
  PreparedStatement* frequency = connection_.Prepared(
      "select term_texts from " + Qualified(schema_, "ulk_fuzzy_terms") + " where term_key = ?");
  PreparedStatement* postings = connection_.Prepared(
      "select rowid from " + Qualified(schema_, "ulk_fuzzy") + " where ulk_fuzzy match ?");
  if (!frequency || !postings) return matches;
  struct Gram {
    std::string expression;
    std::int64_t texts = 0;
  };
  std::vector<Gram> grams;
  for (const std::uint64_t gram : UnitGrams(units)) {
    Gram g;
    for (int band = firstBand; band <= lastBand; ++band) {
      const std::uint64_t key = GramKey(gram, sourceLanguage, band);
      frequency->Bind(Signed(key));
      const std::int64_t texts = frequency->Step() == SQLITE_ROW ? frequency->Integer(0) : 0;
      frequency->Reset();
      if (texts <= 0) continue;
      if (!g.expression.empty()) g.expression += " OR ";
      g.expression += TokenOf(key);
      g.texts += texts;
    }
    if (g.texts > 0) grams.push_back(std::move(g));
  }
  std::sort(grams.begin(), grams.end(),
            [](const Gram& a, const Gram& b) { return a.texts < b.texts; });
  std::unordered_map<std::int64_t, int> shared;
  std::int64_t read = 0;
  const std::int64_t budget = PostingBudget(maxMatches);
  for (std::size_t i = 0; i < grams.size(); ++i) {
    if (i >= kAlwaysReadGrams && read + grams[i].texts > budget) break;
    postings->Bind(grams[i].expression);
    // The counts come from the file: the rows read are held to the budget
    // whatever they say.
    std::int64_t rows = 0;
    while (rows++ < budget && postings->Step() == SQLITE_ROW) ++shared[postings->Integer(0)];
    postings->Reset();
    read += std::max(grams[i].texts, rows);
  }

  std::vector<Candidate> candidates;
  candidates.reserve(shared.size());
  for (const auto& [textId, count] : shared) candidates.push_back({textId, count});
  const std::size_t scored = std::min(candidates.size(), ScoredCandidates(maxMatches));
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
