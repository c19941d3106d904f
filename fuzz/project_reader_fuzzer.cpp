// Fuzz target: the project file reader. Whatever it accepts is valid UTF-8
// without NUL, can be written (every value keeps the line grammar), and
// writes back to a text that reads again to the same project.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/text.h"
#include "translator/model/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<std::string> text =
      ulk::DecodeProjectBytes(std::string(reinterpret_cast<const char*>(data), size));
  if (!text) return 0;
  if (!ulk::IsValidUtf8(*text)) std::abort();
  ulk::Project project;
  ulk::ProjectReadReason reason;
  if (!ulk::ReadProject(project, *text, reason)) return 0;
  if (!ulk::UnwritableValue(project).empty()) std::abort();
  const std::string written = ulk::WriteProject(project);
  if (written.find('\0') != std::string::npos) std::abort();
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
