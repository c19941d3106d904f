// Generated modules loaded by Windows' own loader (Wine): every string,
// menu item, dialog text, version value and message reads as the project
// says.
#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/loader/wine_probe.h"
#include "tests/resources/resource_fixtures.h"
#include "tests/test_support.h"
#include "translator/model/resource_engine.h"

namespace ulk {
namespace {

struct ProbeLine {
  std::string kind;
  std::string resource;
  std::string item;
  std::string text;
};

ProbeLine Split(const std::string& line) {
  ProbeLine out;
  std::istringstream in(line);
  in >> out.kind >> out.resource;
  if (out.kind != "ST") in >> out.item;  // strings are named by their id alone
  std::getline(in, out.text);
  if (!out.text.empty() && out.text.front() == ' ') out.text.erase(0, 1);
  return out;
}

// The entry key of a probe line; "" for version values, which go by text.
std::string KeyOf(const ProbeLine& line) {
  if (line.kind == "VS") return {};
  if (line.kind == "ST") {
    const unsigned id = static_cast<unsigned>(std::stoul(line.resource));
    return "ST_N_" + std::to_string(id / 16 + 1) + " (" + std::to_string(id % 16) + ")";
  }
  const std::string name =
      line.resource[0] == '#' ? "N_" + line.resource.substr(1) : "S_" + line.resource;
  return line.kind + "_" + name + " (" + line.item + ")";
}

// What the probe should print for the module generated for `target`: the
// original's lines with the translated texts, the version values in the
// string table of `tableKey`.
std::vector<std::string> Expected(const std::vector<std::string>& baseline, const Module& module,
                                  const ModuleLanguage& target, const std::string& tableKey) {
  std::vector<std::string> expected;
  for (const std::string& raw : baseline) {
    ProbeLine line = Split(raw);
    std::string key = KeyOf(line);
    if (line.kind == "VS") {
      for (const TextEntry& entry : module.DefaultLanguage()->Entries()) {
        if (entry.key.rfind("VS_", 0) == 0 && entry.text == line.text) key = entry.key;
      }
      line.resource = tableKey;
    }
    if (const TextEntry* translated = target.FindEntry(key)) line.text = translated->text;
    expected.push_back(line.kind + " " + line.resource +
                       (line.item.empty() ? "" : " " + line.item) + " " + line.text);
  }
  std::sort(expected.begin(), expected.end());
  return expected;
}

std::vector<std::string> SortedProbe(const std::string& path) {
  std::vector<std::string> lines = testing::RunProbe(path);
  std::sort(lines.begin(), lines.end());
  return lines;
}

class LoaderProbeTest : public ::testing::TestWithParam<const char*> {};

TEST_P(LoaderProbeTest, TranslatedModulesReadAsTheProjectSays) {
  ULK_REQUIRE_WINE();
  testing::TempDir dir("loader");
  const std::string modulePath = dir / "app.dll";
  // With a message table, which the loader reads through FormatMessage.
  testing::PutResources(
      testing::FixturePath(GetParam()), modulePath,
      {{kRtMessageTable, ResourceId::Number(1),
        testing::MessageTable({{0xC0000100, {{"Disk full.\r\n", false}, {"Retry\r\n", true}}},
                               {1, {{"Service started.\r\n", false}}}})}});
  Module module;
  module.path = modulePath;
  module.AddOriginalLanguage();
  ResourceEngine engine;
  ASSERT_TRUE(engine.GetResources(&module));

  // Every text translated, longer and in other scripts, but two left alone;
  // and a language with no translation at all.
  ModuleLanguage& english =
      module.AddLanguage(ModuleLanguage("Inglés (Estados Unidos)", dir / "en/app.dll", false));
  for (const TextEntry& entry : module.DefaultLanguage()->Entries()) {
    if (entry.key == "MN_N_1 (4)" || entry.key == "ST_N_1 (0)") continue;
    english.SetEntry(entry.key, "«" + entry.text + "» ∂ EN");
  }
  const ModuleLanguage& french =
      module.AddLanguage(ModuleLanguage("Francés (Francia)", dir / "fr/app.dll", false));
  ASSERT_TRUE(engine.GenerateLanguages(&module)) << engine.failureText;

  const std::vector<std::string> baseline = testing::RunProbe(modulePath);
  ASSERT_FALSE(baseline.empty()) << "the probe printed nothing for the original module";
  EXPECT_NE(std::find(baseline.begin(), baseline.end(), "MT #1 3221225728 Disk full.\\r\\n"),
            baseline.end());
  EXPECT_EQ(std::count_if(baseline.begin(), baseline.end(),
                          [](const std::string& line) { return line.rfind("MT ", 0) == 0; }),
            3);
  // The empty values are there to be read, in the original and after.
  for (const char* name : {"Comments", "InternalName"}) {
    EXPECT_NE(std::find(baseline.begin(), baseline.end(), "VS 0c0a04b0 " + std::string(name) + " "),
              baseline.end())
        << name;
  }
  EXPECT_EQ(SortedProbe(dir / "en/app.dll"), Expected(baseline, module, english, "04090000"));
  EXPECT_EQ(SortedProbe(dir / "fr/app.dll"), Expected(baseline, module, french, "040c0000"));
}

INSTANTIATE_TEST_SUITE_P(BothFormats, LoaderProbeTest,
                         ::testing::Values("sample32.dll", "sample64.dll"));

}  // namespace
}  // namespace ulk
