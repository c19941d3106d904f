// Stand-ins for the dictionary component, to check what the binding
// refuses. FAKE_OMIT leaves DicGetLanguageId out; FAKE_RAW_TEXTS hands out
// translations no project may hold before a good one.
#ifdef FAKE_RAW_TEXTS
namespace {
const char* const kTexts[] = {"raw\nline", "\xff\xfe", "c1 \xc2\x85", "bueno", "tab\tx",
                              "otro",      ""};
int next = 0;
}  // namespace
#endif
extern "C" {
#define EXPORT __attribute__((visibility("default")))
EXPORT int DicOpen(const char*) {
  return 1;
}
EXPORT int DicClose() {
  return 1;
}
EXPORT int DicIsOpened() {
  return 1;
}
EXPORT int DicSet(const char*, const char*, const char*, const char*, const char*) {
  return 1;
}
EXPORT int DicSetEx(const char*, const char*, const char*, const char*, const char*, int) {
  return 1;
}
EXPORT int DicFind(const char*, const char*, const char*) {
  return 1;
}
#ifdef FAKE_RAW_TEXTS
EXPORT const char* DicGetFirst(const char*) {
  next = 1;
  return kTexts[0];
}
EXPORT const char* DicGetNext() {
  return next < 6 ? kTexts[next++] : kTexts[6];
}
#else
EXPORT const char* DicGetFirst(const char*) {
  return "fake";
}
EXPORT const char* DicGetNext() {
  return "";
}
#endif
EXPORT const char* DicGetFirstLanguage() {
  return "";
}
EXPORT const char* DicGetNextLanguage() {
  return "";
}
EXPORT const char* DicGetFirstDBLanguage() {
  return "";
}
EXPORT const char* DicGetNextDBLanguage() {
  return "";
}
#ifndef FAKE_OMIT
EXPORT int DicGetLanguageId(const char*) {
  return 0;
}
#endif
}
