// Modules written byte by byte for the tests of the PE layer: a PE32 or
// PE32+ image whose only section holds the resource tree the test writes,
// with the alignments the test chooses.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/byte_stream.h"
#include "tests/test_support.h"

namespace ulk::testing {

struct ModuleShape {
  bool is64 = false;
  std::uint32_t sectionAlignment = 0x1000;
  std::uint32_t fileAlignment = 0x200;
  // The resource section's bytes, given the address the section gets.
  std::function<std::string(std::uint32_t rva)> resources;
};

inline std::string MakeModule(const ModuleShape& shape) {
  constexpr std::uint32_t kPeOffset = 0x40;
  const std::uint16_t optionalSize = shape.is64 ? 0xF0 : 0xE0;
  const std::uint32_t tableEnd = kPeOffset + 4 + 20 + optionalSize + 40;
  // Room for one more section header, as linkers leave it.
  const auto headersSize = static_cast<std::uint32_t>(AlignUp(tableEnd + 40, shape.fileAlignment));
  // Below the page size sections lie in memory where they lie in the file.
  const auto rva = static_cast<std::uint32_t>(AlignUp(headersSize, shape.sectionAlignment));
  const std::string tree = shape.resources ? shape.resources(rva) : std::string(16, '\0');
  const auto rawSize = static_cast<std::uint32_t>(AlignUp(tree.size(), shape.fileAlignment));
  const auto virtualSize = static_cast<std::uint32_t>(tree.size());

  Bytes b;
  b.u16(0x5A4D);
  while (b.size() < 0x3C) b.u8(0);
  b.u32(kPeOffset).u32(0x00004550);
  b.u16(shape.is64 ? 0x8664 : 0x014C).u16(1).u32(0).u32(0).u32(0).u16(optionalSize).u16(0x2102);
  const std::size_t optional = b.size();
  b.u16(shape.is64 ? 0x20B : 0x10B).u16(0);
  b.u32(0).u32(rawSize).u32(0);  // sizes of code, initialised and uninitialised data
  b.u32(0).u32(rva);             // entry point, base of code
  if (shape.is64) {
    b.u32(0x10000000).u32(0);
  } else {
    b.u32(rva).u32(0x10000000);  // base of data, image base
  }
  b.u32(shape.sectionAlignment).u32(shape.fileAlignment);
  b.u16(4).u16(0).u16(0).u16(0).u16(4).u16(0).u32(0);
  b.u32(static_cast<std::uint32_t>(rva + AlignUp(virtualSize, shape.sectionAlignment)));
  b.u32(headersSize).u32(0).u16(2).u16(0);
  for (int i = 0; i < 4; ++i) shape.is64 ? b.u32(0x100000).u32(0) : b.u32(0x100000);
  b.u32(0).u32(16);
  for (int d = 0; d < 16; ++d) d == 2 ? b.u32(rva).u32(virtualSize) : b.u32(0).u32(0);
  while (b.size() < optional + optionalSize) b.u8(0);
  b.u32(0x7273722E).u32(0x00000063);  // ".rsrc"
  b.u32(virtualSize).u32(rva).u32(rawSize).u32(headersSize).u32(0).u32(0).u32(0);
  b.u32(0x40000040);
  std::string bytes = b.str();
  bytes.resize(headersSize, '\0');
  bytes += tree;
  bytes.resize(headersSize + rawSize, '\0');
  return bytes;
}

// A resource tree by hand: directories of 16 bytes and their entries, laid
// out where the test says.
class TreeBytes {
 public:
  std::size_t Size() const { return bytes_.size(); }
  const std::string& Str() const { return bytes_; }
  void Resize(std::size_t size) { bytes_.resize(size, '\0'); }
  void Directory(std::size_t at, std::uint16_t named, std::uint16_t numbered) {
    Grow(at + 16);
    StoreU16(bytes_, at + 12, named);
    StoreU16(bytes_, at + 14, numbered);
  }
  void Entry(std::size_t at, std::uint32_t name, std::uint32_t target) {
    Grow(at + 8);
    StoreU32(bytes_, at, name);
    StoreU32(bytes_, at + 4, target);
  }
  void Name(std::size_t at, std::u16string_view name) {
    Grow(at + 2 + 2 * name.size());
    StoreU16(bytes_, at, static_cast<std::uint16_t>(name.size()));
    for (std::size_t i = 0; i < name.size(); ++i) {
      StoreU16(bytes_, at + 2 + 2 * i, static_cast<std::uint16_t>(name[i]));
    }
  }
  void Data(std::size_t at, std::uint32_t rva, std::uint32_t size) {
    Grow(at + 16);
    StoreU32(bytes_, at, rva);
    StoreU32(bytes_, at + 4, size);
  }

 private:
  void Grow(std::size_t size) {
    if (bytes_.size() < size) bytes_.resize(size, '\0');
  }
  std::string bytes_;
};

}  // namespace ulk::testing
