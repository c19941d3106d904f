// The resource engine: reads a module's texts into the project's module,
// carrying translations over to new keys, and writes the translated module
// of each target language. One engine serves one operation.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/pe_image.h"
#include "translator/model/project.h"
#include "translator/resources/module_resources.h"
#include "translator/resources/resource_layout.h"

namespace ulk {

// Why the last operation failed; 0 when it succeeded.
enum FailureKind : int {
  kFailureNone = 0,
  kFailureNoModule = 1,
  kFailureNoDefaultLanguage = 2,
  kFailureEmptyPath = 3,
  kFailureCannotOpen = 4,  // failureText names the module
  kFailureTooFewLanguages = 5,
  kFailureInvalidModule = 6,
  kFailureCannotWrite = 7,  // a translated module was not written
  kFailureResourceNotFound = 8,
  kFailureResourceNotLoaded = 9,
  kFailureCannotCreateFile = 10,
  kFailureCannotWriteFile = 11,
  kFailureCannotLoadLibrary = 12,
  kFailureCannotUpdateLibrary = 13,
};

// Decides where the module of a target language goes, or that it goes
// nowhere.
class OutputPlan {
 public:
  virtual ~OutputPlan() = default;
  // The path to write `target` of `module` to, in `path`; 0, or the error
  // code (system_error.h, "%1" the path) that refuses it. Asked before
  // anything is written, possibly for many outputs ahead: it asks no one.
  virtual int Place(const Module& module, const ModuleLanguage& target, std::string& path) = 0;
  // Just before the complete output gets its name at `path`: 0, or the
  // error code that refuses it (it may ask the user).
  virtual int Confirm(const std::string& path) {
    (void)path;
    return 0;
  }
};

// An output planned: where a target language's module goes, or why not.
struct PlannedOutput {
  const ModuleLanguage* language = nullptr;
  std::string path;
  int refusal = 0;  // the plan's error code; 0 to write it
};

// One output to build: which module, original and target language, the
// target's locale code, and where.
struct OutputRequest {
  std::string modulePath;
  const ModuleLanguage* original = nullptr;
  const ModuleLanguage* target = nullptr;
  std::string localeCode;
  std::string path;
};

// Translated modules built ahead on a few threads, each output whole by the
// plain single-threaded path, and handed back in the order asked for:
// complete, still without a name, for the taker to commit (link and rename)
// or drop. Only a few are built ahead of the last one taken. The languages'
// entries must not change while builds run.
class OutputBuilds {
 public:
  struct Result {
    int error = 0;                  // 0, or why it was not built
    bool moduleUnreadable = false;  // the module itself could not be read
    AtomicFileWriter file;          // the output, when built
  };

  explicit OutputBuilds(std::vector<OutputRequest> requests);
  // Stops and waits for the threads; what was not taken is dropped.
  ~OutputBuilds();
  OutputBuilds(const OutputBuilds&) = delete;
  OutputBuilds& operator=(const OutputBuilds&) = delete;

  // The index-th request's result, waited for (built here when no thread
  // has taken it). Indexes go up; those passed over are dropped.
  Result Take(std::size_t index);
  // Nothing more is built.
  void Stop();

 private:
  static constexpr std::size_t kMaxThreads = 4;
  static constexpr std::size_t kAhead = 8;
  static Result Build(const OutputRequest& request, ModuleResources& module);
  void Work();

  const std::vector<OutputRequest> requests_;
  std::vector<Result> results_;
  std::vector<bool> built_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t next_ = 0;   // the next request a thread takes
  std::size_t taken_ = 0;  // results handed back, or passed over
  bool stopped_ = false;
  std::vector<std::jthread> threads_;
};

class ResourceEngine {
 public:
  int failureKind = kFailureNone;
  std::string failureText;
  ModuleResources resources;
  // (entry key, escaped text) of the last read, in reading order.
  std::vector<std::pair<std::string, std::string>> readTexts;
  // (entry key, component path) of the form texts of the last read.
  std::vector<std::pair<std::string, std::string>> readPaths;
  // The reader's warnings of the last read (resources kept without texts).
  std::vector<std::string> warnings;

