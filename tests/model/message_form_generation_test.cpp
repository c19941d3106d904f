// Message tables and Delphi forms through a project: read into entries,
// translated, generated, and read back from the translated module.
#include <gtest/gtest.h>

#include "tests/resources/resource_fixtures.h"
#include "tests/test_support.h"
#include "translator/model/resource_engine.h"
#include "translator/resources/form_stream_codec.h"
#include "translator/resources/message_table_codec.h"

namespace ulk {
namespace {

std::string Table() {
  return testing::MessageTable({{0x40000001, {{"Service started.\r\n", false}}},
                                {10, {{"Cannot open %1.%n", true}, {"Done", false}}}});
}

std::string FormStream() {
  testing::Form f;
  f.Begin("TForm1", "Form1").Prop("Caption").Str("Settings").Prop("Width").Int16(300).End();
  f.Begin("TButton", "OkButton")
      .Prop("Caption")
      .Str("OK")
      .Prop("Hint")
      .Str("Save and close")
      .End()
      .End();
  f.End();
  return f.str();
}

class MessageFormGeneration : public ::testing::Test {
 protected:
  MessageFormGeneration() : dir_("message-form") {}
  void SetUp() override {
    testing::PutResources(
        testing::FixturePath("sample64.dll"), dir_ / "app.dll",
        {{kRtMessageTable, ResourceId::Number(1), Table()},
         {kRtRcdata, ResourceId::Name(std::string_view("TFORM1")), FormStream()}});
    module_.path = dir_ / "app.dll";
    module_.AddOriginalLanguage();
    ResourceEngine engine;
    ASSERT_TRUE(engine.GetResources(&module_)) << engine.failureText;
    module_.AddLanguage(ModuleLanguage("Deutsch", dir_ / "out/de.dll", false));
  }
  ModuleLanguage& Original() { return *module_.DefaultLanguage(); }
  ModuleLanguage& German() { return *module_.FindLanguage("Deutsch"); }
  std::string Generated(std::uint32_t type, const ResourceId& name) {
    ResourceEngine engine;
    EXPECT_TRUE(engine.GenerateLanguages(&module_)) << engine.failureText;
    ModuleImage image;
    EXPECT_EQ(image.Open(dir_ / "out/de.dll"), 0);
    const ResourceData* data = image.Find(ResourceId::Number(type), name);
    return data ? std::string(data->bytes) : std::string("missing");
  }

  testing::TempDir dir_;
  Module module_;
};

TEST_F(MessageFormGeneration, EntriesKeysAndComponentPaths) {
  const struct {
    const char* key;
    const char* text;
    const char* note;
  } expected[] = {
      {"MT_N_1 (10)", "Cannot open %1.%n", ""},
      {"MT_N_1 (11)", "Done", ""},
      {"MT_N_1 (1073741825)", "Service started.\\r\\n", ""},
      {"FM_S_TFORM1 (0)", "Settings", "Form1.Caption"},
      {"FM_S_TFORM1 (1)", "OK", "Form1.OkButton.Caption"},
      {"FM_S_TFORM1 (2)", "Save and close", "Form1.OkButton.Hint"},
  };
  for (const auto& e : expected) {
    const TextEntry* entry = Original().FindEntry(e.key);
    ASSERT_NE(entry, nullptr) << e.key;
    EXPECT_EQ(entry->text, e.text);
    EXPECT_EQ(entry->note, e.note);
  }
  // A note the translator wrote on a form text stays through a new reading;
  // the path comes back where the note is removed.
  Original().FindEntry("FM_S_TFORM1 (1)")->note = "the default button";
  Original().FindEntry("FM_S_TFORM1 (2)")->note.clear();
  ResourceEngine engine;
  ASSERT_TRUE(engine.GetResources(&module_));
  EXPECT_EQ(Original().FindEntry("FM_S_TFORM1 (1)")->note, "the default button");
  EXPECT_EQ(Original().FindEntry("FM_S_TFORM1 (2)")->note, "Form1.OkButton.Hint");
}

TEST_F(MessageFormGeneration, UntranslatedTablesAndFormsComeOutByteForByte) {
  German().SetEntry("ST_N_1 (0)", "Etwas anderes");
  EXPECT_EQ(Generated(kRtMessageTable, ResourceId::Number(1)), Table());
  EXPECT_EQ(Generated(kRtRcdata, ResourceId::Name(std::string_view("TFORM1"))), FormStream());
}

TEST_F(MessageFormGeneration, TranslationsReachTheModule) {
  German().SetEntry("MT_N_1 (1073741825)", "Dienst gestartet.\\r\\n");
  German().SetEntry("MT_N_1 (10)", "%1 l\u00E4sst sich nicht \u00F6ffnen.%n");
  German().SetEntry("FM_S_TFORM1 (0)", "Einstellungen");
  German().SetEntry("FM_S_TFORM1 (2)", "Speichern und schlie\u00DFen");
  // A text changed in the project since the reading is not written.
  Original().FindEntry("MT_N_1 (11)")->text = "Finished";
  German().SetEntry("MT_N_1 (11)", "Fertig");

  std::vector<MessageText> messages;
  std::string problem;
  ASSERT_TRUE(
      DecodeMessageTable(Generated(kRtMessageTable, ResourceId::Number(1)), messages, problem))
      << problem;
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].text, "%1 l\u00E4sst sich nicht \u00F6ffnen.%n");
  EXPECT_EQ(messages[1].text, "Done");
  EXPECT_EQ(messages[2].text, "Dienst gestartet.\r\n");

  std::vector<FormString> strings;
  ASSERT_TRUE(ParseFormStream(Generated(kRtRcdata, ResourceId::Name(std::string_view("TFORM1"))),
                              strings, problem))
      << problem;
  ASSERT_EQ(strings.size(), 3u);
  EXPECT_EQ(strings[0].text, "Einstellungen");
  EXPECT_EQ(strings[1].text, "OK");
  EXPECT_EQ(strings[2].path, "Form1.OkButton.Hint");
  EXPECT_EQ(strings[2].text, "Speichern und schlie\u00DFen");
}

}  // namespace
}  // namespace ulk
