// Stand-ins for the dictionary component, to check what the binding
// refuses. FAKE_OMIT leaves DicGetLanguageId out.
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
EXPORT const char* DicGetFirst(const char*) {
  return "fake";
}
EXPORT const char* DicGetNext() {
  return "";
}
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
