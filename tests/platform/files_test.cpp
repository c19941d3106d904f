#include "platform/files.h"

#include "platform/system_error.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

namespace ulk {
namespace {
namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("ulk-files-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  std::string Write(const std::string& name, const std::string& content) {
    const auto path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  std::string Read(const std::string& path) {
    std::string out;
    EXPECT_EQ(ReadWholeFile(path, out), 0);
    return out;
  }
  std::size_t FileCount() {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }
  fs::path dir_;
};

TEST_F(FilesTest, CanonicalPathOfExistingFilesOnly) {
  const std::string file = Write("mod.dll", "x");
  fs::create_symlink(file, dir_ / "link.dll");
  EXPECT_EQ(CanonicalPath("  " + file + " \t"), fs::canonical(file).string());
  EXPECT_EQ(CanonicalPath((dir_ / "link.dll").string()), fs::canonical(file).string());
  EXPECT_EQ(CanonicalPath((dir_ / "sub" / ".." / "mod.dll").string()), std::nullopt)
      << "a missing folder on the way";
  fs::create_directory(dir_ / "sub");
  EXPECT_EQ(CanonicalPath((dir_ / "sub" / ".." / "mod.dll").string()),
            fs::canonical(file).string());
  EXPECT_EQ(CanonicalPath(dir_.string()), std::nullopt);
  EXPECT_EQ(CanonicalPath((dir_ / "missing.dll").string()), std::nullopt);
  EXPECT_EQ(CanonicalPath("   "), std::nullopt);
}

TEST_F(FilesTest, CanonicalPathsGiveWhatCanonicalPathGives) {
  const std::string file = Write("mod.dll", "x");
  Write("other.dll", "y");
  fs::create_directory(dir_ / "sub");
  fs::create_directory(dir_ / "real");
  Write("real/inner.dll", "z");
  fs::create_symlink(file, dir_ / "link.dll");
  fs::create_directory_symlink(dir_ / "real", dir_ / "linked");
  fs::create_symlink(dir_ / "missing.dll", dir_ / "dangling.dll");
  const std::string here = fs::current_path().string();
  fs::current_path(dir_);
  const std::string d = dir_.string();
  const std::vector<std::string> paths = {file,
                                          d + "/other.dll",
                                          "  " + file + " \t",
                                          d + "/link.dll",
                                          d + "/linked/inner.dll",
                                          d + "/linked/../mod.dll",
                                          d + "/sub/../mod.dll",
                                          d + "/sub/..",
                                          d + "/sub/.",
                                          d + "/sub/",
                                          d + "/sub",
                                          d + "/missing.dll",
                                          d + "/dangling.dll",
                                          d + "/nowhere/mod.dll",
                                          "mod.dll",
                                          "./mod.dll",
                                          "sub/../other.dll",
                                          "linked/inner.dll",
                                          "/",
                                          "",
                                          "   ",
                                          d + "/real/inner.dll",
                                          file};
  CanonicalPaths resolver;
  for (const std::string& path : paths) {
    EXPECT_EQ(resolver.Of(path), CanonicalPath(path)) << path;
  }
  // A folder resolved once stays right when a file in it is asked for again.
  EXPECT_EQ(resolver.Of(file), fs::canonical(file).string());
  fs::current_path(here);
}

TEST_F(FilesTest, FileNameAndFolderTakeEitherSeparator) {
  EXPECT_EQ(FileNameOf("/a/b/prog.exe"), "prog.exe");
  EXPECT_EQ(FolderOf("/a/b/prog.exe"), "/a/b");
  EXPECT_EQ(FileNameOf("C:\\app\\prog.exe"), "prog.exe");
  EXPECT_EQ(FolderOf("C:\\app\\prog.exe"), "C:\\app");
  EXPECT_EQ(FileNameOf("prog.exe"), "prog.exe");
  EXPECT_EQ(FolderOf("prog.exe"), "prog.exe");
}

TEST_F(FilesTest, AtomicWriteReplacesContentAndKeepsMode) {
  const std::string path = Write("p.ulk", "old content that is longer");
  ::chmod(path.c_str(), 0640);
  ASSERT_EQ(WriteFileAtomically(path, "new"), 0);
  EXPECT_EQ(Read(path), "new");
  struct stat info {};
  ::stat(path.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(FileCount(), 1u) << "no temporary file is left";
}

TEST_F(FilesTest, AtomicWriteGoesThroughALink) {
  const std::string real = Write("real.ulk", "old");
  fs::create_symlink(real, dir_ / "link.ulk");
  ASSERT_EQ(WriteFileAtomically((dir_ / "link.ulk").string(), "new"), 0);
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.ulk"));
  EXPECT_EQ(Read(real), "new");
}

TEST_F(FilesTest, FailedWritesLeaveThePreviousFile) {
  const std::string path = Write("ro.ulk", "keep me");
  ::chmod(path.c_str(), 0444);
  EXPECT_EQ(WriteFileAtomically(path, "lost"), EACCES);
  EXPECT_EQ(Read(path), "keep me");
  EXPECT_TRUE(IsReadOnlyFile(path));

  EXPECT_EQ(WriteFileAtomically((dir_ / "no" / "such" / "p.ulk").string(), "x"), ENOENT);

  {
    AtomicFileWriter writer;
    const std::string other = Write("other.ulk", "before");
    ASSERT_EQ(writer.Open(other), 0);
    ASSERT_EQ(writer.Write("half"), 0);
    // Abandoned without commit, as after a failure in the middle of a save.
  }
  EXPECT_EQ(Read((dir_ / "other.ulk").string()), "before");
  EXPECT_EQ(FileCount(), 2u);
}

// A save killed half-way leaves the previous file and nothing beside it.
TEST_F(FilesTest, AKilledWriteLeavesNothingBehind) {
  const std::string path = Write("p.ulk", "before");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    AtomicFileWriter writer;
    if (writer.Open(path) != 0 || writer.Write(std::string(1 << 20, 'x')) != 0) ::_exit(1);
    ::raise(SIGKILL);
    ::_exit(2);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the child failed before it was killed";
  EXPECT_EQ(Read(path), "before");
  EXPECT_EQ(FileCount(), 1u) << "the killed write left a temporary file";
}

TEST_F(FilesTest, OnlyRegularFilesAreReadOrReplaced) {
  const std::string fifo = (dir_ / "pipe").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string out;
  // Neither waits for a writer that never comes.
  EXPECT_EQ(ReadWholeFile(fifo, out), kErrorNotAFile);
  EXPECT_EQ(ReadWholeFile("/dev/zero", out), kErrorNotAFile);
  EXPECT_EQ(WriteFileAtomically(fifo, "x"), kErrorNotAFile);
  struct stat info {};
  ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(FilesTest, ReadWholeFileReportsErrors) {
  std::string out = "stale";
  EXPECT_EQ(ReadWholeFile((dir_ / "missing").string(), out), ENOENT);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(ReadWholeFile(dir_.string(), out), EISDIR);
  const std::string big(3 << 16, 'z');
  EXPECT_EQ(Read(Write("big", big)), big);
}

}  // namespace
}  // namespace ulk
