// Reading a module's texts and writing its translated copy.
#include "translator/resources/module_resources.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "platform/resource_update.h"
#include "platform/system_error.h"
#include "platform/text.h"
#include "translator/resources/dialog_codec.h"
#include "translator/resources/menu_codec.h"
#include "translator/resources/version_codec.h"

namespace ulk {
namespace {

ResourceText TextOf(std::uint32_t kind, const ResourceId& id, const TemplateItem& item) {
  ResourceText text;
  text.kind = kind;
  if (id.named) {
    text.name = id.NameUtf8();
  } else {
    text.numericId = static_cast<std::uint16_t>(id.number);
  }
  text.item = item.item;
  text.text = item.text;
  return text;
}

// The translations of one resource, by item number.
using ItemTranslations = std::vector<std::pair<std::uint32_t, const std::string*>>;

std::string IdentityKey(std::uint32_t kind, std::uint16_t number, const std::string& name) {
  return std::to_string(kind) + (name.empty() ? "#" + std::to_string(number) : "$" + name);
}

std::string IdentityKey(std::uint32_t kind, const ResourceId& id) {
  return IdentityKey(kind, static_cast<std::uint16_t>(id.number), id.named ? id.NameUtf8() : "");
}

}  // namespace

bool IsSameFile(const std::string& output, const std::string& module) {
  if (ToUpperUtf8(output) == ToUpperUtf8(module)) return true;
  struct stat a {};
  struct stat b {};
  if (::stat(output.c_str(), &a) == 0 && ::stat(module.c_str(), &b) == 0) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
  }
  // An output that does not exist yet may still name the module through
  // ".." or a linked folder.
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

  std::vector<ResourceText> menuTexts;
  std::vector<ResourceText> dialogTexts;
  std::vector<ResourceText> versionTexts;
  for (const ResourceTypeNode& type : image_.Resources()) {
    if (type.id.named) continue;
    for (const ResourceName& name : type.names) {
      const ResourceData* data = ChooseLanguage(name.languages);
      if (!data) continue;
      switch (type.id.number) {
        case kRtString:
          // A block that cannot be read is left as it is.
          if (!name.id.named && DecodeStringBlock(name.id.number, data->bytes, stringTexts_)) {
            stringBlocks_.push_back(name.id.number);
          }
          break;
        case kRtMenu: {
          MenuCodec codec;
          // A menu that cannot be built is not listed.
          if (!codec.Parse(data->bytes)) break;
          if (!codec.Problem().empty()) warnings_.push_back("MN " + name.id.Describe() + ": " + codec.Problem());
          menus_.push_back(name.id);
          for (const auto& item : codec.Items()) menuTexts.push_back(TextOf(kRtMenu, name.id, item));
          break;
        }
        case kRtDialog: {
          dialogs_.push_back(name.id);
          DialogCodec codec;
          if (!codec.Parse(data->bytes)) {
            warnings_.push_back("DL " + name.id.Describe() + ": " + codec.Problem());
            break;
          }
          for (const auto& item : codec.Items()) dialogTexts.push_back(TextOf(kRtDialog, name.id, item));
          break;
        }
        case kRtVersion: {
          versions_.push_back(name.id);
          VersionCodec codec;
          if (!codec.Parse(data->bytes)) {
            warnings_.push_back("VS " + name.id.Describe() + ": " + codec.Problem());
            break;
          }
          for (const auto& item : codec.Items()) versionTexts.push_back(TextOf(kRtVersion, name.id, item));
          break;
        }
        default:
          break;
      }
    }
  }
  texts_.reserve(stringTexts_.size() + menuTexts.size() + dialogTexts.size() + versionTexts.size());
  for (const StringTableText& string : stringTexts_) {
    ResourceText text;
    text.kind = kRtString;
    text.numericId = static_cast<std::uint16_t>(BlockOfStringId(string.id));
    text.item = PositionOfStringId(string.id);
    text.text = string.text;
    texts_.push_back(std::move(text));
  }
  for (auto* list : {&menuTexts, &dialogTexts, &versionTexts}) {
    std::move(list->begin(), list->end(), std::back_inserter(texts_));
  }
  return true;
}

