#include "Host.h"

namespace host {

COLORREF Pixel(HWND hwnd, int x, int y) {
  HDC dc = GetDC(hwnd);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return c;
}

std::string Text(HWND hwnd) {
  std::string text(size_t(GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(size_t(GetWindowTextA(hwnd, &text[0], int(text.size()))));
  return text;
}

LOGFONTA FontOf(HWND hwnd) {
  LOGFONTA lf{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf;
}

} // namespace host
