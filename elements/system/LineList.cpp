#include "LineList.h"

#include "ByteStream.h"

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
  std::unique_ptr<TByteStream> file = OpenWriteStream(path);
  const std::string text = JoinLines();
  file->Write(text.data(), int64_t(text.size()));
  file->SetSize(int64_t(text.size())); // an empty list, too, makes the file empty
  return file->Close();
}
