// Reading module texts into a project and generating translated modules.
#include "translator/model/resource_engine.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <new>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

#include "platform/files.h"
#include "platform/iso_language_list.h"
#include "platform/resource_update.h"
#include "platform/system_error.h"
#include "platform/template_library.h"
#include "platform/text.h"
#include "translator/model/text_escape.h"

namespace ulk {
namespace {

// The project's translations of a module's texts, looked up as the module
// is written: a text keeps its translation only while the project's
// original text still is the module's.
class ProjectTranslator final : public TextTranslator {
 public:
  ProjectTranslator(const ModuleLanguage& original, const ModuleLanguage& target)
      : original_(original),
        target_(target),
        originalCursor_(original.Entries().begin()),
        targetCursor_(target.Entries().begin()) {}

  void BeginResource(std::uint32_t type, const ResourceId& id) override {
    // Keys name a resource by its number's low 16 bits, as a reading does.
    resourceKey_ = id.named ? MakeResourceKey(type, 0, id.NameUtf8())
                            : MakeResourceKey(type, static_cast<std::uint16_t>(id.number), {});
  }

  bool Translate(std::uint32_t item, std::string_view text, std::string& translation) override {
    key_.assign(resourceKey_);
    AppendEntryItem(key_, item);
    // The cursors follow the project's entries, which are in reading order.
    const TextEntry* translated = target_.FindEntryAfter(key_, targetCursor_);
    if (!translated || translated->text.empty()) return false;
    const TextEntry* own = original_.FindEntryAfter(key_, originalCursor_);
    if (!own || !IsEscapedFormOf(own->text, text)) return false;
    UnescapeTextTo(translation, translated->text);
    return true;
  }

  const DialogGeometry* GeometryOfDialog() override {
    // Stored under the upper-case key, as a project file spells it.
    const auto found = target_.dialogGeometry.find(ToUpperUtf8(resourceKey_));
    return found == target_.dialogGeometry.end() ? nullptr : &found->second;
  }

