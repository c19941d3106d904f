// Error codes and their texts. Codes below kFirstOwnError are errno values;
// the codes from kFirstOwnError on are this program's own, for failures the
// C library has no code for (a file that is not a module, a damaged module).
#pragma once

#include <string>
#include <string_view>

namespace ulk {

enum OwnError : int {
  kFirstOwnError = 20000,
  kErrorFileNotFound = kFirstOwnError,  // "%1" names the file
  kErrorAccessDenied,
  kErrorNotAModule,
  kErrorModuleTruncated,
  kErrorBadResourceDirectory,
  kErrorResourceNotFound,
  kErrorNoHeaderRoom,
  kErrorSameFile,
  kErrorResourceTooLarge,
  kErrorBadTemplate,
  kErrorBadHeaders,
  kErrorFolderNotFound,  // "%1" names the folder
  kErrorNotAFile,        // a device, a pipe: not a file to read or replace
  kErrorFileTooLarge,
  kErrorOutputIsProject,   // "%1" names the output
  kErrorOutputIsModule,    // another module of the project
  kErrorOutputShared,      // another language's or module's output too
  kErrorOutputNotAModule,  // an existing file that is not a module
  kErrorBadTranslation,    // a translation that holds a NUL
  kLastOwnError
};

// "(#code) message", or "" for code 0. The message is the system's own for
// errno codes and ours for own codes; texts may hold "%1" for a file name.
std::string SystemErrorText(int code);

// As above, with every "%1" replaced by `path` when `path` is not empty.
std::string SystemErrorText(int code, std::string_view path);

// The message alone, without the "(#code) " head.
std::string SystemErrorMessage(int code);

// Maps the errno of a failed open to the own code whose text names the file,
// where there is one (not found, access denied); otherwise returns `error`.
int ErrorOfFileOpen(int error);

}  // namespace ulk
