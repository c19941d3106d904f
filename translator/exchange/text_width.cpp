// Text widths through FreeType and fontconfig.
#include "translator/exchange/text_width.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

#include "platform/text.h"

namespace ulk {
namespace {

constexpr int kDotsPerInch = 96;
constexpr const char* kBaseUnitSample = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Next code point of valid UTF-8 (the texts come from our own strings);
// an invalid byte is taken as itself.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if ((lead >= 0x80 && lead < 0xC0) || at + length > text.size()) length = 1;
  char32_t cp = length == 1 ? lead : lead & (0x7Fu >> length);
  for (std::size_t i = 1; i < length; ++i) {
    cp = (cp << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3Fu);
  }
  at += length;
  return cp;
}

int MulDiv(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  return static_cast<int>((product + (product >= 0 ? denominator / 2 : -denominator / 2)) /
                          denominator);
}

}  // namespace

struct TextMeasurer::Library {
  FT_Library freetype = nullptr;
  ~Library() {
    if (freetype) FT_Done_FreeType(freetype);
  }
};

struct TextMeasurer::Face {
  FT_Face face = nullptr;
  int pixelSize = 0;
  int baseX = 0;
  int baseY = 0;
  std::unordered_map<char32_t, int> advances;  // at pixelSize
  ~Face() {
    if (face) FT_Done_Face(face);
  }
};

std::string SubstituteFamilyOf(std::string_view face) {
  const std::string upper = ToUpperUtf8(Trim(face));
  if (upper == "COURIER NEW" || upper == "COURIER" || upper == "LUCIDA CONSOLE" ||
      upper == "CONSOLAS") {
    return "Liberation Mono";
  }
  if (upper == "TIMES NEW ROMAN" || upper == "TIMES") return "Liberation Serif";
  return "Liberation Sans";
}

TextMeasurer::TextMeasurer() : library_(std::make_unique<Library>()) {
  if (FT_Init_FreeType(&library_->freetype) != 0) {
    library_->freetype = nullptr;
    problem_ = "no se ha podido iniciar FreeType";
  }
}

TextMeasurer::~TextMeasurer() = default;

TextMeasurer::Face* TextMeasurer::Load(const std::string& family, bool bold, bool italic) {
  const std::string id = family + (bold ? "|b" : "|") + (italic ? "i" : "");
  if (const auto found = faces_.find(id); found != faces_.end()) return found->second.get();
  if (!library_->freetype) return nullptr;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult matched = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &matched);
  FcPatternDestroy(pattern);
  std::unique_ptr<Face> face;
  FcChar8* file = nullptr;
  FcChar8* foundFamily = nullptr;
  int index = 0;
  if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
      FcPatternGetString(match, FC_FAMILY, 0, &foundFamily) == FcResultMatch &&
      ToUpperUtf8(reinterpret_cast<const char*>(foundFamily)) == ToUpperUtf8(family)) {
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    face = std::make_unique<Face>();
    if (FT_New_Face(library_->freetype, reinterpret_cast<const char*>(file), index, &face->face) !=
        0) {
      face.reset();
    }
  }
  if (match) FcPatternDestroy(match);
  if (!face) {
    problem_ = "no se encuentra la fuente " + family + " (paquete fonts-liberation)";
    return nullptr;
  }
  Face* stored = face.get();
  faces_[id] = std::move(face);
  return stored;
}

bool TextMeasurer::Select(const DialogFont* font) {
  // Without a font of its own a dialog uses the system font: a bold face of
  // about 10 points.
  const std::string family = SubstituteFamilyOf(font ? font->face : "");
  const bool bold = font ? font->weight >= 600 : true;
  const int points = font && font->pointSize > 0 ? font->pointSize : 10;
  face_ = Load(family, bold, font && font->italic);
  if (!face_) return false;
  pixelSize_ = MulDiv(points, kDotsPerInch, 72);
  if (face_->pixelSize != pixelSize_) {
    if (FT_Set_Pixel_Sizes(face_->face, 0, static_cast<FT_UInt>(pixelSize_)) != 0) {
      problem_ = "la fuente " + family + " no admite el tamaño " + std::to_string(points);
      face_ = nullptr;
      return false;
    }
    face_->pixelSize = pixelSize_;
    face_->advances.clear();
    const FT_Size_Metrics& metrics = face_->face->size->metrics;
    face_->baseY = static_cast<int>((metrics.ascender - metrics.descender + 63) >> 6);
    face_->baseX = (TextWidth(kBaseUnitSample) / 26 + 1) / 2;
  }
  return true;
}

int TextMeasurer::FallbackAdvance(char32_t letter) {
  FcCharSet* letters = FcCharSetCreate();
  FcCharSetAddChar(letters, letter);
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddCharSet(pattern, FC_CHARSET, letters);
  FcCharSetDestroy(letters);
  FcPatternAddString(pattern, FC_FAMILY,
                     reinterpret_cast<const FcChar8*>(face_->face->family_name));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult matched = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &matched);
  FcPatternDestroy(pattern);
  FcChar8* file = nullptr;
  int index = 0;
  Face* fallback = nullptr;
  if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    const std::string id =
        std::string(reinterpret_cast<const char*>(file)) + "#" + std::to_string(index);
    auto& slot = fallbacks_[id];
    if (!slot) {
      auto face = std::make_unique<Face>();
      if (FT_New_Face(library_->freetype, reinterpret_cast<const char*>(file), index,
                      &face->face) == 0) {
        slot = std::move(face);
      }
    }
    fallback = slot.get();
  }
  if (match) FcPatternDestroy(match);
  if (!fallback) return -1;
  if (fallback->pixelSize != pixelSize_) {
    if (FT_Set_Pixel_Sizes(fallback->face, 0, static_cast<FT_UInt>(pixelSize_)) != 0) return -1;
    fallback->pixelSize = pixelSize_;
  }
  const FT_UInt glyph = FT_Get_Char_Index(fallback->face, letter);
  if (glyph == 0 || FT_Load_Glyph(fallback->face, glyph, FT_LOAD_DEFAULT) != 0) return -1;
  return static_cast<int>((fallback->face->glyph->advance.x + 32) >> 6);
}

int TextMeasurer::BaseUnitX() const {
  return face_ ? face_->baseX : 0;
}

int TextMeasurer::BaseUnitY() const {
  return face_ ? face_->baseY : 0;
}

int TextMeasurer::HorizontalPixels(int dialogUnits) const {
  return MulDiv(dialogUnits, BaseUnitX(), 4);
}

int TextMeasurer::VerticalPixels(int dialogUnits) const {
  return MulDiv(dialogUnits, BaseUnitY(), 8);
}

int TextMeasurer::TextWidth(std::string_view utf8) {
  if (!face_) return 0;
  int width = 0;
  for (std::size_t at = 0; at < utf8.size();) {
    const char32_t cp = NextCodePoint(utf8, at);
    auto found = face_->advances.find(cp);
    if (found == face_->advances.end()) {
      int advance = -1;
      // Hinted advances in whole pixels, as the system lays text out.
      const FT_UInt glyph = FT_Get_Char_Index(face_->face, cp);
      if (glyph == 0 && cp >= 0x80) advance = FallbackAdvance(cp);
      // Without a font that has it the letter is drawn as the face's box.
      if (advance < 0 && FT_Load_Glyph(face_->face, glyph, FT_LOAD_DEFAULT) == 0) {
        advance = static_cast<int>((face_->face->glyph->advance.x + 32) >> 6);
      }
      found = face_->advances.emplace(cp, std::max(advance, 0)).first;
    }
    width += found->second;
  }
  return width;
}

}  // namespace ulk
