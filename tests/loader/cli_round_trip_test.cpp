// The whole road through ulk-cli: new, add, add-language, read, set,
// generate; then Windows' loader (Wine) reads the translated texts.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/cli/cli_runner.h"
#include "tests/loader/wine_probe.h"

namespace ulk {
namespace {

TEST(CliRoundTripTest, TranslatedTextsReachTheLoader) {
  ULK_REQUIRE_WINE();
  testing::TempDir dir("roundtrip");
  std::filesystem::copy_file(testing::FixturePath("sample32.dll"), dir / "app.dll");
  const std::string folder = dir.path().string();
  const auto run = [&](const std::vector<std::string>& arguments) {
    const testing::CliRun result = testing::RunUlkCli(folder, arguments);
    EXPECT_EQ(result.status, 0) << ::testing::PrintToString(arguments) << "\n" << result.err;
  };
  run({"new", "app.ulk", "--name", "Ida y vuelta"});
  run({"add", "app.ulk", "app.dll"});
  run({"add-language", "app.ulk", "app.dll", "Francés (Francia)", "--output", "fr/app.dll"});
  run({"read", "app.ulk"});
  run({"set", "app.ulk", "app.dll", "ST_N_1 (3)", "Francés (Francia)", "Ligne un\\nLigne deux"});
  run({"set", "app.ulk", "app.dll", "MN_N_1 (1)", "Francés (Francia)", "&Ouvrir\\tCtrl+O"});
  run({"set", "app.ulk", "app.dll", "DL_S_SETTINGS (0)", "Francés (Francia)", "Préférences"});
  run({"set", "app.ulk", "app.dll", "VS_N_1 (0)", "Francés (Francia)", "ACME France"});
  run({"generate", "app.ulk"});

  const std::vector<std::string> lines = testing::RunProbe(dir / "fr/app.dll");
  const auto has = [&](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  EXPECT_TRUE(has("ST 3 Ligne un\\nLigne deux")) << ::testing::PrintToString(lines);
  EXPECT_TRUE(has("ST 1 Abrir")) << "untranslated texts stay";
  EXPECT_TRUE(has("MN #1 1 &Ouvrir\\tCtrl+O"));
  EXPECT_TRUE(has("DL SETTINGS 0 Préférences"));
  EXPECT_TRUE(has("VS 040c0000 CompanyName ACME France"));
}

// A fitted layout reaches the dialogs the loader creates: every control
// stands where the stored dialog units put it.
TEST(CliRoundTripTest, AFittedLayoutReachesTheLoader) {
  ULK_REQUIRE_WINE();
  testing::TempDir dir("fitted");
  std::filesystem::copy_file(testing::FixturePath("layout32.dll"), dir / "app.dll");
  const std::string folder = dir.path().string();
  const auto run = [&](const std::vector<std::string>& arguments) {
    const testing::CliRun result = testing::RunUlkCli(folder, arguments);
    EXPECT_EQ(result.status, 0) << ::testing::PrintToString(arguments) << "\n" << result.err;
    return result;
  };
  run({"new", "app.ulk", "--name", "Disposición"});
  run({"add", "app.ulk", "app.dll"});
  run({"add-language", "app.ulk", "app.dll", "Alemán (Alemania)", "--output", "de/app.dll"});
  run({"read", "app.ulk"});
  run({"set", "app.ulk", "app.dll", "DL_N_200 (1)", "Alemán (Alemania)", "Vollständiger Vorname:"});
  run({"set", "app.ulk", "app.dll", "DL_N_200 (6)", "Alemán (Alemania)", "Eine sehr lange Option"});
  const testing::CliRun fit = run({"fit", "app.ulk", "app.dll", "Alemán (Alemania)", "--json"});
  run({"generate", "app.ulk"});

  // The rectangles the project now holds, as the probe takes them.
  std::vector<std::string> rects;
  const std::string project = testing::ReadFileBytes(dir / "app.ulk");
  for (std::size_t at = project.find("DL_N_200 ("); at != std::string::npos;
       at = project.find("DL_N_200 (", at + 1)) {
    const std::size_t end = project.find('\n', at);
    const std::string line = project.substr(at, end - at);
    unsigned item = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    if (std::sscanf(line.c_str(), "DL_N_200 (%u) RECT = %d, %d, %d, %d", &item, &x, &y, &cx, &cy) ==
        5) {
      rects.push_back("#200:" + std::to_string(item) + ":" + std::to_string(x) + ":" +
                      std::to_string(y) + ":" + std::to_string(cx) + ":" + std::to_string(cy));
    }
  }
  ASSERT_GE(rects.size(), 5u) << fit.out << project;  // the dialog, two widened, the rest moved
  const std::vector<std::string> lines = testing::RunProbe(dir / "de/app.dll", rects);
  std::size_t matched = 0;
  for (const std::string& line : lines) {
    if (line.rfind("DR ", 0) != 0) continue;
    EXPECT_NE(line.find(" MATCH"), std::string::npos) << line;
    ++matched;
  }
  EXPECT_EQ(matched, rects.size()) << ::testing::PrintToString(lines);
  // And the module's own dialog is where it was: the stored units are not it.
  const std::vector<std::string> own = testing::RunProbe(dir / "app.dll", {rects.front()});
  EXPECT_NE(std::find_if(
                own.begin(), own.end(),
                [](const std::string& line) { return line.find("DIFFERS") != std::string::npos; }),
            own.end())
      << ::testing::PrintToString(own);
}

}  // namespace
}  // namespace ulk
