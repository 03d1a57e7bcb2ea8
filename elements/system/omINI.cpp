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

} // namespace

bool TIniFile::WriteString(const std::string& key, const std::string& value) {
  if (Direction != idWrite) {
    Error = ERROR_ACCESS_DENIED;
    return false;
  }
  if (!WritePrivateProfileStringA(Section.c_str(), key.c_str(), value.c_str(), FileName.c_str())) {
    Error = LastFailureCode();
    return false;
  }
  // The call can report success for a file it could not write out (a full
  // disk): drop the cached copy and read the value back from the file.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, FileName.c_str());
  if (key.empty() || ReadString(key, "\x01") == StoredValue(value)) return true;
  Error = ERROR_WRITE_FAULT;
  return false;
}

bool TIniFile::WriteInteger(const std::string& key, int32_t value) { return WriteString(key, IntegerToText(value)); }

std::string TIniFile::ReadString(const std::string& key, const std::string& fallback) const {
  // A value that fills the buffer may have been cut: read again with more room.
  for (DWORD size = 2048;; size *= 2) {
    std::string buffer(size, '\0');
    DWORD length = GetPrivateProfileStringA(Section.c_str(), key.c_str(), fallback.c_str(), &buffer[0], size,
                                            FileName.c_str());
    if (length + 1 < size || size >= (1u << 20)) return buffer.substr(0, length);
  }
}

int32_t TIniFile::ReadInteger(const std::string& key, int32_t fallback) const {
  return int32_t(GetPrivateProfileIntA(Section.c_str(), key.c_str(), fallback, FileName.c_str()));
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
