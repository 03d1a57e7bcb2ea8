#include "omInstallReport.h"

#include <windows.h>

#include "Text.h"

namespace {

const char* const CountPrefix = "Не удалось записать при установке: ";
const char* const MorePrefix = "... и ещё ";

// What the pixels of a line of the report may be: half the screen's working
// area, so that the box always fits it.
int ReportLineWidth() {
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), 0};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return (area.right - area.left) / 2;
}

} // namespace

std::string FitPath(const std::string& path, int width) {
  TWideText wide = WideOf(path);
  wide.pop_back(); // the NUL
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  // The path with its middle left out, keeping head units from its start and tail from its end;
  // a surrogate pair is kept or left out whole.
  const size_t n = wide.size();
  auto cut = [&](size_t kept) {
    size_t head = kept / 3, tail = kept - head;
    if (head > 0 && head < n && wide[head - 1] >= 0xD800 && wide[head - 1] <= 0xDBFF) --head;
    if (tail > 0 && tail < n && wide[n - tail] >= 0xDC00 && wide[n - tail] <= 0xDFFF) --tail;
    TWideText shown(wide.begin(), wide.begin() + ptrdiff_t(head));
    for (const wchar_t* dots = L"..."; *dots; ++dots) shown.push_back(*dots);
    shown.insert(shown.end(), wide.end() - ptrdiff_t(tail), wide.end());
    return shown;
  };
  auto fits = [&](const TWideText& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), int(text.size()), &size);
    return size.cx <= width;
  };
  TWideText shown = wide;
  if (!fits(wide)) {
    size_t low = 0, high = n; // the most units kept that still fit
    while (low < high) {
      const size_t mid = (low + high + 1) / 2;
      if (fits(cut(mid))) low = mid;
      else high = mid - 1;
    }
    shown = cut(low);
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  return WideToText(shown.data(), shown.size());
}

const std::string& FailureFinishText() {
  static const std::string text =
      "   Установка не была завершена!\r\n\r\n"
      "   Часть файлов не удалось записать.\r\n"
      "   Нажмите кнопку \"Готово\",  для выхода\r\n"
      "   из программы установки!";
  return text;
}

std::string InstallReportText(const TInstallLog& log, const char* countPrefix) {
  if (log.Count() == 0) return std::string();
  std::string text = (countPrefix ? countPrefix : CountPrefix) + std::to_string(log.Count()) + ".\r\n";
  const size_t shown = log.Count() < ReportedEntries ? log.Count() : ReportedEntries;
  for (size_t i = 0; i < shown; ++i) {
    const TInstallEntry& entry = log[i];
    text += "\r\n" + FitPath(DisplayPath(entry.Path), ReportLineWidth()) + "\r\n   " + entry.Message;
  }
  if (log.Count() > shown) text += "\r\n\r\n" + std::string(MorePrefix) + std::to_string(log.Count() - shown) + ".";
  return text;
}

void TOMInstallReport::inClear(TData&, uint16_t) { InstallLog().Clear(); }

void TOMInstallReport::inCheck(TData&, uint16_t) {
  if (InstallLog().Count() == 0) return;
  // Taken before anything fires: what runs behind the links cannot change
  // the report halfway.
  const std::string report = InstallReportText(InstallLog());
  FireString(outFinishText, FailureFinishText());
  FireString(outReport, report);
}
