#include "platform/pe_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/byte_stream.h"
#include "platform/piece_image.h"
#include "platform/system_error.h"
#include "tests/platform/module_bytes.h"
#include "tests/test_support.h"

namespace ulk {
namespace {

using testing::FixturePath;
using testing::ReadFileBytes;

std::vector<std::string> Describe(const std::vector<ResourceTypeNode>& types) {
  std::vector<std::string> out;
  for (const auto& type : types) {
    for (const auto& name : type.names) {
      std::string line = type.id.Describe() + "/" + name.id.Describe() + ":";
      for (const auto& data : name.languages) line += " " + std::to_string(data.language);
      out.push_back(line);
    }
  }
  return out;
}

class PeImageTest : public ::testing::TestWithParam<const char*> {
 protected:
  std::string Path() const { return FixturePath(GetParam()); }
};

TEST_P(PeImageTest, ListsResourcesInDirectoryOrder) {
  ModuleImage image;
  ASSERT_EQ(image.Open(Path()), 0) << image.Detail();
  EXPECT_EQ(image.Headers().is64, std::string(GetParam()).find("64") != std::string::npos);
  EXPECT_EQ(Describe(image.Resources()),
            (std::vector<std::string>{"#4/MAINEX: 3082", "#4/#1: 3082", "#5/ABOUT: 1033 3082",
                                      "#5/SETTINGS: 3082", "#5/#101: 3082", "#6/#1: 3082",
                                      "#6/#7: 3082", "#16/#1: 3082"}));
  const ResourceData* about =
      image.Find(ResourceId::Number(5), ResourceId::Name(std::string_view("ABOUT")));
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->language, 0x0409) << "English before the first listed";
  const ResourceData* version = image.Find(ResourceId::Number(16), ResourceId::Number(1));
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(LoadU16(version->bytes, 0), version->bytes.size());
  EXPECT_EQ(image.Find(ResourceId::Number(16), ResourceId::Number(2)), nullptr);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, PeImageTest,
                         ::testing::Values("sample32.dll", "sample64.dll"));

TEST(ChooseLanguageTest, NeutralThenUsEnglishThenAnyEnglishThenFirst) {
  const auto chosen = [](std::vector<std::uint16_t> languages) {
    std::vector<ResourceData> list;
    for (auto language : languages) list.push_back({language, 0, {}});
    return ChooseLanguage(list)->language;
  };
  EXPECT_EQ(chosen({0x0C0A, 0x0409, 0}), 0);
  EXPECT_EQ(chosen({0x0C0A, 0x0809, 0x0409}), 0x0409);
  EXPECT_EQ(chosen({0x0C0A, 0x0809}), 0x0809);
  EXPECT_EQ(chosen({0x0C0A, 0x0407}), 0x0C0A);
  EXPECT_EQ(ChooseLanguage({}), nullptr);
}

TEST(PeImageErrorsTest, MissingAndForeignFilesNameThePath) {
  ModuleImage image;
  const std::string missing = "/no/such/module.dll";
  const int code = image.Open(missing);
  EXPECT_EQ(code, kErrorFileNotFound);
  EXPECT_NE(SystemErrorText(code, missing).find(missing), std::string::npos);

  testing::TempDir dir("pe");
  testing::WriteFileBytes(dir / "text.dll", "just some text, no module");
  const int foreign = image.Open(dir / "text.dll");
  EXPECT_EQ(foreign, kErrorNotAModule);
  EXPECT_EQ(SystemErrorText(foreign, dir / "text.dll"), "(#" + std::to_string(kErrorNotAModule) +
                                                            ") " + (dir / "text.dll") +
                                                            " no es un módulo de Windows válido.");
  EXPECT_FALSE(image.IsOpen());
  EXPECT_EQ(image.Open(dir.path().string()), kErrorFileNotFound) << "a folder is no module";
}

// Patches of a good module, each of which must be refused with its code.
class MalformedPeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    good_ = ReadFileBytes(FixturePath("sample64.dll"));
    ModuleImage image;
    ASSERT_EQ(image.Load(good_), 0);
    headers_ = image.Headers();
    image.FileOffsetOf(headers_.directories[kDirResource].rva, 16, resourceBase_);
  }
  int LoadPatched(const std::function<void(std::string&)>& patch) {
    std::string bytes = good_;
    patch(bytes);
    ModuleImage image;
    return image.Load(bytes);
  }
  std::string good_;
  PeHeaders headers_;
  std::uint64_t resourceBase_ = 0;
};

