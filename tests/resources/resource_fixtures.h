// Resources the tests write byte by byte (message tables, form streams),
// and modules made from a fixture with such resources put into it.
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

// Writes form streams value by value.
class Form {
 public:
  Form() { out_ = "TPF0"; }
  Form& Byte(std::uint8_t b) {
    out_.push_back(static_cast<char>(b));
    return *this;
  }
  Form& Raw(std::string_view bytes) {
    out_.append(bytes);
    return *this;
  }
  Form& U16(std::uint16_t v) {
    return Byte(static_cast<std::uint8_t>(v)).Byte(static_cast<std::uint8_t>(v >> 8));
  }
  Form& U32(std::uint32_t v) {
    return U16(static_cast<std::uint16_t>(v)).U16(static_cast<std::uint16_t>(v >> 16));
  }
  Form& Short(std::string_view s) { return Byte(static_cast<std::uint8_t>(s.size())).Raw(s); }
  Form& Begin(std::string_view className, std::string_view name) {
    return Short(className).Short(name);
  }
  Form& Prop(std::string_view name) { return Short(name); }
  Form& End() { return Byte(0); }
  // Values.
  Form& Str(std::string_view s) { return Byte(6).Short(s); }
  Form& LStr(std::string_view s) {
    return Byte(12).U32(static_cast<std::uint32_t>(s.size())).Raw(s);
  }
  Form& WStr(std::string_view utf8) {
    std::string units;
    const std::size_t count = AppendUtf16Le(units, utf8);
    return Byte(18).U32(static_cast<std::uint32_t>(count)).Raw(units);
  }
  Form& Utf8(std::string_view s) {
    return Byte(20).U32(static_cast<std::uint32_t>(s.size())).Raw(s);
  }
  Form& Int8(std::uint8_t v) { return Byte(2).Byte(v); }
  Form& Int16(std::uint16_t v) { return Byte(3).U16(v); }
  Form& Int32(std::uint32_t v) { return Byte(4).U32(v); }
  Form& Fixed(std::uint8_t type, std::size_t size) {
    return Byte(type).Raw(std::string(size, '\x06'));
  }
  Form& Ident(std::string_view s) { return Byte(7).Short(s); }
  Form& Set(std::initializer_list<std::string_view> elements) {
    Byte(11);
    for (std::string_view e : elements) Short(e);
    return Byte(0);
  }
  Form& Binary(std::string_view bytes) {
    return Byte(10).U32(static_cast<std::uint32_t>(bytes.size())).Raw(bytes);
  }
  const std::string& str() const { return out_; }

 private:
  std::string out_;
};

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
