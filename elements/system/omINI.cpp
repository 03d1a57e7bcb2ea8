#include "omINI.h"

#include <windows.h>

#include <memory>

#include "InstallLog.h"
#include "Paths.h"

bool TIniFile::WriteString(const std::string& key, const std::string& value) {
  if (Direction != idWrite) {
    Error = ERROR_ACCESS_DENIED;
    return false;
  }
  if (WritePrivateProfileStringA(Section.c_str(), key.c_str(), value.c_str(), FileName.c_str())) return true;
  Error = LastFailureCode();
  return false;
}

bool TIniFile::WriteInteger(const std::string& key, int32_t value) { return WriteString(key, IntegerToText(value)); }

std::string TIniFile::ReadString(const std::string& key, const std::string& fallback) const {
  char buffer[2048] = {};
  GetPrivateProfileStringA(Section.c_str(), key.c_str(), fallback.c_str(), buffer, sizeof buffer, FileName.c_str());
  return buffer;
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
