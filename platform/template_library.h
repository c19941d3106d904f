// The template library: the smallest valid 32-bit library (one code section
// whose entry point returns TRUE, no imports, no resources). The translator
// copies a dialog or menu into a copy of it to preview the translation.
#pragma once

#include <string>

namespace ulk {

std::string TemplateLibraryImage();

}  // namespace ulk
