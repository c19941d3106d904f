// The whole road through ulk-cli: new, add, add-language, read, set,
// generate; then Windows' loader (Wine) reads the translated texts.
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

}  // namespace
}  // namespace ulk
