// Program entry of the installer.
#include <windows.h>

#include <memory>

#include "InstallLog.h"
#include "ParamStr.h"
#include "Process.h"
#include "Resources.h"
#include "Window.h"
#include "omMainForm_6E2E74C.h"

namespace {

// How the process ends, for the scripts and deployment tools that run the
// installer (the README lists them).
enum TExitCode {
  ecDone = 0,         // installed, cancelled, closed, or the info box shown
  ecWritesFailed = 1, // installed, but some writes failed (the warning box named them)
  ecDamaged = 2,      // the installer's own data is damaged: nothing was written
};

// "Установка программы", the caption of every box of the installer
const char* const BoxCaption = "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB";
// "Программа установки повреждена или загружена не полностью.\r\n\r\n
//  Загрузите её заново и повторите установку."
const char* const DamagedText =
    "\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE0 \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8 \xEF\xEE\xE2\xF0\xE5\xE6\xE4\xE5\xED\xE0 "
    "\xE8\xEB\xE8 \xE7\xE0\xE3\xF0\xF3\xE6\xE5\xED\xE0 \xED\xE5 \xEF\xEE\xEB\xED\xEE\xF1\xF2\xFC\xFE.\r\n\r\n"
    "\xC7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xE5 \xE5\xB8 \xE7\xE0\xED\xEE\xE2\xEE \xE8 \xEF\xEE\xE2\xF2\xEE\xF0\xE8\xF2\xE5 "
    "\xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xF3.";

#ifdef OMBREL_OPEN_DLL_SEARCH
constexpr bool SystemLibrariesOnly = false; // the test build that shows what the limited search stops
#else
constexpr bool SystemLibrariesOnly = true;
#endif

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Before anything can load a library or touch a drive: the program runs
  // from a folder full of foreign files, on any drive.
  PrepareProcess(SystemLibrariesOnly);
  if (ParamStr(GetCommandLineA(), 1) == "/ih") {
    // "Сделано в Ombrel."
    MessageBoxA(nullptr, "\xD1\xE4\xE5\xEB\xE0\xED\xEE \xE2 Ombrel.", "Ombrel Info", MB_OK);
    return ecDone;
  }
  // A copy damaged on the way installs nothing.
  if (!PayloadIntact()) {
    MessageBoxA(nullptr, DamagedText, BoxCaption, MB_OK | MB_ICONHAND);
    return ecDamaged;
  }
  const TOleApartment ole;
  {
    auto scheme = std::make_unique<TClassMainForm_6E2E74C>();
    scheme->MainForm->Start();
    RunMessageLoop(ApplicationWindow);
  }
  return InstallLog().Count() == 0 ? ecDone : ecWritesFailed;
}
