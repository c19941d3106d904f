// Templates and modules written by the preview's tests: dialogs and menus
// built byte by byte, and a module holding the bad inputs the preview must
// survive (a damaged template, a control far outside its dialog, a font
// that does not exist, a 255-character class name, menus nested deep).
#pragma once

#include <string>
#include <vector>

#include "platform/pe_image.h"
#include "platform/resource_update.h"
#include "platform/template_library.h"
#include "tests/test_support.h"
#include "translator/resources/resource_kind.h"

namespace ulk::testing {

struct TestControl {
  std::u16string className;  // empty: the ordinal
  std::uint16_t classOrdinal = 0x80;
  std::u16string title;
  std::uint16_t titleOrdinal = 0;  // used when not 0
  std::uint32_t style = 0x50000000;
  std::int16_t x = 0, y = 0, cx = 50, cy = 14;
  std::uint32_t id = 1;
};

struct TestDialog {
  bool extended = true;
  std::uint32_t style = 0x80C80040;  // popup, caption, modal frame, DS_SETFONT
  std::int16_t cx = 200, cy = 100;
  std::u16string menu;
  std::u16string caption = u"Prueba";
  std::uint16_t pointSize = 8;
  std::uint16_t weight = 400;
  std::uint8_t italic = 0;
  std::u16string face = u"MS Shell Dlg";
  std::vector<TestControl> controls;
};

inline std::string DialogBytes(const TestDialog& d) {
  Bytes b;
  if (d.extended) {
    b.u16(1).u16(0xFFFF).u32(77).u32(0x20).u32(d.style);
  } else {
    b.u32(d.style).u32(0x20);
  }
  b.u16(static_cast<std::uint16_t>(d.controls.size())).u16(0).u16(0);
  b.u16(static_cast<std::uint16_t>(d.cx)).u16(static_cast<std::uint16_t>(d.cy));
  if (d.menu.empty()) {
    b.u16(0);
  } else {
    b.text(d.menu);
  }
  b.u16(0).text(d.caption);
  if (d.style & 0x40) {
    b.u16(d.pointSize);
    if (d.extended) b.u16(d.weight).u8(d.italic).u8(1);
    b.text(d.face);
  }
  for (const TestControl& c : d.controls) {
    b.align4();
    const auto u = [](std::int16_t v) { return static_cast<std::uint16_t>(v); };
    if (d.extended) {
      b.u32(0).u32(0).u32(c.style).u16(u(c.x)).u16(u(c.y)).u16(u(c.cx)).u16(u(c.cy)).u32(c.id);
    } else {
      b.u32(c.style).u32(0).u16(u(c.x)).u16(u(c.y)).u16(u(c.cx)).u16(u(c.cy));
      b.u16(static_cast<std::uint16_t>(c.id));
    }
    if (c.className.empty()) {
      b.u16(0xFFFF).u16(c.classOrdinal);
    } else {
      b.text(c.className);
    }
    if (c.titleOrdinal) {
      b.u16(0xFFFF).u16(c.titleOrdinal);
    } else {
      b.text(c.title);
    }
    b.u16(0);
  }
  return b.str();
}

// A normal menu of one pop-up chain `depth` levels deep, ending in an item.
inline std::string DeepMenuBytes(int depth) {
  Bytes b;
  b.u16(0).u16(0);
  for (int level = 0; level < depth; ++level) b.u16(0x10 | 0x80).text(u"Nivel");
  b.u16(0x80).u16(7).text(u"Fondo");
  return b.str();
}

// A copy of the template library holding the given resources; the module
// is written to `path`.
struct TestResource {
  std::uint16_t type;
  ResourceId name;
  std::string bytes;
};

inline bool WriteTestModule(const std::string& path, const std::vector<TestResource>& resources) {
  WriteFileBytes(path, TemplateLibraryImage());
  ModuleImage image;
  if (image.Open(path) != 0) return false;
  ResourceUpdate update(image);
  for (const TestResource& r : resources) {
    update.Put(ResourceId::Number(r.type), r.name, 0x0C0A, r.bytes);
  }
  return update.Commit(path, 0644).ok();
}

// The bad inputs: DL_S_DAMAGED, DL_S_FAR, DL_S_NOFONT, DL_S_HUGE, DL_S_LONGCLASS,
// MN_S_DEEP (100 levels), MN_S_DEEP60 (60 levels).
inline std::vector<TestResource> BadInputResources() {
  TestDialog base;
  base.controls = {{u"", 0x82, u"Etiqueta", 0, 0x50000000, 10, 10, 80, 8, 10},
                   {u"", 0x80, u"Aceptar", 0, 0x50010001, 70, 70, 50, 14, 1}};
  std::string damaged = DialogBytes(base);
  damaged.resize(damaged.size() - 9);
  TestDialog far = base;
  far.controls.push_back({u"", 0x80, u"Lejos", 0, 0x50000000, 30000, -30000, 32767, 32767, 5});
  far.controls.push_back({u"", 0x81, u"", 0, 0x50800080, -20, 90, 400, 12, 6});
  far.controls.push_back({u"Otra", 0, u"", 0, 0x50800000, -32768, 32767, 32767, 100, 8});
  TestDialog huge = base;
  huge.cx = 32767;
  huge.cy = -5;
  TestDialog noFont = base;
  noFont.face = u"Fuente Que No Existe";
  noFont.pointSize = 10;
  TestDialog longClass = base;
  longClass.controls.push_back(
      {std::u16string(255, u'W'), 0, u"Clase larga", 0, 0x50800000, 10, 30, 120, 20, 7});
  return {{kRtDialog, ResourceId::Name(std::string_view("DAMAGED")), damaged},
          {kRtDialog, ResourceId::Name(std::string_view("FAR")), DialogBytes(far)},
          {kRtDialog, ResourceId::Name(std::string_view("NOFONT")), DialogBytes(noFont)},
          {kRtDialog, ResourceId::Name(std::string_view("HUGE")), DialogBytes(huge)},
          {kRtDialog, ResourceId::Name(std::string_view("LONGCLASS")), DialogBytes(longClass)},
          {kRtMenu, ResourceId::Name(std::string_view("DEEP")), DeepMenuBytes(100)},
          {kRtMenu, ResourceId::Name(std::string_view("DEEP60")), DeepMenuBytes(60)}};
}

}  // namespace ulk::testing
