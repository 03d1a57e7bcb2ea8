#include "omINI.h"

#include <windows.h>

#include <memory>

#include "InstallLog.h"
#include "Paths.h"

namespace {

// A value as reading it back gives it: blanks around it and one pair of
// enclosing quotes are not kept.
std::string StoredValue(const std::string& value) {
  const size_t first = value.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  std::string stored = value.substr(first, value.find_last_not_of(" \t") - first + 1);
  if (stored.size() >= 2 && (stored[0] == '"' || stored[0] == '\'') && stored.back() == stored[0])
    stored = stored.substr(1, stored.size() - 2);
  return stored;
}

// Whether the system's ANSI code page holds the text as it is: an ANSI
// settings file keeps only what that code page can say, and the profile
// functions put a look-alike in place of the rest.
bool AnsiHolds(const TWideText& text) {
  if (GetACP() == CP_UTF8) return true; // a system set to UTF-8 for every program
  BOOL lost = FALSE;
  return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), -1, nullptr, 0, nullptr, &lost) > 0 && !lost;
}

// The whole file, or nothing when it is missing or cannot be read.
bool ReadWhole(const wchar_t* file, std::string& bytes) {
  HANDLE handle = CreateFileW(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  DWORD got = 0;
  bool read = GetFileSizeEx(handle, &size) && size.QuadPart < (1 << 24);
  if (read) {
    bytes.resize(size_t(size.QuadPart));
    read = bytes.empty() || (ReadFile(handle, &bytes[0], DWORD(bytes.size()), &got, nullptr) && got == bytes.size());
  }
  CloseHandle(handle);
  return read;
}

// Makes the settings file one in UTF-16 with its byte-order mark, which the
// profile functions of every Windows read and write as such: a new file
// starts with the mark; an ANSI one is written anew in UTF-16, everything it
// held kept. 0, or the system error that stopped it.
uint32_t MakeUnicodeFile(const wchar_t* file) {
  std::string old;
  const bool exists = ReadWhole(file, old);
  if (exists && old.size() >= 2 && ((old[0] == '\xFF' && old[1] == '\xFE') || (old[0] == '\xFE' && old[1] == '\xFF')))
    return 0;
  TWideText content(1, wchar_t(0xFEFF));
  if (!old.empty()) {
    const int n = MultiByteToWideChar(CP_ACP, 0, old.data(), int(old.size()), nullptr, 0);
    content.resize(1 + size_t(n > 0 ? n : 0));
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, old.data(), int(old.size()), content.data() + 1, n);
  }
  // The profile functions keep what they read of a file: they read it again.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, file);
  HANDLE handle = CreateFileW(file, GENERIC_WRITE, 0, nullptr, exists ? TRUNCATE_EXISTING : CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastFailureCode();
  const DWORD size = DWORD(content.size() * sizeof(wchar_t));
  DWORD put = 0;
  const bool written = WriteFile(handle, content.data(), size, &put, nullptr) && put == size;
  const uint32_t error = written ? 0 : LastFailureCode();
  CloseHandle(handle);
  return error;
}

} // namespace

bool TIniFile::WriteString(const std::string& key, const std::string& value) {
  if (Direction != idWrite) {
    Error = ERROR_ACCESS_DENIED;
    return false;
  }
  TWideText file, section, wideKey, wideValue, temp;
  if (!WidePath(FileName, file) || !WidePath(Section, section) || !WidePath(key, wideKey) ||
      !WidePath(value, wideValue)) {
    Error = LastFailureCode();
    return false;
  }
  // Whole or not at all: a copy of the file beside it takes the value, then
  // its place.
  if ((Error = MakeTempBeside(FileName, temp)) != 0) return false;
  if (!CopyFileW(file.data(), temp.data(), FALSE) && GetLastError() != ERROR_FILE_NOT_FOUND)
    Error = LastFailureCode();
  // A file the system's code page can write stays as ever, byte for byte.
  else if (!AnsiHolds(section) || !AnsiHolds(wideKey) || !AnsiHolds(wideValue))
    Error = MakeUnicodeFile(temp.data());
  if (Error == 0 && !WritePrivateProfileStringW(section.data(), wideKey.data(), wideValue.data(), temp.data()))
    Error = LastFailureCode();
  // The call can report success for a file it could not write out (a full
  // disk): drop the cached copy and read the value back from the file.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, temp.data());
  if (Error == 0 && !key.empty() && ReadFrom(temp, key, "\x01") != StoredValue(value)) Error = ERROR_WRITE_FAULT;
  if (Error == 0) Error = MoveOver(temp, FileName);
  else DeleteFileW(temp.data());
  return Error == 0;
}

bool TIniFile::WriteInteger(const std::string& key, int32_t value) { return WriteString(key, IntegerToText(value)); }

std::string TIniFile::ReadString(const std::string& key, const std::string& fallback) const {
  return ReadFrom(WideOf(FileName), key, fallback);
}

std::string TIniFile::ReadFrom(const TWideText& file, const std::string& key, const std::string& fallback) const {
  const TWideText section = WideOf(Section), wideKey = WideOf(key), wideFallback = WideOf(fallback);
  // A value that fills the buffer may have been cut: read again with more room.
  for (DWORD size = 2048;; size *= 2) {
    TWideText buffer(size, L'\0');
    DWORD length = GetPrivateProfileStringW(section.data(), wideKey.data(), wideFallback.data(), buffer.data(), size,
                                            file.data());
    if (length + 1 < size || size >= (1u << 20)) return WideToText(buffer.data(), length);
  }
}

int32_t TIniFile::ReadInteger(const std::string& key, int32_t fallback) const {
  return int32_t(GetPrivateProfileIntW(WideOf(Section).data(), WideOf(key).data(), fallback, WideOf(FileName).data()));
}

void TOMini::inWrite(TData& value, uint16_t) {
  auto file = std::make_unique<TIniFile>(FullFileName(ReadPointString(value, getFileName, FileName)),
                                         ReadPointString(value, getSection, Section), TIniFile::idWrite);
  // The value is read before the key: with both unlinked and Key empty the
  // event's value is the value.
  bool written = true;
  if (ValueType == 1) {
    std::string text = ReadPointString(value, getValue, std::string());
    written = file->WriteString(ReadPointString(value, getKey, Key), text);
  } else if (ValueType == 0) {
    int32_t number = ReadPointInteger(value, getValue, 0);
    written = file->WriteInteger(ReadPointString(value, getKey, Key), number);
  }
  if (!written) InstallLog().Add(file->FileName, file->Error);
}
