#include "translator/model/project_operations.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/pe_image.h"
#include "tests/scripted_ui.h"
#include "tests/test_support.h"
#include "translator/model/messages.h"

namespace ulk {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedUi;

class ProjectOperationsTest : public ::testing::Test {
 protected:
  ProjectOperationsTest() : dir_("operations") {}
  // A copy of the sample module under another name.
  std::string Copy(const std::string& name) {
    const std::string path = dir_ / name;
    fs::copy_file(testing::FixturePath("sample64.dll"), path, fs::copy_options::overwrite_existing);
    return path;
  }
  Module& AddReady(const std::string& name) {
    std::string errors;
    AddModuleFiles(project_, {Copy(name)}, errors);
    Module& module = project_.modules.back();
    module.AddLanguage(ModuleLanguage("English", dir_ / ("en/" + name), false));
    return module;
  }

  testing::TempDir dir_;
  Project project_;
  ScriptedUi ui_;
};

TEST_F(ProjectOperationsTest, AddingReportsDuplicatesAndMissingFilesAndAddsTheRest) {
  const std::string a = Copy("a.dll");
  const std::string b = Copy("b.dll");
  ASSERT_EQ(AddModules(project_, {a}, ui_), 1u);
  EXPECT_TRUE(ui_.log.empty());
  EXPECT_EQ(project_.modules.front().DefaultLanguageName(), "Español (España)");

  EXPECT_EQ(AddModules(project_, {a, dir_ / "missing.dll", b}, ui_), 1u);
  ASSERT_EQ(ui_.log.size(), 1u);
  EXPECT_EQ(ui_.log[0],
            "exclamation: Error añadiendo módulos al proyecto\n"
            "El módulo \"a.dll\" ya está en el proyecto\n"
            "Error añadiendo el módulo \"missing.dll\" al proyecto");
  EXPECT_EQ(project_.ModuleCount(), 2u);
  EXPECT_EQ(project_.modules.back().id, 2);

  ShowAddModulesErrors(MessageText(kMsgTooManyFiles), false, ui_);
  EXPECT_EQ(ui_.log.back(),
            "error: Error añadiendo módulos al proyecto\n¡Demasiados archivos seleccionados!");
}

TEST_F(ProjectOperationsTest, DeletingAsksFirst) {
  const std::string a = Copy("a.dll");
  AddModules(project_, {a}, ui_);
  ui_.answers = {false};
  EXPECT_FALSE(DeleteModule(project_, a, ui_));
  EXPECT_EQ(project_.ModuleCount(), 1u);
  ui_.answers = {true};
  EXPECT_TRUE(DeleteModule(project_, a, ui_));
  EXPECT_EQ(project_.ModuleCount(), 0u);
  ui_.answers = {true};
  EXPECT_FALSE(DeleteModule(project_, a, ui_));
  EXPECT_EQ(ui_.log,
            (std::vector<std::string>{"ask: ¿Desea borrar módulo \"a.dll\"? -> no",
                                      "ask: ¿Desea borrar módulo \"a.dll\"? -> yes",
                                      "ask: ¿Desea borrar módulo \"a.dll\"? -> yes",
                                      "error: Error borrando el módulo \"a.dll\" del proyecto"}));
}

TEST_F(ProjectOperationsTest, ValidationMessages) {
  Module& module = AddReady("a.dll");
  std::string message;
  EXPECT_TRUE(ValidateModule(module, ui_, message));
  module.AddLanguage(ModuleLanguage("Català", "", true));
  module.AddLanguage(ModuleLanguage("", "", false));
  EXPECT_FALSE(ValidateModule(module, ui_, message));
  EXPECT_EQ(message,
            "Error de validación del módulo \"a.dll\"\n"
            "Un módulo sólo puede tener un idioma por defecto");
  EXPECT_EQ(ui_.status, (std::vector<std::string>{"push Validando módulo a.dll...", "pop",
                                                  "push Validando módulo a.dll...", "pop"}));
}

TEST_F(ProjectOperationsTest, ReadingAllAsksAfterAFailureInTheBatch) {
  for (const bool goOn : {true, false}) {
    Project project;
    std::string errors;
    AddModuleFiles(project, {Copy("one.dll"), Copy("two.dll"), Copy("three.dll")}, errors);
    auto second = std::next(project.modules.begin());
    second->languages.clear();  // fails validation
    ScriptedUi ui;
    ui.answers = {goOn};
    const GetResourcesResult result = GetResourcesCommand(project, nullptr, ui);
    EXPECT_EQ(ui.log, std::vector<std::string>{"ask: Error de validación del módulo \"two.dll\"\n"
                                               "Un módulo debe tener un idioma por defecto\n\n"
                                               "¿Desea continuar de todas formas? -> " +
                                               std::string(goOn ? "yes" : "no")});
    EXPECT_EQ(result.read, goOn ? 2u : 1u);
    EXPECT_EQ(result.stopped, !goOn);
    EXPECT_TRUE(result.changed) << "the first module was read either way";
    EXPECT_EQ(project.modules.back().DefaultLanguage()->EntryCount() > 0, goOn);
    EXPECT_EQ(ui.waits, 0);
  }
}

TEST_F(ProjectOperationsTest, AModuleThatCannotBeOpenedIsReportedWithItsPath) {
  Module& module = AddReady("gone.dll");
  const std::string path = module.path;
  fs::remove(path);
  const GetResourcesResult result = GetResourcesCommand(project_, &module, ui_);
  EXPECT_FALSE(result.changed);
  ASSERT_EQ(ui_.log.size(), 1u);
  EXPECT_EQ(ui_.log[0],
            "error: Error obteniendo recursos del módulo \"gone.dll\"\n"
            "¡No se ha podido abrir el módulo!\n"
            "(#20000) No se encuentra el archivo " +
                path + ".");
  EXPECT_EQ(ui_.status,
            (std::vector<std::string>{"push Validando módulo gone.dll...", "pop",
                                      "push Leyendo recursos del módulo gone.dll...", "pop"}));
}

TEST_F(ProjectOperationsTest, MenusOfAnUnknownExtendedHeaderAreKeptAndReported) {
  Module& module = AddReady("odd.dll");
  std::string bytes = testing::ReadFileBytes(module.path);
  {
    ModuleImage image;
    ASSERT_EQ(image.Load(bytes), 0);
    const ResourceData* menu =
        image.Find(ResourceId::Number(4), ResourceId::Name(std::string_view("MAINEX")));
    bytes[static_cast<std::size_t>(menu->fileOffset) + 2] = 6;
  }
  testing::WriteFileBytes(module.path, bytes);
  ASSERT_TRUE(GetResourcesCommand(project_, &module, ui_).changed);
  EXPECT_EQ(ui_.log, std::vector<std::string>{
                         "exclamation: MN_S_MAINEX: UNKNOWN EXTENDED MENU, NOT SUPORTED"});
  for (const TextEntry& entry : module.DefaultLanguage()->Entries()) {
    EXPECT_NE(entry.key.rfind("MN_S_MAINEX", 0), 0u) << entry.key;
  }
  ui_.log.clear();
  ASSERT_EQ(GenerateCommand(project_, &module, ui_).generated, 1u);
  ModuleImage before;
  ModuleImage after;
  ASSERT_EQ(before.Open(module.path), 0);
  ASSERT_EQ(after.Open(module.languages.back().outputFile), 0);
  const ResourceId menu = ResourceId::Name(std::string_view("MAINEX"));
  EXPECT_EQ(after.Find(ResourceId::Number(4), menu)->bytes,
            before.Find(ResourceId::Number(4), menu)->bytes)
      << "kept as it is";
}

TEST_F(ProjectOperationsTest, GeneratingTheProject) {
  EXPECT_EQ(GenerateCommand(project_, nullptr, ui_).generated, 0u);
  EXPECT_EQ(ui_.log, std::vector<std::string>{"information: Proyecto generado correctamente"})
      << "also for a project without modules";

  AddReady("a.dll");
  AddReady("b.dll");
  ui_.log.clear();
  GenerateCommandResult all = GenerateCommand(project_, nullptr, ui_);
  EXPECT_EQ(all.generated, 2u);
  EXPECT_EQ(ui_.log, std::vector<std::string>{"information: Proyecto generado correctamente"});
  EXPECT_TRUE(fs::exists(dir_ / "en/a.dll"));

  // The first module cannot be written; the user goes on.
  project_.modules.front().languages.back().outputFile = project_.modules.front().path;
  ui_.log.clear();
  ui_.answers = {true};
  all = GenerateCommand(project_, nullptr, ui_);
  EXPECT_EQ(all.generated, 1u);
  EXPECT_EQ(all.failed, 1u);
  ASSERT_EQ(ui_.log.size(), 1u) << "no closing message after a failure";
  EXPECT_EQ(ui_.log[0].substr(0, ui_.log[0].find('\n')),
            "ask: Error generando el módulo \"a.dll\"");
  EXPECT_NE(ui_.log[0].find("\nError guardando módulo traducido\n"), std::string::npos);

  ui_.log.clear();
  GenerateCommand(project_, &project_.modules.back(), ui_);
  EXPECT_EQ(ui_.log, std::vector<std::string>{"information: Módulo b.dll generando correctamente"});
}

// Built ahead or not, the outputs after the module where the user stopped
// are never written.
TEST_F(ProjectOperationsTest, NothingIsWrittenPastAStop) {
  Module& a = AddReady("a.dll");
  AddReady("b.dll");
  AddReady("c.dll");
  a.languages.back().outputFile = a.path;  // refused
  ui_.answers = {false};
  const GenerateCommandResult result = GenerateCommand(project_, nullptr, ui_);
  EXPECT_TRUE(result.stopped);
  EXPECT_TRUE(result.written.empty());
  EXPECT_FALSE(fs::exists(dir_ / "en/b.dll"));
  EXPECT_FALSE(fs::exists(dir_ / "en/c.dll"));
  if (fs::exists(dir_ / "en")) {
    EXPECT_TRUE(fs::is_empty(dir_ / "en")) << "a file built ahead was left behind";
  }
}

// An output that names a file the project needs, or another output, is
// refused before anything is written, however it is spelt; the files stay
// as they were.
TEST_F(ProjectOperationsTest, OutputsThatWouldHarmTheProjectAreRefused) {
  const std::string projectFile = dir_ / "p.ulk";
  testing::WriteFileBytes(projectFile, "the project");
  project_.SetFilePath(projectFile);
  Module& a = AddReady("a.dll");
  Module& b = AddReady("b.dll");
  fs::create_hard_link(b.path, dir_ / "hard.dll");
  fs::create_symlink(b.path, dir_ / "soft.dll");
  const std::string bBytes = testing::ReadFileBytes(b.path);
  struct Case {
    std::string output;
    const char* refusal;
  };
  const Case cases[] = {
      {projectFile, "es el propio archivo del proyecto"},
      {"p.ulk", "es el propio archivo del proyecto"},  // relative to the project's folder
      {b.path, "es un módulo del proyecto"},
      {dir_ / "sub/../B.DLL", "es un módulo del proyecto"},
      {dir_ / "hard.dll", "es un módulo del proyecto"},
      {dir_ / "soft.dll", "es un módulo del proyecto"},
      {b.languages.back().outputFile, "es también la salida de otro idioma o de otro módulo"},
  };
  for (const Case& c : cases) {
    a.languages.back().outputFile = c.output;
    ui_.log.clear();
    const GenerateCommandResult result = GenerateCommand(project_, &a, ui_);
    EXPECT_EQ(result.failed, 1u) << c.output;
    EXPECT_TRUE(result.written.empty()) << c.output;
    ASSERT_EQ(ui_.log.size(), 1u);
    EXPECT_NE(ui_.log[0].find(c.refusal), std::string::npos) << ui_.log[0];
    EXPECT_EQ(testing::ReadFileBytes(projectFile), "the project");
    EXPECT_EQ(testing::ReadFileBytes(b.path), bBytes);
  }
  // Two outputs that are one file: neither is written.
  ui_.answers = {true};
  const GenerateCommandResult both = GenerateCommand(project_, nullptr, ui_);
  EXPECT_EQ(both.failed, 2u);
  EXPECT_FALSE(fs::exists(b.languages.back().outputFile));
}

TEST_F(ProjectOperationsTest, AnExistingFileIsReplacedOnlyWhenItMayBe) {
  Module& a = AddReady("a.dll");
  const std::string output = a.languages.back().outputFile;
  ASSERT_EQ(GenerateCommand(project_, &a, ui_).written.size(), 1u);

  // A read-only output stays as it is: nothing unlinks it first.
  const std::string before = testing::ReadFileBytes(output);
  fs::permissions(output, fs::perms::owner_read | fs::perms::group_read);
  a.DefaultLanguage()->SetEntry("ST_N_1 (0)", "x");
  a.languages.back().SetEntry("ST_N_1 (0)", "otro");
  ui_.log.clear();
  EXPECT_EQ(GenerateCommand(project_, &a, ui_).failed, 1u);
  EXPECT_EQ(testing::ReadFileBytes(output), before);
  fs::permissions(output, fs::perms::owner_write, fs::perm_options::add);

  // Someone's document where the output goes: asked; No keeps it.
  testing::WriteFileBytes(output, "my thesis");
  ui_.log.clear();
  const GenerateCommandResult kept = GenerateCommand(project_, &a, ui_);
  EXPECT_EQ(kept.failed, 1u);
  ASSERT_EQ(ui_.log.size(), 2u);
  EXPECT_EQ(ui_.log[0], "ask: El archivo de salida " + output +
                            " ya existe y no es un módulo de Windows.\n¿Desea reemplazarlo? -> no");
  EXPECT_NE(ui_.log[1].find(output + " ya existe y no es un módulo de Windows"), std::string::npos);
  EXPECT_EQ(testing::ReadFileBytes(output), "my thesis");
  ui_.answers = {true};
  EXPECT_EQ(GenerateCommand(project_, &a, ui_).generated, 1u);
  ModuleImage written;
  EXPECT_EQ(written.Open(output), 0);
}

TEST_F(ProjectOperationsTest, OutputsGetThePermissionsOfAPlainCopy) {
  Module& a = AddReady("a.dll");
  fs::permissions(a.path, static_cast<fs::perms>(06777));
  ASSERT_EQ(GenerateCommand(project_, &a, ui_).generated, 1u);
  const auto mode = static_cast<unsigned>(fs::status(a.languages.back().outputFile).permissions());
  EXPECT_EQ(mode & 07000, 0u) << "never setuid, setgid or sticky";
  EXPECT_EQ(mode & 0002, 0u) << "the umask holds";
  EXPECT_EQ(mode & 0700, 0700u);
}

}  // namespace
}  // namespace ulk
