// Reading a module's texts and writing its translated copy.
#include "translator/resources/module_resources.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/files.h"
#include "platform/resource_update.h"
#include "platform/system_error.h"
#include "platform/text.h"
#include "translator/resources/dialog_codec.h"
#include "translator/resources/menu_codec.h"
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

bool ModuleResources::ReadModule(const std::string& path) {
  Release();
  lastError_ = image_.Open(path);
  if (lastError_ != 0) return false;
  modulePath_ = path;

  // Texts of each kind apart, as they are listed in the module; strings
  // come first, then menus, dialogs and versions.
  std::vector<StringTableText> stringTexts;
  std::vector<ResourceText> menuTexts;
  std::vector<ResourceText> dialogTexts;
  std::vector<ResourceText> versionTexts;
  std::vector<Listed> menuList;
  std::vector<Listed> dialogList;
  std::vector<Listed> versionList;
  const auto addItems = [](std::uint32_t type, const ResourceName& name, const ResourceData* data,
                           std::shared_ptr<TemplateCodec> codec, bool parsed,
                           std::vector<ResourceText>& texts, std::vector<Listed>& list) {
    list.push_back(
        {type, name.id, data, texts.size(), codec->ItemCount(), parsed ? codec : nullptr});
    for (std::size_t i = 0; i < codec->ItemCount(); ++i) {
      texts.push_back(TextOf(type, name.id, codec->ItemAt(i), codec->TakeItemText(i)));
    }
  };
  for (const ResourceTypeNode& type : image_.Resources()) {
    if (type.id.named) continue;
    for (const ResourceName& name : type.names) {
      const ResourceData* data = ChooseLanguage(name.languages);
      if (!data) continue;
      switch (type.id.number) {
        case kRtString: {
          // A block that cannot be read is left as it is.
          const std::size_t before = stringTexts.size();
          if (!name.id.named && DecodeStringBlock(name.id.number, data->bytes, stringTexts)) {
            stringBlocks_.push_back(name.id.number);
            listed_.push_back(
                {kRtString, name.id, data, before, stringTexts.size() - before, nullptr});
          }
          break;
        }
        case kRtMenu: {
          auto codec = std::make_shared<MenuCodec>();
          // A menu that cannot be built is not listed.
          if (!codec->Parse(data->bytes)) break;
          if (!codec->Problem().empty())
            warnings_.push_back(
                MakeResourceKey(kRtMenu, name.id.number, name.id.named ? name.id.NameUtf8() : "") +
                ": " + codec->Problem());
          menus_.push_back(name.id);
          addItems(kRtMenu, name, data, codec, true, menuTexts, menuList);
          break;
        }
        case kRtDialog: {
          dialogs_.push_back(name.id);
          auto codec = std::make_shared<DialogCodec>();
          const bool parsed = codec->Parse(data->bytes);
          if (!parsed) warnings_.push_back(DamagedWarning(kRtDialog, name.id));
          addItems(kRtDialog, name, data, codec, parsed, dialogTexts, dialogList);
          break;
        }
        case kRtVersion: {
          versions_.push_back(name.id);
          auto codec = std::make_shared<VersionCodec>();
          const bool parsed = codec->Parse(data->bytes);
          if (!parsed) warnings_.push_back(DamagedWarning(kRtVersion, name.id));
          addItems(kRtVersion, name, data, codec, parsed, versionTexts, versionList);
          break;
        }
        default:
          break;
      }
    }
  }
  texts_.reserve(stringTexts.size() + menuTexts.size() + dialogTexts.size() + versionTexts.size());
  for (StringTableText& string : stringTexts) {
    ResourceText text;
    text.kind = kRtString;
    text.numericId = static_cast<std::uint16_t>(BlockOfStringId(string.id));
    text.item = PositionOfStringId(string.id);
    text.text = std::move(string.text);  // the list keeps the identifiers
    texts_.push_back(std::move(text));
  }
  const auto append = [&](std::vector<ResourceText>& texts, std::vector<Listed>& list) {
    const std::size_t offset = texts_.size();
    std::move(texts.begin(), texts.end(), std::back_inserter(texts_));
    for (Listed& resource : list) {
      resource.firstText += offset;
      listed_.push_back(std::move(resource));
    }
  };
  append(menuTexts, menuList);
  append(dialogTexts, dialogList);
  append(versionTexts, versionList);
  return true;
}

void ModuleResources::Release() {
  image_.Close();
  modulePath_.clear();
  listed_.clear();
  stringBlocks_.clear();
  texts_.clear();
  menus_.clear();
  dialogs_.clear();
  versions_.clear();
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

void ModuleResources::SetTranslation(std::size_t index, std::string text) {
  texts_[index].translation = std::move(text);
}

std::string_view ModuleResources::DataOf(std::uint32_t type, const ResourceId& id) const {
  const ResourceData* data = image_.Find(ResourceId::Number(type), id);
  return data ? data->bytes : std::string_view();
}

int ModuleResources::WriteTranslatedModule(const std::string& outputPath,
                                           std::string_view localeCode) {
  if (!IsOpen()) return kErrorFileNotFound;
  bool outputExists = true;
  if (IsSameFile(outputPath, modulePath_, &outputExists)) return kErrorSameFile;
  // A failure shows when the new file is written.
  if (outputExists) ::unlink(outputPath.c_str());
  {
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::path(outputPath).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  }

  ResourceUpdate update(image_);
  // Each resource is replaced under the language the reader took; the
  // version resources move to the target's locale when one is given.
  const auto put = [&](const Listed& resource, std::string bytes, std::string_view locale) {
    const std::uint16_t language = resource.data->language;
    std::uint32_t wanted = language;
    if (IsLocaleCode(locale) && ReadHex(locale, wanted)) wanted &= 0xFFFF;
    const ResourceId type = ResourceId::Number(resource.type);
    if (wanted != language) update.Delete(type, resource.id, language);
    update.Put(type, resource.id, static_cast<std::uint16_t>(wanted), std::move(bytes));
  };

  // A translated resource that no longer fits its format fails the write
  // rather than reach the module untranslated without a word.
  bool tooLarge = false;
  for (const Listed& resource : listed_) {
    if (resource.type == kRtString) {
      std::array<const std::string*, 16> translations{};
      for (std::size_t i = resource.firstText; i < resource.firstText + resource.textCount; ++i) {
        if (texts_[i].item < translations.size())
          translations[texts_[i].item] = &texts_[i].translation;
      }
      if (auto encoded = EncodeStringBlock(resource.data->bytes, translations)) {
        put(resource, std::move(*encoded), {});
      } else {
        tooLarge = true;
      }
      continue;
    }
    if (!resource.codec) continue;  // an unknown format stays as it is
    TemplateCodec& codec = *resource.codec;
    // The translations are not needed once handed to the codec.
    for (std::size_t k = 0; k < resource.textCount; ++k) {
      codec.SetTranslationAt(k, std::move(texts_[resource.firstText + k].translation));
    }
    const bool isVersion = resource.type == kRtVersion;
    std::optional<std::string> built =
        isVersion ? static_cast<VersionCodec&>(codec).Build(localeCode) : codec.BuildTemplate();
    if (built) {
      put(resource, std::move(*built), isVersion ? localeCode : std::string_view());
    } else {
      tooLarge = true;
    }
  }
  if (tooLarge) return kErrorResourceTooLarge;
  // A read-only module gives a copy its owner can write.
  const mode_t mode = image_.Source().Permissions();
  const Status status = update.Commit(outputPath, mode | S_IWUSR);
  return status.ok() ? 0 : status.code();
}

}  // namespace ulk
