#include "Paths.h"

#include <windows.h>

#include "InstallLog.h"

namespace {

enum TFolderKind { fkWindows, fkTemp, fkSystem };

std::string AskFolder(TFolderKind kind) {
  constexpr UINT size = 261;
  wchar_t buffer[size] = {};
  UINT length = 0;
  switch (kind) {
  case fkWindows: length = GetWindowsDirectoryW(buffer, size); break;
  case fkTemp: length = GetTempPathW(size, buffer); break;
  case fkSystem: length = GetSystemDirectoryW(buffer, size); break;
  }
  // A result that did not fit reports the size it needs; take nothing then.
  std::string folder = length < size ? WideToText(buffer, length) : std::string();
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

// Replaces every occurrence; the search goes on behind the inserted text.
void ReplaceAll(std::string& text, const std::string& macro, TFolderKind kind) {
  size_t at = text.find(macro);
  if (at == std::string::npos) return;
  const std::string folder = AskFolder(kind);
  while (at != std::string::npos) {
    text.replace(at, macro.size(), folder);
    at = text.find(macro, at + folder.size());
  }
}

DWORD Attributes(const std::string& path) {
  TWideText wide;
  return WidePath(path, wide) ? GetFileAttributesW(wide.data()) : INVALID_FILE_ATTRIBUTES;
}

} // namespace

bool WidePath(const std::string& path, TWideText& wide) {
  if (TextToWide(path, wide)) return true;
  SetLastError(ERROR_NO_UNICODE_TRANSLATION);
  return false;
}

uint32_t MakeTempBeside(const std::string& target, TWideText& temp, void** open) {
  // A target another program holds open cannot be replaced: said before
  // anything is written, in the system's words for a file in use.
  TWideText wide;
  if (!WidePath(target, wide)) return LastFailureCode();
  HANDLE held = CreateFileW(wide.data(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  else if (GetLastError() == ERROR_SHARING_VIOLATION) return ERROR_SHARING_VIOLATION;
  // "<target>.<number>.~tmp", the first such name not taken.
  static DWORD serial = GetTickCount();
  wide.pop_back();
  for (int tries = 0; tries < 100; ++tries) {
    temp = wide;
    temp.push_back(L'.');
    for (DWORD n = ++serial; n; n >>= 4) temp.push_back(L"0123456789abcdef"[n & 0xF]);
    for (const wchar_t* end = L".~tmp"; *end; ++end) temp.push_back(*end);
    temp.push_back(L'\0');
    HANDLE file = CreateFileW(temp.data(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      if (open) *open = file;
      else CloseHandle(file);
      return 0;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return LastFailureCode();
  }
  return ERROR_FILE_EXISTS;
}

uint32_t MoveOver(const TWideText& temp, const std::string& target) {
  TWideText wide;
  if (WidePath(target, wide) && MoveFileExW(temp.data(), wide.data(), MOVEFILE_REPLACE_EXISTING)) return 0;
  const uint32_t error = LastFailureCode();
  DeleteFileW(temp.data());
  return error;
}

std::string ExpandPathMacros(const std::string& path) {
  std::string result = path;
  ReplaceAll(result, "%windir%", fkWindows);
  ReplaceAll(result, "%tmpdir%", fkTemp);
  ReplaceAll(result, "%sysdir%", fkSystem);
  return result;
}

std::string FullFileName(const std::string& path) {
  std::string result = ExpandPathMacros(path);
  if (result.find_last_of(":\\") == std::string::npos) result = ProgramFolder() + result;
  return result;
}

std::string ProgramFolder() {
  constexpr DWORD size = 512;
  wchar_t buffer[size] = {};
  DWORD length = GetModuleFileNameW(nullptr, buffer, size);
  std::string name = WideToText(buffer, length < size ? length : 0);
  size_t slash = name.rfind('\\');
  return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

bool FileExists(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
