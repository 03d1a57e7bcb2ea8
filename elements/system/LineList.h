// An ordered list of 8-bit text lines, kept byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TLineList {
public:
  TLineList() = default;
  TLineList(const TLineList&) = delete;
  TLineList& operator=(const TLineList&) = delete;

  // Replaces the content: lines end at CR or CR LF; NUL or the end of the text
  // ends the last line; a final CR LF starts no empty line.
  void AssignText(const std::string& text);
  // Every line followed by CR LF.
  std::string JoinLines() const;
  // Writes JoinLines to the file in one write, whole or not at all (a write
  // stream's temporary file, put in its place: an older file stays as it was
  // when anything fails). Returns 0, or the system error that stopped it.
  uint32_t WriteToFile(const std::string& path) const;

  size_t Count() const { return FLines.size(); }
  const std::string& operator[](size_t index) const { return FLines[index]; }
  void Add(std::string line) { FLines.push_back(std::move(line)); }
  void Clear() { FLines.clear(); }

private:
  std::vector<std::string> FLines;
};
