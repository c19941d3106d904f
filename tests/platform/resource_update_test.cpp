// The resource update over a matrix of module layouts: PE32 and PE32+; the
// resource section last, followed by the relocation section, or followed by
// another section; the section shrinking, staying, growing past the file
// alignment and past the section alignment; with and without an overlay, a
// certificate table, a COFF symbol table and a checksum.
#include "platform/resource_update.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "platform/byte_stream.h"
#include "platform/system_error.h"
#include "tests/platform/module_bytes.h"
#include "tests/test_support.h"

namespace ulk {
namespace {

enum class Layout { kLast, kBeforeReloc, kBeforeOther };
enum class Size { kShrink, kSame, kPastFileAlignment, kPastSectionAlignment };

struct Extras {
  bool overlay, certificate, symbols, checksum;
};

std::uint64_t RawEnd(const PeHeaders& h) {
  std::uint64_t end = h.sizeOfHeaders;
  for (const auto& s : h.sections)
    end = std::max<std::uint64_t>(end, s.pointerToRawData + std::uint64_t{s.sizeOfRawData});
  return end;
}

void Parse(const std::string& bytes, ModuleImage& image) {
  EXPECT_EQ(image.Load(bytes), 0) << image.Detail();
}

// Appends a data section (of `size` bytes, a multiple of the file
// alignment; one alignment unit without it) after the last one, before
// whatever follows the sections in the file (the symbol table moves up).
std::string AddSectionAfterResources(const std::string& in, std::uint32_t size = 0) {
  ModuleImage image;
  EXPECT_EQ(image.Load(in), 0);
  const PeHeaders& h = image.Headers();
  const std::uint64_t rawEnd = RawEnd(h);
  const std::uint64_t pointer = AlignUp(rawEnd, h.fileAlignment);
  std::uint32_t address = 0;
  for (const auto& s : h.sections) {
    address = std::max<std::uint32_t>(
        address,
        static_cast<std::uint32_t>(AlignUp(
            s.virtualAddress + std::max(s.virtualSize, s.sizeOfRawData), h.sectionAlignment)));
  }
  std::string out = in.substr(0, rawEnd);
  out.resize(pointer, '\0');
  if (size == 0) size = h.fileAlignment;
  std::string data(size, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('a' + i % 26);
  out += data;
  out += in.substr(rawEnd);
  const std::size_t header =
      static_cast<std::size_t>(h.sectionTableOffset + 40 * h.numberOfSections);
  std::string entry(".zextra\0", 8);
  out.replace(header, 8, entry);
  StoreU32(out, header + 8, size);
  StoreU32(out, header + 12, address);
  StoreU32(out, header + 16, size);
  StoreU32(out, header + 20, static_cast<std::uint32_t>(pointer));
  StoreU32(out, header + 36, 0x40000040);
  StoreU16(out, static_cast<std::size_t>(h.coffOffset + 2),
           static_cast<std::uint16_t>(h.numberOfSections + 1));
  StoreU32(out, static_cast<std::size_t>(h.optionalOffset + PeHeaders::kSizeOfImage),
           static_cast<std::uint32_t>(address + AlignUp(size, h.sectionAlignment)));
  if (h.pointerToSymbolTable) {
    StoreU32(out, static_cast<std::size_t>(h.coffOffset + 8),
             static_cast<std::uint32_t>(h.pointerToSymbolTable + (out.size() - in.size())));
  }
  return out;
}

std::string MakeModule(bool is64, Layout layout, const Extras& extras) {
  const std::string bits = is64 ? "64" : "32";
  std::string bytes = testing::ReadFileBytes(testing::FixturePath(
      (layout == Layout::kBeforeReloc ? "withcode" : "sample") + bits + ".dll"));
  if (layout == Layout::kBeforeOther) bytes = AddSectionAfterResources(bytes);
  ModuleImage image;
  EXPECT_EQ(image.Load(bytes), 0);
  const PeHeaders h = image.Headers();
  EXPECT_NE(h.pointerToSymbolTable, 0u) << "ld writes a symbol table";
  if (!extras.symbols) {
    bytes.resize(RawEnd(h));
    StoreU32(bytes, static_cast<std::size_t>(h.coffOffset + 8), 0);
    StoreU32(bytes, static_cast<std::size_t>(h.coffOffset + 12), 0);
  }
  if (extras.overlay) {
    for (int i = 0; i < 300; ++i) bytes.push_back(static_cast<char>(0x80 + i % 61));
  }
  if (extras.certificate) {
    bytes.resize(AlignUp(bytes.size(), 8), '\0');
    const std::size_t at = bytes.size();
    testing::Bytes certificate;
    certificate.u32(32).u16(0x0200).u16(2);
    for (int i = 0; i < 24; ++i) certificate.u8(static_cast<std::uint8_t>(i));
    bytes += certificate.str();
    const std::size_t entry = static_cast<std::size_t>(h.dataDirectoryOffset + 8 * kDirSecurity);
    StoreU32(bytes, entry, static_cast<std::uint32_t>(at));
    StoreU32(bytes, entry + 4, 32);
  }
  const std::size_t checksum = static_cast<std::size_t>(h.optionalOffset + PeHeaders::kCheckSum);
  StoreU32(bytes, checksum, 0);
  if (extras.checksum) StoreU32(bytes, checksum, PeChecksum(bytes, checksum));
  return bytes;
}

using Tree = std::map<std::tuple<std::string, std::string, std::uint16_t>, std::string>;

Tree TreeOf(const ModuleImage& image) {
  Tree tree;
  for (const auto& type : image.Resources()) {
    for (const auto& name : type.names) {
      for (const auto& data : name.languages) {
        tree[{type.id.Describe(), name.id.Describe(), data.language}] = std::string(data.bytes);
      }
    }
  }
  return tree;
}

// Applies the size change to the update and to the expected tree.
void Resize(ResourceUpdate& update, Tree& expected, Size size) {
  const ResourceId rcdata = ResourceId::Number(10);
  switch (size) {
    case Size::kShrink:
      ASSERT_TRUE(update.Delete(ResourceId::Number(5),
                                ResourceId::Name(std::string_view("SETTINGS")), 0x0C0A));
      ASSERT_TRUE(update.Delete(ResourceId::Number(6), ResourceId::Number(7), 0x0C0A));
      ASSERT_TRUE(update.Delete(ResourceId::Number(4), ResourceId::Name(std::string_view("MAINEX")),
                                0x0C0A));
      expected.erase({"#5", "SETTINGS", 0x0C0A});
      expected.erase({"#6", "#7", 0x0C0A});
      expected.erase({"#4", "MAINEX", 0x0C0A});
      break;
    case Size::kSame:
      break;
    case Size::kPastFileAlignment:
    case Size::kPastSectionAlignment: {
      const std::string data(size == Size::kPastFileAlignment ? 0x300 : 0x2400, 'R');
      update.Put(rcdata, ResourceId::Name(std::string_view("big")), 0, data);
      expected[{"#10", "BIG", 0}] = data;
      break;
    }
  }
}

int RunObjdump(bool is64, const std::string& path) {
  const std::string command = std::string(is64 ? "x86_64" : "i686") + "-w64-mingw32-objdump -p '" +
                              path + "' >/dev/null 2>&1";
  return std::system(command.c_str());
}

struct Case {
  bool is64;
  Layout layout;
  Size size;
  Extras extras;
};

std::string Describe(const Case& c) {
  static const char* layouts[] = {"last", "before-reloc", "before-other"};
  static const char* sizes[] = {"shrink", "same", "past-file-alignment", "past-section-alignment"};
  return std::string(c.is64 ? "PE32+" : "PE32") + " " + layouts[static_cast<int>(c.layout)] + " " +
         sizes[static_cast<int>(c.size)] + (c.extras.overlay ? " overlay" : "") +
         (c.extras.certificate ? " certificate" : "") + (c.extras.symbols ? " symbols" : "") +
         (c.extras.checksum ? " checksum" : "");
}

void CheckCase(const Case& c, const testing::TempDir& dir) {
  SCOPED_TRACE(Describe(c));
  const std::string input = MakeModule(c.is64, c.layout, c.extras);
  ModuleImage before;
  Parse(input, before);
  const PeHeaders& h = before.Headers();
  ResourceUpdate update(before);
  Tree expected = TreeOf(before);
  Resize(update, expected, c.size);
  std::string output;
  const Status status = update.Build(output);
  ASSERT_TRUE(status.ok()) << status.message();
  ModuleImage after;
  Parse(output, after);
  ASSERT_TRUE(after.IsOpen());
  EXPECT_EQ(TreeOf(after), expected);
  const PeHeaders& g = after.Headers();

  // Every other section holds the same bytes, where it now stands.
  const int resourceSection = before.SectionOf(h.directories[kDirResource].rva);
  for (std::size_t i = 0; i < h.sections.size(); ++i) {
    if (static_cast<int>(i) == resourceSection) continue;
    const PeSection& old = h.sections[i];
    ASSERT_LT(i, g.sections.size());
    const PeSection& now = g.sections[i];
    EXPECT_EQ(now.name, old.name);
    EXPECT_EQ(now.sizeOfRawData, old.sizeOfRawData);
    EXPECT_EQ(output.substr(now.pointerToRawData, now.sizeOfRawData),
              input.substr(old.pointerToRawData, old.sizeOfRawData))
        << old.name;
    if (old.name == ".reloc") {
      EXPECT_EQ(g.directories[kDirBaseReloc].rva, now.virtualAddress);
    }
  }
  const bool appended = g.sections.size() == h.sections.size() + 1;
  const bool mustAppend =
      c.layout == Layout::kBeforeOther && c.size != Size::kShrink && c.size != Size::kSame;
  if (c.layout == Layout::kBeforeOther && c.size == Size::kPastSectionAlignment) {
    EXPECT_TRUE(appended);
  }
  if (!mustAppend) {
    EXPECT_FALSE(appended) << "grown or rewritten in place";
  }

  // The overlay, less the certificate, follows the sections unchanged.
  std::string overlay = input.substr(RawEnd(h));
  if (c.extras.certificate) overlay.resize(overlay.size() - 32);
  EXPECT_EQ(output.substr(RawEnd(g)), overlay);
  EXPECT_EQ(g.directories[kDirSecurity].rva, 0u);
  EXPECT_EQ(g.directories[kDirSecurity].size, 0u);
  if (c.extras.symbols) {
    const std::size_t length = 18u * h.numberOfSymbols;
    EXPECT_EQ(output.substr(g.pointerToSymbolTable, length),
              input.substr(h.pointerToSymbolTable, length));
  }
  EXPECT_EQ(g.checkSum,
            c.extras.checksum ? PeChecksum(output, g.optionalOffset + PeHeaders::kCheckSum) : 0u);

  std::uint64_t imageEnd = 0;
  for (const auto& s : g.sections) {
    imageEnd = std::max(
        imageEnd, AlignUp(s.virtualAddress + std::uint64_t{s.virtualSize}, g.sectionAlignment));
    EXPECT_EQ(s.pointerToRawData % g.fileAlignment, 0u) << s.name;
    EXPECT_EQ(s.virtualAddress % g.sectionAlignment, 0u) << s.name;
  }
  EXPECT_EQ(g.sizeOfImage, imageEnd);

  const std::string path = dir / "out.dll";
  testing::WriteFileBytes(path, output);
  EXPECT_EQ(RunObjdump(c.is64, path), 0);

  // Written from the file, the kernel copying what stays and the checksum
  // summed on the way: the same bytes.
  const std::string source = dir / "in.dll";
  testing::WriteFileBytes(source, input);
  ModuleImage opened;
  ASSERT_EQ(opened.Open(source), 0) << opened.Detail();
  ResourceUpdate fromFile(opened);
  Tree ignored;
  Resize(fromFile, ignored, c.size);
  ASSERT_TRUE(fromFile.Commit(dir / "committed.dll", 0644).ok());
  EXPECT_EQ(testing::ReadFileBytes(dir / "committed.dll"), output);
}

TEST(ResourceUpdateTest, LayoutMatrix) {
  testing::TempDir dir("layout");
  int cases = 0;
  for (bool is64 : {false, true}) {
    for (Layout layout : {Layout::kLast, Layout::kBeforeReloc, Layout::kBeforeOther}) {
      for (Size size :
           {Size::kShrink, Size::kSame, Size::kPastFileAlignment, Size::kPastSectionAlignment}) {
        for (int bits = 0; bits < 16; ++bits) {
          const Extras extras{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0};
          CheckCase({is64, layout, size, extras}, dir);
          ++cases;
        }
      }
    }
  }
  EXPECT_EQ(cases, 384);
}

TEST(ResourceUpdateTest, CommitWritesThroughATemporaryFile) {
  testing::TempDir dir("commit");
  ModuleImage image;
  ASSERT_EQ(image.Open(testing::FixturePath("sample64.dll")), 0);
  ResourceUpdate update(image);
  EXPECT_TRUE(update.Has(ResourceId::Number(6), ResourceId::Number(1), 0x0C0A));
  EXPECT_FALSE(update.Delete(ResourceId::Number(6), ResourceId::Number(1), 0x0409));
  update.Put(ResourceId::Number(6), ResourceId::Number(1), 0x0C0A, std::string(32, '\0'));
  ASSERT_TRUE(update.Commit(dir / "new.dll", 0640).ok());
  ModuleImage written;
  ASSERT_EQ(written.Open(dir / "new.dll"), 0);
  EXPECT_EQ(written.Find(ResourceId::Number(6), ResourceId::Number(1))->bytes,
            std::string(32, '\0'));
  EXPECT_FALSE(update.Commit(dir / "no/folder/new.dll", 0640).ok());
}

// A module of a megabyte and more is written mostly by the kernel, from
// its start, with the patched headers written over: the same bytes as
// built in memory, whichever way the resources are placed.
TEST(ResourceUpdateTest, LargeModulesWrittenFromTheFileMatch) {
  testing::TempDir dir("large");
  for (const bool checksum : {false, true}) {
    std::string input = AddSectionAfterResources(
        testing::ReadFileBytes(testing::FixturePath("sample64.dll")), 1 << 20);
    input += std::string(300000, 'v');  // an overlay the kernel copies too
    ModuleImage parsed;
    Parse(input, parsed);
    const std::size_t field =
        static_cast<std::size_t>(parsed.Headers().optionalOffset + PeHeaders::kCheckSum);
    StoreU32(input, field, 0);
    if (checksum) StoreU32(input, field, PeChecksum(input, field));
    const std::string source = dir / "in.dll";
    testing::WriteFileBytes(source, input);
    for (Size size :
         {Size::kShrink, Size::kSame, Size::kPastFileAlignment, Size::kPastSectionAlignment}) {
      SCOPED_TRACE(static_cast<int>(size));
      ModuleImage inMemory;
      Parse(input, inMemory);
      ResourceUpdate built(inMemory);
      Tree ignored;
      Resize(built, ignored, size);
      // A section of our own long enough to be written from where it is,
      // not gathered with the bytes around it.
      std::string huge(300000, '\0');
      for (std::size_t i = 0; i < huge.size(); ++i) huge[i] = static_cast<char>(i * 7 + i / 251);
      if (size == Size::kPastSectionAlignment) {
        built.Put(ResourceId::Number(10), ResourceId::Number(77), 0, huge);
      }
      std::string expected;
      ASSERT_TRUE(built.Build(expected).ok());
      ModuleImage opened;
      ASSERT_EQ(opened.Open(source), 0);
      ResourceUpdate written(opened);
      Resize(written, ignored, size);
      if (size == Size::kPastSectionAlignment) {
        written.Put(ResourceId::Number(10), ResourceId::Number(77), 0, huge);
      }
      ASSERT_TRUE(written.Commit(dir / "out.dll", 0644).ok());
      const std::string output = testing::ReadFileBytes(dir / "out.dll");
      EXPECT_TRUE(output == expected) << "the committed module differs from the built one";
      ModuleImage again;
      Parse(output, again);
      EXPECT_EQ(again.Headers().checkSum, checksum ? PeChecksum(output, field) : 0u);
    }
  }
}

TEST(ResourceUpdateTest, ASourceThatShrinksLeavesNoOutput) {
  testing::TempDir dir("shrink");
  const std::string source = dir / "in.dll";
  std::string bytes = testing::ReadFileBytes(testing::FixturePath("withcode64.dll"));
  bytes += std::string(1 << 20, 'o');  // an overlay that is copied, not read
  testing::WriteFileBytes(source, bytes);
  ModuleImage image;
  ASSERT_EQ(image.Open(source), 0);
  ResourceUpdate update(image);
  update.Put(ResourceId::Number(10), ResourceId::Number(1), 0, "x");
  ASSERT_EQ(::truncate(source.c_str(), static_cast<off_t>(bytes.size() / 2)), 0);
  const Status status = update.Commit(dir / "out.dll", 0644);
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
      << "neither the output nor a temporary file";
}

// The output's checksum is its own bytes', whatever the source's said: a
// wrong one in the source is not carried into the output.
TEST(ResourceUpdateTest, ChecksumsAreTheOutputsOwn) {
  const std::string input = MakeModule(true, Layout::kBeforeReloc, {true, true, true, true});
  ModuleImage image;
  Parse(input, image);
  const std::size_t field =
      static_cast<std::size_t>(image.Headers().optionalOffset + PeHeaders::kCheckSum);
  const std::uint32_t right = LoadU32(input, field);
  ASSERT_EQ(right, PeChecksum(input, field));
  for (const std::uint32_t stored : {right, right + 5, right - 3, 1u}) {
    std::string source = input;
    StoreU32(source, field, stored);
    ModuleImage before;
    Parse(source, before);
    ResourceUpdate update(before);
    Tree ignored;
    Resize(update, ignored, Size::kPastSectionAlignment);
    std::string output;
    ASSERT_TRUE(update.Build(output).ok());
    EXPECT_EQ(LoadU32(output, field), PeChecksum(output, field)) << stored;
  }
}

// Many resources built as the section is written: each built once, in the
// order of the section, and read back as built; a build that fails,
// wherever it lies, fails the whole.
TEST(ResourceUpdateTest, ManyResourcesBuiltAsTheSectionIsWritten) {
  ModuleImage image;
  ASSERT_EQ(image.Open(testing::FixturePath("sample64.dll")), 0);
  constexpr std::uint32_t kCount = 300;
  const auto put = [&](ResourceUpdate& update, std::vector<std::uint32_t>& built,
                       std::uint32_t failing) {
    for (std::uint32_t n = 1; n <= kCount; ++n) {
      update.PutBuilt(
          ResourceId::Number(10), ResourceId::Number(n), 0x0409,
          [n, failing, &built](std::string& out) {
            built.push_back(n);
            if (n == failing) return Status::Fail(E2BIG, "too large");
            out.append(1000 + n % 7, static_cast<char>('a' + n % 26));
            return Status();
          },
          1024);
    }
  };
  std::vector<std::uint32_t> built;
  ResourceUpdate update(image);
  put(update, built, 0);
  std::string output;
  ASSERT_TRUE(update.Build(output).ok());
  ASSERT_EQ(built.size(), kCount);
  EXPECT_TRUE(std::is_sorted(built.begin(), built.end()));
  EXPECT_EQ(std::adjacent_find(built.begin(), built.end()), built.end()) << "built twice";
  ModuleImage after;
  ASSERT_EQ(after.Load(output), 0) << after.Detail();
  for (const std::uint32_t n : {1u, kCount / 2, kCount}) {
    const ResourceData* data = after.Find(ResourceId::Number(10), ResourceId::Number(n));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->bytes, std::string(1000 + n % 7, static_cast<char>('a' + n % 26)));
  }

  for (const std::uint32_t failing : {1u, kCount / 2, kCount}) {
    std::vector<std::uint32_t> some;
    ResourceUpdate failingUpdate(image);
    put(failingUpdate, some, failing);
    std::string ignored;
    const Status status = failingUpdate.Build(ignored);
    EXPECT_EQ(status.code(), E2BIG) << "failing " << failing;
  }
}

TEST(ResourceUpdateTest, NamesAreUpperCasedAndSorted) {
  ModuleImage image;
  ASSERT_EQ(image.Open(testing::FixturePath("empty32.dll")), 0);
  ResourceUpdate update(image);
  update.Put(ResourceId::Number(10), ResourceId::Name(std::string_view("zeta")), 0, "z");
  update.Put(ResourceId::Number(10), ResourceId::Name(std::string_view("Alpha")), 0, "a");
  update.Put(ResourceId::Number(10), ResourceId::Number(3), 0, "3");
  update.Put(ResourceId::Name(std::string_view("MyType")), ResourceId::Number(1), 0x0409, "t");
  std::string output;
  ASSERT_TRUE(update.Build(output).ok());
  ModuleImage after;
  Parse(output, after);
  std::vector<std::string> order;
  for (const auto& type : after.Resources()) {
    for (const auto& name : type.names)
      order.push_back(type.id.Describe() + "/" + name.id.Describe());
  }
  EXPECT_EQ(order,
            (std::vector<std::string>{"MYTYPE/#1", "#10/ALPHA", "#10/ZETA", "#10/#1", "#10/#3"}));
}

// An empty resource written last lies at the end of the data. Whatever the
// size of the data before it, it must be read back from the rebuilt module,
// also when the section ends right after it (a size that is a multiple of
// the file alignment).
TEST(ResourceUpdateTest, EmptyResourceLastInTheSection) {
  for (const char* fixture : {"empty32.dll", "empty64.dll"}) {
    ModuleImage image;
    ASSERT_EQ(image.Open(testing::FixturePath(fixture)), 0);
    const std::uint32_t alignment = image.Headers().fileAlignment;
    for (std::uint32_t filler = 0; filler <= 2 * alignment; filler += 4) {
      SCOPED_TRACE(std::string(fixture) + " filler " + std::to_string(filler));
      ResourceUpdate update(image);
      update.Put(ResourceId::Number(10), ResourceId::Number(2), 0, std::string(filler, 'f'));
      update.Put(ResourceId::Number(0x7FFF), ResourceId::Number(1), 0, "");
      std::string output;
      ASSERT_TRUE(update.Build(output).ok());
      ModuleImage after;
      ASSERT_EQ(after.Load(output), 0) << after.Detail();
      const ResourceData* empty = after.Find(ResourceId::Number(0x7FFF), ResourceId::Number(1));
      ASSERT_NE(empty, nullptr);
      EXPECT_TRUE(empty->bytes.empty());
    }
  }
}

// A small image (both alignments equal and below the page size) is mapped
// as it lies in the file: a section added to it must stand at the same
// address in memory as in the file, or the module is refused, not written
// as one no loader maps.
TEST(ResourceUpdateTest, SmallImagesKeepSectionsWhereTheyLieInTheFile) {
  for (const bool is64 : {false, true}) {
    for (const std::uint32_t beyondFile : {0u, 0x400u}) {
      SCOPED_TRACE(std::to_string(is64) + " " + std::to_string(beyondFile));
      testing::ModuleShape shape;
      shape.is64 = is64;
      shape.sectionAlignment = shape.fileAlignment = 0x200;
      // The tree does not start its section, which is then not rewritten.
      shape.resources = [](std::uint32_t) { return std::string(48, '\0'); };
      std::string bytes = testing::MakeModule(shape);
      ModuleImage plain;
      ASSERT_EQ(plain.Load(bytes), 0) << plain.Detail();
      const PeHeaders h = plain.Headers();
      const PeSection& section = h.sections.front();
      StoreU32(bytes, static_cast<std::size_t>(h.dataDirectoryOffset + 8 * kDirResource),
               section.virtualAddress + 16);
      StoreU32(bytes, static_cast<std::size_t>(h.dataDirectoryOffset + 8 * kDirResource + 4), 16);
      // Memory beyond the file's bytes ends the image further than the file.
      StoreU32(bytes, static_cast<std::size_t>(h.sectionTableOffset + 8),
               section.sizeOfRawData + beyondFile);
      ModuleImage image;
      ASSERT_EQ(image.Load(bytes), 0) << image.Detail();
      ResourceUpdate update(image);
      update.Put(ResourceId::Number(10), ResourceId::Number(1), 0, "small");
      std::string output;
      const Status status = update.Build(output);
      if (beyondFile != 0) {
        EXPECT_EQ(status.code(), kErrorBadHeaders) << status.message();
        continue;
      }
      ASSERT_TRUE(status.ok()) << status.message();
      ModuleImage after;
      ASSERT_EQ(after.Load(output), 0) << after.Detail();
      ASSERT_EQ(after.Headers().sections.size(), 2u);
      for (const PeSection& s : after.Headers().sections) {
        EXPECT_EQ(s.virtualAddress, s.pointerToRawData) << s.name;
      }
      EXPECT_EQ(after.Find(ResourceId::Number(10), ResourceId::Number(1))->bytes, "small");
    }
  }
}

}  // namespace
}  // namespace ulk
