#include "Paths.h"

#include <windows.h>

namespace {

enum TFolderKind { fkWindows, fkTemp, fkSystem };

std::string AskFolder(TFolderKind kind) {
  char buffer[261] = {};
  UINT length = 0;
  switch (kind) {
  case fkWindows: length = GetWindowsDirectoryA(buffer, sizeof buffer); break;
  case fkTemp: length = GetTempPathA(sizeof buffer, buffer); break;
  case fkSystem: length = GetSystemDirectoryA(buffer, sizeof buffer); break;
  }
  // A result that did not fit reports the size it needs; take nothing then.
  std::string folder = length < sizeof buffer ? std::string(buffer, length) : std::string();
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

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

} // namespace

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
  char buffer[512] = {};
  DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  std::string name(buffer, length < sizeof buffer ? length : 0);
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
