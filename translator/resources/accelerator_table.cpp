// Reading accelerator tables and menu shortcuts.
#include "translator/resources/accelerator_table.h"

#include <algorithm>
#include <cctype>

#include "platform/byte_stream.h"
#include "platform/text.h"

namespace ulk {
namespace {

constexpr std::uint16_t kVirtualKey = 0x01;
constexpr std::uint16_t kShiftFlag = 0x04;
constexpr std::uint16_t kControlFlag = 0x08;
constexpr std::uint16_t kAltFlag = 0x10;
constexpr std::uint16_t kLastEntry = 0x80;
constexpr std::uint16_t kF1 = 0x70;

struct KeyName {
  const char* name;  // upper case
  std::uint16_t key;
};
// English, German, Spanish and French names, as translators write them.
constexpr KeyName kKeyNames[] = {
    {"DEL", 0x2E},       {"DELETE", 0x2E},    {"SUPR", 0x2E},      {"SUPRIMIR", 0x2E},
    {"ENTF", 0x2E},      {"SUPPR", 0x2E},     {"INS", 0x2D},       {"INSERT", 0x2D},
    {"INSERTAR", 0x2D},  {"EINFG", 0x2D},     {"INSER", 0x2D},     {"ENTER", 0x0D},
    {"RETURN", 0x0D},    {"INTRO", 0x0D},     {"EINGABE", 0x0D},   {"ENTRÉE", 0x0D},
    {"ESC", 0x1B},       {"ESCAPE", 0x1B},    {"ÉCHAP", 0x1B},     {"TAB", 0x09},
    {"SPACE", 0x20},     {"ESPACIO", 0x20},   {"LEERTASTE", 0x20}, {"BACKSPACE", 0x08},
    {"RETROCESO", 0x08}, {"RÜCKTASTE", 0x08}, {"HOME", 0x24},      {"INICIO", 0x24},
    {"POS1", 0x24},      {"END", 0x23},       {"FIN", 0x23},       {"ENDE", 0x23},
    {"PGUP", 0x21},      {"PAGEUP", 0x21},    {"BILD AUF", 0x21},  {"PGDN", 0x22},
    {"PAGEDOWN", 0x22},  {"BILD AB", 0x22},
};

enum class Modifier { kNone, kCtrl, kShift, kAlt };

Modifier ModifierOf(std::string_view upper) {
  for (std::string_view name : {"CTRL", "STRG", "CONTROL", "CTL", "CONTROLE"}) {
    if (upper == name) return Modifier::kCtrl;
  }
  for (std::string_view name : {"SHIFT", "MAYÚS", "MAYUS", "MAY", "UMSCHALT", "MAJ"}) {
    if (upper == name) return Modifier::kShift;
  }
  return upper == "ALT" ? Modifier::kAlt : Modifier::kNone;
}

bool KeyOf(std::string_view upper, std::uint16_t& key) {
  if (upper.size() == 1 && std::isalnum(static_cast<unsigned char>(upper[0]))) {
    key = static_cast<std::uint16_t>(upper[0]);
    return true;
  }
  if (upper.size() >= 2 && upper.size() <= 3 && upper[0] == 'F' &&
      std::all_of(upper.begin() + 1, upper.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    const int number = std::stoi(std::string(upper.substr(1)));
    if (number < 1 || number > 24) return false;
    key = static_cast<std::uint16_t>(kF1 + number - 1);
    return true;
  }
  for (const KeyName& name : kKeyNames) {
    if (upper == name.name) {
      key = name.key;
      return true;
    }
  }
  return false;
}

}  // namespace

bool KeyChord::Matches(const KeyChord& other) const {
  const bool shiftCounts = !anyShift && !other.anyShift;
  return key == other.key && ctrl == other.ctrl && alt == other.alt &&
         (!shiftCounts || shift == other.shift);
}

bool ParseAcceleratorTable(std::string_view bytes, std::vector<Accelerator>& accelerators) {
  accelerators.clear();
  ByteReader r(bytes);
  while (true) {
    std::uint16_t flags = 0;
    std::uint16_t key = 0;
    std::uint16_t command = 0;
    std::uint16_t padding = 0;
    if (!r.U16(flags) || !r.U16(key) || !r.U16(command) || !r.U16(padding)) return false;
    Accelerator& accelerator = accelerators.emplace_back();
    accelerator.command = command;
    KeyChord& chord = accelerator.chord;
    chord.ctrl = flags & kControlFlag;
    chord.alt = flags & kAltFlag;
    if (flags & kVirtualKey) {
      chord.key = key;
      chord.shift = flags & kShiftFlag;
    } else if (key >= 1 && key <= 26) {
      // "^S": a control character is Ctrl and its letter.
      chord.key = static_cast<std::uint16_t>('A' + key - 1);
      chord.ctrl = true;
      chord.anyShift = true;
    } else {
      chord.key = static_cast<std::uint16_t>(key < 0x80 ? std::toupper(key) : key);
      chord.anyShift = true;
    }
    if (flags & kLastEntry) return true;
  }
}

std::string_view ShortcutOfMenuText(std::string_view stored) {
  const std::size_t tab = stored.find("\\t");
  return tab == std::string_view::npos ? std::string_view() : TrimView(stored.substr(tab + 2));
}

bool ParseShortcut(std::string_view text, KeyChord& chord) {
  chord = {};
  const std::string upper = ToUpperUtf8(TrimView(text));
  if (upper.empty()) return false;
  std::string_view rest = upper;
  while (true) {
    const std::size_t plus = rest.find('+');
    if (plus == std::string_view::npos || plus + 1 == rest.size()) break;
    switch (ModifierOf(TrimView(rest.substr(0, plus)))) {
      case Modifier::kCtrl:
        chord.ctrl = true;
        break;
      case Modifier::kShift:
        chord.shift = true;
        break;
      case Modifier::kAlt:
        chord.alt = true;
        break;
      case Modifier::kNone:
        return false;
    }
    rest = rest.substr(plus + 1);
  }
  return KeyOf(TrimView(rest), chord.key);
}

std::string DescribeChord(const KeyChord& chord) {
  std::string out;
  if (chord.ctrl) out += "Ctrl+";
  if (chord.shift) out += "Shift+";
  if (chord.alt) out += "Alt+";
  if (chord.key >= kF1 && chord.key < kF1 + 24) {
    out += "F" + std::to_string(chord.key - kF1 + 1);
  } else if ((chord.key >= 'A' && chord.key <= 'Z') || (chord.key >= '0' && chord.key <= '9')) {
    out.push_back(static_cast<char>(chord.key));
  } else {
    for (const KeyName& name : kKeyNames) {
      if (name.key == chord.key) {
        std::string shown = name.name;
        for (std::size_t i = 1; i < shown.size(); ++i)
          shown[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(shown[i])));
        return out + shown;
      }
    }
    out += Format("0x%02X", chord.key);
  }
  return out;
}

}  // namespace ulk
