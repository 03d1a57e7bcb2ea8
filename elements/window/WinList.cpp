#include "WinList.h"

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

void TOMWinList::SetText(const std::string& text) {
  Clear();
  for (const std::string& line : SplitLines(text)) AddLine(line);
}

void TOMWinList::AddLine(const std::string& text) {
  if (Control) Control->SetText(Control->GetText() + text + "\r\n");
}

void TOMWinList::Clear() {
  if (Control) Control->SetText(std::string());
  FireNull(outChange);
}

void TOMWinList::GetText(std::string& text) {
  Lines = Control ? SplitLines(Control->GetText()) : std::vector<std::string>();
  text.clear();
  for (const std::string& line : Lines) text += line + "\r\n";
}
