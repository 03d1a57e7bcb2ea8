#include "LineList.h"

#include <windows.h>

void TLineList::AssignText(const std::string& text) {
  FLines.clear();
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end && *p != '\0') {
    const char* start = p;
    while (p < end && *p != '\r' && *p != '\0') ++p;
    FLines.emplace_back(start, p);
    if (p < end && *p == '\r') {
      ++p;
      if (p < end && *p == '\n') ++p;
    }
  }
}

std::string TLineList::JoinLines() const {
  size_t total = 0;
  for (const std::string& line : FLines) total += line.size() + 2;
  std::string text;
  text.reserve(total);
  for (const std::string& line : FLines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void TLineList::WriteToFile(const std::string& path) const {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = JoinLines();
  DWORD written = 0;
  if (!text.empty()) WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
  SetEndOfFile(file); // older, longer content is cut off
  CloseHandle(file);
}
