// The ".ulk" project file: a line-oriented text file, written as UTF-8 with
// LF line ends; read with LF or CRLF, and as Windows-1252 when it is not
// valid UTF-8 (projects saved on Windows).
#pragma once

#include <string>
#include <string_view>

#include "translator/model/project.h"

namespace ulk {

// Why a project file was refused.
enum ProjectReadReason : int {
  kProjectReadOk = 0,
  kProjectUnknownFormat = 2,
  kProjectUnknownVersion = 3,
  kProjectModuleFailed = 4,
  kProjectLanguageFailed = 5,
  kProjectEntryFailed = 6,
};

// The whole text of the project file.
std::string WriteProject(const Project& project);

// Clears `project` and reads `text` (UTF-8) into it. On failure returns
// false with the reason; the project then holds what was read before the
// failing line and the caller discards it.
bool ReadProject(Project& project, std::string_view text, ProjectReadReason& reason);

// The file's bytes as UTF-8 text: a UTF-8 byte-order mark is dropped; bytes
// that are not valid UTF-8 are taken as Windows-1252.
std::string DecodeProjectBytes(std::string bytes);

struct ProjectLoadResult {
  bool ok = false;
  int fileError = 0;  // errno when the file could not be read
  ProjectReadReason reason = kProjectReadOk;
  std::string message;  // what the user is shown; "" on success
};

// Reads a project file. On any failure the project is left empty and named
// "Nuevo proyecto", and the result carries the message to show: for a file
// that was read but refused, "Error abriendo el archivo NAME\nREASON"; for a
// file that could not be read, the file-error message.
ProjectLoadResult LoadProjectFile(Project& project, const std::string& path);

// Writes the project file through a temporary file renamed over the target;
// a failed save leaves the previous file as it was. Returns 0 or an errno.
int SaveProjectFile(const Project& project, const std::string& path);

// "Error abriendo el archivo NAME\n" + the text of the reason.
std::string ProjectReadFailureText(std::string_view fileName, ProjectReadReason reason);

}  // namespace ulk
