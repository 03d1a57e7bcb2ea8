#include "LineList.h"

#include <windows.h>

#include "InstallLog.h"
#include "Paths.h"

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

uint32_t TLineList::WriteToFile(const std::string& path) const {
  TWideText wide;
  if (!WidePath(path, wide)) return LastFailureCode();
  HANDLE file = CreateFileW(wide.data(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastFailureCode();
  const std::string text = JoinLines();
  uint32_t error = 0;
  DWORD written = 0;
  if (!text.empty()) {
    if (!WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr)) error = LastFailureCode();
    else if (written != text.size()) error = ERROR_WRITE_FAULT; // short: the file is incomplete
  }
  // Older, longer content is cut off.
  if (!SetEndOfFile(file) && error == 0) error = LastFailureCode();
  CloseHandle(file);
  return error;
}
