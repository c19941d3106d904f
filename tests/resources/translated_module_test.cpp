// The translated module as ModuleResources writes it, each resource walked
// once with its texts translated on the way, against the same module
// rebuilt the long way: every resource parsed by its codec, its items
// translated, built on its own and put into a resource update.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <tuple>

#include "platform/resource_update.h"
#include "platform/system_error.h"
#include "tests/test_support.h"
#include "translator/resources/dialog_codec.h"
#include "translator/resources/menu_codec.h"
#include "translator/resources/module_resources.h"
#include "translator/resources/string_table.h"
#include "translator/resources/version_codec.h"

namespace ulk {
namespace {

// Translations by rule: some items keep their text, some get an empty
// translation, the others a longer text with a line break and non-ASCII
// letters. Every question is noted.
class RuleTranslator final : public TextTranslator {
 public:
  explicit RuleTranslator(std::size_t longLength = 0) : longLength_(longLength) {}

  void BeginResource(std::uint32_t type, const ResourceId& id) override {
    type_ = type;
    name_ = id.Describe();
  }
  bool Translate(std::uint32_t item, std::string_view text, std::string& translation) override {
    asked.emplace_back(type_, name_, item, std::string(text));
    translation = Of(type_, item, text, longLength_);
    return item % 5 != 1;
  }
  static std::string Of(std::uint32_t type, std::uint32_t item, std::string_view text,
                        std::size_t longLength) {
    if (item % 5 == 1 || item % 5 == 2) return {};
    if (longLength && type == kRtString) return std::string(longLength, 'x');
    return "«" + std::string(text) + "» nº " + std::to_string(item) + "\r\nañadido";
  }

  std::vector<std::tuple<std::uint32_t, std::string, std::uint32_t, std::string>> asked;

 private:
  std::size_t longLength_ = 0;
  std::uint32_t type_ = 0;
  std::string name_;
};

// The module rebuilt resource by resource through the codecs, with the
// translations RuleTranslator gives; none when a string is too long.
std::optional<std::string> Reference(const ModuleImage& image, std::string_view localeCode) {
  ResourceUpdate update(image);
  const auto translate = [](std::uint32_t type, TemplateCodec& codec) {
    for (std::size_t i = 0; i < codec.ItemCount(); ++i) {
      const TemplateItem& item = codec.ItemAt(i);
      codec.SetTranslationAt(i, RuleTranslator::Of(type, item.item, item.text, 0));
    }
  };
  for (const ResourceTypeNode& type : image.Resources()) {
    if (type.id.named) continue;
    for (const ResourceName& name : type.names) {
      const ResourceData* data = ChooseLanguage(name.languages);
      if (!data) continue;
      std::optional<std::string> built;
      std::uint16_t language = data->language;
      if (type.id.number == kRtString) {
        std::vector<StringTableText> texts;
        if (name.id.named || !DecodeStringBlock(name.id.number, data->bytes, texts)) continue;
        std::array<std::string, 16> strings;
        std::array<const std::string*, 16> translations{};
        for (const StringTableText& text : texts) {
          const std::uint32_t position = text.id % 16;
          strings[position] = RuleTranslator::Of(kRtString, position, text.text, 0);
          translations[position] = &strings[position];
        }
        built = EncodeStringBlock(data->bytes, translations);
      } else if (type.id.number == kRtMenu || type.id.number == kRtDialog) {
        MenuCodec menu;
        DialogCodec dialog;
        TemplateCodec& codec =
            type.id.number == kRtMenu ? static_cast<TemplateCodec&>(menu) : dialog;
        const bool parsed =
            type.id.number == kRtMenu ? menu.Parse(data->bytes) : dialog.Parse(data->bytes);
        if (!parsed) continue;
        translate(type.id.number, codec);
        built = codec.BuildTemplate();
      } else if (type.id.number == kRtVersion) {
        VersionCodec version;
        if (!version.Parse(data->bytes)) continue;
        translate(kRtVersion, version);
        built = version.Build(localeCode);
        std::uint32_t wanted = 0;
        if (ReadHex(localeCode, wanted)) language = static_cast<std::uint16_t>(wanted);
        if (language != data->language) update.Delete(type.id, name.id, data->language);
      } else {
        continue;
      }
      if (!built) return std::nullopt;
      update.Put(type.id, name.id, language, std::move(*built));
    }
  }
  std::string out;
  if (!update.Build(out)) return std::nullopt;
  return out;
}

class TranslatedModuleTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { ASSERT_TRUE(resources_.OpenModule(testing::FixturePath(GetParam()))); }
  std::string Output() const { return (dir_.path() / "out" / "salida.dll").string(); }

