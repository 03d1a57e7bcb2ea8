// What the units of the window-system layer share among themselves; nothing
// outside the layer includes this.
#pragma once

#include "Window.h"

// A control kind: its native class, creation styles, default size, and
// whether it takes the focus and lets Tab leave it.
struct TControlKind {
  const wchar_t* ClassName;
  DWORD Style;
  DWORD ExStyle;
  int32_t DefaultWidth;
  int32_t DefaultHeight;
  bool Focusable;
  bool TabNavigation;
};

const TControlKind& KindOf(TControlKindId kind);
inline bool IsClassWindow(TControlKindId kind) { return kind == ckApplication || kind == ckForm; }

// The layer's own window classes ("App", "Form") and the common controls,
// registered and loaded once, on the first window made.
void PrepareWindowClasses();
// Takes a window out of the theme, before its first paint.
void SwitchThemeOff(HWND hwnd);

// Every window the layer makes is routed through this procedure, its own
// classes from creation, the system's controls by subclassing.
LRESULT CALLBACK LayerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The handle-to-object link: a window made by the layer carries its object
// in GWLP_USERDATA, the slot Windows leaves to whoever makes a window, from
// the moment its handle exists to WM_NCDESTROY. Every window the layer
// routes, and every child of one, is the layer's own.
void LinkObject(HWND hwnd, TWindowObject* object);
TWindowObject* ObjectOf(HWND hwnd);

// A function of a system library, looked up by name and typed: none where the
// library is not loaded or this Windows lacks the function.
template <class F> F SystemFunction(HMODULE module, const char* name) {
  return module ? reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name))) : nullptr;
}
inline HMODULE User32() { return GetModuleHandleW(L"user32.dll"); }

// The resolution of the screen a window is on, and a frame around a client
// rectangle at a resolution.
UINT WindowDpi(HWND hwnd);
void AdjustFrameForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

// The system's own words for an error code, without the line end.
std::string SystemMessage(uint32_t code);

// The form that last received the keyboard focus, or none; and whether the
// loop has ended.
extern TWindowObject* CurrentFormObject;
extern bool TerminatedFlag;
// The message the loop is dispatching now: a mouse message that is this one
// came from the person at the mouse, not from a program (BM_CLICK sends its own).
extern MSG DispatchedMessage;

// The fields that the layer's free functions set on an object.
struct TLayerAccess {
  static void SetKeyboardNavigation(TWindowObject* o) { o->KeyboardNavigation = true; }
  static void SetWantTab(TWindowObject* o, bool on) { o->WantTab = on; }
  static void SetStyleRaw(TWindowObject* o, DWORD style) { o->Style = style; }
  static void SetHandle(TWindowObject* o, HWND h) { o->Handle = h; }
};
