// Fuzz target: the project file reader. Whatever it accepts must write back
// to a text that reads again to the same project.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "translator/model/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text =
      ulk::DecodeProjectBytes(std::string(reinterpret_cast<const char*>(data), size));
  ulk::Project project;
  ulk::ProjectReadReason reason;
  if (!ulk::ReadProject(project, text, reason)) return 0;
  const std::string written = ulk::WriteProject(project);
  ulk::Project again;
  if (!ulk::ReadProject(again, written, reason)) {
    // An accepted project with an empty name and modules cannot be stored;
    // anything else must read back.
    if (project.name.empty() && project.ModuleCount() > 0) return 0;
    std::abort();
  }
  if (ulk::WriteProject(again) != written) std::abort();
  return 0;
}