TEST_F(MalformedPeTest, EveryTruncationIsRefusedOrReadWithoutOverrun) {
  for (std::size_t size = 0; size < good_.size(); size += 7) {
    ModuleImage image;
    const int code = image.Load(good_.substr(0, size));
    if (size < headers_.sizeOfHeaders) {
      EXPECT_NE(code, 0) << size;
    }
  }
}

TEST_F(MalformedPeTest, HeaderDamage) {
  const auto at = [&](std::string& b, std::uint64_t offset, std::uint32_t value) {
    StoreU32(b, static_cast<std::size_t>(offset), value);
  };
  EXPECT_EQ(LoadPatched([](std::string& b) { b[0] = 'Z'; }), kErrorNotAModule);
  EXPECT_EQ(LoadPatched([&](std::string& b) { at(b, 0x3C, 0xFFFFFFF0); }), kErrorNotAModule);
  EXPECT_EQ(LoadPatched([&](std::string& b) {
              StoreU16(b, static_cast<std::size_t>(headers_.optionalOffset), 0x107);
            }),
            kErrorNotAModule);
  EXPECT_EQ(LoadPatched([&](std::string& b) {
              StoreU16(b, static_cast<std::size_t>(headers_.coffOffset + 2), 0xFFFF);
            }),
            kErrorModuleTruncated);
  EXPECT_EQ(LoadPatched([&](std::string& b) {
              StoreU16(b, static_cast<std::size_t>(headers_.coffOffset + 16), 0xFFF0);
            }),
            kErrorModuleTruncated)
      << "optional header larger than the file";
  // The last section's raw data running past the end of the file.
  const std::uint64_t lastSection =
      headers_.sectionTableOffset + 40u * (headers_.numberOfSections - 1u);
  EXPECT_EQ(LoadPatched([&](std::string& b) { at(b, lastSection + 16, 0x7FFFFFFF); }),
            kErrorModuleTruncated);
  EXPECT_EQ(LoadPatched([&](std::string& b) {
              at(b, headers_.dataDirectoryOffset + 8 * kDirResource, 0x7FFF0000);
            }),
            kErrorBadResourceDirectory)
      << "resource directory in no section";
}

TEST_F(MalformedPeTest, ResourceTreeDamage) {
  const std::uint64_t root = resourceBase_;
  // The first type entry follows the 16-byte root header.
  EXPECT_EQ(LoadPatched([&](std::string& b) { StoreU16(b, root + 14, 0xFFFF); }),
            kErrorBadResourceDirectory)
      << "more entries than fit";
  EXPECT_EQ(LoadPatched([&](std::string& b) { StoreU32(b, root + 16 + 4, 0x80000000); }),
            kErrorBadResourceDirectory)
      << "a type pointing back at the root";
  EXPECT_EQ(LoadPatched([&](std::string& b) { StoreU32(b, root + 16 + 4, 0x8FFFFFF0); }),
            kErrorBadResourceDirectory)
      << "a subdirectory past the end";
  EXPECT_EQ(LoadPatched([&](std::string& b) { StoreU32(b, root + 16 + 4, 0x00000010); }),
            kErrorBadResourceDirectory)
      << "a data entry at the type level";
  // The first type is a numbered one (4); make it a name pointing nowhere.
  EXPECT_EQ(LoadPatched([&](std::string& b) { StoreU32(b, root + 16, 0xFFFFFFF0); }),
            kErrorBadResourceDirectory);
}

