// Delphi form streams: which strings are interface texts and where they
// stand in the component tree, streams that cannot be walked, and the
// rewritten stream that keeps every other byte.
#include <gtest/gtest.h>

#include <map>

#include "platform/text.h"
#include "tests/resources/resource_fixtures.h"
#include "tests/test_support.h"
#include "translator/resources/form_stream_codec.h"
#include "translator/resources/module_resources.h"

namespace ulk {
namespace {

using testing::Form;

// A form with nested components, a collection, a list, binary data that
// looks like strings, and every value type around the strings.
std::string SampleForm() {
  Form f;
  f.Begin("TForm1", "Form1");
  f.Prop("Left").Int16(120).Prop("Caption").Str("Main window");
  f.Prop("Font.Name").Str("Tahoma").Prop("Font.Style").Set({"fsBold", "fsItalic"});
  f.Prop("Color").Ident("clBtnFace").Prop("Scaled").Byte(8).Prop("Visible").Byte(9);
  f.Prop("Icon.Data").Binary(std::string("\x06\x05TPF0\0\x12zz", 10));
  f.Prop("Hint").WStr("Pista \u00F1");
  f.Prop("Ratio").Fixed(5, 10).Prop("Scale").Fixed(15, 4).Prop("Price").Fixed(16, 8);
  f.Prop("Born").Fixed(17, 8).Prop("Big").Fixed(19, 8).Prop("Exact").Fixed(21, 8);
  f.Prop("PopupMenu").Byte(13);
  f.End();
  // A child with its position given (flags prefix 0xF2).
  f.Byte(0xF2).Int8(1).Begin("TPanel", "Panel1");
  f.Prop("Caption").LStr("Panel text").End();
  f.Begin("TButton", "Button1")
      .Prop("Caption")
      .Utf8("Aceptar \u2713")
      .Prop("Tag")
      .Int32(7)
      .End()
      .End();
  f.Begin("TMemo", "Memo1")
      .Prop("Lines.Strings")
      .Byte(1)
      .Str("line one")
      .Int8(3)
      .WStr("l\u00EDnea dos")
      .End();
  f.End().End();
  f.End();  // Panel1's children
  f.Begin("TListView", "ListView1").Prop("Columns").Byte(14);
  f.Int8(0).Byte(1).Prop("Caption").Str("Name").Prop("Width").Int16(80).End();
  f.Byte(1).Prop("Caption").Str("Size").End();
  f.End();  // collection
  f.End().End();
  f.Begin("TOpenDialog", "OpenDialog1")
      .Prop("FileName")
      .Str("c:\\data.txt")
      .Prop("Title")
      .Str("Open file")
      .End()
      .End();
  f.Begin("TQuery", "Query1")
      .Prop("SQL.Strings")
      .Byte(1)
      .Str("select * from t")
      .End()
      .Prop("DataField")
      .Str("NAME")
      .End()
      .End();
  f.End();  // Form1's children
  return f.str();
}

struct Seen {
  std::string path;
  std::string text;
  bool interface;
};

std::vector<Seen> Strings(std::string_view stream) {
  std::vector<FormString> strings;
  std::string problem;
  EXPECT_TRUE(ParseFormStream(stream, strings, problem)) << problem;
  std::vector<Seen> seen;
  for (std::size_t i = 0; i < strings.size(); ++i) {
    EXPECT_EQ(strings[i].ordinal, i);
    seen.push_back({strings[i].path, strings[i].text, strings[i].isInterfaceText});
  }
  return seen;
}

TEST(FormStream, FindsTheInterfaceTextsAtTheirComponentPaths) {
  const std::vector<Seen> seen = Strings(SampleForm());
  const std::vector<Seen> expected = {
      {"Form1.Caption", "Main window", true},
      {"Form1.Font.Name", "Tahoma", false},
      {"Form1.Hint", "Pista \u00F1", true},
      {"Form1.Panel1.Caption", "Panel text", true},
      {"Form1.Panel1.Button1.Caption", "Aceptar \u2713", true},
      {"Form1.Panel1.Memo1.Lines.Strings[0]", "line one", true},
      {"Form1.Panel1.Memo1.Lines.Strings[2]", "l\u00EDnea dos", true},
      {"Form1.ListView1.Columns[0].Caption", "Name", true},
      {"Form1.ListView1.Columns[1].Caption", "Size", true},
      {"Form1.OpenDialog1.FileName", "c:\\data.txt", false},
      {"Form1.OpenDialog1.Title", "Open file", true},
      {"Form1.Query1.SQL.Strings[0]", "select * from t", false},
      {"Form1.Query1.DataField", "NAME", false},
  };
  ASSERT_EQ(seen.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(seen[i].path, expected[i].path);
    EXPECT_EQ(seen[i].text, expected[i].text) << expected[i].path;
    EXPECT_EQ(seen[i].interface, expected[i].interface) << expected[i].path;
  }
}

TEST(FormStream, RefusesStreamsThatCannotBeWalked) {
  const std::string good = SampleForm();
  std::vector<FormString> strings;
  std::string problem;
  for (std::size_t size = 0; size < good.size(); ++size) {
    EXPECT_FALSE(ParseFormStream(std::string_view(good).substr(0, size), strings, problem)) << size;
    EXPECT_TRUE(strings.empty());
  }
  std::string deep = "TPF0";
  for (int i = 0; i < 200; ++i) deep += std::string("\x01T\x01N\0", 5);
  // Sixty components deep, of the longest names, and in the deepest a list
  // of many empty strings: each would carry a path of 15,000 bytes.
  Form wide;
  for (int i = 0; i < 60; ++i) {
    wide.Begin("T", std::string(250, 'n'));
    if (i < 59) wide.End();
  }
  wide.Prop("Items.Strings").Byte(1);
  for (int i = 0; i < 20000; ++i) wide.Str("");
  wide.End().End();
  for (int i = 0; i < 60; ++i) wide.End();
  EXPECT_FALSE(ParseFormStream(wide.str(), strings, problem));
  EXPECT_NE(problem.find("demasiados textos"), std::string::npos) << problem;
  // The same components with a few strings are a form like any other.
  Form narrow;
  for (int i = 0; i < 60; ++i) {
    narrow.Begin("T", std::string(250, 'n'));
    if (i < 59) narrow.End();
  }
  narrow.Prop("Items.Strings").Byte(1).Str("uno").Str("dos").End().End();
  for (int i = 0; i < 60; ++i) narrow.End();
  EXPECT_TRUE(ParseFormStream(narrow.str(), strings, problem)) << problem;
  EXPECT_EQ(strings.size(), 2u);
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"unknown value type", Form().Begin("TForm", "F").Prop("X").Byte(99).End().End().str()},
      {"string past the end",
       Form().Begin("TForm", "F").Prop("Caption").Byte(12).U32(0xFFFFFFF0).str()},
      {"wide string past the end",
       Form().Begin("TForm", "F").Prop("Caption").Byte(18).U32(0x80000000).str()},
      {"binary past the end",
       Form().Begin("TForm", "F").Prop("Data").Byte(10).U32(0xFFFFFFFF).str()},
      {"collection item without a list",
       Form().Begin("TForm", "F").Prop("Columns").Byte(14).Byte(6).str()},
      {"child position that is not an integer", Form().Byte(0xF2).Byte(6).str()},
      {"components nested too deep", deep},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(ParseFormStream(c.bytes, strings, problem)) << c.what;
    EXPECT_FALSE(problem.empty()) << c.what;
  }
}

