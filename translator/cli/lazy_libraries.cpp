// ulk-cli maps the libraries of its exchange and dictionary commands
// (libxml2, fontconfig, FreeType, SQLite) only when one of those commands
// first calls into them. Every other run, a generation above all, starts
// without them; loading them cost about a third of the program's start-up.
// ICU is mapped the same way: a generation first needs it for the language
// list, which is made on another thread while the project loads, so that
// thread pays for mapping it (about half of what was left of the start-up).
//
// Each function below stands for the library's own of the same name and
// passes the call on to it. Their headers declare them, so a signature
// that differs does not compile. The program is linked without these
// libraries (translator/cli/CMakeLists.txt): a function the code starts to
// use must be added here, or the link fails naming it.
#include <dlfcn.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <libxml/tree.h>
#include <libxml/xmlreader.h>
#include <sqlite3.h>
#include <unicode/uchar.h>
#include <unicode/uldnames.h>
#include <unicode/uloc.h>
#include <unicode/uvernum.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <type_traits>

namespace {

struct Library {
  const char* file;
  void* handle = nullptr;
};

Library xml{"libxml2.so.2"};
Library fontconfig{"libfontconfig.so.1"};
Library freetype{"libfreetype.so.6"};
Library sqlite{"libsqlite3.so.0"};
#define ULK_TEXT(x) ULK_TEXT_OF(x)
#define ULK_TEXT_OF(x) #x
Library unicode{"libicuuc.so." ULK_TEXT(U_ICU_VERSION_MAJOR_NUM)};

// A library the package depends on is missing or broken: nothing the
// command could do without it.
[[noreturn]] void Unavailable(const char* what) {
  std::fprintf(stderr, "ulk-cli: no se puede cargar una biblioteca del sistema: %s\n", what);
  std::exit(1);
}

void* Symbol(Library& library, const char* name) {
  // ICU is first called from two threads at once.
  static std::mutex loading;
  const std::lock_guard lock(loading);
  if (!library.handle) {
    library.handle = ::dlopen(library.file, RTLD_NOW | RTLD_LOCAL);
    if (!library.handle) Unavailable(::dlerror());
  }
  void* symbol = ::dlsym(library.handle, name);
  if (!symbol) Unavailable(::dlerror());
  return symbol;
}

// The library's own `Function`, looked up once.
template <auto Function>
decltype(Function) Forward(Library& library, const char* name) {
  static const auto real = reinterpret_cast<decltype(Function)>(Symbol(library, name));
  return real;
}

// The library's own function `name`: the name is written once, so that the
// symbol looked up is always the one whose type the header gives. A header
// that renames its functions (ICU's: u_toupper is u_toupper_72) has the
// renamed one looked up.
#define REAL(library, name) Forward<&::name>(library, ULK_TEXT(name))

void FreeThroughLibrary(void* memory) {
  static const xmlFreeFunc real = *static_cast<xmlFreeFunc*>(Symbol(xml, "xmlFree"));
  real(memory);
}

}  // namespace

