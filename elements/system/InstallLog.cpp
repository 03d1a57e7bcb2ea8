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

void TInstallLog::Moved(const std::string& target, const TWideText& older, uint32_t crc, uint64_t size) {
  for (TMovedFile& moved : FMoved)
    if (lstrcmpiW(WideOf(moved.Target).data(), WideOf(target).data()) == 0) {
      moved.Crc = crc;
      moved.Size = size;
      if (!older.empty()) { // the first run's older file is the one to put back
        if (moved.Older.empty()) moved.Older = older;
        else DeleteFileW(older.data());
      }
      return;
    }
  FMoved.push_back(TMovedFile{target, older, size, crc});
}

bool TInstallLog::ReadBack() {
  bool whole = true;
  for (const TMovedFile& moved : FMoved) {
    TDigest now;
    if (DigestOf(WideOf(moved.Target), now) && now.Size == moved.Size && now.Crc == moved.Crc) continue;
    Add(moved.Target, ERROR_FILE_CORRUPT, "Записано не так: прочитанный после записи файл не тот, что записан");
    whole = false;
  }
  return whole;
}

void TInstallLog::Commit() {
  for (TMovedFile& moved : FMoved)
    if (!moved.Older.empty()) {
      DeleteFileW(moved.Older.data());
      moved.Older.clear();
    }
  FUndo.clear();
}

void TInstallLog::RollBack() {
  for (size_t i = FMoved.size(); i-- > 0;) {
    const TMovedFile& moved = FMoved[i];
    const TWideText target = WideOf(moved.Target);
    const bool gone = DeleteFileW(target.data()) || GetLastError() == ERROR_FILE_NOT_FOUND;
    if (gone && (moved.Older.empty() || MoveFileExW(moved.Older.data(), target.data(), MOVEFILE_REPLACE_EXISTING)))
      continue;
    const uint32_t error = LastFailureCode();
    Add(moved.Target, error, "Не удалось вернуть прежний файл: " + SystemErrorText(error));
  }
  for (size_t i = FMade.size(); i-- > 0;)
    if (FMade[i].Folder()) RemoveDirectoryW(WideOf(FMade[i].Path).data());
  for (size_t i = FUndo.size(); i-- > 0;) FUndo[i]();
  FMoved.clear();
  FUndo.clear();
  FRolledBack = true;
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
