#include "Uninstaller.h"

#include <windows.h>

#include <string>

#include "InstallLog.h"
#include "Paths.h"
#include "Text.h"
#include "omInstallReport.h"

namespace {

const wchar_t* const UninstallCaption = L"Удаление программы";
const wchar_t* const UninstallQuestion = L"Вы действительно хотите удалить программу Сорванта v2.1 и все её компоненты?";
const wchar_t* const DoneText = L"Программа Сорванта v2.1 удалена с компьютера.";
const char* const LeftPrefix = "Не удалось удалить: ";

std::string OwnPath() {
  wchar_t path[MAX_PATH * 2] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  return length < MAX_PATH * 2 ? WideToText(path, length) : std::string();
}

// The copy that removes this program's file once it has ended; it holds this
// process by an inherited handle. 0, or the system's error.
uint32_t HandOverToCopy() {
  const std::string self = OwnPath(), temp = ExpandPathMacros("%tmpdir%");
  if (self.empty() || temp.empty()) return ERROR_PATH_NOT_FOUND;
  const TWideText copy = WideOf(temp + "Sorvanta-uninstall-" + std::to_string(GetCurrentProcessId()) + ".exe");
  if (!CopyFileW(WideOf(self).data(), copy.data(), FALSE)) return LastFailureCode();
  HANDLE own = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &own, SYNCHRONIZE, TRUE, 0))
    return LastFailureCode();
  TWideText line = WideOf("\"" + WideToText(copy.data()) + "\" /AFTER=" + std::to_string(uintptr_t(own)));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  uint32_t error = 0;
  if (CreateProcessW(copy.data(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, WideOf(temp).data(), &startup,
                     &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    error = LastFailureCode();
    DeleteFileW(copy.data());
  }
  CloseHandle(own);
  return error;
}

} // namespace

void Uninstall(const TCommandLine& how, const TUninstallRecord& record) {
  if (how.After) {
    // The copy: only once the uninstaller that started it has ended, and
    // never as the uninstaller itself.
    if (lstrcmpiW(WideOf(record.Uninstaller).data(), WideOf(OwnPath()).data()) == 0 ||
        WaitForSingleObject(HANDLE(uintptr_t(how.After)), INFINITE) != WAIT_OBJECT_0)
      return;
    RemoveUninstaller(record);
    MoveFileExW(WideOf(OwnPath()).data(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return;
  }
  if (!how.Silent && MessageBoxW(nullptr, UninstallQuestion, UninstallCaption, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
  // Out of every folder it may remove: a working folder cannot be removed.
  SetCurrentDirectoryW(WideOf(ExpandPathMacros("%tmpdir%")).data());
  RemoveInstallation(record);
  if (const uint32_t error = HandOverToCopy()) InstallLog().Add(record.Uninstaller, error);
  if (how.Silent) return;
  if (InstallLog().Count())
    MessageBoxW(nullptr, WideOf(InstallReportText(InstallLog(), LeftPrefix)).data(), UninstallCaption, MB_OK | MB_ICONEXCLAMATION);
  else
    MessageBoxW(nullptr, DoneText, UninstallCaption, MB_OK | MB_ICONASTERISK);
}