class OrdinalTranslator final : public TextTranslator {
 public:
  std::map<std::uint32_t, std::string> translations;
  std::vector<std::uint32_t> asked;
  void BeginResource(std::uint32_t, const ResourceId&) override {}
  bool Translate(std::uint32_t item, std::string_view, std::string& translation) override {
    asked.push_back(item);
    const auto found = translations.find(item);
    if (found == translations.end()) return false;
    translation = found->second;
    return true;
  }
};

// The bytes between the string values: what a rewrite must keep.
std::vector<std::string> Between(std::string_view stream) {
  std::vector<FormString> strings;
  std::string problem;
  EXPECT_TRUE(ParseFormStream(stream, strings, problem));
  std::vector<std::string> pieces;
  std::size_t from = 0;
  for (const FormString& s : strings) {
    pieces.emplace_back(stream.substr(from, s.offset - from));
    from = s.offset + s.length;
  }
  pieces.emplace_back(stream.substr(from));
  return pieces;
}

TEST(FormStream, RewriteKeepsEveryOtherByteAndReadsBackTranslated) {
  const std::string form = SampleForm();
  OrdinalTranslator none;
  std::string out;
  EXPECT_EQ(FormStreamWriter().Append(form, none, out), FormStreamWriter::kWritten);
  EXPECT_EQ(out, form);
  // Only interface texts are asked for.
  EXPECT_EQ(none.asked, (std::vector<std::uint32_t>{0, 2, 3, 4, 5, 6, 7, 8, 10}));

  OrdinalTranslator translator;
  translator.translations = {{0, "Ventana principal"},       // ASCII over a short string
                             {2, "Hint"},                    // ASCII over a wide string
                             {3, "Texto del panel \u00E1"},  // non-ASCII over a long string
                             {4, "OK \u2714"},               // over a UTF-8 string
                             {5, std::string(300, 'a')},     // too long for a short string
                             {8, "Tama\u00F1o"},
                             {1, "Arial"}};  // not an interface text
  out = "x";
  ASSERT_EQ(FormStreamWriter().Append(form, translator, out), FormStreamWriter::kWritten);
  out.erase(0, 1);
  EXPECT_EQ(Between(out), Between(form));
  const std::vector<Seen> before = Strings(form);
  const std::vector<Seen> after = Strings(out);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].path, before[i].path);
    const auto found = translator.translations.find(static_cast<std::uint32_t>(i));
    const bool translated = found != translator.translations.end() && before[i].interface;
    EXPECT_EQ(after[i].text, translated ? found->second : before[i].text) << before[i].path;
  }
  // The value types chosen for them.
  std::vector<FormString> strings;
  std::string problem;
  ASSERT_TRUE(ParseFormStream(out, strings, problem));
  const auto typeOf = [&](std::size_t i) { return static_cast<int>(out[strings[i].offset]); };
  EXPECT_EQ(typeOf(0), 6);
  EXPECT_EQ(typeOf(2), 6);
  EXPECT_EQ(typeOf(3), 18);
  EXPECT_EQ(typeOf(4), 20);
  EXPECT_EQ(typeOf(5), 12);
  EXPECT_EQ(typeOf(8), 18);
}

