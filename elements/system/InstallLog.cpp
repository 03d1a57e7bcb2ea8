#include "InstallLog.h"

#include <windows.h>

#include "Paths.h"
#include "Text.h"

void TInstallLog::Add(const std::string& path, uint32_t code) { Add(path, code, SystemErrorText(code)); }

void TInstallLog::Add(const std::string& path, uint32_t code, const std::string& message) {
  if (!Has(path)) FEntries.push_back(TInstallEntry{path, code, message});
}

bool TInstallLog::Has(const std::string& path) const {
  const TWideText shown = WideOf(DisplayPath(path));
  for (const TInstallEntry& entry : FEntries)
    if (lstrcmpiW(WideOf(DisplayPath(entry.Path)).data(), shown.data()) == 0) return true;
  return false;
}

void TInstallLog::Keep(TMadeItem::TKind kind, const std::string& path) { FMade.push_back(TMadeItem{kind, FullPath(path)}); }

std::string DisplayPath(const std::string& path) {
  std::string shown;
  shown.reserve(path.size());
  for (size_t i = 0; i < path.size(); ++i)
    if (!(path[i] == '\\' && i > 1 && shown.back() == '\\')) shown += path[i];
  return shown;
}

TInstallLog& InstallLog() {
  static TInstallLog log;
  return log;
}

std::string SystemErrorText(uint32_t code) {
  // The system's words for it name the object manager, not what was refused.
  if (code == ERROR_REPARSE_POINT_ENCOUNTERED) return LinkRefusedText;
  DWORD lookup = code;
  if (HRESULT_FACILITY(code) == FACILITY_WIN32 && (code & 0x80000000u)) lookup = HRESULT_CODE(code);
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, lookup, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = buffer ? WideToText(buffer, length) : std::string();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  if (text.empty()) {
    // The code in eight upper-case hex digits; written out here so that the
    // program carries no printf.
    const char* const digits = "0123456789ABCDEF";
    text = "Ошибка 0x";
    for (int shift = 28; shift >= 0; shift -= 4) text += digits[(code >> shift) & 0xFu];
  }
  return text;
}

uint32_t LastFailureCode() {
  DWORD code = GetLastError();
  return code != 0 ? code : ERROR_WRITE_FAULT;
}
