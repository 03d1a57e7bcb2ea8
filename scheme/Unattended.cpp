#include "Unattended.h"

#include <windows.h>

#include <memory>

#include "InstallLog.h"
#include "Paths.h"
#include "SchemeRoles.h"
#include "Text.h"

void InstallUnattended(const TCommandLine& how, const std::string& folder) {
  std::string product;
  bool held = false;
  {
    // The form's window is made as the scheme is built, and with it the
    // application window, visible unless asked not to be.
    TApplication::Current().KeepWindowHidden();
    auto scheme = std::make_unique<TInstallerScheme>();
    scheme->MuteReport();
    // Nobody to ask: files in use are waited for a while, and a run that
    // fails part-way is put back, all or nothing.
    scheme->InUseCheck->Patience = InUsePatience;
    scheme->InUseCheck->outHeld = TPointLink{};
    scheme->Transaction->RollBack = true;
    if (!folder.empty()) scheme->SetFolderText(folder);
    product = scheme->FolderText();
    // Run while muted: nothing of the form's start-up is wanted.
    RunDeferredInits();
    StartDispatch();
    scheme->Install();
    StopDispatch();
    held = scheme->InUseCheck->Held();
  }
  product += "\\";
  product += ProductFolder;
  const char* head = held                       ? "Не установлено, файлы программы заняты: "
                     : InstallLog().RolledBack() ? "Не установлено, ничего не изменено: "
                     : InstallLog().Count()      ? "Установлено не всё: "
                                                 : "Установлено: ";
  WriteUnattendedLog(how, head, DisplayPath(product));
}

void WriteUnattendedLog(const TCommandLine& how, const char* head, const std::string& path, const char* entryHead) {
  if (how.LogFile.empty()) return;
  // Nothing of the product is ever written over, nor a file it holds.
  if (!path.empty() && IsWithin(how.LogFile, path)) return;
  std::string text = head;
  text += path;
  for (const TInstallEntry& entry : InstallLog().Entries()) {
    text += "\r\n";
    text += entryHead;
    text += DisplayPath(entry.Path);
    text += ": ";
    text += entry.Message;
  }
  text += "\r\n";
  // Opened as it is, not cut yet: a link, a folder, or a file that has other
  // names (a hard link to a file that may be anyone's) is left alone.
  HANDLE file = CreateFileW(WideOf(how.LogFile).data(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileInformationByHandle(file, &info) && info.nNumberOfLinks == 1 &&
      !(info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) && SetEndOfFile(file)) {
    DWORD written = 0;
    WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
  }
  CloseHandle(file);
}