TEST(FormStream, ModuleKeysFormsByNameAndLeavesDamagedOnesAlone) {
  testing::TempDir dir("form-stream");
  const std::string module = dir / "app.exe";
  const std::string damaged = std::string(
      "TPF0\x06TForm1\x05"
      "Form1\x07"
      "Caption\x06\xF0");
  testing::PutResources(testing::FixturePath("empty64.dll"), module,
                        {{kRtRcdata, ResourceId::Name(std::string_view("TFORM1")), SampleForm()},
                         {kRtRcdata, ResourceId::Name(std::string_view("TBROKEN")), damaged},
                         {kRtRcdata, ResourceId::Number(5), "plain data, not a form"}});
  ModuleResources resources;
  ASSERT_TRUE(resources.ReadModule(module));
  std::vector<std::string> keys;
  std::string key;
  for (std::size_t i = 0; i < resources.TextCount(); ++i) {
    resources.EntryKeyAt(i, key);
    keys.push_back(key);
  }
  EXPECT_EQ(keys,
            (std::vector<std::string>{"FM_S_TFORM1 (0)", "FM_S_TFORM1 (2)", "FM_S_TFORM1 (3)",
                                      "FM_S_TFORM1 (4)", "FM_S_TFORM1 (5)", "FM_S_TFORM1 (6)",
                                      "FM_S_TFORM1 (7)", "FM_S_TFORM1 (8)", "FM_S_TFORM1 (10)"}));
  ASSERT_EQ(resources.Warnings().size(), 1u);
  EXPECT_NE(resources.Warnings()[0].find("FM_S_TBROKEN"), std::string::npos);

  OrdinalTranslator translator;
  translator.translations = {{0, "Ventana principal"}};
  const std::string output = dir / "app-es.exe";
  ASSERT_EQ(resources.WriteTranslatedModule(output, "", translator), 0);
  ModuleImage written;
  ASSERT_EQ(written.Open(output), 0);
  const auto data = [&](const ResourceId& name) {
    const ResourceData* found = written.Find(ResourceId::Number(kRtRcdata), name);
    return found ? std::string(found->bytes) : std::string("missing");
  };
  EXPECT_EQ(Strings(data(ResourceId::Name(std::string_view("TFORM1"))))[0].text,
            "Ventana principal");
  EXPECT_EQ(data(ResourceId::Name(std::string_view("TBROKEN"))), damaged);
  EXPECT_EQ(data(ResourceId::Number(5)), "plain data, not a form");
}

}  // namespace
}  // namespace ulk