TEST_F(MalformedPeTest, DataOutsideTheFileIsRefused) {
  ModuleImage image;
  ASSERT_EQ(image.Load(good_), 0);
  const ResourceData* data = image.Find(ResourceId::Number(16), ResourceId::Number(1));
  // Find the data entry that points at the version bytes.
  const std::uint64_t dataOffset = data->fileOffset;
  std::uint64_t entry = 0;
  for (std::uint64_t at = resourceBase_; at + 16 <= good_.size(); at += 4) {
    std::uint64_t offset = 0;
    if (image.FileOffsetOf(LoadU32(good_, at), LoadU32(good_, at + 4), offset) &&
        offset == dataOffset && LoadU32(good_, at + 4) == data->bytes.size()) {
      entry = at;
      break;
    }
  }
  ASSERT_NE(entry, 0u);
  EXPECT_EQ(LoadPatched([&](std::string& b) { StoreU32(b, entry + 4, 0x00FFFFFF); }),
            kErrorBadResourceDirectory);
  EXPECT_EQ(LoadPatched([&](std::string& b) { StoreU32(b, entry, 0xFFFFFF00); }),
            kErrorBadResourceDirectory);
}

// Every section a rebuild writes is padded to the module's alignments: ones
// no loader takes (a gigabyte made a gigabyte of output per language) are
// refused as the module is opened.
TEST_F(MalformedPeTest, AlignmentsALoaderWouldNotTakeAreRefused) {
  struct Case {
    std::uint32_t section, file;
    bool taken;
  };
  const Case cases[] = {
      {0x1000, 0x200, true},           {0x1000, 0x1000, true}, {0x20000, 0x10000, true},
      {0x10000, 0x10000, true},        {0x200, 0x200, true},   {0x20, 0x20, true},
      {0x80000000, 0x200, true},       {0x1000, 0x100, false}, {0x20000, 0x20000, false},
      {0x40000000, 0x40000000, false}, {0x800, 0x200, false},  {0x1000, 0x2000, false},
      {0x1000, 0x300, false},          {0x3000, 0x200, false}, {0, 0, false},
  };
  for (const Case& c : cases) {
    const int code = LoadPatched([&](std::string& b) {
      StoreU32(b, static_cast<std::size_t>(headers_.optionalOffset + 32), c.section);
      StoreU32(b, static_cast<std::size_t>(headers_.optionalOffset + 36), c.file);
    });
    EXPECT_EQ(code, c.taken ? 0 : kErrorNotAModule) << std::hex << c.section << " " << c.file;
  }
}

// A name is copied for every entry that points at it: a tree whose entries
// keep pointing at one long name is refused before its copies cost more
// memory than the tree has bytes (a 164 KB module took a gigabyte).
TEST(ResourceNamesTest, CopiesOfNamesCountAgainstTheTree) {
  struct Case {
    std::size_t entries, units;
    int code;
  };
  const Case cases[] = {
      {1, 65535, 0},  // the longest name there is, once
      {2, 8, 0},      // a short name shared, as a dialog and a menu may share one
      {40, 65535, kErrorBadResourceDirectory},
      {3000, 1000, kErrorBadResourceDirectory},
  };
  for (const bool is64 : {false, true}) {
    for (const Case& c : cases) {
      testing::ModuleShape shape;
      shape.is64 = is64;
      shape.resources = [&](std::uint32_t) {
        testing::TreeBytes tree;
        const std::size_t subdirectory = 16 + 8 * c.entries;
        const std::size_t name = subdirectory + 16;
        tree.Directory(0, static_cast<std::uint16_t>(c.entries), 0);
        for (std::size_t i = 0; i < c.entries; ++i) {
          tree.Entry(16 + 8 * i, 0x80000000u | static_cast<std::uint32_t>(name),
                     0x80000000u | static_cast<std::uint32_t>(subdirectory));
        }
        tree.Directory(subdirectory, 0, 0);
        tree.Name(name, std::u16string(c.units, u'N'));
        return tree.Str();
      };
      ModuleImage image;
      const int code = image.Load(testing::MakeModule(shape));
      EXPECT_EQ(code, c.code) << c.entries << " x " << c.units << ": " << image.Detail();
      if (code == 0) {
        ASSERT_EQ(image.Resources().size(), c.entries);
        EXPECT_EQ(image.Resources().back().id.name.size(), c.units);
      }
    }
  }
}

