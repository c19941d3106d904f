/* Loader probe: runs under Wine on a module and prints, one per line, what
   the Windows API reads from it:
     ST <id> <text>                    every string (LoadString)
     MN <menu> <item> <text>           every menu item with a text, numbered
                                       depth first from 0, every item counted
                                       (LoadMenu, GetMenuItemInfo)
     DL <dialog> <item> <text>         the caption (item 0) and the texts of
                                       the controls, numbered from 1 in
                                       template order (CreateDialogIndirectParam)
     VS <language><codepage> <name> <text>   version values (VerQueryValue)
   Texts are UTF-8 with line feeds, returns and tabs written as \n, \r, \t. */
#include <windows.h>
#include <stdio.h>

static HMODULE module;

static void PrintText(const WCHAR* text, int length) {
  char utf8[8192];
  WCHAR escaped[4096];
  int n = 0;
  for (int i = 0; i < length && n < 4090; ++i) {
    WCHAR c = text[i];
    if (c == L'\n' || c == L'\r' || c == L'\t') {
      escaped[n++] = L'\\';
      escaped[n++] = c == L'\n' ? L'n' : c == L'\r' ? L'r' : L't';
    } else {
      escaped[n++] = c;
    }
  }
  int bytes = WideCharToMultiByte(CP_UTF8, 0, escaped, n, utf8, sizeof utf8, NULL, NULL);
  fwrite(utf8, 1, (size_t)bytes, stdout);
  fputc('\n', stdout);
}

static void PrintName(LPCWSTR name) {
  if (IS_INTRESOURCE(name)) {
    printf("#%u", (unsigned)(ULONG_PTR)name);
  } else {
    char utf8[512];
    WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof utf8, NULL, NULL);
    printf("%s", utf8);
  }
}

static BOOL CALLBACK OnString(HMODULE m, LPCWSTR type, LPWSTR name, LONG_PTR param) {
  (void)m; (void)type; (void)param;
  if (!IS_INTRESOURCE(name)) return TRUE;
  unsigned block = (unsigned)(ULONG_PTR)name;
  for (unsigned id = (block - 1) * 16; id < block * 16; ++id) {
    const WCHAR* text = NULL;
    int length = LoadStringW(module, id, (LPWSTR)&text, 0);
    if (length > 0) {
      printf("ST %u ", id);
      PrintText(text, length);
    }
  }
  return TRUE;
}

static void WalkMenu(LPCWSTR name, HMENU menu, int* number) {
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    WCHAR text[1024];
    MENUITEMINFOW info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_ID | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = 1023;
    int here = (*number)++;
    if (!GetMenuItemInfoW(menu, (UINT)i, TRUE, &info)) continue;
    if (!(info.fType & MFT_SEPARATOR) && info.cch > 0) {
      printf("MN ");
      PrintName(name);
      printf(" %d ", here);
      PrintText(text, (int)info.cch);
    }
    if (info.hSubMenu) WalkMenu(name, info.hSubMenu, number);
  }
}

static BOOL CALLBACK OnMenu(HMODULE m, LPCWSTR type, LPWSTR name, LONG_PTR param) {
  (void)m; (void)type; (void)param;
  HMENU menu = LoadMenuW(module, name);
  if (!menu) {
    printf("MN ");
    PrintName(name);
    printf(" FAILED\n");
    return TRUE;
  }
  int number = 0;
  WalkMenu(name, menu, &number);
  DestroyMenu(menu);
  return TRUE;
}

static INT_PTR CALLBACK DialogProc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  (void)w; (void)message; (void)wp; (void)lp;
  return FALSE;
}

static BOOL CALLBACK OnDialog(HMODULE m, LPCWSTR type, LPWSTR name, LONG_PTR param) {
  (void)m; (void)type; (void)param;
  HRSRC found = FindResourceW(module, name, (LPCWSTR)RT_DIALOG);
  HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
  const void* data = loaded ? LockResource(loaded) : NULL;
  HWND dialog = data ? CreateDialogIndirectParamW(GetModuleHandleW(NULL), (LPCDLGTEMPLATEW)data,
                                                  NULL, DialogProc, 0)
                     : NULL;
  if (!dialog) {
    printf("DL ");
    PrintName(name);
    printf(" FAILED\n");
    return TRUE;
  }
  WCHAR text[1024];
  int length = GetWindowTextW(dialog, text, 1024);
  if (length > 0) {
    printf("DL ");
    PrintName(name);
    printf(" 0 ");
    PrintText(text, length);
  }
  /* Direct children, in creation order, which is the template's. */
  int position = 1;
  for (HWND control = GetWindow(dialog, GW_CHILD); control;
       control = GetWindow(control, GW_HWNDNEXT), ++position) {
    length = GetWindowTextW(control, text, 1024);
    /* A title given as an ordinal (an icon) reads as U+FFFF and a number. */
    if (length > 0 && text[0] != 0xFFFF) {
      printf("DL ");
      PrintName(name);
      printf(" %d ", position);
      PrintText(text, length);
    }
  }
  DestroyWindow(dialog);
  return TRUE;
}

static void PrintVersion(const WCHAR* path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0) return;
  void* block = HeapAlloc(GetProcessHeap(), 0, size);
  if (!GetFileVersionInfoW(path, 0, size, block)) return;
  WORD* translation = NULL;
  UINT length = 0;
  if (!VerQueryValueW(block, L"\\VarFileInfo\\Translation", (void**)&translation, &length) ||
      length < 4) {
    return;
  }
  static const WCHAR* const names[] = {L"CompanyName", L"FileDescription", L"FileVersion",
                                       L"InternalName", L"LegalCopyright", L"OriginalFilename",
                                       L"ProductName", L"ProductVersion", L"Comments"};
  for (unsigned i = 0; i < sizeof names / sizeof names[0]; ++i) {
    WCHAR query[128];
    swprintf(query, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation[0], translation[1], names[i]);
    WCHAR* value = NULL;
    UINT chars = 0;
    if (VerQueryValueW(block, query, (void**)&value, &chars) && chars > 0) {
      char name[64];
      WideCharToMultiByte(CP_UTF8, 0, names[i], -1, name, sizeof name, NULL, NULL);
      int n = 0;
      while (n < (int)chars && value[n]) ++n;
      if (n == 0) continue;
      printf("VS %04x%04x %s ", translation[0], translation[1], name);
      PrintText(value, n);
    }
  }
}

int wmain(int argc, WCHAR** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: probe MODULE\n");
    return 2;
  }
  /* Dialogs of the tests use a class of their own, given by name. */
  WNDCLASSW own;
  ZeroMemory(&own, sizeof own);
  own.lpfnWndProc = DefWindowProcW;
  own.hInstance = GetModuleHandleW(NULL);
  own.lpszClassName = L"MYOWNCLASS";
  RegisterClassW(&own);
  module = LoadLibraryExW(argv[1], NULL, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) {
    printf("LOAD FAILED %lu\n", GetLastError());
    return 1;
  }
  EnumResourceNamesW(module, (LPCWSTR)RT_STRING, OnString, 0);
  EnumResourceNamesW(module, (LPCWSTR)RT_MENU, OnMenu, 0);
  EnumResourceNamesW(module, (LPCWSTR)RT_DIALOG, OnDialog, 0);
  PrintVersion(argv[1]);
  FreeLibrary(module);
  return 0;
}
