// Reading a module's texts and writing its translated copy.
#include "translator/resources/module_resources.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "platform/files.h"
#include "platform/resource_update.h"
#include "platform/system_error.h"
#include "platform/text.h"
#include "translator/resources/dialog_codec.h"
#include "translator/resources/form_stream_codec.h"
#include "translator/resources/menu_codec.h"
#include "translator/resources/message_table_codec.h"
#include "translator/resources/version_codec.h"

namespace ulk {
namespace {

ResourceText TextOf(std::uint32_t kind, const ResourceId& id, const TemplateItem& item,
                    std::string itemText) {
  ResourceText text;
  text.kind = kind;
  if (id.named) {
    text.name = id.NameUtf8();
  } else {
    text.numericId = static_cast<std::uint16_t>(id.number);
  }
  text.item = item.item;
  text.text = std::move(itemText);
  return text;
}

// What the user is told of a template that cannot be read: it keeps its
// own texts in every translated module.
std::string DamagedWarning(std::uint32_t type, const ResourceId& id) {
  return "El recurso " + MakeResourceKey(type, id.number, id.named ? id.NameUtf8() : "") +
         " está dañado: se copia sin traducir.";
}

// Whether a resource's name can be part of an entry key: the project file
// keeps a key on one line, up to its "=".
bool IsKeyableName(const ResourceId& id) {
  if (!id.named) return true;
  return std::none_of(id.name.begin(), id.name.end(),
                      [](char16_t c) { return c < 0x20 || c == u'='; });
}

// Calls visit(type, name, data) for each resource whose texts a reading
// takes: numbered types, in the language ChooseLanguage picks. A resource
// whose name cannot be a key is left as it is, and reported in `skipped`.
template <typename Visit>
void ForEachChosenResource(const ModuleImage& image, Visit visit,
                           std::vector<std::string>* skipped = nullptr) {
  for (const ResourceTypeNode& type : image.Resources()) {
    if (type.id.named) continue;
    for (const ResourceName& name : type.names) {
      if (!IsKeyableName(name.id)) {
        const std::uint32_t kind = type.id.number;
        if (skipped && (kind == kRtMenu || kind == kRtDialog || kind == kRtVersion ||
                        kind == kRtMessageTable)) {
          skipped->push_back("El recurso " + std::to_string(type.id.number) +
                             " de nombre no válido se copia sin traducir.");
        }
        continue;
      }
      if (const ResourceData* data = ChooseLanguage(name.languages)) visit(type.id, name, data);
    }
  }
}

// Refuses, for the whole module, a translation that holds a NUL: in a
// template it would end the text early and make the rest of it read as
// structure. What lets a text into the project refuses one already; this
// is the writer's own line of defence.
class NulRefusingTranslator final : public TextTranslator {
 public:
  explicit NulRefusingTranslator(TextTranslator& inner) : inner_(inner) {}

  void BeginResource(std::uint32_t type, const ResourceId& id) override {
    inner_.BeginResource(type, id);
  }
  bool Translate(std::uint32_t item, std::string_view text, std::string& translation) override {
    if (!inner_.Translate(item, text, translation)) return false;
    if (translation.find('\0') == std::string::npos) return true;
    refused_ = true;
    translation.clear();
    return false;
  }
  const DialogGeometry* GeometryOfDialog() override { return inner_.GeometryOfDialog(); }
  bool Refused() const { return refused_; }

