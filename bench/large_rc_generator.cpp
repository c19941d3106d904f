// Writes the .rc source of a large module for the benchmarks:
//   large_rc_generator STRINGS DIALOGS MENUS > large.rc
// Texts mix Latin, accented and non-Latin letters, as real modules do.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  const int strings = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int dialogs = argc > 2 ? std::atoi(argv[2]) : 1000;
  const int menus = argc > 3 ? std::atoi(argv[3]) : 200;
  std::printf("#include <windows.h>\nLANGUAGE LANG_SPANISH, SUBLANG_SPANISH_MODERN\n");
  std::printf("STRINGTABLE\nBEGIN\n");
  for (int i = 0; i < strings; ++i) {
    std::printf("  %d \"Cadena número %d: «Ελληνικά» con salto\\n y tabulador\\t fin\"\n", i + 1,
                i);
  }
  std::printf("END\n");
  for (int d = 0; d < dialogs; ++d) {
    std::printf("%d DIALOGEX 0, 0, 240, 140\nSTYLE DS_SHELLFONT | WS_POPUP | WS_CAPTION\n",
                1000 + d);
    std::printf("CAPTION \"Diálogo de prueba %d\"\nFONT 8, \"MS Shell Dlg\", 400, 0, 1\nBEGIN\n",
                d);
    for (int c = 0; c < 8; ++c) {
      std::printf("  LTEXT \"Etiqueta %d.%d:\", %d, 10, %d, 60, 8\n", d, c, 2000 + c, 10 + 14 * c);
      std::printf("  EDITTEXT %d, 80, %d, 100, 12\n", 3000 + c, 10 + 14 * c);
    }
    std::printf("  DEFPUSHBUTTON \"Aceptar\", IDOK, 130, 120, 50, 14\n");
    std::printf("  PUSHBUTTON \"Cancelar\", IDCANCEL, 185, 120, 50, 14\nEND\n");
  }
  for (int m = 0; m < menus; ++m) {
    std::printf("%d MENU\nBEGIN\n", 5000 + m);
    for (int p = 0; p < 5; ++p) {
      std::printf("  POPUP \"&Menú %d.%d\"\n  BEGIN\n", m, p);
      for (int i = 0; i < 10; ++i) {
        if (i == 5) std::printf("    MENUITEM SEPARATOR\n");
        std::printf("    MENUITEM \"Orden &%d\\tCtrl+%d\", %d\n", i, i, 100 * p + i + 100);
      }
      std::printf("  END\n");
    }
    std::printf("END\n");
  }
  std::printf("1 VERSIONINFO\nFILEVERSION 1,0,0,0\nBEGIN\n  BLOCK \"StringFileInfo\"\n  BEGIN\n");
  std::printf("    BLOCK \"0c0a04b0\"\n    BEGIN\n      VALUE \"CompanyName\", \"Ejemplo\"\n");
  std::printf("      VALUE \"FileVersion\", \"1.0.0.0\"\n    END\n  END\n");
  std::printf(
      "  BLOCK \"VarFileInfo\"\n  BEGIN\n    VALUE \"Translation\", 0x0c0a, 1200\n  END\nEND\n");
  return 0;
}
