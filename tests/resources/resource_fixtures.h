// Resources the tests write byte by byte (message tables), and modules
// made from a fixture with such resources put into it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/pe_image.h"
#include "platform/resource_update.h"
#include "platform/text.h"
#include "tests/test_support.h"

namespace ulk::testing {

struct MessageSpec {
  std::string text;  // Windows-1252 bytes for an ANSI entry, UTF-8 for a Unicode one
  bool unicode = false;
};

struct MessageBlock {
  std::uint32_t low = 0;
  std::vector<MessageSpec> entries;  // ids low, low + 1, ...
};

// A message table with the blocks in the order given, each entry NUL
// terminated and padded to 4 bytes as the message compiler writes them.
inline std::string MessageTable(const std::vector<MessageBlock>& blocks) {
  Bytes header;
  header.u32(static_cast<std::uint32_t>(blocks.size()));
  std::string entries;
  const std::size_t entriesAt = 4 + 12 * blocks.size();
  for (const MessageBlock& block : blocks) {
    header.u32(block.low).u32(static_cast<std::uint32_t>(block.low + block.entries.size() - 1));
    header.u32(static_cast<std::uint32_t>(entriesAt + entries.size()));
    for (const MessageSpec& entry : block.entries) {
      std::string body;
      if (entry.unicode) {
        AppendUtf16Le(body, entry.text);
        body.append(2, '\0');
      } else {
        body = entry.text + '\0';
      }
      while (body.size() % 4) body.push_back('\0');
      Bytes e;
      e.u16(static_cast<std::uint16_t>(4 + body.size())).u16(entry.unicode ? 1 : 0);
      entries += e.str() + body;
    }
  }
  return header.str() + entries;
}

struct PutResource {
  std::uint32_t type = 0;
  ResourceId name;
  std::string bytes;
};

// `source` with the resources put into it (neutral language), as `target`.
inline void PutResources(const std::string& source, const std::string& target,
                         const std::vector<PutResource>& resources) {
  ModuleImage image;
  ASSERT_EQ(image.Open(source), 0) << source;
  ResourceUpdate update(image);
  for (const PutResource& resource : resources) {
    update.Put(ResourceId::Number(resource.type), resource.name, 0, resource.bytes);
  }
  const Status status = update.Commit(target, 0644);
  ASSERT_TRUE(status.ok()) << status.message();
}

}  // namespace ulk::testing
