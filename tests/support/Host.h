// In-process helpers of the element tests: what a native window shows, a form to put elements on.
#pragma once

#include "Driver.h"

namespace host {

using driver::Class, driver::ExStyle, driver::Style, driver::Text;

inline LOGFONTW FontOf(HWND hwnd) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf;
}

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

// Calls an input as a linked output would: Send<&TOMini::inWrite>(ini, StringData(x)).
template <auto M, class E> void Send(E& element, TData value, uint16_t index = 0) { (element.*M)(value, index); }

// An application with its window and one shown form, freed with the object.
struct THostForm {
  explicit THostForm(int width = 420, int height = 320)
      : App(Application.CreateApplicationWindow()), Form(CreateForm(App, "Host")) {
    Form->SetBounds(40, 40, 40 + width, 40 + height);
    Application.ShowWindows();
    Application.ProcessMessages();
  }
  ~THostForm() { FreeWindowObject(App); }
  TApplication Application;
  TWindowObject* App;
  TWindowObject* Form;
};

} // namespace host
#endif