// Only a regular file is read, and not one past the largest module taken:
// a device or a pipe may never end (and opening a pipe may never return).
TEST(PeImageFilesTest, OnlyRegularFilesOfAModulesSizeAreOpened) {
  testing::TempDir dir("pe-files");
  const std::string fifo = dir / "pipe.dll";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Held open for writing, so that an open that waits for a writer returns.
  const int writer = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(writer, 0);
  const auto sparse = [&](const std::string& name, std::uint64_t size) {
    const std::string path = dir / name;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    EXPECT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
    ::close(fd);
    return path;
  };
  struct Case {
    std::string path;
    int code;
  };
  const Case cases[] = {
      {fifo, kErrorNotAFile},
      {"/dev/zero", kErrorNotAFile},
      {sparse("huge.dll", kMaxModuleFileSize + 1), kErrorFileTooLarge},
      {sparse("largest.dll", kMaxModuleFileSize), kErrorNotAModule},  // taken, and read
  };
  for (const Case& c : cases) {
    ModuleImage image;
    EXPECT_EQ(image.Open(c.path), c.code) << c.path;
    EXPECT_FALSE(image.IsOpen());
    EXPECT_FALSE(image.Detail().empty());
  }
  ::close(writer);
}

TEST(PeChecksumTest, MatchesTheReferenceSum) {
  // Words 0x0001 + 0xFFFF fold to 0x0001; plus the length 6 (the checksum
  // field at 2..5 is skipped).
  const std::string image("\x01\x00\xAA\xBB\xCC\xDD", 6);
  EXPECT_EQ(PeChecksum(image, 2), 0x0001u + 6u);
  const std::string folded("\xFF\xFF\x02\x00", 4);
  EXPECT_EQ(PeChecksum(folded, 100), 0x0002u + 4u);
}

// Summed piece by piece, pieces starting at odd offsets and the field cut
// in two included, the checksum is the whole file's.
TEST(PeChecksumTest, PiecesAddUpToTheWhole) {
  std::string image(70001, '\0');
  for (std::size_t i = 0; i < image.size(); ++i)
    image[i] = static_cast<char>((i * 131 + (i >> 7)) & 0xFF);
  const auto* data = reinterpret_cast<const unsigned char*>(image.data());
  for (const std::uint64_t field : {std::uint64_t{216}, std::uint64_t{217}}) {
    // The reference: the field's bytes as zeros, every word added in turn.
    std::string zeroed = image;
    zeroed.replace(field, 4, 4, '\0');
    std::uint64_t reference = 0;
    for (std::size_t i = 0; i < zeroed.size(); i += 2) {
      reference += static_cast<unsigned char>(zeroed[i]);
      if (i + 1 < zeroed.size())
        reference += std::uint64_t{static_cast<unsigned char>(zeroed[i + 1])} << 8;
    }
    while (reference >> 16) reference = (reference & 0xFFFF) + (reference >> 16);
    const std::uint32_t whole = static_cast<std::uint32_t>(reference + image.size());
    EXPECT_EQ(PeChecksum(image, field), whole);
    for (const std::vector<std::size_t>& cuts :
         std::vector<std::vector<std::size_t>>{{}, {1}, {217, 218}, {3, 218, 4097, 65537}}) {
      PeChecksumSum sum(field);
      std::size_t from = 0;
      for (const std::size_t cut : cuts) {
        sum.Add(data + from, cut - from, from);
        from = cut;
      }
      sum.Add(data + from, image.size() - from, from);
      EXPECT_EQ(sum.Finish(image.size()), whole) << field << " " << cuts.size();
    }
  }
}

}  // namespace
}  // namespace ulk
