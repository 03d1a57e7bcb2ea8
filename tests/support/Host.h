// In-process helpers of the element tests: a form to put elements on, the
// pump, what a native window shows.
#pragma once

#include <windows.h>

#include <string>

namespace host {

COLORREF Pixel(HWND hwnd, int x, int y); // as the screen shows it
std::string Text(HWND hwnd);
inline std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}
inline DWORD Style(HWND hwnd) { return DWORD(GetWindowLongPtrA(hwnd, GWL_STYLE)); }
inline DWORD ExStyle(HWND hwnd) { return DWORD(GetWindowLongPtrA(hwnd, GWL_EXSTYLE)); }
LOGFONTW FontOf(HWND hwnd);

} // namespace host

// The rest needs the window layer (not linked into the shared support library).
#if __has_include("Window.h")
#include "Share.h"
#include "Window.h"

namespace host {

// Points fire only while the dispatcher is live, as inside the message loop.
struct TLiveDispatch {
  TLiveDispatch() { StartDispatch(); }
  ~TLiveDispatch() { StopDispatch(); }
};

// Calls an input with a value as a linked output would: Send<&TOMini::inWrite>(ini, StringData(x)).
template <auto M, class E> void Send(E& element, TData value, uint16_t index = 0) { (element.*M)(value, index); }

// Lets pending messages run through the layer's loop; given a window, lets it
// and its children paint first.
inline void Pump(HWND repaint = nullptr) {
  if (repaint) RedrawWindow(repaint, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ProcessMessages();
}

// An application window with one shown form, freed with the object.
struct THostForm {
  explicit THostForm(int width = 420, int height = 320) : App(CreateApplicationWindow()), Form(CreateForm(App, "Host")) {
    Form->SetBounds(40, 40, 40 + width, 40 + height);
    ShowApplicationWindows(App);
    ProcessMessages();
  }
  ~THostForm() { FreeWindowObject(App); }
  TWindowObject* App;
  TWindowObject* Form;
};

} // namespace host
#endif
