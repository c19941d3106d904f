#include "platform/source_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace ulk {
namespace {

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

class SourceFileTest : public ::testing::Test {
 protected:
  SourceFileTest() : dir_("source") {}
  void SetUp() override {
    bytes_ = Pattern(300000);
    path_ = dir_ / "module.dll";
    testing::WriteFileBytes(path_, bytes_);
    ASSERT_EQ(file_.Open(path_), 0);
  }
  testing::TempDir dir_;
  std::string path_;
  std::string bytes_;
  SourceFile file_;
};

TEST_F(SourceFileTest, StretchesReadOnDemandStayValid) {
  struct Request {
    std::uint64_t offset, length;
  };
  // Overlapping, contained, at the very end, and more than the file holds
  // in all, which brings the whole file in.
  const std::vector<Request> requests = {{0, 4096},   {100, 50}, {4000, 200000}, {299990, 10},
                                         {300000, 0}, {5, 4090}, {0, 300000},    {123456, 7890}};
  std::vector<std::pair<Request, std::string_view>> seen;
  for (const Request& r : requests) {
    const auto view = file_.View(r.offset, r.length);
    ASSERT_TRUE(view.has_value()) << r.offset;
    seen.emplace_back(r, *view);
  }
  for (const auto& [r, view] : seen) {
    EXPECT_EQ(view, std::string_view(bytes_).substr(r.offset, r.length)) << r.offset;
  }
  EXPECT_FALSE(file_.View(299999, 2).has_value());
  EXPECT_FALSE(file_.View(300001, 0).has_value());
  char out[3] = {};
  EXPECT_NE(file_.Read(299999, out, 2), 0);
}

TEST_F(SourceFileTest, CopiesToFilesAndPipes) {
  testing::TempDir out("source-out");
  const int fd = ::open((out / "copy").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, "head", 4), 4);
  EXPECT_EQ(file_.CopyTo(fd, 1000, 250000), 0);
  ::close(fd);
  EXPECT_EQ(testing::ReadFileBytes(out / "copy"), "head" + bytes_.substr(1000, 250000));

  // A pipe is no file the kernel copies into: the bytes go through memory.
  int pipe[2];
  ASSERT_EQ(::pipe(pipe), 0);
  EXPECT_EQ(file_.CopyTo(pipe[1], 10, 1000), 0);
  ::close(pipe[1]);
  std::string piped(2000, '\0');
  const ssize_t got = ::read(pipe[0], piped.data(), piped.size());
  ::close(pipe[0]);
  ASSERT_EQ(got, 1000);
  piped.resize(1000);
  EXPECT_EQ(piped, bytes_.substr(10, 1000));
}

TEST_F(SourceFileTest, AFileThatShrinksIsAnErrorNotACrash) {
  const auto kept = file_.View(0, 1000);
  ASSERT_TRUE(kept.has_value());
  ASSERT_EQ(::truncate(path_.c_str(), 100000), 0);
  EXPECT_EQ(*kept, bytes_.substr(0, 1000)) << "what was read stays";
  EXPECT_FALSE(file_.View(200000, 100).has_value());
  std::string out(100, '\0');
  EXPECT_EQ(file_.Read(200000, out.data(), out.size()), EIO);
  testing::TempDir copy("source-shrunk");
  const int fd = ::open((copy / "copy").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  EXPECT_EQ(file_.CopyTo(fd, 0, 300000), EIO);
  ::close(fd);
}

TEST(SourceFileMemoryTest, AdoptedBytesServeEveryRequest) {
  SourceFile file;
  file.Adopt("0123456789");
  EXPECT_EQ(*file.View(2, 3), "234");
  EXPECT_FALSE(file.View(8, 3).has_value());
  int pipe[2];
  ASSERT_EQ(::pipe(pipe), 0);
  EXPECT_EQ(file.CopyTo(pipe[1], 5, 5), 0);
  ::close(pipe[1]);
  char out[8] = {};
  EXPECT_EQ(::read(pipe[0], out, sizeof out), 5);
  ::close(pipe[0]);
  EXPECT_EQ(std::string(out, 5), "56789");
}

}  // namespace
}  // namespace ulk
