/* Loader probe: runs under Wine on a module and prints, one per line, what
   the Windows API reads from it:
     ST <id> <text>                    every string (LoadString)
     MN <menu> <item> <text>           every menu item with a text, numbered
                                       depth first from 0, every item counted
                                       (LoadMenu, GetMenuItemInfo)
     DL <dialog> <item> <text>         the caption (item 0) and the texts of
                                       the controls, numbered from 1 in
                                       template order (CreateDialogIndirectParam)
     VS <language><codepage> <name> <text>   every value of the version's
                                       string table (VerQueryValue)
     MT #1 <id> <text>                 every message of message table 1, the
                                       one FormatMessage reads (its ids taken
                                       from the table's blocks; the text read
                                       with FormatMessageW, inserts ignored)
     DR <dialog> <item> MATCH|DIFFERS ...   for each NAME:ITEM:X:Y:CX:CY given
                                       after the module: whether the window of
                                       that dialog (item 0: its client area)
                                       or control stands where MapDialogRect
                                       puts those dialog units
   Texts are UTF-8 with line feeds, returns and tabs written as \n, \r, \t. */
#include <windows.h>
#include <stdio.h>

static HMODULE module;
/* The rectangles asked for: NAME:ITEM:X:Y:CX:CY. */
static int rectCount;
static WCHAR** rects;

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

static int SameName(LPCWSTR name, const WCHAR* given, size_t length) {
  WCHAR own[256];
  if (IS_INTRESOURCE(name)) {
    swprintf(own, 256, L"#%u", (unsigned)(ULONG_PTR)name);
  } else {
    lstrcpynW(own, name, 256);
  }
  return wcslen(own) == length && wcsncmp(own, given, length) == 0;
}

/* Compares the real rectangles of `dialog` with the units asked for. */
static void CheckRects(HWND dialog, LPCWSTR name) {
  for (int i = 0; i < rectCount; ++i) {
    const WCHAR* colon = wcschr(rects[i], L':');
    int item = 0, x = 0, y = 0, cx = 0, cy = 0;
    if (!colon || !SameName(name, rects[i], (size_t)(colon - rects[i])) ||
        swscanf(colon + 1, L"%d:%d:%d:%d:%d", &item, &x, &y, &cx, &cy) != 5) {
      continue;
    }
    RECT want = {x, y, x + cx, y + cy};
    RECT got;
    if (item == 0) {
      want.left = want.top = 0;
      want.right = cx;
      want.bottom = cy;
      MapDialogRect(dialog, &want);
      GetClientRect(dialog, &got);
    } else {
      HWND control = GetWindow(dialog, GW_CHILD);
      for (int position = 1; control && position < item; ++position) {
        control = GetWindow(control, GW_HWNDNEXT);
      }
      if (!control) {
        printf("DR ");
        PrintName(name);
        printf(" %d MISSING\n", item);
        continue;
      }
      /* The dialog manager maps the position and the size of a control
         each on its own (not its right edge), and so does this. */
      RECT origin = {x, y, x, y};
      RECT size = {0, 0, cx, cy};
      MapDialogRect(dialog, &origin);
      MapDialogRect(dialog, &size);
      want.left = origin.left;
      want.top = origin.top;
      want.right = origin.left + size.right;
      want.bottom = origin.top + size.bottom;
      GetWindowRect(control, &got);
      MapWindowPoints(NULL, dialog, (POINT*)&got, 2);
    }
    printf("DR ");
    PrintName(name);
    if (EqualRect(&want, &got)) {
      printf(" %d MATCH\n", item);
    } else {
      printf(" %d DIFFERS %ld %ld %ld %ld / %ld %ld %ld %ld\n", item, want.left, want.top,
             want.right, want.bottom, got.left, got.top, got.right, got.bottom);
    }
  }
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
  CheckRects(dialog, name);
  DestroyWindow(dialog);
  return TRUE;
}

/* The children of a version block: from after its key and value up to the
   block's own length. */
static const BYTE* FirstChild(const BYTE* block, const BYTE** end) {
  const WORD* head = (const WORD*)block;
  size_t at = (6 + 2 * (wcslen((const WCHAR*)(block + 6)) + 1) + 3) & ~(size_t)3;
  at = (at + (head[2] == 1 ? 2u * head[1] : head[1]) + 3) & ~(size_t)3;
  *end = block + head[0];
  return block + at;
}

