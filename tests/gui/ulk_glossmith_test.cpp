// The translator and the administrator together, as they are installed:
// this program stands where ulk would, the built glossmith beside it. The
// translator's dictionary command must find glossmith there, start it with
// the open dictionary as its only argument, and come back when it ends.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/gui/ulk_fixture.h"
#include "translator/ui/command_ids.h"
#include "uikit/command_id.h"

namespace ulk {
namespace {

using testing::Pump;

// What the test saw of the started program.
struct StartedProgram {
  pid_t pid = 0;
  std::filesystem::path program;
  std::vector<std::string> arguments;  // after the program's own name
  bool openedDictionary = false;
};

std::string ReadProcFile(pid_t pid, const char* name) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A child of this process, or 0.
pid_t FindChild() {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const pid_t pid = static_cast<pid_t>(std::stol(name));
    // "pid (name) state ppid ...": the name may hold blanks.
    const std::string stat = ReadProcFile(pid, "stat");
    const auto close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(stat.substr(close + 1));
    std::string state;
    long parent = 0;
    rest >> state >> parent;
    if (parent == getpid()) return pid;
  }
  return 0;
}

bool HoldsFileOpen(pid_t pid, const std::filesystem::path& file) {
  std::error_code error;
  const auto folder = std::filesystem::path("/proc") / std::to_string(pid) / "fd";
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (std::filesystem::read_symlink(entry.path(), error) == file) return true;
  }
  return false;
}

// Watches for the program the translator starts; once it is `program` and
// has the dictionary open (or after a minute), ends it as its user would.
StartedProgram Watch(const std::filesystem::path& program, const std::filesystem::path& dictionary,
                     const std::atomic<bool>& stop) {
  StartedProgram seen;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!stop && std::chrono::steady_clock::now() < deadline) {
    if (!seen.pid) seen.pid = FindChild();
    if (seen.pid) {
      // Read again until the program has the dictionary open: a child seen
      // before its exec is still a copy of this one.
      std::error_code error;
      seen.program =
          std::filesystem::read_symlink("/proc/" + std::to_string(seen.pid) + "/exe", error);
      const std::string line = ReadProcFile(seen.pid, "cmdline");
      seen.arguments.clear();
      for (std::size_t at = line.find('\0'); at != std::string::npos && at + 1 < line.size();) {
        const auto end = line.find('\0', at + 1);
        seen.arguments.push_back(line.substr(at + 1, end - at - 1));
        at = end;
      }
      // Before its exec the child also holds this program's own handle on
      // the dictionary: only the administrator's counts.
      if (seen.program == program && HoldsFileOpen(seen.pid, dictionary)) {
        seen.openedDictionary = true;
        break;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (seen.pid) ::kill(seen.pid, SIGTERM);
  return seen;
}

class UlkWithGlossmith : public testing::UlkWindowTest {};

TEST_F(UlkWithGlossmith, TheAdministratorIsNeverTakenFromTheCurrentFolder) {
  const std::filesystem::path planted = folder_ / "planted";
  const std::filesystem::path program = folder_ / "program";
  std::filesystem::create_directories(planted);
  std::filesystem::create_directories(program);
  std::ofstream(planted / "glossmith") << "#!/bin/sh\n";
  std::filesystem::permissions(planted / "glossmith", std::filesystem::perms::owner_all);
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(planted);
  EXPECT_EQ(GlossmithBeside(program.string()), "");
  std::filesystem::current_path(previous);
  EXPECT_EQ(GlossmithBeside(planted.string()), (planted / "glossmith").string());
}

TEST_F(UlkWithGlossmith, TheAdministratorBesideTheProgramGetsTheOpenDictionary) {
  StartOptions options;
  options.projectPath = (folder_ / "demo.ulk").string();
  options.configPath = (folder_ / "ulk.conf").string();
  options.componentCandidates = {TERMVAULT_PATH};
  // No path given: looked for beside the running program.
  ASSERT_TRUE(TheApp().Startup(options));
  started_ = true;
  Pump();
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(TheApp().glossmithPath(), (self.parent_path() / "glossmith").string());

  const std::filesystem::path dictionary = folder_ / "diccionario compartido.dic";
  ASSERT_TRUE(TheApp().Dictionary()->Open(dictionary.string()));
  Pump();

  std::atomic<bool> returned = false;
  StartedProgram seen;
  std::thread watcher([&] {
    seen = Watch(std::filesystem::canonical(GLOSSMITH_PATH), std::filesystem::canonical(dictionary),
                 returned);
  });
  // Waits until the administrator ends.
  testing::SendCommand(frame(), WxId(kIdDictionaryAdmin));
  returned = true;
  watcher.join();

  ASSERT_NE(seen.pid, 0) << "nothing was started";
  EXPECT_EQ(seen.program, std::filesystem::canonical(GLOSSMITH_PATH));
  EXPECT_EQ(seen.arguments, std::vector<std::string>{dictionary.string()});
  EXPECT_TRUE(seen.openedDictionary);
  Pump();
  EXPECT_TRUE(frame()->IsShown()) << "the translator's window came back";
  // The translator still works on its dictionary.
  EXPECT_TRUE(TheApp().Dictionary()->IsOpened());
}

}  // namespace
}  // namespace ulk

int main(int argc, char** argv) {
  return ulk::testing::RunGuiTests<ulk::TranslatorApp>(argc, argv);
}
