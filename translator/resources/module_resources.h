// A module file opened as data, with the translatable texts of its string
// tables, menus, dialogs, version resources, message tables and Delphi
// forms in reading order; and the
// translated copy of the module written from it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/pe_image.h"
#include "translator/resources/resource_kind.h"
#include "translator/resources/string_table.h"
#include "translator/resources/template_codec.h"
#include "translator/resources/text_translator.h"

namespace ulk {

class ModuleResources {
 public:
  // Reads the module's texts: every string of every string-table block,
  // then the items of every menu, dialog and version resource, the messages
  // of every message table and the interface texts of every form stream,
  // each kind in directory order. A message table or form that cannot be
  // read is reported in Warnings() and kept as it is. On false the object is empty and LastError()
  // holds the error code (SystemErrorText with the path names the file).
  bool ReadModule(const std::string& path);
  // Opens the module for WriteTranslatedModule only: its headers and
  // resources, no texts read.
  bool OpenModule(const std::string& path);
  void Release();

  bool IsOpen() const { return image_.IsOpen(); }
  int LastError() const { return lastError_; }
  const std::string& modulePath() const { return modulePath_; }

  std::size_t TextCount() const { return texts_.size(); }
  const ResourceText& TextAt(std::size_t index) const { return texts_[index]; }
  std::string ResourceKeyAt(std::size_t index) const;
  // The entry key of the index-th text, in `key` (emptied first).
  void EntryKeyAt(std::size_t index, std::string& key) const;

  const std::vector<std::uint32_t>& stringBlocks() const { return stringBlocks_; }
  const std::vector<ResourceId>& menus() const { return menus_; }
  const std::vector<ResourceId>& dialogs() const { return dialogs_; }
  const std::vector<ResourceId>& versions() const { return versions_; }
  const std::vector<ResourceId>& messageTables() const { return messageTables_; }
  const std::vector<ResourceId>& forms() const { return forms_; }
  // The bytes of a resource in the language the reader takes; empty when
  // the module has no such resource.
  std::string_view DataOf(std::uint32_t type, const ResourceId& id) const;
  // For the user: the resources kept without texts (an extended menu of an
  // unknown header, a damaged dialog or version template).
  const std::vector<std::string>& Warnings() const { return warnings_; }
  const ModuleImage& Image() const { return image_; }

  // Writes the module to `outputPath` with every resource whose texts a
  // reading lists rebuilt, each text in the translation `translator` gives
  // (asked for as the resource is written, resource by resource in the
  // order of the module's resource tree), replacing each resource under the
  // language the reader takes; the version resources move to the language
  // of `localeCode` (eight hexadecimal digits) when one is given. Refuses an
  // output that is the module itself. Returns 0 or an error code.
  int WriteTranslatedModule(const std::string& outputPath, std::string_view localeCode,
                            TextTranslator& translator);
  // The same up to the rename: the translated module complete in
  // `prepared`, still without its name, for the caller to commit or drop.
  int PrepareTranslatedModule(const std::string& outputPath, std::string_view localeCode,
                              TextTranslator& translator, AtomicFileWriter& prepared);

 private:
  void ReadMessageTable(const ResourceId& id, std::string_view bytes,
                        std::vector<ResourceText>& texts);
  void ReadForm(const ResourceId& id, std::string_view bytes, std::vector<ResourceText>& texts);

  ModuleImage image_;
  std::string modulePath_;
  int lastError_ = 0;
  std::vector<std::uint32_t> stringBlocks_;
  std::vector<ResourceText> texts_;
  std::vector<ResourceId> menus_;
  std::vector<ResourceId> dialogs_;
  std::vector<ResourceId> versions_;
  std::vector<ResourceId> messageTables_;
  std::vector<ResourceId> forms_;
  std::vector<std::string> warnings_;
};

// True when `output` names the module file itself: the same path in another
// letter case, or the same file through a link or "..".
// `outputExists`, when given, tells whether anything stands at `output`.
bool IsSameFile(const std::string& output, const std::string& module, bool* outputExists = nullptr);

}  // namespace ulk
