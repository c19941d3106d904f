// Writes the seed corpora of the fuzz targets from the modules the tests
// build: each module as a seed of the module reader and of the resource
// update (the small ones also with resources of long names added), and each
// menu, dialog, string block and version resource in it as a seed of its
// codec, of the layouts and of the version information reader. Real modules
// reach far more of the code than bytes written by hand.
//
//   make_seeds CORPUS_DIR MODULE...
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/byte_stream.h"
#include "platform/files.h"
#include "platform/pe_image.h"
#include "platform/resource_update.h"
#include "platform/version_info.h"

namespace {

namespace fs = std::filesystem;

// The targets a resource is a seed of; its codec's first.
std::vector<const char*> TargetsOf(const ulk::ResourceId& type) {
  if (type.named) return {};
  switch (type.number) {
    case 4:
      return {"menu_codec", "resource_layout"};
    case 5:
      return {"dialog_codec", "resource_layout"};
    case 6:
      return {"string_table"};
    case 16:
      return {"version_codec", "version_info"};
    default:
      return {};
  }
}

bool Write(const fs::path& path, std::string_view bytes) {
  if (const int error = ulk::WriteFileAtomically(path.string(), bytes)) {
    std::fprintf(stderr, "make_seeds: cannot write %s (errno %d)\n", path.c_str(), error);
    return false;
  }
  return true;
}

// The module with its link time cleared in the file header and in the
// export directory (and its checksum made right again), so that seeds made
// again from the same sources are the same files.
std::string WithoutTimestamp(const ulk::ModuleImage& image) {
  std::string bytes(image.Bytes());
  const ulk::PeHeaders& h = image.Headers();
  ulk::StoreU32(bytes, static_cast<std::size_t>(h.coffOffset + 4), 0);
  std::uint64_t exportTime = 0;
  if (h.directories.size() > ulk::kDirExport && h.directories[ulk::kDirExport].rva != 0 &&
      image.FileOffsetOf(h.directories[ulk::kDirExport].rva + 4, 4, exportTime)) {
    ulk::StoreU32(bytes, static_cast<std::size_t>(exportTime), 0);
  }
  if (h.checkSum != 0) {
    const std::uint64_t at = h.optionalOffset + ulk::PeHeaders::kCheckSum;
    ulk::StoreU32(bytes, static_cast<std::size_t>(at), ulk::PeChecksum(bytes, at));
  }
  return bytes;
}

// "menu-MAINEX-0c0a": the same resource of the PE32 and the PE32+ build of
// one source gives one seed.
std::string SeedName(const ulk::ResourceTypeNode& type, const ulk::ResourceName& name,
                     const ulk::ResourceData& data) {
  char language[8];
  std::snprintf(language, sizeof language, "%04x", data.language);
  const std::string kind = TargetsOf(type.id).front();
  return kind.substr(0, kind.find('_')) + "-" +
         (name.id.named ? name.id.NameUtf8() : std::to_string(name.id.number)) + "-" + language;
}

// The module with resources of long names added (a type, a dialog copied
// under a name, an RCDATA with letters beyond ASCII): the reader copies a
// name for every entry that points at one. Only small modules get them, so
// that each seed stays a few kilobytes.
bool LongNamesOf(const std::string& bytes, std::string& out) {
  constexpr std::uint64_t kSmallModule = 7000;
  if (bytes.size() > kSmallModule) return false;
  ulk::ModuleImage image;
  if (image.Load(bytes) != 0) return false;
  ulk::ResourceUpdate update(image);
  update.Put(ulk::ResourceId::Name(std::u16string(64, u'T')),
             ulk::ResourceId::Name(std::u16string(700, u'N')), 0x0409, "long names");
  update.Put(ulk::ResourceId::Number(10), ulk::ResourceId::Name(std::u16string(255, u'\u00D1')), 0,
             "x");
  const ulk::ResourceTypeNode* dialogs = image.FindType(ulk::ResourceId::Number(5));
  if (dialogs && !dialogs->names.empty() && !dialogs->names.front().languages.empty()) {
    const ulk::ResourceData& first = dialogs->names.front().languages.front();
    update.Put(dialogs->id, ulk::ResourceId::Name(std::u16string(300, u'D')), first.language,
               std::string(first.bytes));
  }
  return update.Build(out).ok();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_seeds CORPUS_DIR MODULE...\n");
    return 2;
  }
  const fs::path corpus = argv[1];
  int written = 0;
  for (int i = 2; i < argc; ++i) {
    const fs::path module = argv[i];
    ulk::ModuleImage image;
    if (const int error = image.Open(module.string())) {
      std::fprintf(stderr, "make_seeds: %s is not a module (%d): %s\n", module.c_str(), error,
                   image.Detail().c_str());
      return 1;
    }
    const std::string seed = "module-" + module.stem().string();
    const std::string bytes = WithoutTimestamp(image);
    std::string longNames;
    const bool withLongNames = LongNamesOf(bytes, longNames);
    for (const char* target : {"module_reader", "module_update"}) {
      if (!Write(corpus / target / seed, bytes)) return 1;
      ++written;
      if (!withLongNames) continue;
      if (!Write(corpus / target / ("module-longnames-" + module.stem().string()), longNames)) {
        return 1;
      }
      ++written;
    }
    for (const auto& type : image.Resources()) {
      for (const char* target : TargetsOf(type.id)) {
        for (const auto& name : type.names) {
          for (const auto& data : name.languages) {
            if (!Write(corpus / target / SeedName(type, name, data), data.bytes)) return 1;
            ++written;
          }
        }
      }
    }
  }
  // A block of the version information's own writer, with texts beyond
  // ASCII and an empty one.
  ulk::FixedFileInfo fixed;
  fixed.fileVersionMS = 0x00020003;
  fixed.fileDateLS = 0x12345678;
  if (!Write(corpus / "version_info" / "version-built",
             ulk::BuildVersionBlock(fixed, 0x04B00407,
                                    {{"CompanyName", "Ñandú GmbH"},
                                     {"FileDescription", "Übersetzung\tmit Tab"},
                                     {"Comments", ""},
                                     {"FileVersion", "2.3"}}))) {
    return 1;
  }
  ++written;
  std::printf("make_seeds: %d seeds written to %s\n", written, corpus.c_str());
  return 0;
}