static const BYTE* NextChild(const BYTE* child, const BYTE* end) {
  const BYTE* next = child + ((*(const WORD*)child + 3) & ~3);
  return next + 6 <= end && *(const WORD*)next ? next : NULL;
}

static const BYTE* FindChild(const BYTE* block, const WCHAR* key) {
  const BYTE* end = NULL;
  const BYTE* child = FirstChild(block, &end);
  for (; child && child + 6 <= end; child = NextChild(child, end)) {
    if (lstrcmpiW((const WCHAR*)(child + 6), key) == 0) return child;
  }
  return NULL;
}

/* Every name of the string table of the first translation, each looked up
   with VerQueryValue: an empty value prints no text, a value of no length
   prints NO VALUE, a name the query does not find prints NOT FOUND. */
static void PrintVersion(const WCHAR* path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0) return;
  BYTE* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
  if (!GetFileVersionInfoW(path, 0, size, block)) return;
  WORD* translation = NULL;
  UINT length = 0;
  if (!VerQueryValueW(block, L"\\VarFileInfo\\Translation", (void**)&translation, &length) ||
      length < 4) {
    return;
  }
  WCHAR tableKey[16];
  swprintf(tableKey, 16, L"%04x%04x", translation[0], translation[1]);
  const BYTE* files = FindChild(block, L"StringFileInfo");
  const BYTE* table = files ? FindChild(files, tableKey) : NULL;
  if (!table) return;
  const BYTE* end = NULL;
  for (const BYTE* string = FirstChild(table, &end); string && string + 6 <= end;
       string = NextChild(string, end)) {
    const WCHAR* name = (const WCHAR*)(string + 6);
    WCHAR query[256];
    swprintf(query, 256, L"\\StringFileInfo\\%ls\\%ls", tableKey, name);
    char key[32];
    char utf8[256];
    WideCharToMultiByte(CP_UTF8, 0, tableKey, -1, key, sizeof key, NULL, NULL);
    WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof utf8, NULL, NULL);
    printf("VS %s %s ", key, utf8);
    WCHAR* value = NULL;
    UINT chars = 0;
    if (!VerQueryValueW(block, query, (void**)&value, &chars)) {
      printf("NOT FOUND\n");
    } else if (chars == 0) {
      printf("NO VALUE\n");
    } else {
      int n = 0;
      while (n < (int)chars && value[n]) ++n;
      PrintText(value, n);
    }
  }
}

static void PrintMessages(void) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), (LPCWSTR)RT_MESSAGETABLE);
  HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
  const BYTE* data = loaded ? (const BYTE*)LockResource(loaded) : NULL;
  DWORD size = found ? SizeofResource(module, found) : 0;
  if (!data || size < 4) return;
  DWORD blocks = *(const DWORD*)data;
  if (blocks > (size - 4) / 12) return;
  for (DWORD b = 0; b < blocks; ++b) {
    const DWORD* block = (const DWORD*)(data + 4 + 12 * b);
    for (DWORD id = block[0];; ++id) {
      WCHAR* text = NULL;
      DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS |
                                        FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                    module, id, 0, (LPWSTR)&text, 0, NULL);
      printf("MT #1 %lu ", (unsigned long)id);
      if (length == 0) {
        printf("FAILED %lu\n", GetLastError());
      } else {
        PrintText(text, (int)length);
        LocalFree(text);
      }
      if (id == block[1]) break;
    }
  }
}

int wmain(int argc, WCHAR** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: probe MODULE [NAME:ITEM:X:Y:CX:CY...]\n");
    return 2;
  }
  /* Dialogs of the tests use a class of their own, given by name. */
  WNDCLASSW own;
  ZeroMemory(&own, sizeof own);
  own.lpfnWndProc = DefWindowProcW;
  own.hInstance = GetModuleHandleW(NULL);
  own.lpszClassName = L"MYOWNCLASS";
  RegisterClassW(&own);
  rectCount = argc - 2;
  rects = argv + 2;
  module = LoadLibraryExW(argv[1], NULL, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) {
    printf("LOAD FAILED %lu\n", GetLastError());
    return 1;
  }
  EnumResourceNamesW(module, (LPCWSTR)RT_STRING, OnString, 0);
  EnumResourceNamesW(module, (LPCWSTR)RT_MENU, OnMenu, 0);
  EnumResourceNamesW(module, (LPCWSTR)RT_DIALOG, OnDialog, 0);
  PrintVersion(argv[1]);
  PrintMessages();
  FreeLibrary(module);
  return 0;
}
