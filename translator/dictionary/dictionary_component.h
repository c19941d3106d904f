// The translator's binding of the dictionary component (libtermvault.so):
// loaded by name, its thirteen functions bound (and the search of similar
// texts where it has it), its version checked; and the open dictionary's
// path, title and read-only flag.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ulk {

// A similar earlier text and its translation, as the component found it.
struct DictionaryMatch {
  int score = 0;  // 0 to 100, 100 only for the same text
  std::string type;
  std::string source;
  std::string translation;
};

inline constexpr int kDefaultMatchMinimum = 75;

class DictionaryComponent {
 public:
  static constexpr const char* kLibraryName = "libtermvault.so";

  DictionaryComponent() = default;
  ~DictionaryComponent() { Unload(); }
  DictionaryComponent(const DictionaryComponent&) = delete;
  DictionaryComponent& operator=(const DictionaryComponent&) = delete;

  // Loads the component: each of `candidates` in order (by default the
  // library beside the running program, then the loader's search path).
  // Any failure (no library, a missing function, a version not of the form
  // "0, 0, 0, n") leaves the component absent, silently.
  bool Load(const std::vector<std::string>& candidates = DefaultCandidates());
  void Unload();
  bool IsLoaded() const { return library_ != nullptr; }
  static std::vector<std::string> DefaultCandidates();

  // Opens (or creates) a dictionary; on success the path, title and
  // read-only flag are those of this file. Values holding a NUL, which the
  // component's C strings cannot carry, are refused by every call.
  bool Open(const std::string& path);
  void Close();
  bool IsOpened() const;

  bool Set(const std::string& kind, const std::string& sourceLanguage,
           const std::string& sourceText, const std::string& targetLanguage,
           const std::string& targetText);
  bool Find(const std::string& kind, const std::string& sourceLanguage,
            const std::string& sourceText);
  // Translations of the text last found, copied at once; "" ends the list.
  // Only texts that may enter a project are given (CheckStoredText): one
  // the dictionary holds otherwise is passed over.
  std::string GetFirst(const std::string& targetLanguage);
  std::string GetNext();

  // Similar texts, when the component offers them (an older one does not:
  // then there are none, and everything else works as before).
  bool HasSimilarTexts() const { return fuzzyFind_ != nullptr; }
  // Makes the index of similar texts ready (built on first use, which may
  // take a while for a large dictionary), reporting (done, total); false
  // from `progress` stops. False when there is no index.
  bool PrepareSimilarTexts(const std::function<bool(std::int64_t, std::int64_t)>& progress);
  // The best pairs at or above `minimum`, best first; texts that may not
  // enter a project (CheckStoredText) are left out.
  std::vector<DictionaryMatch> FindSimilar(const std::string& kind,
                                           const std::string& sourceLanguage,
                                           const std::string& text,
                                           const std::string& targetLanguage, int minimum,
                                           int maxMatches);

  const std::string& path() const { return path_; }
  const std::string& title() const { return title_; }
  // True while no dictionary is open, and for a file without write
  // permission.
  bool readOnly() const { return readOnly_; }

 private:
  using OpenFn = int (*)(const char*);
  using VoidFn = int (*)();
  using SetFn = int (*)(const char*, const char*, const char*, const char*, const char*);
  using SetExFn = int (*)(const char*, const char*, const char*, const char*, const char*, int);
  using FindFn = int (*)(const char*, const char*, const char*);
  using FirstFn = const char* (*)(const char*);
  using NextFn = const char* (*)();
  using IdFn = int (*)(const char*);
  using ProgressFn = int (*)(void*, long long, long long);
  using FuzzyPrepareFn = int (*)(ProgressFn, void*);
  using MatchFn = void (*)(void*, int, const char*, const char*, const char*);
  using FuzzyFindFn = int (*)(const char*, const char*, const char*, const char*, int, int,
                              MatchFn, void*);

  bool Bind();
  bool BindOptional();
  // `text`, or the first text after it that passes the gate.
  std::string Admitted(const char* text);

  void* library_ = nullptr;
  OpenFn open_ = nullptr;
  VoidFn close_ = nullptr;
  VoidFn isOpened_ = nullptr;
  SetFn set_ = nullptr;
  SetExFn setEx_ = nullptr;
  FindFn find_ = nullptr;
  FirstFn getFirst_ = nullptr;
  NextFn getNext_ = nullptr;
  NextFn getFirstLanguage_ = nullptr;
  NextFn getNextLanguage_ = nullptr;
  NextFn getFirstDbLanguage_ = nullptr;
  NextFn getNextDbLanguage_ = nullptr;
  IdFn getLanguageId_ = nullptr;
  FuzzyPrepareFn fuzzyPrepare_ = nullptr;
  FuzzyFindFn fuzzyFind_ = nullptr;

  std::string path_;
  std::string title_;
  bool readOnly_ = true;
};

// "%d, %d, %d, %d" with the first three 0.
bool IsAcceptedComponentVersion(const std::string& fileVersion);

}  // namespace ulk
