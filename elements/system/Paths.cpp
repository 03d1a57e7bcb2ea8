#include "Paths.h"

#include <windows.h>

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
