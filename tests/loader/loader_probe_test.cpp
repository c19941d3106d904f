// Generated modules loaded by Windows' own loader (Wine): every string,
// menu item, dialog text and version value reads as the project says.
#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/loader/wine_probe.h"
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

class LoaderProbeTest : public ::testing::TestWithParam<const char*> {};

TEST_P(LoaderProbeTest, TranslatedModulesReadAsTheProjectSays) {
  ULK_REQUIRE_WINE();
  testing::TempDir dir("loader");
  const std::string modulePath = dir / "app.dll";
  std::filesystem::copy_file(testing::FixturePath(GetParam()), modulePath);
  Module module;
  module.path = modulePath;
  module.AddOriginalLanguage();
  ResourceEngine engine;
  ASSERT_TRUE(engine.GetResources(&module));

  // Every text translated, longer and in other scripts, but two left alone.
  ModuleLanguage& english =
      module.AddLanguage(ModuleLanguage("Inglés (Estados Unidos)", dir / "en/app.dll", false));
  for (const TextEntry& entry : module.DefaultLanguage()->Entries()) {
    if (entry.key == "MN_N_1 (4)" || entry.key == "ST_N_1 (0)") continue;
    english.SetEntry(entry.key, "«" + entry.text + "» ∂ EN");
  }
  ASSERT_TRUE(engine.GenerateLanguages(&module)) << engine.failureText;

  const std::vector<std::string> baseline = testing::RunProbe(modulePath);
  ASSERT_FALSE(baseline.empty()) << "the probe printed nothing for the original module";
  std::vector<std::string> expected;
  for (const std::string& raw : baseline) {
    ProbeLine line = Split(raw);
    std::string key = KeyOf(line);
    if (line.kind == "VS") {
      for (const TextEntry& entry : module.DefaultLanguage()->Entries()) {
        if (entry.key.rfind("VS_", 0) == 0 && entry.text == line.text) key = entry.key;
      }
      line.resource = "04090000";  // moved to the target's locale
    }
    if (const TextEntry* translated = english.FindEntry(key)) line.text = translated->text;
    expected.push_back(line.kind + " " + line.resource +
                       (line.item.empty() ? "" : " " + line.item) + " " + line.text);
  }
  std::vector<std::string> actual = testing::RunProbe(dir / "en/app.dll");
  std::sort(expected.begin(), expected.end());
  std::sort(actual.begin(), actual.end());
  EXPECT_EQ(actual, expected);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, LoaderProbeTest,
                         ::testing::Values("sample32.dll", "sample64.dll"));

}  // namespace
}  // namespace ulk