  // Reads the module file and merges its texts into `module`: the default
  // language gets exactly the texts read (status 1 for new or changed ones);
  // translations follow their original texts to new keys, and are dropped
  // where the original text changed or vanished. Nothing changes on failure.
  bool GetResources(Module* module);
  // Reads the module and fills `readTexts`.
  bool ReadTexts(const std::string& path);

  // Writes the translated module of every target language, or of the one
  // named `languageName` when it is not null, where `plan` places it (to
  // its output path as it stands without one). Goes on after a language
  // that fails; false when any did. `written` lists what was written. The
  // outputs are built on a few threads, each whole, and given their names
  // (the plan confirming each) in the module's order.
  bool GenerateLanguages(Module* module, const std::string* languageName = nullptr,
                         OutputPlan* plan = nullptr);
  // The outputs of `module` GenerateLanguages would write, in its order,
  // placed by `plan`; and the requests that build those not refused.
  static std::vector<PlannedOutput> PlanOutputs(const Module& module,
                                                const std::string* languageName, OutputPlan* plan);
  static std::vector<OutputRequest> RequestsFor(const Module& module,
                                                const std::vector<PlannedOutput>& planned);
  // GenerateLanguages for outputs planned ahead and built by `builds`,
  // whose requests for them start at `first`.
  bool GenerateBuiltLanguages(Module* module, const std::vector<PlannedOutput>& planned,
                              OutputBuilds& builds, std::size_t first, OutputPlan* plan);
  // The outputs the last GenerateLanguages wrote: each language with the
  // path it was written to, in the module's order.
  std::vector<std::pair<const ModuleLanguage*, std::string>> written;
  // The error code of the last output that failed.
  int lastWriteError() const { return lastWriteError_; }

  // Writes a resource of `module` (null: the program's own) to a file.
  bool ExtractResourceToFile(const ResourceId& type, const ResourceId& name,
                             const std::string& path, const ModuleImage* module);
  // Copies a resource of `module` into the library file, under the neutral
  // language, replacing one of the same type and name.
  bool CopyResourceToLibrary(const ModuleImage& module, const ResourceId& type,
                             const ResourceId& name, const std::string& libraryPath);

 private:
  // The checks before a generation, with the failure kind.
  bool CheckForGeneration(Module* module);
  // Commits the built outputs in order, noting what was written and what
  // failed.
  bool FinishOutputs(const Module& module, const std::vector<PlannedOutput>& planned,
                     OutputBuilds& builds, std::size_t first, OutputPlan* plan);
  void Reset();
  // ReadModule, with kind 4 and the detail text on failure.
  bool ReadModule(const std::string& path);
  // Records that `path` could not be opened (kind 4, the detail text);
  // returns false.
  bool CannotOpen(const std::string& path);

  int lastWriteError_ = 0;
};

using ReadTextList = std::vector<std::pair<std::string, std::string>>;

// Brings the texts read from a module file into the module (whose default
// language must exist): merged group by group, stale entries removed,
// status 1 on every new or changed text. A translation that follows its
// original text to another key is to be reviewed there; one whose key and
// original stay keeps its review state and note. Notes on the originals
// stay at their key, or follow their text to a new one.
void MergeReadTexts(Module& module, const ReadTextList& readTexts);

// Notes on the form texts of the default language where each stands in its
// form ("Form1.Button1.Caption"), for the list and the translator; a note
// someone wrote is kept, one a reading noted is replaced.
void NoteComponentPaths(Module& module, const ReadTextList& paths);
// Whether a note is such a component path.
bool IsComponentPath(std::string_view note);
// Drops the geometry of every target language that no longer belongs to the
// module's dialog as `layouts` has it (a control added, removed or changed
// in the module, a dialog gone); one message per control dropped.
std::vector<std::string> DropStaleGeometry(Module& module, const ModuleLayouts& layouts);

// The program's own resources: the template library is type "DLL", number
// 149. Empty when there is no such resource.
std::string_view EmbeddedResource(const ResourceId& type, const ResourceId& name);
inline constexpr std::uint32_t kTemplateLibraryId = 149;

}  // namespace ulk