  testing::TempDir dir_{"translated-module"};
  ModuleResources resources_;
};

TEST_P(TranslatedModuleTest, WrittenInOnePassAsTheCodecsBuildIt) {
  for (const std::string locale : {"", "00000C0A"}) {
    RuleTranslator translator;
    ASSERT_EQ(resources_.WriteTranslatedModule(Output(), locale, translator), 0);
    const std::optional<std::string> expected = Reference(resources_.Image(), locale);
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(testing::ReadFileBytes(Output()), *expected) << "locale " << locale;
  }
}

TEST_P(TranslatedModuleTest, AsksForEveryTextAReadingLists) {
  ModuleResources read;
  ASSERT_TRUE(read.ReadModule(testing::FixturePath(GetParam())));
  RuleTranslator translator;
  ASSERT_EQ(resources_.WriteTranslatedModule(Output(), "", translator), 0);
  std::map<std::tuple<std::uint32_t, std::uint32_t, std::string>, std::string> asked;
  for (const auto& [type, name, item, text] : translator.asked) asked[{type, item, name}] = text;
  ASSERT_EQ(asked.size(), translator.asked.size()) << "a text was asked for twice";
  ASSERT_EQ(asked.size(), read.TextCount());
  for (std::size_t i = 0; i < read.TextCount(); ++i) {
    const ResourceText& text = read.TextAt(i);
    const ResourceId id = text.name.empty() ? ResourceId::Number(text.numericId)
                                            : ResourceId::Name(std::string_view(text.name));
    const auto found = asked.find({text.kind, text.item, id.Describe()});
    ASSERT_NE(found, asked.end()) << read.ResourceKeyAt(i) << " item " << text.item;
    EXPECT_EQ(found->second, text.text) << read.ResourceKeyAt(i) << " item " << text.item;
  }
}

TEST_P(TranslatedModuleTest, UntranslatedTheResourcesComeBackAsTheyWere) {
  class Nothing final : public TextTranslator {
    void BeginResource(std::uint32_t, const ResourceId&) override {}
    bool Translate(std::uint32_t, std::string_view, std::string&) override { return false; }
  } nothing;
  ASSERT_EQ(resources_.WriteTranslatedModule(Output(), "", nothing), 0);
  ModuleImage written;
  ASSERT_EQ(written.Open(Output()), 0) << written.Detail();
  for (const ResourceTypeNode& type : resources_.Image().Resources()) {
    for (const ResourceName& name : type.names) {
      const std::string where = type.id.Describe() + "/" + name.id.Describe();
      const ResourceName* again = written.FindName(type.id, name.id);
      ASSERT_NE(again, nullptr) << where;
      ASSERT_EQ(again->languages.size(), name.languages.size()) << where;
      for (std::size_t l = 0; l < name.languages.size(); ++l) {
        EXPECT_EQ(again->languages[l].language, name.languages[l].language) << where;
        EXPECT_EQ(again->languages[l].bytes, name.languages[l].bytes) << where;
      }
    }
  }
}

TEST_P(TranslatedModuleTest, AStringTooLongFailsTheWriteAndWritesNothing) {
  if (!resources_.Image().FindType(ResourceId::Number(kRtString))) GTEST_SKIP() << "no strings";
  std::filesystem::create_directories(dir_.path() / "out");
  testing::WriteFileBytes(Output() + ".old", "x");
  RuleTranslator translator(0x10000);
  EXPECT_EQ(resources_.WriteTranslatedModule(Output(), "", translator), kErrorResourceTooLarge);
  EXPECT_FALSE(std::filesystem::exists(Output()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path() / "out"),
                          std::filesystem::directory_iterator()),
            1)
      << "no temporary file is left";
}