void ModuleResources::Release() {
  image_.Close();
  modulePath_.clear();
  stringBlocks_.clear();
  stringTexts_.clear();
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

void ModuleResources::SetTranslation(std::size_t index, std::string_view text) {
  texts_[index].translation.assign(text);
}

std::string_view ModuleResources::DataOf(std::uint32_t type, const ResourceId& id) const {
  const ResourceData* data = image_.Find(ResourceId::Number(type), id);
  return data ? data->bytes : std::string_view();
}

int ModuleResources::WriteTranslatedModule(const std::string& outputPath,
                                           std::string_view localeCode) {
  if (!IsOpen()) return kErrorFileNotFound;
  if (IsSameFile(outputPath, modulePath_)) return kErrorSameFile;
  ::unlink(outputPath.c_str());  // a failure shows when the new file is written
  {
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::path(outputPath).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  }

  // Translations by resource, then by item.
  std::map<std::string, ItemTranslations> byResource;
  for (const ResourceText& text : texts_) {
    if (text.translation.empty()) continue;
    byResource[IdentityKey(text.kind, text.numericId, text.name)].emplace_back(text.item, &text.translation);
  }
  const auto translationsOf = [&](std::uint32_t kind, const ResourceId& id) -> const ItemTranslations* {
    const auto found = byResource.find(IdentityKey(kind, id));
    return found == byResource.end() ? nullptr : &found->second;
  };

  ResourceUpdate update(image_);
  const auto put = [&](std::uint32_t type, const ResourceId& id, std::string bytes,
                       std::string_view locale) {
    const ResourceData* present = image_.Find(ResourceId::Number(type), id);
    const std::uint16_t language = present ? present->language : kLanguageNeutral;
    std::uint32_t wanted = language;
    if (IsLocaleCode(locale) && ReadHex(locale, wanted)) wanted &= 0xFFFF;
    if (wanted != language) update.Delete(ResourceId::Number(type), id, language);
    update.Put(ResourceId::Number(type), id, static_cast<std::uint16_t>(wanted), std::move(bytes));
  };

  // A translated resource that no longer fits its format fails the write
  // rather than reach the module untranslated without a word.
  bool tooLarge = false;
  for (const std::uint32_t block : stringBlocks_) {
    const ResourceId id = ResourceId::Number(block);
    std::array<const std::string*, 16> translations{};
    if (const ItemTranslations* list = translationsOf(kRtString, id)) {
      for (const auto& [item, translation] : *list) {
        if (item < translations.size()) translations[item] = translation;
      }
    }
    if (auto encoded = EncodeStringBlock(DataOf(kRtString, id), translations)) {
      put(kRtString, id, std::move(*encoded), {});
    } else {
      tooLarge = true;
    }
  }
  const auto rebuild = [&](std::uint32_t type, const std::vector<ResourceId>& ids, auto makeCodec,
                           std::string_view locale) {
    for (const ResourceId& id : ids) {
      auto codec = makeCodec();
      if (!codec.Parse(DataOf(type, id))) continue;
      if (const ItemTranslations* list = translationsOf(type, id)) {
        for (const auto& [item, translation] : *list) codec.SetItemTranslation(item, *translation);
      }
      std::optional<std::string> built;
      if constexpr (std::is_same_v<decltype(codec), VersionCodec>) {
        built = codec.Build(locale);
      } else {
        built = codec.Build();
      }
      if (built) {
        put(type, id, std::move(*built), locale);
      } else {
        tooLarge = true;
      }
    }
  };
  rebuild(kRtMenu, menus_, [] { return MenuCodec(); }, {});
  rebuild(kRtDialog, dialogs_, [] { return DialogCodec(); }, {});
  rebuild(kRtVersion, versions_, [] { return VersionCodec(); }, localeCode);

  if (tooLarge) return kErrorResourceTooLarge;
  struct stat info {};
  mode_t mode = 0644;
  if (::stat(modulePath_.c_str(), &info) == 0) mode = info.st_mode & 07777;
  // A read-only module gives a copy its owner can write.
  const Status status = update.Commit(outputPath, mode | S_IWUSR);
  return status.ok() ? 0 : status.code();
}

}  // namespace ulk
