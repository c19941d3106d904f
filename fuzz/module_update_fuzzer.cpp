// Fuzz target: the resource update. Whatever module the reader accepts must
// be rewritten, with a resource added and one replaced, into a module the
// reader accepts again with the same resources.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/resource_update.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ulk::ModuleImage image;
  if (image.Load(std::string(reinterpret_cast<const char*>(data), size)) != 0) return 0;
  ulk::ResourceUpdate update(image);
  update.Put(ulk::ResourceId::Number(10), ulk::ResourceId::Number(7), 0x0409, "added");
  if (!image.Resources().empty() && !image.Resources().front().names.empty() &&
      !image.Resources().front().names.front().languages.empty()) {
    const auto& type = image.Resources().front();
    const auto& name = type.names.front();
    update.Put(type.id, name.id, name.languages.front().language, std::string(300, 'r'));
  }
  std::string out;
  if (!update.Build(out).ok()) return 0;  // refused cleanly (no room for a section)
  ulk::ModuleImage again;
  if (again.Load(out) != 0) std::abort();
  const ulk::ResourceData* added =
      again.Find(ulk::ResourceId::Number(10), ulk::ResourceId::Number(7));
  if (!added || added->bytes != "added") std::abort();
  return 0;
}
