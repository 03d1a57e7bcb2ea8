#pragma once
#include "Share.h"
#include "Text.h"

// A settings file of the system's section/key format, one section at a time.
class TIniFile {
public:
  enum TDirection : uint8_t { idRead, idWrite };

  TIniFile(std::string fileName, std::string section, TDirection direction)
      : FileName(std::move(fileName)), Section(std::move(section)), Direction(direction) {}
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  bool WriteString(const std::string& key, const std::string& value);
  bool WriteInteger(const std::string& key, int32_t value);
  std::string ReadString(const std::string& key, const std::string& fallback) const;
  int32_t ReadInteger(const std::string& key, int32_t fallback) const;

  const std::string FileName;
  const std::string Section;
  const TDirection Direction;
  uint32_t Error = 0; // system error of the last write that failed

private:
  std::string ReadFrom(const TWideText& file, const std::string& key, const std::string& fallback) const;
};

// Writes one value (text or integer by ValueType) under Section/Key of FileName.
class TOMini : public TOMObject {
public:
  std::string FileName;
  std::string Section;
  std::string Key;
  uint8_t ValueType = 0; // 1 text, 0 integer
  TPointLink getFileName;
  TPointLink getSection;
  TPointLink getKey;
  TPointLink getValue;

  void inWrite(TData& value, uint16_t index);
};
