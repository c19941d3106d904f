// Message tables: reading every message of every block, refusing tables
// that lead outside themselves, and rebuilding them with translations.
#include <gtest/gtest.h>

#include <map>

#include "platform/byte_stream.h"
#include "platform/resource_update.h"
#include "platform/text.h"
#include "tests/resources/resource_fixtures.h"
#include "tests/test_support.h"
#include "translator/resources/message_table_codec.h"
#include "translator/resources/module_resources.h"

namespace ulk {
namespace {

using testing::MessageBlock;
using testing::MessageTable;

// The table most tests use: its blocks listed out of id order, ANSI and
// Unicode entries, an empty message and one with a NUL inside.
std::string SampleTable() {
  return MessageTable({
      {0xC0000010, {{"Disk full: %1.\r\n", false}, {"Retry %1!s! times%n", true}}},
      {1, {{"Ready\r\n", false}, {"", true}, {std::string("Cut\0here", 8), false}}},
      {100, {{"Caf\xE9 ouvert", false}}},  // Windows-1252
  });
}

// Three blocks of ten messages each over the same ten entries: each block
// fits, the thirty messages do not.
std::string SharedEntries() {
  testing::Bytes b;
  b.u32(3);
  for (std::uint32_t low : {1u, 100u, 200u}) b.u32(low).u32(low + 9).u32(40);
  for (int i = 0; i < 10; ++i) b.u16(4).u16(0);
  return b.str();
}

class MapTranslator final : public TextTranslator {
 public:
  std::map<std::uint32_t, std::string> translations;
  std::vector<std::pair<std::uint32_t, std::string>> asked;

  void BeginResource(std::uint32_t, const ResourceId&) override {}
  bool Translate(std::uint32_t item, std::string_view text, std::string& translation) override {
    asked.emplace_back(item, std::string(text));
    const auto found = translations.find(item);
    if (found == translations.end()) return false;
    translation = found->second;
    return true;
  }
};

TEST(MessageTable, ReadsEveryMessageInIdOrder) {
  std::vector<MessageText> messages;
  std::string problem;
  ASSERT_TRUE(DecodeMessageTable(SampleTable(), messages, problem)) << problem;
  ASSERT_EQ(messages.size(), 6u);
  const std::vector<std::pair<std::uint32_t, std::string>> expected = {
      {1, "Ready\r\n"},
      {2, ""},
      {3, "Cut"},
      {100, "Caf\u00E9 ouvert"},
      {0xC0000010, "Disk full: %1.\r\n"},
      {0xC0000011, "Retry %1!s! times%n"},
  };
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(messages[i].id, expected[i].first);
    EXPECT_EQ(messages[i].text, expected[i].second);
  }
  EXPECT_TRUE(messages[5].unicode);
  EXPECT_FALSE(messages[0].unicode);
}

TEST(MessageTable, RefusesTablesThatLeadOutsideThemselves) {
  const std::string good = SampleTable();
  std::vector<MessageText> messages;
  std::string problem;
  // Every table cut short: never read past its end.
  for (std::size_t size = 0; size < good.size(); ++size) {
    EXPECT_FALSE(DecodeMessageTable(std::string_view(good).substr(0, size), messages, problem))
        << size;
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(problem.empty());
  }
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"block count beyond the table", testing::Bytes().u32(0x10000000).u32(1).u32(1).str()},
      {"high below low", testing::Bytes().u32(1).u32(5).u32(4).u32(16).u32(0).str()},
      {"offset past the end", testing::Bytes().u32(1).u32(1).u32(1).u32(0xFFFFFFF0).str()},
      // 2^32 messages of at least 4 bytes each: refused before any is read.
      {"huge block", testing::Bytes().u32(1).u32(0).u32(0xFFFFFFFF).u32(16).u32(0x00000008).str()},
      {"entry shorter than its header",
       testing::Bytes().u32(1).u32(1).u32(1).u32(16).u16(2).u16(0).str()},
      {"entry longer than the table",
       testing::Bytes().u32(1).u32(1).u32(1).u32(16).u16(40).u16(0).u32(0).str()},
      {"unknown entry kind",
       testing::Bytes().u32(1).u32(1).u32(1).u32(16).u16(8).u16(7).u32(0).str()},
      // Blocks of other ids that all point at one entry: more messages than
      // the table has room for.
      {"blocks sharing their entries", SharedEntries()},
      {"overlapping blocks",
       MessageTable({{1, {{"a", false}, {"b", false}}}, {2, {{"c", false}}}})},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(DecodeMessageTable(c.bytes, messages, problem)) << c.what;
    EXPECT_FALSE(problem.empty()) << c.what;
  }
}

TEST(MessageTable, UntranslatedTableComesOutByteForByte) {
  const std::string table = SampleTable();
  MapTranslator none;
  std::string out = "prefix";
  EXPECT_EQ(MessageTableWriter().Append(table, none, out), MessageTableWriter::kWritten);
  EXPECT_EQ(out, "prefix" + table);
  // Every message with a text was asked for, in id order.
  ASSERT_EQ(none.asked.size(), 6u);
  EXPECT_EQ(none.asked.front().first, 1u);
  EXPECT_EQ(none.asked.back().first, 0xC0000011u);

  // An empty translation keeps the module's text too.
  none.translations[1] = "";
  out.clear();
  MessageTableWriter().Append(table, none, out);
  EXPECT_EQ(out, table);
}

