#include "omINI.h"

#include <windows.h>

#include <memory>

#include "ByteStream.h"
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

// What the file holds now, none when there is no file; 0, or the system
// error that kept it from being read.
uint32_t ReadAll(const std::string& name, std::string& bytes) {
  std::unique_ptr<TByteStream> file = OpenReadStream(name);
  if (!file->IsOpen()) return file->Error() == ERROR_FILE_NOT_FOUND ? 0 : file->Error();
  bytes.resize(size_t(file->Size()));
  return file->Read(&bytes[0], int64_t(bytes.size())) == int64_t(bytes.size()) ? 0 : LastFailureCode();
}

// The content in UTF-16 with its byte-order mark, which the profile
// functions of every Windows read and write as such: an ANSI file's text as
// the system's code page reads it, all of it kept.
std::string Utf16(const std::string& bytes) {
  if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
    return bytes;
  const int n = bytes.empty() ? 0 : MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  TWideText wide(1 + size_t(n > 0 ? n : 0), wchar_t(0xFEFF));
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), wide.data() + 1, n);
  return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
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
  std::string content;
  void* copy = nullptr;
  if ((Error = ReadAll(FileName, content)) != 0 || (Error = MakeTempBeside(FileName, temp, &copy)) != 0) return false;
  // The profile functions take no longer name (one system writes under
  // another name then): refused like any name the system cannot take.
  if (temp.size() > MAX_PATH) {
    CloseHandle(copy);
    DeleteFileW(temp.data());
    Error = ERROR_FILENAME_EXCED_RANGE;
    return false;
  }
  // A file the system's code page can write stays as ever, byte for byte.
  if (!AnsiHolds(section) || !AnsiHolds(wideKey) || !AnsiHolds(wideValue)) content = Utf16(content);
  DWORD put = 0;
  if (!WriteFile(copy, content.data(), DWORD(content.size()), &put, nullptr) || put != content.size())
    Error = LastFailureCode();
  CloseHandle(copy);
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
  else InstallLog().Wrote(file->FileName);
}