 private:
  TextTranslator& inner_;
  bool refused_ = false;
};

}  // namespace

bool IsSameFile(const std::string& output, const std::string& module, bool* outputExists) {
  if (outputExists) *outputExists = true;
  if (ToUpperUtf8(output) == ToUpperUtf8(module)) return true;
  struct stat a {};
  struct stat b {};
  if (::stat(output.c_str(), &a) != 0) {
    if (outputExists) *outputExists = false;
    // Nothing there to overwrite; but the same name spelt another way
    // ("sub/../APP.DLL") is still refused, as the letter case is.
    if (ToUpperUtf8(FileNameOf(output)) != ToUpperUtf8(FileNameOf(module))) return false;
    const auto spelt = [](const std::string& path) {
      return ToUpperUtf8(std::filesystem::path(path).lexically_normal().string());
    };
    return spelt(output) == spelt(module);
  }
  if (::stat(module.c_str(), &b) == 0) return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
  // The module's own path no longer leads to it: compare what the paths
  // name through ".." and linked folders.
  std::error_code error;
  const auto outputPath = std::filesystem::weakly_canonical(output, error);
  if (error) return false;
  const auto modulePath = std::filesystem::weakly_canonical(module, error);
  return !error && outputPath == modulePath;
}

bool ModuleResources::OpenModule(const std::string& path) {
  Release();
  lastError_ = image_.Open(path);
  if (lastError_ != 0) return false;
  modulePath_ = path;
  return true;
}

bool ModuleResources::ReadModule(const std::string& path) {
  if (!OpenModule(path)) return false;

  // Texts of each kind apart, as they are listed in the module; strings
  // come first, then menus, dialogs and versions.
  std::vector<StringTableText> stringTexts;
  std::vector<ResourceText> menuTexts;
  std::vector<ResourceText> dialogTexts;
  std::vector<ResourceText> versionTexts;
  std::vector<ResourceText> messageTexts;
  std::vector<ResourceText> formTexts;
  const auto addItems = [](std::uint32_t type, const ResourceName& name, TemplateCodec& codec,
                           std::vector<ResourceText>& texts) {
    for (std::size_t i = 0; i < codec.ItemCount(); ++i) {
      texts.push_back(TextOf(type, name.id, codec.ItemAt(i), codec.TakeItemText(i)));
    }
  };
  MenuCodec menu;
  DialogCodec dialog;
  ForEachChosenResource(
      image_,
      [&](const ResourceId& type, const ResourceName& name, const ResourceData* data) {
        switch (type.number) {
          case kRtString:
            // A block that cannot be read is left as it is.
            if (!name.id.named && DecodeStringBlock(name.id.number, data->bytes, stringTexts)) {
              stringBlocks_.push_back(name.id.number);
            }
            break;
          case kRtMenu:
            // A menu that cannot be built is not listed.
            if (!menu.Parse(data->bytes)) break;
            if (!menu.Problem().empty())
              warnings_.push_back(MakeResourceKey(kRtMenu, name.id.number,
                                                  name.id.named ? name.id.NameUtf8() : "") +
                                  ": " + menu.Problem());
            menus_.push_back(name.id);
            addItems(kRtMenu, name, menu, menuTexts);
            break;
          case kRtDialog:
            dialogs_.push_back(name.id);
            if (!dialog.Parse(data->bytes)) warnings_.push_back(DamagedWarning(kRtDialog, name.id));
            addItems(kRtDialog, name, dialog, dialogTexts);
            break;
          case kRtVersion: {
            versions_.push_back(name.id);
            VersionCodec codec;
            if (!codec.Parse(data->bytes)) warnings_.push_back(DamagedWarning(kRtVersion, name.id));
            addItems(kRtVersion, name, codec, versionTexts);
            break;
          }
          case kRtMessageTable:
            ReadMessageTable(name.id, data->bytes, messageTexts);
            break;
          case kRtRcdata:
            if (IsFormStream(data->bytes)) ReadForm(name.id, data->bytes, formTexts);
            break;
          default:
            break;
        }
      },
      &warnings_);
  texts_.reserve(stringTexts.size() + menuTexts.size() + dialogTexts.size() + versionTexts.size() +
                 messageTexts.size() + formTexts.size());
  for (StringTableText& string : stringTexts) {
    ResourceText text;
    text.kind = kRtString;
    text.numericId = static_cast<std::uint16_t>(BlockOfStringId(string.id));
    text.item = PositionOfStringId(string.id);
    text.text = std::move(string.text);  // the list keeps the identifiers
    texts_.push_back(std::move(text));
  }
  for (auto* texts : {&menuTexts, &dialogTexts, &versionTexts, &messageTexts, &formTexts}) {
    std::move(texts->begin(), texts->end(), std::back_inserter(texts_));
  }
  return true;
}

void ModuleResources::ReadMessageTable(const ResourceId& id, std::string_view bytes,
                                       std::vector<ResourceText>& texts) {
  std::vector<MessageText> messages;
  std::string problem;
  if (!DecodeMessageTable(bytes, messages, problem)) {
    warnings_.push_back(DamagedWarning(kRtMessageTable, id) + " (" + problem + ")");
    return;
  }
  messageTables_.push_back(id);
  for (MessageText& message : messages) {
    // Every message is kept by the writer; the empty ones give no text.
    if (message.text.empty()) continue;
    TemplateItem item;
    item.item = message.id;
    texts.push_back(TextOf(kRtMessageTable, id, item, std::move(message.text)));
  }
}

void ModuleResources::ReadForm(const ResourceId& id, std::string_view bytes,
                               std::vector<ResourceText>& texts) {
  std::vector<FormString> strings;
  std::string problem;
  if (!ParseFormStream(bytes, strings, problem)) {
    warnings_.push_back(DamagedWarning(kRtRcdata, id) + " (" + problem + ")");
    return;
  }
  forms_.push_back(id);
  for (FormString& string : strings) {
    if (!string.isInterfaceText || string.text.empty()) continue;
    TemplateItem item;
    item.item = string.ordinal;
    texts.push_back(TextOf(kRtRcdata, id, item, std::move(string.text)));
    texts.back().note = std::move(string.path);
  }
}

void ModuleResources::Release() {
  image_.Close();
  modulePath_.clear();
  stringBlocks_.clear();
  texts_.clear();
  menus_.clear();
  dialogs_.clear();
  versions_.clear();
  messageTables_.clear();
  forms_.clear();
  warnings_.clear();
}

std::string ModuleResources::ResourceKeyAt(std::size_t index) const {
  const ResourceText& text = texts_[index];
  return MakeResourceKey(text.kind, text.numericId, text.name);
}

void ModuleResources::EntryKeyAt(std::size_t index, std::string& key) const {
  const ResourceText& text = texts_[index];
  key.clear();
  AppendEntryKey(key, text.kind, text.numericId, text.name, text.item);
}

std::string_view ModuleResources::DataOf(std::uint32_t type, const ResourceId& id) const {
  const ResourceData* data = image_.Find(ResourceId::Number(type), id);
  return data ? data->bytes : std::string_view();
}

int ModuleResources::WriteTranslatedModule(const std::string& outputPath,
                                           std::string_view localeCode,
                                           TextTranslator& translator) {
  AtomicFileWriter prepared;
  if (const int error = PrepareTranslatedModule(outputPath, localeCode, translator, prepared)) {
    return error;
  }
  // A module can be generated again: no need to wait for the disk.
  return prepared.Commit(false);
}

int ModuleResources::PrepareTranslatedModule(const std::string& outputPath,
                                             std::string_view localeCode,
                                             TextTranslator& translator,
                                             AtomicFileWriter& prepared) {
  if (!IsOpen()) return kErrorFileNotFound;
  if (IsSameFile(outputPath, modulePath_)) return kErrorSameFile;
  // The previous output stays until the new one replaces it whole: the
  // rename at the end is the only change to it (and a read-only one stays
  // refused).
  {
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::path(outputPath).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  }

  // Each resource is replaced under the language the reader takes; the
  // string tables, menus and dialogs are rebuilt as the section is written,
  // each text translated as its resource is walked. A template that cannot
  // be walked keeps its own bytes; a translated string too long for its
  // table fails the write rather than reach the module untranslated without
  // a word.
  ResourceUpdate update(image_);
  NulRefusingTranslator checked(translator);
  StringBlockWriter strings;
  MenuCodec menu;
  DialogCodec dialog;
  const auto rebuilt = [&](const ResourceId& type, const ResourceId& id, const ResourceData& data,
                           auto append) {
    update.PutBuilt(
        type, id, data.language,
        [&checked, type, id, bytes = data.bytes, append](std::string& out) {
          checked.BeginResource(type.number, id);
          Status status = append(bytes, out);
          if (status && checked.Refused()) {
            status = Status::Fail(kErrorBadTranslation, "translation with a NUL");
          }
          return status;
        },
        2 * data.bytes.size());
  };
  const auto templateOf = [&checked](TemplateCodec& codec) {
    return [&codec, &checked](std::string_view bytes, std::string& out) {
      codec.AppendTranslated(bytes, checked, out);
      return Status();
    };
  };
  bool versionTooLarge = false;
  ForEachChosenResource(
      image_, [&](const ResourceId& type, const ResourceName& name, const ResourceData* data) {
        switch (type.number) {
          case kRtString:
            if (name.id.named) break;
            rebuilt(type, name.id, *data, [&](std::string_view bytes, std::string& out) {
              if (strings.Append(bytes, checked, out) == StringBlockWriter::kTooLong)
                return Status::Fail(kErrorResourceTooLarge, "string too long");
              return Status();
            });
            break;
          case kRtMenu:
            rebuilt(type, name.id, *data, templateOf(menu));
            break;
          case kRtDialog:
            rebuilt(type, name.id, *data, [&](std::string_view bytes, std::string& out) {
              const std::size_t start = out.size();
              dialog.AppendTranslated(bytes, checked, out);
              // Only the rectangles change, in place; a template that cannot
              // be walked keeps its own.
              if (const DialogGeometry* geometry = checked.GeometryOfDialog()) {
                std::size_t skipped = 0;
                (void)ApplyDialogGeometry(out, start, *geometry, skipped);
              }
              return Status();
            });
            break;
          case kRtMessageTable:
            rebuilt(type, name.id, *data, [&](std::string_view bytes, std::string& out) {
              if (MessageTableWriter().Append(bytes, checked, out) == MessageTableWriter::kTooLong)
                return Status::Fail(kErrorResourceTooLarge, "message too long");
              return Status();
            });
            break;
          case kRtRcdata:
            // A form that cannot be walked keeps its bytes (the reading
            // reported it); other RCDATA is no business of ours.
            if (!IsFormStream(data->bytes)) break;
            rebuilt(type, name.id, *data, [&](std::string_view bytes, std::string& out) {
              FormStreamWriter().Append(bytes, checked, out);
              return Status();
            });
            break;
          case kRtVersion: {
            // Rebuilt now: it may move to another language.
            VersionCodec version;
            if (!version.Parse(data->bytes)) break;
            checked.BeginResource(kRtVersion, name.id);
            std::string translation;
            for (std::size_t i = 0; i < version.ItemCount(); ++i) {
              translation.clear();
              const TemplateItem& item = version.ItemAt(i);
              if (checked.Translate(item.item, item.text, translation))
                version.SetTranslationAt(i, translation);
            }
            std::optional<std::string> bytes = version.Build(localeCode);
            if (!bytes) {
              versionTooLarge = true;
              break;
            }
            std::uint32_t wanted = data->language;
            if (IsLocaleCode(localeCode) && ReadHex(localeCode, wanted)) wanted &= 0xFFFF;
            if (wanted != data->language) update.Delete(type, name.id, data->language);
            update.Put(type, name.id, static_cast<std::uint16_t>(wanted), std::move(*bytes));
            break;
          }
          default:
            break;
        }
      });
  if (versionTooLarge) return kErrorResourceTooLarge;
  if (checked.Refused()) return kErrorBadTranslation;
  // A read-only module gives a copy its owner can write; never one that
  // runs as someone else or that anyone may change.
  const mode_t mode = ModeForCopy(image_.Source().Permissions());
  const Status status = update.Prepare(outputPath, mode | S_IWUSR, prepared);
  return status.ok() ? 0 : status.code();
}

}  // namespace ulk
