// Accelerator tables and the shortcuts menu items name after their tab.
#include "translator/resources/accelerator_table.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace ulk {
namespace {

TEST(Accelerators, ShortcutsInTheirUsualTranslations) {
  const struct {
    const char* text;
    bool known;
    const char* chord;
  } cases[] = {
      {"Ctrl+S", true, "Ctrl+S"},
      {"Strg+S", true, "Ctrl+S"},
      {"strg + s", true, "Ctrl+S"},
      {"Mayús+F5", true, "Shift+F5"},
      {"Umschalt+Strg+Entf", true, "Ctrl+Shift+Del"},
      {"Ctrl+Shift+Supr", true, "Ctrl+Shift+Del"},
      {"Alt+F4", true, "Alt+F4"},
      {"F12", true, "F12"},
      {"Maj+Inser", true, "Shift+Ins"},
      {"F25", false, ""},
      {"Cmd+S", false, ""},  // a modifier we do not know
      {"Ctrl+Plus", false, ""},
      {"", false, ""},
  };
  for (const auto& c : cases) {
    KeyChord chord;
    EXPECT_EQ(ParseShortcut(c.text, chord), c.known) << c.text;
    if (c.known) {
      EXPECT_EQ(DescribeChord(chord), c.chord) << c.text;
    }
  }
  EXPECT_EQ(ShortcutOfMenuText("&Speichern\\tStrg+S"), "Strg+S");
  EXPECT_EQ(ShortcutOfMenuText("&Speichern"), "");
}

TEST(Accelerators, TableEndsAtItsLastEntryAndNeverPastItsBytes) {
  testing::Bytes table;
  table.u16(0x01 | 0x08).u16('S').u16(100).u16(0);          // Ctrl+S, virtual key
  table.u16(0x01 | 0x04 | 0x10).u16(0x74).u16(101).u16(0);  // Shift+Alt+F5
  table.u16(0x80).u16(0x0F).u16(102).u16(0);                // "^O", the last entry
  table.u16(0x01).u16('X').u16(999).u16(0);                 // after the last: not read
  std::vector<Accelerator> read;
  ASSERT_TRUE(ParseAcceleratorTable(table.str(), read));
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(DescribeChord(read[0].chord), "Ctrl+S");
  EXPECT_EQ(DescribeChord(read[1].chord), "Shift+Alt+F5");
  EXPECT_EQ(read[2].command, 102);
  KeyChord typed;
  ASSERT_TRUE(ParseShortcut("Strg+Umschalt+O", typed));
  EXPECT_TRUE(read[2].chord.Matches(typed));  // a character accelerator ignores Shift
  ASSERT_TRUE(ParseShortcut("Strg+S", typed));
  EXPECT_TRUE(read[0].chord.Matches(typed));
  ASSERT_TRUE(ParseShortcut("Strg+Umschalt+S", typed));
  EXPECT_FALSE(read[0].chord.Matches(typed));

  // Without its last mark, or cut inside an entry: what was whole is kept.
  const std::string unterminated = table.str().substr(0, 16);
  EXPECT_FALSE(ParseAcceleratorTable(unterminated, read));
  EXPECT_EQ(read.size(), 2u);
  EXPECT_FALSE(ParseAcceleratorTable(table.str().substr(0, 13), read));
  EXPECT_EQ(read.size(), 1u);
}

}  // namespace
}  // namespace ulk