 private:
  const ModuleLanguage& original_;
  const ModuleLanguage& target_;
  ModuleLanguage::Cursor originalCursor_;
  ModuleLanguage::Cursor targetCursor_;
  std::string resourceKey_;
  std::string key_;
};

// The system's languages, made when a generation first needs them.
const IsoLanguageList& SystemLanguages() {
  static const IsoLanguageList languages;
  return languages;
}

void MergeGroups(Module& module, const ReadTextList& readTexts) {
  ModuleLanguage& original = *module.DefaultLanguage();

  // The new pairs by group, groups in order of first appearance.
  std::vector<std::string> groupOrder;
  std::unordered_map<std::string, std::vector<std::size_t>> newByGroup;
  for (std::size_t i = 0; i < readTexts.size(); ++i) {
    std::string group(GroupKeyOf(readTexts[i].first));
    auto [slot, inserted] = newByGroup.try_emplace(group);
    slot->second.push_back(i);
    if (inserted) groupOrder.push_back(std::move(group));
  }
  // The keys of every language's entries by group, in each language's order.
  const auto keysByGroup = [](const ModuleLanguage& language) {
    std::unordered_map<std::string, std::vector<std::string>> groups;
    for (const TextEntry& entry : language.Entries()) {
      groups[std::string(GroupKeyOf(entry.key))].push_back(entry.key);
    }
    return groups;
  };
  std::vector<ModuleLanguage*> others;
  std::vector<std::unordered_map<std::string, std::vector<std::string>>> otherGroups;
  for (ModuleLanguage& language : module.languages) {
    if (&language == &original) continue;
    others.push_back(&language);
    otherGroups.push_back(keysByGroup(language));
  }
  const auto originalGroups = keysByGroup(original);
  // Groups the module no longer has are merged with no new texts, so that
  // the translations of their vanished texts go with them.
  for (const TextEntry& entry : original.Entries()) {
    std::string group(GroupKeyOf(entry.key));
    if (newByGroup.try_emplace(group).second) groupOrder.push_back(std::move(group));
  }

  for (const std::string& groupKey : groupOrder) {
    // Old: the default language's entries of the group.
    std::unordered_map<std::string, std::string> old;
    // Notes on the originals, by text (a text that moved takes its note
    // along) and by key (a text that changed leaves it where it was).
    std::unordered_map<std::string, std::string> noteOfKey;
    std::unordered_map<std::string, std::string> noteOfText;
    if (const auto found = originalGroups.find(groupKey); found != originalGroups.end()) {
      for (const std::string& key : found->second) {
        const TextEntry& entry = *original.FindEntry(key);
        old.emplace(key, entry.text);
        if (entry.note.empty()) continue;
        noteOfKey.emplace(key, entry.note);
        noteOfText.insert_or_assign(entry.text, entry.note);
      }
    }
    // Translations of old texts, noted per language, taken off their keys.
    struct Noted {
      std::string originalText;
      TextEntry entry;
    };
    std::vector<std::vector<Noted>> noted(others.size());
    for (std::size_t l = 0; l < others.size(); ++l) {
      const auto found = otherGroups[l].find(groupKey);
      if (found == otherGroups[l].end()) continue;
      for (const std::string& key : found->second) {
        const auto match = old.find(key);
        if (match == old.end()) continue;
        noted[l].push_back({match->second, *others[l]->FindEntry(key)});
        others[l]->RemoveEntry(key);
      }
    }
    for (const auto& [key, text] : old) original.RemoveEntry(key);

    const std::vector<std::size_t>& fresh = newByGroup[groupKey];
    std::unordered_map<std::string_view, std::vector<std::size_t>> byText;
    for (const std::size_t i : fresh) byText[readTexts[i].second].push_back(i);
    for (const std::size_t i : fresh) {
      const auto& [key, text] = readTexts[i];
      TextEntry& entry = original.SetEntry(key, text, kStatusUnchanged);
      if (const auto moved = noteOfText.find(text); moved != noteOfText.end()) {
        entry.note = moved->second;
      } else if (const auto note = noteOfKey.find(key); note != noteOfKey.end() &&
                                                          !byText.count(old.at(key))) {
        entry.note = note->second;
      }
    }
    // Every occurrence of an old text gets its translation; of two notes on
    // the same text, the later wins (a translated one over an empty one).
    // Entries are added in the order of each text's first note, as writing
    // every note in turn would add them. A translation that stays at its
    // key keeps what was said of it; one that follows its text to another
    // key is to be reviewed there.
    for (std::size_t l = 0; l < others.size(); ++l) {
      std::unordered_map<std::string_view, const TextEntry*> lastTranslation;
      std::unordered_map<std::string_view, const TextEntry*> atOldKey;
      std::vector<std::string_view> firstNoted;
      for (const Noted& note : noted[l]) {
        atOldKey.emplace(note.entry.key, &note.entry);
        auto [slot, inserted] = lastTranslation.try_emplace(note.originalText, &note.entry);
        if (inserted) {
          firstNoted.push_back(note.originalText);
        } else if (!note.entry.text.empty() || slot->second->text.empty()) {
          slot->second = &note.entry;
        }
      }
      for (const std::string_view oldText : firstNoted) {
        const auto matches = byText.find(oldText);
        if (matches == byText.end()) continue;
        const TextEntry& translation = *lastTranslation[oldText];
        for (const std::size_t i : matches->second) {
          const std::string& key = readTexts[i].first;
          const auto stayed = atOldKey.find(key);
          const auto before = old.find(key);
          const bool same = stayed != atOldKey.end() && before != old.end() &&
                            before->second == oldText && stayed->second->text == translation.text;
          TextEntry moved = same ? *stayed->second : translation;
          moved.key = key;
          moved.status = kStatusUnchanged;
          if (!same && !moved.text.empty()) moved.review = kReviewNeeded;
          others[l]->SetEntry(moved);
        }
      }
    }
  }
}

}  // namespace

std::string_view EmbeddedResource(const ResourceId& type, const ResourceId& name) {
  static const std::string templateLibrary = TemplateLibraryImage();
  if (NormalisedResourceId(type) == ResourceId::Name(std::string_view("DLL")) &&
      name == ResourceId::Number(kTemplateLibraryId)) {
    return templateLibrary;
  }
  return {};
}

void ResourceEngine::Reset() {
  failureKind = kFailureNone;
  failureText.clear();
}

bool ResourceEngine::ReadModule(const std::string& path) {
  warnings.clear();
  if (!resources.ReadModule(path)) return CannotOpen(path);
  warnings = resources.Warnings();
  return true;
}

bool ResourceEngine::CannotOpen(const std::string& path) {
  failureKind = kFailureCannotOpen;
  failureText = SystemErrorText(resources.LastError(), path);
  return false;
}

bool ResourceEngine::ReadTexts(const std::string& path) {
  readTexts.clear();
  readPaths.clear();
  if (!ReadModule(path)) return false;
  readTexts.reserve(resources.TextCount());
  std::string key;
  for (std::size_t i = 0; i < resources.TextCount(); ++i) {
    resources.EntryKeyAt(i, key);
    readTexts.emplace_back(key, EscapeText(resources.TextAt(i).text));
    if (!resources.TextAt(i).note.empty()) readPaths.emplace_back(key, resources.TextAt(i).note);
  }
  return true;
}

bool ResourceEngine::GetResources(Module* module) {
  Reset();
  readTexts.clear();
  if (!module) {
    failureKind = kFailureNoModule;
    return false;
  }
  if (!module->DefaultLanguage()) {
    failureKind = kFailureNoDefaultLanguage;
    return false;
  }
  if (module->path.empty()) {
    failureKind = kFailureEmptyPath;
    return false;
  }
  if (!ReadTexts(module->path)) return false;
  ModuleLayouts layouts;
  for (const ResourceId& id : resources.dialogs()) {
    DialogBox box;
    if (!ParseDialogBox(resources.DataOf(kRtDialog, id), box)) continue;
    const std::string key = ToUpperUtf8(id.named ? MakeResourceKey(kRtDialog, 0, id.NameUtf8())
                                                 : MakeResourceKey(kRtDialog, id.number & 0xFFFF, {}));
    layouts.dialogs.insert_or_assign(key, std::move(box));
  }
  resources.Release();

  MergeReadTexts(*module, readTexts);
  NoteComponentPaths(*module, readPaths);
  readTexts.clear();
  readPaths.clear();
  for (std::string& dropped : DropStaleGeometry(*module, layouts)) {
    warnings.push_back(std::move(dropped));
  }
  return true;
}

bool IsComponentPath(std::string_view note) {
  return !note.empty() && note.find('.') != std::string_view::npos &&
         std::all_of(note.begin(), note.end(), [](char c) {
           return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '[' ||
                  c == ']';
         });
}

void NoteComponentPaths(Module& module, const ReadTextList& paths) {
  ModuleLanguage& original = *module.DefaultLanguage();
  for (const auto& [key, path] : paths) {
    TextEntry* entry = original.FindEntry(key);
    // What the translator wrote stays; a path a reading noted follows the
    // form.
    if (entry && (entry->note.empty() || IsComponentPath(entry->note))) entry->note = path;
  }
}

std::vector<std::string> DropStaleGeometry(Module& module, const ModuleLayouts& layouts) {
  std::vector<std::string> dropped;
  for (ModuleLanguage& language : module.languages) {
    for (auto dialog = language.dialogGeometry.begin(); dialog != language.dialogGeometry.end();) {
      const auto found = layouts.dialogs.find(dialog->first);
      for (auto control = dialog->second.begin(); control != dialog->second.end();) {
        if (found != layouts.dialogs.end() &&
            GeometryMatches(found->second, control->first, control->second)) {
          ++control;
          continue;
        }
        dropped.push_back("La disposición de " + MakeEntryKey(dialog->first, control->first) +
                          " en " + language.name +
                          " ya no corresponde al diálogo del módulo y se ha descartado.");
        control = dialog->second.erase(control);
      }
      dialog = dialog->second.empty() ? language.dialogGeometry.erase(dialog) : std::next(dialog);
    }
  }
  return dropped;
}

void MergeReadTexts(Module& module, const ReadTextList& readTexts) {
  ModuleLanguage& original = *module.DefaultLanguage();
  std::unordered_map<std::string, std::string> before;
  before.reserve(original.EntryCount());
  for (const TextEntry& entry : original.Entries()) before.emplace(entry.key, entry.text);

  MergeGroups(module, readTexts);

  std::unordered_set<std::string_view> readKeys;
  readKeys.reserve(readTexts.size());
  for (const auto& [key, text] : readTexts) readKeys.insert(key);
  original.RemoveEntriesIf([&](const TextEntry& entry) { return !readKeys.count(entry.key); });

  for (const TextEntry& entry : original.Entries()) {
    const auto previous = before.find(entry.key);
    if (previous == before.end() || previous->second != entry.text) {
      original.FindEntry(entry.key)->status = kStatusNewOrChanged;
    }
  }
}

OutputBuilds::OutputBuilds(std::vector<OutputRequest> requests)
    : requests_(std::move(requests)), results_(requests_.size()), built_(requests_.size(), false) {
  const std::size_t threads = std::min<std::size_t>(
      {requests_.size(), std::max(1u, std::thread::hardware_concurrency()), kMaxThreads});
  // One output is built where it is taken, as any single module is written.
  if (threads <= 1) return;
  try {
    for (std::size_t t = 0; t < threads; ++t) threads_.emplace_back([this] { Work(); });
  } catch (const std::system_error&) {
    // Fewer threads, or none: what no thread builds is built where taken.
  }
}

OutputBuilds::~OutputBuilds() {
  Stop();
  for (std::jthread& thread : threads_) thread.join();
}

void OutputBuilds::Stop() {
  const std::lock_guard lock(mutex_);
  stopped_ = true;
  changed_.notify_all();
}

OutputBuilds::Result OutputBuilds::Build(const OutputRequest& request, ModuleResources& module) {
  Result result;
  try {
    if (module.modulePath() != request.modulePath && !module.OpenModule(request.modulePath)) {
      result.error = module.LastError();
      result.moduleUnreadable = true;
      return result;
    }
    ProjectTranslator translator(*request.original, *request.target);
    result.error =
        module.PrepareTranslatedModule(request.path, request.localeCode, translator, result.file);
  } catch (const std::bad_alloc&) {
    result = Result();
    result.error = ENOMEM;
  }
  return result;
}

void OutputBuilds::Work() {
  ModuleResources module;
  std::unique_lock lock(mutex_);
  while (true) {
    // Only a few ahead of the one taken last: the user may stop.
    changed_.wait(
        lock, [this] { return stopped_ || next_ >= requests_.size() || next_ < taken_ + kAhead; });
    if (stopped_ || next_ >= requests_.size()) return;
    const std::size_t index = next_++;
    lock.unlock();
    Result result = Build(requests_[index], module);
    lock.lock();
    results_[index] = std::move(result);
    built_[index] = true;
    changed_.notify_all();
  }
}

OutputBuilds::Result OutputBuilds::Take(std::size_t index) {
  std::unique_lock lock(mutex_);
  // Those passed over are dropped: their files never get a name.
  for (std::size_t skipped = taken_; skipped < index; ++skipped) results_[skipped] = Result();
  taken_ = std::max(taken_, index + 1);
  changed_.notify_all();
  if (index >= next_) {
    // No thread has it (there are none, or none got this far): built here.
    next_ = index + 1;
    lock.unlock();
    ModuleResources module;
    return Build(requests_[index], module);
  }
  changed_.wait(lock, [&] { return built_[index]; });
  return std::move(results_[index]);
}

std::vector<PlannedOutput> ResourceEngine::PlanOutputs(const Module& module,
                                                       const std::string* languageName,
                                                       OutputPlan* plan) {
  std::vector<PlannedOutput> planned;
  const ModuleLanguage* original = module.DefaultLanguage();
  if (!original) return planned;
  for (const ModuleLanguage& language : module.languages) {
    if (&language == original) continue;
    if (languageName && language.name != *languageName) continue;
    PlannedOutput output{&language, language.outputFile, 0};
    if (plan) output.refusal = plan->Place(module, language, output.path);
    planned.push_back(std::move(output));
  }
  return planned;
}

std::vector<OutputRequest> ResourceEngine::RequestsFor(const Module& module,
                                                       const std::vector<PlannedOutput>& planned) {
  std::vector<OutputRequest> requests;
  const ModuleLanguage* original = module.DefaultLanguage();
  for (const PlannedOutput& output : planned) {
    if (output.refusal != 0 || !original) continue;
    requests.push_back({module.path, original, output.language,
                        SystemLanguages().LocaleCodeOf(Trim(output.language->name)), output.path});
  }
  return requests;
}

bool ResourceEngine::CheckForGeneration(Module* module) {
  Reset();
  written.clear();
  if (!module) {
    failureKind = kFailureNoModule;
    return false;
  }
  if (module->LanguageCount() < 2) {
    failureKind = kFailureTooFewLanguages;
    return false;
  }
  if (!module->Validate()) {
    failureKind = kFailureInvalidModule;
    return false;
  }
  return true;
}

bool ResourceEngine::GenerateLanguages(Module* module, const std::string* languageName,
                                       OutputPlan* plan) {
  if (!CheckForGeneration(module)) return false;
  const std::vector<PlannedOutput> planned = PlanOutputs(*module, languageName, plan);
  OutputBuilds builds(RequestsFor(*module, planned));
  return FinishOutputs(*module, planned, builds, 0, plan);
}

bool ResourceEngine::GenerateBuiltLanguages(Module* module,
                                            const std::vector<PlannedOutput>& planned,
                                            OutputBuilds& builds, std::size_t first,
                                            OutputPlan* plan) {
  if (!CheckForGeneration(module)) return false;
  return FinishOutputs(*module, planned, builds, first, plan);
}

bool ResourceEngine::FinishOutputs(const Module& module, const std::vector<PlannedOutput>& planned,
                                   OutputBuilds& builds, std::size_t first, OutputPlan* plan) {
  bool result = true;
  const auto fail = [&](int error, const std::string& path) {
    lastWriteError_ = error;
    failureKind = kFailureCannotWrite;
    // The output named, also where the system's text does not name it.
    failureText = SystemErrorText(error, path);
    if (failureText.find(path) == std::string::npos) failureText = path + ": " + failureText;
    result = false;
  };
  std::size_t next = first;
  for (const PlannedOutput& output : planned) {
    if (output.refusal != 0) {
      fail(output.refusal, output.path);
      continue;
    }
    OutputBuilds::Result built = builds.Take(next++);
    if (built.moduleUnreadable) {
      failureKind = kFailureCannotOpen;
      failureText = SystemErrorText(built.error, module.path);
      return false;
    }
    // Asked as the output's turn comes, and only then given its name.
    const int refused = plan ? plan->Confirm(output.path) : 0;
    int error = refused != 0 ? refused : built.error;
    if (error == 0) error = built.file.Commit(false);
    if (error != 0) {
      fail(error, output.path);
      continue;
    }
    written.emplace_back(output.language, output.path);
  }
  return result;
}

bool ResourceEngine::ExtractResourceToFile(const ResourceId& type, const ResourceId& name,
                                           const std::string& path, const ModuleImage* module) {
  Reset();
  std::string_view bytes;
  if (module) {
    const ResourceData* data = module->Find(type, name);
    if (data) bytes = data->bytes;
  } else {
    bytes = EmbeddedResource(type, name);
  }
  if (bytes.empty()) {
    failureKind = kFailureResourceNotFound;
    failureText = SystemErrorText(kErrorResourceNotFound, module ? module->Path() : "ulk");
    return false;
  }
  AtomicFileWriter writer;
  if (const int error = writer.Open(path)) {
    failureKind = kFailureCannotCreateFile;
    failureText = SystemErrorText(error, path);
    return false;
  }
  int error = writer.Write(bytes);
  if (error == 0) error = writer.Commit();
  if (error != 0) {
    failureKind = kFailureCannotWriteFile;
    failureText = SystemErrorMessage(error);
    return false;
  }
  return true;
}

bool ResourceEngine::CopyResourceToLibrary(const ModuleImage& module, const ResourceId& type,
                                           const ResourceId& name, const std::string& libraryPath) {
  Reset();
  const ResourceData* data = module.Find(type, name);
  if (!data) return false;
  ModuleImage library;
  if (const int error = library.Open(libraryPath)) {
    failureKind = kFailureCannotLoadLibrary;
    failureText = SystemErrorText(error, libraryPath);
    return false;
  }
  ResourceUpdate update(library);
  update.Put(type, name, kLanguageNeutral, std::string(data->bytes));
  struct stat info {};
  const mode_t mode = ::stat(libraryPath.c_str(), &info) == 0 ? info.st_mode & 07777 : 0644;
  const Status status = update.Commit(libraryPath, mode);
  if (!status) {
    failureKind = kFailureCannotUpdateLibrary;
    failureText = SystemErrorText(status.code(), libraryPath);
    return false;
  }
  return true;
}

}  // namespace ulk
