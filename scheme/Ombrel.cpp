// Program entry of the installer.
#include <windows.h>

#include <memory>

#include "InstallLog.h"
#include "Process.h"
#include "Paths.h"
#include "Resources.h"
#include "SetupLock.h"
#include "Text.h"
#include "Unattended.h"
#include "Uninstaller.h"
#include "Window.h"
#include "omMainForm_6E2E74C.h"

namespace {

// How the process ends, for the scripts and deployment tools that run the
// installer (the README lists them).
enum TExitCode : uint32_t {
  ecDone = 0,         // installed, cancelled, closed, or the info box shown; uninstalled, or not
  ecWritesFailed = 1, // installed, but some writes failed (the warning box named them); or not all removed
  ecDamaged = 2,      // the installer's own data is damaged: nothing was written
  ecWindowSystem = 3, // the window system failed (a box said so, where it could)
  ecPutBack = ERROR_INSTALL_FAILURE, // 1603: /S failed part-way and put everything back as it was
  ecBusy = ERROR_INSTALL_ALREADY_RUNNING, // 1618: another installation or removal runs; nothing was done
  ecBadCommandLine = ERROR_INVALID_COMMAND_LINE, // 1639: /D= names no whole folder; nothing was written
};

// The code for an end now, however it comes: Done, Cancel, the close box or
// Windows ending the session.
uint32_t CurrentExitCode() {
  return InstallLog().RolledBack() ? ecPutBack : InstallLog().Count() == 0 ? ecDone : ecWritesFailed;
}

const wchar_t* const BoxCaption = L"Установка программы"; // as every box of the installer
// The box of a window system that fails: the system's error code and its words follow the text.
const char* const WindowFailedCaption = "Установка программы";
const char* const WindowFailedText = "Не удалось создать окно программы установки, ошибка ";
const wchar_t* const DamagedText =
    L"Программа установки повреждена или загружена не полностью.\r\n\r\n"
    L"Загрузите её заново и повторите установку.";

// What the command line asks, once read.
const TCommandLine* Asked = nullptr;

const wchar_t* const BusyText = L"Установка или удаление программы Сорванта v2.1 уже выполняется.\r\n\r\n"
                                L"Дождитесь окончания и запустите программу снова.";

// Said when another run holds the lock, in the box of the installer or the
// uninstaller; by /S only in its log.
uint32_t SayBusy(const wchar_t* caption) {
  if (Asked->Silent) WriteUnattendedLog(*Asked, "Не начато: уже идёт установка или удаление программы.");
  else MessageBoxW(nullptr, BusyText, caption, MB_OK | MB_ICONEXCLAMATION);
  return ecBusy;
}

// Said at the start, before anything is made; by /S only in its log.
void SayDamaged(UINT modality = 0) {
  if (Asked->Silent) WriteUnattendedLog(*Asked, "Программа установки повреждена.");
  else MessageBoxW(nullptr, DamagedText, BoxCaption, MB_OK | MB_ICONHAND | modality);
}

// Said when an item cannot be unpacked later: a file being written is
// dropped, its target left as it was; the wizard's windows wait for the box
// (/S has none), and the program ends with it.
void PayloadFault() {
  AbandonOpenWrites();
  // All or nothing: what was replaced so far goes back.
  if (InstallLog().KeepsOlder()) InstallLog().RollBack();
  SayDamaged(MB_TASKMODAL);
  ExitProcess(ecDamaged);
}

#ifdef OMBREL_OPEN_DLL_SEARCH
constexpr bool SystemLibrariesOnly = false; // the test build that shows what the limited search stops
#else
constexpr bool SystemLibrariesOnly = true;
#endif

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  // Before anything can load a library or touch a drive: the program runs
  // from a folder full of foreign files, on any drive.
  PrepareProcess(SystemLibrariesOnly);
  // What the window layer ends the process with where it must: Windows
  // ending the session, or the window system failing.
  // In the time the wizard waits for the person, the payload its streams
  // will write is unpacked.
  TApplication application({{[](void*) { return CurrentExitCode(); }, nullptr},
                            WindowFailedCaption,
                            WindowFailedText,
                            ecWindowSystem,
                            {[](void*) { return UnpackPayloadSlice(); }, nullptr}});
  const TCommandLine commandLine = ReadCommandLine(WideToText(GetCommandLineW()));
  Asked = &commandLine;
  if (commandLine.Info) {
    MessageBoxW(nullptr, L"Сделано в Ombrel.", L"Ombrel Info", MB_OK);
    return ecDone;
  }
  // The uninstaller is this program carrying what an installation made in
  // place of its payload.
  if (TUninstallRecord record; ReadOwnRecord(record)) {
    // Its copy takes the lock over from the uninstaller it was started by.
    if (commandLine.After) {
      Uninstall(commandLine, record);
      return ecDone;
    }
    const TSetupLock lock;
    if (!lock.Held()) return int(SayBusy(UninstallCaption));
    Uninstall(commandLine, record);
    return int(CurrentExitCode());
  }
  // A copy damaged on the way installs nothing.
  if (!PayloadIntact()) {
    SayDamaged();
    return ecDamaged;
  }
  // /D= as a deployment tool passes it: a whole folder, made whole once, or nothing is done.
  std::string folder;
  if (commandLine.Silent && commandLine.FolderGiven && !WholeFolder(commandLine.Folder, folder)) {
    WriteUnattendedLog(commandLine, ("Отказано: /D= должен называть папку полностью, например D:\\Programs: " + commandLine.Folder).c_str());
    return ecBadCommandLine;
  }
  const TSetupLock lock;
  if (!lock.Held()) return int(SayBusy(BoxCaption));
  SetPayloadFault(&PayloadFault);
  const TOleApartment ole;
  if (commandLine.Silent) InstallUnattended(commandLine, folder);
  else {
    auto scheme = std::make_unique<TClassMainForm_6E2E74C>();
    scheme->MainForm->Start();
    application.RunMessageLoop();
  }
  return int(CurrentExitCode());
}
