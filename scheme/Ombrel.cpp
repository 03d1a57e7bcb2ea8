// Program entry of the installer.
#include <windows.h>

#include <memory>

#include "DllSearch.h"
#include "ParamStr.h"
#include "Window.h"
#include "omMainForm_6E2E74C.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Before anything can load a library: the program runs from a folder full
  // of foreign files, so libraries come from the system folder only. (Only
  // the test build OmbrelOpenSearch leaves this out, to show what it stops.)
#ifndef OMBREL_OPEN_DLL_SEARCH
  RestrictDllSearch();
#endif
  if (ParamStr(GetCommandLineA(), 1) == "/ih") {
    // "Сделано в Ombrel."
    MessageBoxA(nullptr, "\xD1\xE4\xE5\xEB\xE0\xED\xEE \xE2 Ombrel.", "Ombrel Info", MB_OK);
    return 0;
  }
  auto scheme = std::make_unique<TClassMainForm_6E2E74C>();
  scheme->MainForm->Start();
  RunMessageLoop(ApplicationWindow);
  scheme.reset();
  return 0;
}
