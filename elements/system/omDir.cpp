#include "omDir.h"

#include <windows.h>
#include <shlobj.h>

#include "Access.h"
#include "InstallLog.h"
#include "Paths.h"

namespace {

std::string ShellFoldersDesktop() {
  std::string folder;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                    0, KEY_READ, &key) != ERROR_SUCCESS)
    return folder;
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, L"Desktop", nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ &&
      size > 0) {
    // A value stored without its NUL still ends in one here.
    TWideText buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, L"Desktop", nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ)
      folder = WideToText(buffer.data());
  }
  RegCloseKey(key);
  return folder;
}

// The shell's own answer for a folder. Looked up at run time so that a
// shell32 without it simply gives nothing.
std::string ShellFolder(int csidl) {
  using TGetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
  HMODULE shell = LoadLibraryW(L"shell32.dll");
  if (!shell) return std::string();
  std::string folder;
  auto getFolderPath = reinterpret_cast<TGetFolderPath>(
      reinterpret_cast<void (*)()>(GetProcAddress(shell, "SHGetFolderPathW")));
  wchar_t buffer[MAX_PATH + 1] = {};
  if (getFolderPath && SUCCEEDED(getFolderPath(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)))
    folder = WideToText(buffer);
  FreeLibrary(shell);
  return folder;
}

} // namespace

bool ForceFolders(const std::string& path, std::string& failedFolder, uint32_t& error) {
  if (path.empty()) {
    error = ERROR_INVALID_NAME;
    return false;
  }
  // A run of backslashes is one separator to the system. Stripping only one
  // would make C:\A\\ its own parent, and C:\A would never be created.
  std::string folder = path;
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  if (folder.size() < 3) return true;
  if (FolderExists(folder)) {
    // One that is there may be a link, planted to lead the product elsewhere.
    error = LinkOnTheWay(folder);
    if (error) failedFolder = folder;
    return error == 0;
  }
  size_t cut = folder.find_last_of(":\\");
  std::string parent = cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
  if (parent == folder) return true;
  if (!ForceFolders(parent, failedFolder, error)) {
    if (failedFolder.empty()) failedFolder = folder; // a bare name has no parent to blame
    return false;
  }
  TWideText wide;
  if (WidePath(folder, wide) && CreateDirectoryW(wide.data(), nullptr)) {
    InstallLog().Created(folder);
    return true;
  }
  failedFolder = folder;
  error = LastFailureCode();
  return false;
}

bool ForceFolders(const std::string& path) {
  std::string failedFolder;
  uint32_t error = 0;
  return ForceFolders(path, failedFolder, error);
}

std::string DesktopFolder() { return DesktopFolder(RunsAsLocalSystem()); }

void RemoveEmptyFoldersMade() {
  const std::vector<TMadeItem>& made = InstallLog().Made();
  TWideText wide;
  for (size_t i = made.size(); i-- > 0;)
    if (made[i].Folder() && LinkOnTheWay(made[i].Path) == 0 && WidePath(made[i].Path, wide)) RemoveDirectoryW(wide.data());
}

std::string DesktopFolder(bool allUsers) {
  std::string folder = allUsers ? ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) : ShellFoldersDesktop();
  // The shell is asked for the user's only when the registry value is unreadable.
  if (folder.empty() && !allUsers) folder = ShellFolder(CSIDL_DESKTOPDIRECTORY);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

std::string ProgramFilesFolder() {
  // A 32-bit program on a 64-bit system is told its own, "Program Files (x86)".
  std::string folder = ShellFolder(CSIDL_PROGRAM_FILES);
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder.empty() ? "C:\\Program Files" : folder;
}

void TOMDir::inCreate(TData& value, uint16_t) {
  const std::string path = DataToString(value);
  if (Guarded) GuardFolder(path);
  std::string failedFolder;
  uint32_t error = 0;
  if (!ForceFolders(path, failedFolder, error)) InstallLog().Add(failedFolder.empty() ? path : failedFolder, error);
  else if (Guarded && RunsAsAdministrator() && (error = ProtectFolder(path)) != 0)
    InstallLog().Add(path, error, "Не удалось закрыть папку от изменения другими пользователями: " + SystemErrorText(error));
  ForwardNull(value, outCreate);
}

void TOMDir::varDesktop(TData& buffer, uint16_t) { SetStringData(buffer, DesktopFolder()); }
