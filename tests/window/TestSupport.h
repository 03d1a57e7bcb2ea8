// Shared pieces of the window tests: a host form, a value recorder, pixels.
#pragma once

#include <string>
#include <vector>

#include "Share.h"
#include "Window.h"

// Remembers every value it receives (and answers data requests with Answer).
class TRecorder : public TOMObject {
public:
  std::vector<TData> Values;
  TData Answer;
  void inValue(TData& value, uint16_t) { Values.push_back(value); }
  void varValue(TData& value, uint16_t) { value = Answer; }
  TPointLink In(uint16_t index = 0) { return MakePointLink<&TRecorder::inValue>(index, this); }
  TPointLink Var() { return MakePointLink<&TRecorder::varValue>(0, this); }
};

// Sets an element's bounds before its Init.
template <class E> void Place(E& element, int32_t left, int32_t top, int32_t width, int32_t height) {
  element.Left = left;
  element.Top = top;
  element.Width = width;
  element.Height = height;
}

// An application window with one visible form, freed with the fixture.
class THostForm {
public:
  explicit THostForm(int32_t width = 400, int32_t height = 300) {
    App = CreateApplicationWindow();
    Form = CreateForm(App, "Host");
    Form->SetBounds(40, 40, 40 + width, 40 + height);
    ShowApplicationWindows(App);
    ProcessMessages();
  }
  ~THostForm() { FreeWindowObject(App); }
  THostForm(const THostForm&) = delete;
  THostForm& operator=(const THostForm&) = delete;

  TWindowObject* App = nullptr;
  TWindowObject* Form = nullptr;
};

// Lets pending painting happen.
inline void Pump(HWND hwnd) {
  if (hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  ProcessMessages();
}

// The colour of a pixel of a window's client area, as it is on screen.
inline COLORREF PixelAt(HWND hwnd, int x, int y) {
  HDC dc = GetDC(hwnd);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return c;
}

inline std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof(name));
  return name;
}

inline LOGFONTA FontOf(HWND hwnd) {
  LOGFONTA lf{};
  auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
  GetObjectA(font, sizeof(lf), &lf);
  return lf;
}

inline std::string TextOf(HWND hwnd) {
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof(text));
  return text;
}

inline DWORD StyleOf(HWND hwnd) { return DWORD(GetWindowLongPtrA(hwnd, GWL_STYLE)); }
inline DWORD ExStyleOf(HWND hwnd) { return DWORD(GetWindowLongPtrA(hwnd, GWL_EXSTYLE)); }

// left, top, right, bottom: one comparison for a whole rectangle.
inline std::vector<LONG> Corners(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The window's rectangle in screen coordinates.
inline RECT RectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}
