/* Dialog reference drawing: runs under Wine, creates one dialog of a module
   from its template (CreateDialogIndirectParam), and writes what Windows'
   own dialog manager made of it, for comparison with the preview:
     <out>.bmp    the dialog's client area, as drawn
     <out>.txt    BASE <x> <y>                     the dialog base units
                  CLIENT <width> <height>          the client area
                  CTRL <n> <x> <y> <width> <height> <visible> <class>
                                                   every control, numbered
                                                   from 1 in template order,
                                                   in client coordinates
   Usage: dialog_shot MODULE NAME OUT, NAME being "#<number>" or a name. */
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>

static INT_PTR CALLBACK DialogProc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  (void)w; (void)wp; (void)lp;
  return message == WM_INITDIALOG;
}

static void Pump(DWORD milliseconds) {
  DWORD end = GetTickCount() + milliseconds;
  MSG msg;
  while (GetTickCount() < end) {
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

static int WriteBitmap(HWND dialog, const WCHAR* path, int width, int height) {
  HDC screen = GetDC(dialog);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info;
  ZeroMemory(&info, sizeof info);
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height; /* bottom-up, as BMP files store it */
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = NULL;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, NULL, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  DWORD stride = ((DWORD)width * 3 + 3) & ~3u;
  DWORD imageSize = stride * (DWORD)height;
  BITMAPFILEHEADER file;
  ZeroMemory(&file, sizeof file);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + imageSize;
  info.bmiHeader.biSizeImage = imageSize;
  HANDLE out = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  int ok = out != INVALID_HANDLE_VALUE;
  if (ok) {
    DWORD written = 0;
    ok = WriteFile(out, &file, sizeof file, &written, NULL) &&
         WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, NULL) &&
         WriteFile(out, bits, imageSize, &written, NULL);
    CloseHandle(out);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(dialog, screen);
  return ok;
}

int wmain(int argc, WCHAR** argv) {
  if (argc < 4) {
    fprintf(stderr, "usage: dialog_shot MODULE NAME OUT\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                                        ICC_LINK_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  LoadLibraryW(L"riched20.dll");
  LoadLibraryW(L"msftedit.dll");
  /* Dialogs of the tests use a class of their own, given by name. */
  WNDCLASSW own;
  ZeroMemory(&own, sizeof own);
  own.lpfnWndProc = DefWindowProcW;
  own.hInstance = GetModuleHandleW(NULL);
  own.lpszClassName = L"MYOWNCLASS";
  RegisterClassW(&own);

  HMODULE module = LoadLibraryExW(argv[1], NULL, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) {
    printf("LOAD FAILED %lu\n", GetLastError());
    return 1;
  }
  LPCWSTR name = argv[2][0] == L'#' ? MAKEINTRESOURCEW(_wtoi(argv[2] + 1)) : argv[2];
  HRSRC found = FindResourceW(module, name, (LPCWSTR)RT_DIALOG);
  HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
  const void* data = loaded ? LockResource(loaded) : NULL;
  HWND dialog = data ? CreateDialogIndirectParamW(GetModuleHandleW(NULL), (LPCDLGTEMPLATEW)data,
                                                  NULL, DialogProc, 0)
                     : NULL;
  if (!dialog) {
    printf("DIALOG FAILED %lu\n", GetLastError());
    return 1;
  }
  SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  UpdateWindow(dialog);
  Pump(700);

  WCHAR text[MAX_PATH + 8];
  swprintf(text, MAX_PATH + 8, L"%ls.txt", argv[3]);
  FILE* report = _wfopen(text, L"w");
  if (!report) return 1;
  RECT units = {4, 8, 0, 0};
  MapDialogRect(dialog, &units);
  RECT client;
  GetClientRect(dialog, &client);
  fprintf(report, "BASE %ld %ld\n", units.left, units.top);
  fprintf(report, "CLIENT %ld %ld\n", client.right, client.bottom);
  int position = 1;
  for (HWND control = GetWindow(dialog, GW_CHILD); control;
       control = GetWindow(control, GW_HWNDNEXT), ++position) {
    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(NULL, dialog, (POINT*)&box, 2);
    char className[300];
    GetClassNameA(control, className, sizeof className);
    fprintf(report, "CTRL %d %ld %ld %ld %ld %d %s\n", position, box.left, box.top,
            box.right - box.left, box.bottom - box.top, IsWindowVisible(control) ? 1 : 0,
            className);
  }
  fclose(report);
  swprintf(text, MAX_PATH + 8, L"%ls.bmp", argv[3]);
  int ok = WriteBitmap(dialog, text, client.right, client.bottom);
  DestroyWindow(dialog);
  FreeLibrary(module);
  return ok ? 0 : 1;
}
