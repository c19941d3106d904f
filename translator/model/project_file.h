// The ".ulk" project file: a line-oriented text file, written as UTF-8 with
// LF line ends; read with LF or CRLF, and as Windows-1252 when it is not
// valid UTF-8 (projects saved on Windows).
#pragma once

#include <optional>
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
  kProjectDamagedText = 7,  // invalid UTF-8 in UTF-8 text, a NUL, a stray CR
};

// The whole text of the project file. Module and output paths inside the
// project's folder, and module paths read as relative, are written
// relative to that folder. Every value must keep the line grammar
// (UnwritableValue is empty): that is asserted.
std::string WriteProject(const Project& project);

// The first value of the project that the file cannot hold as it stands (a
// line break, tab or NUL, invalid UTF-8, a key with "=", a target language
// name with a comma...), named for the user; "" when every value can be
// written.
std::string UnwritableValue(const Project& project);

// Clears `project` (but its file path and folder, against which relative
// module paths are read) and reads `text` (UTF-8) into it. On failure
// returns false with the reason and, when asked, the 1-based line; the
// project then holds what was read before the failing line and the caller
// discards it.
bool ReadProject(Project& project, std::string_view text, ProjectReadReason& reason,
                 std::size_t* failedLine = nullptr);

// The file's bytes as UTF-8 text: a UTF-8 byte-order mark is dropped; a file
// that is not valid UTF-8 and holds no valid multi-byte sequence is taken as
// Windows-1252. One that holds both valid multi-byte sequences and invalid
// bytes is damaged UTF-8: none, with the 1-based line of the first invalid
// byte in `badLine` when asked.
std::optional<std::string> DecodeProjectBytes(std::string bytes, std::size_t* badLine = nullptr);

struct ProjectLoadResult {
  bool ok = false;
  int fileError = 0;  // errno when the file could not be read
  ProjectReadReason reason = kProjectReadOk;
  std::size_t line = 0;  // of a damaged text
  std::string message;   // what the user is shown; "" on success
};

// Reads a project file. On any failure the project is left empty and named
// "Nuevo proyecto", and the result carries the message to show: for a file
// that was read but refused, "Error abriendo el archivo NAME\nREASON"; for a
// file that could not be read, the file-error message.
ProjectLoadResult LoadProjectFile(Project& project, const std::string& path);

// Writes the project file through a temporary file renamed over the target;
// a failed save leaves the previous file as it was. Returns "" or why the
// file was not written: a value it cannot hold, or the system's error.
std::string SaveProjectFile(const Project& project, const std::string& path);

// "Error abriendo el archivo NAME\n" + the text of the reason.
std::string ProjectReadFailureText(std::string_view fileName, ProjectReadReason reason);

}  // namespace ulk