TEST(MessageTable, TranslatedTableKeepsEveryMessageInAscendingBlocks) {
  const std::string table = SampleTable();
  MapTranslator translator;
  translator.translations[1] = "Listo\r\n";
  translator.translations[0xC0000010] = "Disco lleno: %1. \u00BFOtra vez?\r\n";
  std::string out;
  ASSERT_EQ(MessageTableWriter().Append(table, translator, out), MessageTableWriter::kWritten);

  std::vector<MessageText> before;
  std::vector<MessageText> after;
  std::string problem;
  ASSERT_TRUE(DecodeMessageTable(table, before, problem));
  ASSERT_TRUE(DecodeMessageTable(out, after, problem)) << problem;
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].id, before[i].id);
    const auto translated = translator.translations.find(after[i].id);
    if (translated != translator.translations.end()) {
      EXPECT_EQ(after[i].text, translated->second);
      EXPECT_TRUE(after[i].unicode);
    } else {
      EXPECT_EQ(after[i].text, before[i].text);
      EXPECT_EQ(after[i].unicode, before[i].unicode) << after[i].id;
    }
  }
  // The header lists the blocks in ascending order, each over consecutive
  // ids; entries are whole and 4-byte padded where translated.
  ASSERT_GE(out.size(), 4u + 3 * 12);
  EXPECT_EQ(LoadU32(out, 0), 3u);
  EXPECT_EQ(LoadU32(out, 4), 1u);
  EXPECT_EQ(LoadU32(out, 8), 3u);
  EXPECT_EQ(LoadU32(out, 16), 100u);
  EXPECT_EQ(LoadU32(out, 28), 0xC0000010u);
  EXPECT_EQ(LoadU32(out, 32), 0xC0000011u);
  const std::uint32_t firstEntry = LoadU32(out, 12);
  EXPECT_EQ(LoadU16(out, firstEntry) % 4, 0u);
  EXPECT_EQ(LoadU16(out, firstEntry + 2), 1u);  // Unicode
}

TEST(MessageTable, RefusesTranslationsTooLongAndKeepsDamagedTables) {
  MapTranslator translator;
  translator.translations[1] = std::string(40000, 'x');  // 80,000 bytes as UTF-16
  std::string out = "kept";
  EXPECT_EQ(MessageTableWriter().Append(SampleTable(), translator, out),
            MessageTableWriter::kTooLong);
  EXPECT_EQ(out, "kept");

  const std::string damaged = testing::Bytes().u32(1).u32(1).u32(1).u32(0xFFFFFFF0).str();
  out.clear();
  EXPECT_EQ(MessageTableWriter().Append(damaged, translator, out), MessageTableWriter::kUnreadable);
  EXPECT_EQ(out, damaged);
}

TEST(MessageTable, ModuleReadsAndWritesMessagesUnderTheirKeys) {
  testing::TempDir dir("message-table");
  const std::string module = dir / "events.dll";
  testing::PutResources(
      testing::FixturePath("empty32.dll"), module,
      {{kRtMessageTable, ResourceId::Number(1), SampleTable()},
       {kRtMessageTable, ResourceId::Number(2), std::string("\x01\0\0\0broken", 10)}});
  ModuleResources resources;
  ASSERT_TRUE(resources.ReadModule(module));
  std::vector<std::string> keys;
  std::string key;
  for (std::size_t i = 0; i < resources.TextCount(); ++i) {
    resources.EntryKeyAt(i, key);
    keys.push_back(key + "=" + resources.TextAt(i).text);
  }
  // The empty message gives no entry; the broken table is reported.
  EXPECT_EQ(keys, (std::vector<std::string>{"MT_N_1 (1)=Ready\r\n", "MT_N_1 (3)=Cut",
                                            "MT_N_1 (100)=Caf\u00E9 ouvert",
                                            "MT_N_1 (3221225488)=Disk full: %1.\r\n",
                                            "MT_N_1 (3221225489)=Retry %1!s! times%n"}));
  ASSERT_EQ(resources.Warnings().size(), 1u);
  EXPECT_NE(resources.Warnings()[0].find("MT_N_2"), std::string::npos);

  MapTranslator translator;
  translator.translations[100] = "Caf\u00E9 abierto";
  const std::string output = dir / "out/events.dll";
  ASSERT_EQ(resources.WriteTranslatedModule(output, "", translator), 0);
  ModuleImage written;
  ASSERT_EQ(written.Open(output), 0);
  const ResourceData* table =
      written.Find(ResourceId::Number(kRtMessageTable), ResourceId::Number(1));
  ASSERT_NE(table, nullptr);
  std::vector<MessageText> messages;
  std::string problem;
  ASSERT_TRUE(DecodeMessageTable(table->bytes, messages, problem));
  EXPECT_EQ(messages[3].text, "Caf\u00E9 abierto");
  const ResourceData* broken =
      written.Find(ResourceId::Number(kRtMessageTable), ResourceId::Number(2));
  ASSERT_NE(broken, nullptr);
  EXPECT_EQ(broken->bytes, std::string_view("\x01\0\0\0broken", 10));
}

}  // namespace
}  // namespace ulk
