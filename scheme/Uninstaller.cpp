#include "Uninstaller.h"

#include <windows.h>

#include <string>
#include <vector>

#include "Access.h"
#include "InstallLog.h"
#include "Paths.h"
#include "Resources.h"
#include "SetupLock.h"
#include "Text.h"
#include "Unattended.h"
#include "omInstallReport.h"

namespace {

const wchar_t* const UninstallQuestion = L"Вы действительно хотите удалить программу Сорванта v2.1 и все её компоненты?";
const wchar_t* const DoneText = L"Программа Сорванта v2.1 удалена с компьютера.";
const char* const LeftPrefix = "Не удалось удалить: ";

// The copy's file name, in a folder of its own.
const char* const CopyName = "Sorvanta-uninstall.exe";

std::string OwnPath() {
  wchar_t path[MAX_PATH * 2] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  return length < MAX_PATH * 2 ? WideToText(path, length) : std::string();
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

// This program's bytes as a new file, never over one that is there.
uint32_t WriteCopy(const std::string& copy) {
  const std::string_view bytes = ProgramFileBytes();
  HANDLE file = CreateFileW(WideOf(copy).data(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastFailureCode();
  DWORD written = 0;
  uint32_t error = 0;
  if (bytes.empty() || !WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) || written != bytes.size())
    error = LastFailureCode();
  if (!CloseHandle(file) && !error) error = LastFailureCode();
  return error;
}

// Starts a program that inherits these handles and no other; its process
// handle in started. 0, or the system's error.
uint32_t StartInheriting(const std::string& program, const std::string& line, std::vector<HANDLE> handles,
                         HANDLE& started) {
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<BYTE> attributes(size);
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
  if (!InitializeProcThreadAttributeList(startup.lpAttributeList, 1, 0, &size)) return LastFailureCode();
  TWideText command = WideOf(line);
  PROCESS_INFORMATION process{};
  uint32_t error = 0;
  // Its working folder is the system's: it holds none it may remove.
  if (!UpdateProcThreadAttribute(startup.lpAttributeList, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles.data(),
                                 handles.size() * sizeof(HANDLE), nullptr, nullptr) ||
      !CreateProcessW(WideOf(program).data(), command.data(), nullptr, nullptr, TRUE, EXTENDED_STARTUPINFO_PRESENT,
                      nullptr, WideOf(ExpandPathMacros("%sysdir%")).data(), &startup.StartupInfo, &process))
    error = LastFailureCode();
  DeleteProcThreadAttributeList(startup.lpAttributeList);
  if (error) return error;
  CloseHandle(process.hThread);
  started = process.hProcess;
  return 0;
}

// The copy that removes this program's file once it has ended. It lies in a
// new folder of the temporary folder that only administrators (and an
// unelevated user, who runs it) may write, so that nobody can put a program
// of theirs in its place; it holds this process and this program's file by
// inherited handles. 0, or the system's error.
uint32_t HandOverToCopy(const std::string& self) {
  std::string folder;
  if (const uint32_t error = MakePrivateFolder(ExpandPathMacros("%tmpdir%"), "Sorvanta-", folder)) return error;
  const std::string copy = folder + "\\" + CopyName;
  uint32_t error = WriteCopy(copy);
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  HANDLE own = error ? INVALID_HANDLE_VALUE
                     : CreateFileW(WideOf(self).data(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   &inherited, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  HANDLE process = nullptr, ready = error ? nullptr : CreateEventW(&inherited, TRUE, FALSE, nullptr), started = nullptr;
  if (!error && (own == INVALID_HANDLE_VALUE || !ready ||
                 !DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &process,
                                  SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0)))
    error = LastFailureCode();
  if (!error)
    error = StartInheriting(copy, "\"" + copy + "\" /AFTER=" + std::to_string(uintptr_t(process)) + "," +
                                      std::to_string(uintptr_t(own)) + "," + std::to_string(uintptr_t(ready)),
                            {process, own, ready}, started);
  if (started) {
    // This run is over only once the copy is known to be at work: whatever starts next waits for it.
    const HANDLE either[] = {ready, started};
    WaitForMultipleObjects(2, either, FALSE, 10000);
    CloseHandle(started);
  }
  for (HANDLE handle : {process, ready})
    if (handle) CloseHandle(handle);
  if (own != INVALID_HANDLE_VALUE) CloseHandle(own);
  if (error) {
    DeleteFileW(WideOf(copy).data());
    RemoveDirectoryW(WideOf(folder).data());
  }
  return error;
}

// The copy's work, once the uninstaller that started it has ended: its file,
// by the handle it was given (so no other file of that name, made since, can
// be the one removed), then the folders that held it, if empty; itself and
// its folder when Windows next starts, as a running program cannot go.
void RemoveUninstaller(const TCommandLine& how, const TUninstallRecord& record) {
  const HANDLE process = HANDLE(uintptr_t(how.After)), file = HANDLE(uintptr_t(how.AfterFile));
  const TCopyAtWork atWork;
  if (how.AfterReady) {
    SetEvent(HANDLE(uintptr_t(how.AfterReady)));
    CloseHandle(HANDLE(uintptr_t(how.AfterReady)));
  }
  wchar_t image[MAX_PATH * 2] = {};
  DWORD length = MAX_PATH * 2;
  if (!QueryFullProcessImageNameW(process, 0, image, &length) || WaitForSingleObject(process, INFINITE) != WAIT_OBJECT_0)
    return;
  const std::string product = FolderOf(WideToText(image, length)), self = OwnPath();
  if (IsWithin(self, product)) return; // never as the uninstaller itself
  // The uninstaller's lock, as it lets it go: no installation into the folder can begin meanwhile.
  const TSetupLock lock = TSetupLock::AfterUninstaller();
  // The ended uninstaller's file may stay locked for a moment after its
  // process is gone.
  FILE_DISPOSITION_INFO gone{TRUE};
  for (int attempt = 0; attempt < 50 && !SetFileInformationByHandle(file, FileDispositionInfo, &gone, sizeof gone); ++attempt) {
    if (GetLastError() != ERROR_ACCESS_DENIED && GetLastError() != ERROR_SHARING_VIOLATION) break;
    Sleep(100);
  }
  CloseHandle(file);
  if (lock.Held()) RemoveEmptyFolders(record, product);
  MoveFileExW(WideOf(self).data(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  MoveFileExW(WideOf(FolderOf(self)).data(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

} // namespace

void Uninstall(const TCommandLine& how, const TUninstallRecord& record) {
  if (how.After) {
    RemoveUninstaller(how, record);
    return;
  }
  if (!how.Silent && MessageBoxW(nullptr, UninstallQuestion, UninstallCaption, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
  // The product is the folder this program runs from, whatever its record says.
  const std::string self = OwnPath(), product = FolderOf(self);
  // Out of every folder it may remove: a working folder cannot be removed.
  SetCurrentDirectoryW(WideOf(ExpandPathMacros("%sysdir%")).data());
  RemoveInstallation(record, product);
  if (const uint32_t error = HandOverToCopy(self)) InstallLog().Add(self, error);
  if (how.Silent) {
    WriteUnattendedLog(how, InstallLog().Count() ? "Удалено не всё: " : "Удалено: ", product, "Не удалено: ");
    return;
  }
  if (InstallLog().Count())
    MessageBoxW(nullptr, WideOf(InstallReportText(InstallLog(), LeftPrefix)).data(), UninstallCaption, MB_OK | MB_ICONEXCLAMATION);
  else
    MessageBoxW(nullptr, DoneText, UninstallCaption, MB_OK | MB_ICONASTERISK);
}