extern "C" {

// libxml2 frees what it hands out through this pointer, a variable of its own.
xmlFreeFunc xmlFree = FreeThroughLibrary;

// libxml2: the exchange formats.
void xmlFreeTextReader(xmlTextReaderPtr a0) {
  return REAL(xml, xmlFreeTextReader)(a0);
}

long xmlGetLineNo(const xmlNode* a0) {
  return REAL(xml, xmlGetLineNo)(a0);
}

xmlChar* xmlGetNoNsProp(const xmlNode* a0, const xmlChar* a1) {
  return REAL(xml, xmlGetNoNsProp)(a0, a1);
}

xmlChar* xmlGetNsProp(const xmlNode* a0, const xmlChar* a1, const xmlChar* a2) {
  return REAL(xml, xmlGetNsProp)(a0, a1, a2);
}

xmlTextReaderPtr xmlReaderForMemory(const char* a0, int a1, const char* a2, const char* a3,
                                    int a4) {
  return REAL(xml, xmlReaderForMemory)(a0, a1, a2, a3, a4);
}

xmlNodePtr xmlTextReaderCurrentNode(xmlTextReaderPtr a0) {
  return REAL(xml, xmlTextReaderCurrentNode)(a0);
}

int xmlTextReaderDepth(xmlTextReaderPtr a0) {
  return REAL(xml, xmlTextReaderDepth)(a0);
}

xmlNodePtr xmlTextReaderExpand(xmlTextReaderPtr a0) {
  return REAL(xml, xmlTextReaderExpand)(a0);
}

int xmlTextReaderGetParserLineNumber(xmlTextReaderPtr a0) {
  return REAL(xml, xmlTextReaderGetParserLineNumber)(a0);
}

int xmlTextReaderNext(xmlTextReaderPtr a0) {
  return REAL(xml, xmlTextReaderNext)(a0);
}

int xmlTextReaderNodeType(xmlTextReaderPtr a0) {
  return REAL(xml, xmlTextReaderNodeType)(a0);
}

int xmlTextReaderRead(xmlTextReaderPtr a0) {
  return REAL(xml, xmlTextReaderRead)(a0);
}

void xmlTextReaderSetStructuredErrorHandler(xmlTextReaderPtr a0, xmlStructuredErrorFunc a1,
                                            void* a2) {
  return REAL(xml, xmlTextReaderSetStructuredErrorHandler)(a0, a1, a2);
}

// fontconfig and FreeType: text widths in the checks.
FcBool FcConfigSubstitute(FcConfig* a0, FcPattern* a1, FcMatchKind a2) {
  return REAL(fontconfig, FcConfigSubstitute)(a0, a1, a2);
}

void FcDefaultSubstitute(FcPattern* a0) {
  return REAL(fontconfig, FcDefaultSubstitute)(a0);
}

FcPattern* FcFontMatch(FcConfig* a0, FcPattern* a1, FcResult* a2) {
  return REAL(fontconfig, FcFontMatch)(a0, a1, a2);
}

FcBool FcPatternAddInteger(FcPattern* a0, const char* a1, int a2) {
  return REAL(fontconfig, FcPatternAddInteger)(a0, a1, a2);
}

FcBool FcPatternAddString(FcPattern* a0, const char* a1, const FcChar8* a2) {
  return REAL(fontconfig, FcPatternAddString)(a0, a1, a2);
}

FcPattern* FcPatternCreate(void) {
  return REAL(fontconfig, FcPatternCreate)();
}

void FcPatternDestroy(FcPattern* a0) {
  return REAL(fontconfig, FcPatternDestroy)(a0);
}

FcResult FcPatternGetInteger(const FcPattern* a0, const char* a1, int a2, int* a3) {
  return REAL(fontconfig, FcPatternGetInteger)(a0, a1, a2, a3);
}

FcResult FcPatternGetString(const FcPattern* a0, const char* a1, int a2, FcChar8** a3) {
  return REAL(fontconfig, FcPatternGetString)(a0, a1, a2, a3);
}

FT_Error FT_Done_Face(FT_Face a0) {
  return REAL(freetype, FT_Done_Face)(a0);
}

FT_Error FT_Done_FreeType(FT_Library a0) {
  return REAL(freetype, FT_Done_FreeType)(a0);
}

FT_UInt FT_Get_Char_Index(FT_Face a0, FT_ULong a1) {
  return REAL(freetype, FT_Get_Char_Index)(a0, a1);
}

FT_Error FT_Init_FreeType(FT_Library* a0) {
  return REAL(freetype, FT_Init_FreeType)(a0);
}

FT_Error FT_Load_Glyph(FT_Face a0, FT_UInt a1, FT_Int32 a2) {
  return REAL(freetype, FT_Load_Glyph)(a0, a1, a2);
}

FT_Error FT_New_Face(FT_Library a0, const char* a1, FT_Long a2, FT_Face* a3) {
  return REAL(freetype, FT_New_Face)(a0, a1, a2, a3);
}

FT_Error FT_Set_Pixel_Sizes(FT_Face a0, FT_UInt a1, FT_UInt a2) {
  return REAL(freetype, FT_Set_Pixel_Sizes)(a0, a1, a2);
}

// SQLite: dictionaries (TMX import and export).
int sqlite3_bind_int64(sqlite3_stmt* a0, int a1, sqlite3_int64 a2) {
  return REAL(sqlite, sqlite3_bind_int64)(a0, a1, a2);
}

int sqlite3_bind_text(sqlite3_stmt* a0, int a1, const char* a2, int a3,
                      std::type_identity_t<void (*)(void*)> a4) {
  return REAL(sqlite, sqlite3_bind_text)(a0, a1, a2, a3, a4);
}

int sqlite3_busy_timeout(sqlite3* a0, int a1) {
  return REAL(sqlite, sqlite3_busy_timeout)(a0, a1);
}

int sqlite3_clear_bindings(sqlite3_stmt* a0) {
  return REAL(sqlite, sqlite3_clear_bindings)(a0);
}

int sqlite3_close_v2(sqlite3* a0) {
  return REAL(sqlite, sqlite3_close_v2)(a0);
}

int sqlite3_column_bytes(sqlite3_stmt* a0, int a1) {
  return REAL(sqlite, sqlite3_column_bytes)(a0, a1);
}

int sqlite3_column_count(sqlite3_stmt* a0) {
  return REAL(sqlite, sqlite3_column_count)(a0);
}

sqlite3_int64 sqlite3_column_int64(sqlite3_stmt* a0, int a1) {
  return REAL(sqlite, sqlite3_column_int64)(a0, a1);
}

const char* sqlite3_column_name(sqlite3_stmt* a0, int a1) {
  return REAL(sqlite, sqlite3_column_name)(a0, a1);
}

const unsigned char* sqlite3_column_text(sqlite3_stmt* a0, int a1) {
  return REAL(sqlite, sqlite3_column_text)(a0, a1);
}

int sqlite3_column_type(sqlite3_stmt* a0, int a1) {
  return REAL(sqlite, sqlite3_column_type)(a0, a1);
}

int sqlite3_db_readonly(sqlite3* a0, const char* a1) {
  return REAL(sqlite, sqlite3_db_readonly)(a0, a1);
}

const char* sqlite3_errmsg(sqlite3* a0) {
  return REAL(sqlite, sqlite3_errmsg)(a0);
}

int sqlite3_exec(sqlite3* a0, const char* a1,
                 std::type_identity_t<int (*)(void*, int, char**, char**)> a2, void* a3,
                 char** a4) {
  return REAL(sqlite, sqlite3_exec)(a0, a1, a2, a3, a4);
}

int sqlite3_file_control(sqlite3* a0, const char* a1, int a2, void* a3) {
  return REAL(sqlite, sqlite3_file_control)(a0, a1, a2, a3);
}

int sqlite3_finalize(sqlite3_stmt* a0) {
  return REAL(sqlite, sqlite3_finalize)(a0);
}

sqlite3_int64 sqlite3_last_insert_rowid(sqlite3* a0) {
  return REAL(sqlite, sqlite3_last_insert_rowid)(a0);
}

int sqlite3_open_v2(const char* a0, sqlite3** a1, int a2, const char* a3) {
  return REAL(sqlite, sqlite3_open_v2)(a0, a1, a2, a3);
}

int sqlite3_prepare_v2(sqlite3* a0, const char* a1, int a2, sqlite3_stmt** a3, const char** a4) {
  return REAL(sqlite, sqlite3_prepare_v2)(a0, a1, a2, a3, a4);
}

int sqlite3_prepare_v3(sqlite3* a0, const char* a1, int a2, unsigned int a3, sqlite3_stmt** a4,
                       const char** a5) {
  return REAL(sqlite, sqlite3_prepare_v3)(a0, a1, a2, a3, a4, a5);
}

int sqlite3_reset(sqlite3_stmt* a0) {
  return REAL(sqlite, sqlite3_reset)(a0);
}

int sqlite3_step(sqlite3_stmt* a0) {
  return REAL(sqlite, sqlite3_step)(a0);
}

// ICU: the language list, upper case.
UBool u_isalpha(UChar32 a0) {
  return REAL(unicode, u_isalpha)(a0);
}

UChar32 u_toupper(UChar32 a0) {
  return REAL(unicode, u_toupper)(a0);
}

int32_t uldn_localeDisplayName(const ULocaleDisplayNames* a0, const char* a1, UChar* a2, int32_t a3,
                               UErrorCode* a4) {
  return REAL(unicode, uldn_localeDisplayName)(a0, a1, a2, a3, a4);
}

ULocaleDisplayNames* uldn_open(const char* a0, UDialectHandling a1, UErrorCode* a2) {
  return REAL(unicode, uldn_open)(a0, a1, a2);
}

int32_t uloc_countAvailable() {
  return REAL(unicode, uloc_countAvailable)();
}

const char* uloc_getAvailable(int32_t a0) {
  return REAL(unicode, uloc_getAvailable)(a0);
}

int32_t uloc_getDisplayName(const char* a0, const char* a1, UChar* a2, int32_t a3, UErrorCode* a4) {
  return REAL(unicode, uloc_getDisplayName)(a0, a1, a2, a3, a4);
}

uint32_t uloc_getLCID(const char* a0) {
  return REAL(unicode, uloc_getLCID)(a0);
}

int32_t uloc_getLocaleForLCID(uint32_t a0, char* a1, int32_t a2, UErrorCode* a3) {
  return REAL(unicode, uloc_getLocaleForLCID)(a0, a1, a2, a3);
}

int32_t uloc_toLanguageTag(const char* a0, char* a1, int32_t a2, UBool a3, UErrorCode* a4) {
  return REAL(unicode, uloc_toLanguageTag)(a0, a1, a2, a3, a4);
}

}  // extern "C"
