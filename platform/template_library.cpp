// Writing the template library's image.
// Ref: Microsoft, "PE Format", "MS-DOS Stub", "COFF File Header",
// "Optional Header (Image Only)", "Section Table".
#include "platform/template_library.h"

#include "platform/byte_stream.h"

namespace ulk {

std::string TemplateLibraryImage() {
  constexpr std::uint32_t kPeOffset = 0x40;
  constexpr std::uint32_t kFileAlignment = 0x200;
  constexpr std::uint32_t kSectionAlignment = 0x1000;
  constexpr std::uint32_t kCodeAddress = 0x1000;
  ByteWriter w;
  w.U16(0x5A4D);  // "MZ"
  w.Zeros(0x3C - 2);
  w.U32(kPeOffset);
  w.U32(0x00004550);  // "PE\0\0"
  // COFF header: i386, one section, optional header of 224 bytes,
  // executable image, 32-bit machine, library.
  w.U16(0x014C);
  w.U16(1);
  w.U32(0);
  w.U32(0);
  w.U32(0);
  w.U16(0xE0);
  w.U16(0x2102);
  // Optional header.
  w.U16(0x010B);
  w.U8(2);
  w.U8(0);
  w.U32(kFileAlignment);         // SizeOfCode
  w.U32(0);                      // SizeOfInitializedData
  w.U32(0);                      // SizeOfUninitializedData
  w.U32(kCodeAddress);           // AddressOfEntryPoint
  w.U32(kCodeAddress);           // BaseOfCode
  w.U32(2 * kSectionAlignment);  // BaseOfData
  w.U32(0x10000000);             // ImageBase
  w.U32(kSectionAlignment);
  w.U32(kFileAlignment);
  w.U16(4);  // operating system version
  w.U16(0);
  w.U16(0);  // image version
  w.U16(0);
  w.U16(4);  // subsystem version
  w.U16(0);
  w.U32(0);                      // Win32VersionValue
  w.U32(2 * kSectionAlignment);  // SizeOfImage
  w.U32(kFileAlignment);         // SizeOfHeaders
  w.U32(0);                      // CheckSum
  w.U16(2);                      // Windows GUI
  w.U16(0x0100);                 // NX compatible
  w.U32(0x100000);               // stack reserve, commit, heap reserve, commit
  w.U32(0x1000);
  w.U32(0x100000);
  w.U32(0x1000);
  w.U32(0);   // LoaderFlags
  w.U32(16);  // NumberOfRvaAndSizes
  w.Zeros(16 * 8);
  // Section table: .text.
  w.Bytes(std::string_view(".text\0\0\0", 8));
  w.U32(8);  // VirtualSize
  w.U32(kCodeAddress);
  w.U32(kFileAlignment);  // SizeOfRawData
  w.U32(kFileAlignment);  // PointerToRawData
  w.Zeros(12);
  w.U32(0x60000020);  // code, execute, read
  w.AlignTo(kFileAlignment);
  // DllMain: mov eax, 1; ret 12
  w.Bytes(std::string_view("\xB8\x01\x00\x00\x00\xC2\x0C\x00", 8));
  w.AlignTo(kFileAlignment);
  return w.Take();
}

}  // namespace ulk