TEST_P(TranslatedModuleTest, DamagedResourcesAreWrittenAsTheyStand) {
  // A string block whose length runs past its end, and a dialog cut short.
  const std::string block(
      "\x05\x00"
      "a\x00",
      4);
  const std::string dialog("\x01\x02", 2);
  const std::string damaged = (dir_.path() / "damaged.dll").string();
  {
    ResourceUpdate update(resources_.Image());
    update.Put(ResourceId::Number(kRtString), ResourceId::Number(50), 0x0409, block);
    update.Put(ResourceId::Number(kRtDialog), ResourceId::Number(900), 0x0409, dialog);
    ASSERT_TRUE(update.Commit(damaged, 0644));
  }
  ModuleResources module;
  ASSERT_TRUE(module.OpenModule(damaged));
  RuleTranslator translator;
  ASSERT_EQ(module.WriteTranslatedModule(Output(), "", translator), 0);
  ModuleImage written;
  ASSERT_EQ(written.Open(Output()), 0) << written.Detail();
  const ResourceData* string = written.Find(ResourceId::Number(kRtString), ResourceId::Number(50));
  const ResourceData* template_ =
      written.Find(ResourceId::Number(kRtDialog), ResourceId::Number(900));
  ASSERT_NE(string, nullptr);
  ASSERT_NE(template_, nullptr);
  EXPECT_EQ(string->bytes, block);
  EXPECT_EQ(template_->bytes, dialog);
}

// A resource name that could not stand in a key (a line break, an "=")
// gives no texts, is reported, and comes out as it is.
TEST_P(TranslatedModuleTest, ResourcesNamedToBreakAKeyAreLeftAsTheyAre) {
  const ResourceData* menu =
      resources_.Image().Find(ResourceId::Number(kRtMenu), ResourceId::Number(1));
  ASSERT_NE(menu, nullptr);
  const std::string named = (dir_.path() / "named.dll").string();
  const ResourceId hostile =
      ResourceId::Name(std::string_view("A\n[/ETC/X]\nLANGUAGE = X, /TMP/X"));
  {
    ResourceUpdate update(resources_.Image());
    update.Put(ResourceId::Number(kRtMenu), hostile, 0x0409, std::string(menu->bytes));
    ASSERT_TRUE(update.Commit(named, 0644));
  }
  ModuleResources read;
  ASSERT_TRUE(read.ReadModule(named));
  for (std::size_t i = 0; i < read.TextCount(); ++i) {
    EXPECT_EQ(read.ResourceKeyAt(i).find('\n'), std::string::npos) << read.ResourceKeyAt(i);
  }
  ASSERT_FALSE(read.Warnings().empty());
  EXPECT_NE(read.Warnings().back().find("se copia sin traducir"), std::string::npos);
  RuleTranslator translator;
  ASSERT_EQ(read.WriteTranslatedModule(Output(), "", translator), 0);
  ModuleImage written;
  ASSERT_EQ(written.Open(Output()), 0);
  const ResourceData* kept = written.Find(ResourceId::Number(kRtMenu), hostile);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->bytes, menu->bytes);
}

// A module with many resources: the same bytes as the codecs build them,
// and a string too long in any of them fails the whole.
TEST_P(TranslatedModuleTest, ALargeModuleComesOutAsTheCodecsBuildIt) {
  const std::string large = (dir_.path() / "large.dll").string();
  {
    ResourceUpdate update(resources_.Image());
    for (const ResourceTypeNode& type : resources_.Image().Resources()) {
      if (type.id.named) continue;
      const std::uint32_t kind = type.id.number;
      if (kind != kRtString && kind != kRtMenu && kind != kRtDialog) continue;
      // Copies under numbers of their own (string blocks stay below 4097).
      std::uint32_t number = 300;
      for (const ResourceName& name : type.names) {
        const ResourceData* data = ChooseLanguage(name.languages);
        if (!data || (kind == kRtString && name.id.named)) continue;
        for (int copy = 0; copy < 400; ++copy) {
          update.Put(type.id, ResourceId::Number(number++), data->language,
                     std::string(data->bytes));
        }
      }
    }
    ASSERT_TRUE(update.Commit(large, 0644));
  }
  ModuleResources module;
  ASSERT_TRUE(module.OpenModule(large));
  RuleTranslator translator;
  ASSERT_EQ(module.WriteTranslatedModule(Output(), "00000C0A", translator), 0);
  const std::optional<std::string> expected = Reference(module.Image(), "00000C0A");
  ASSERT_TRUE(expected.has_value());
  EXPECT_TRUE(testing::ReadFileBytes(Output()) == *expected)
      << "the module differs from the one the codecs build";
  if (!module.Image().FindType(ResourceId::Number(kRtString))) return;
  RuleTranslator tooLong(0x10000);
  EXPECT_EQ(module.WriteTranslatedModule(Output() + ".2", "", tooLong), kErrorResourceTooLarge);
  EXPECT_FALSE(std::filesystem::exists(Output() + ".2"));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, TranslatedModuleTest,
                         ::testing::Values("sample32.dll", "sample64.dll", "withcode32.dll",
                                           "controls64.dll"),
                         [](const auto& param) {
                           std::string name = param.param;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace ulk
