// What the units of the window-system layer share among themselves; nothing
// outside the layer includes this.
#pragma once

#include "Window.h"

// Who erases a window's background before it paints. Under a paint handler
// of its element a window is erased by nobody: the handler covers it whole,
// except on a form, which only has a picture drawn on it.
enum TBackground : uint8_t {
  bgSystem,     // the system's procedure
  bgFilled,     // filled here with its colour: a group box draws only its frame and caption, and
                // its parents clip it away, so nothing else paints its inside
  bgUnderPaint, // filled here, also under a paint handler (forms)
};

// A notification code no control sends: the kind reports no such event.
constexpr WORD ncNone = 0xFFFF;

// The style words that align a text the system draws: left, right, centre.
struct TTextAlignStyles {
  DWORD Mask;
  DWORD Words[3];
};

// A window kind: how its native window is made, and what it does that other
// kinds do not. A new kind is a new row (and a class with a record, where it
// keeps state of its own).
struct TControlKind {
  const wchar_t* ClassName = nullptr;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int32_t DefaultWidth = 0;
  int32_t DefaultHeight = 0;
  int32_t Color = int32_t(0xFF00000F); // the background it starts with...
  bool ColorFromParent = true;         // ...unless it starts with its parent's
  bool Focusable = false;              // takes the focus; Tab reaches it
  bool TabNavigation = false;          // Tab moves the focus on from it
  bool WantTab = false;                // a typed Tab reaches it instead of being swallowed
  // Enter presses it; it can be a form's default or cancel button, and shows
  // whether Enter presses it.
  bool PushButton = false;
  DWORD OwnEnter = 0;                  // style bits that, all set, keep Enter for the window itself
  WORD ClickCode = ncNone;             // the notification to its parent that is a click on it
  WORD ChangeCode = ncNone;            // ...and the one that is a change of its text
  TBackground Background = bgSystem;
  bool LayerClass = false; // one of the layer's own classes, routed from creation; else the system's, subclassed
  bool ShownLater = false; // made hidden whatever Visible says: shown by the loop or ShowAndActivate
  bool TextAfterFont = false;                 // gets its text only after its font
  const TTextAlignStyles* TextAlign = nullptr; // its text alignment in its style; else its painting reads it
  // The step once the native window exists, before it is shown or painted.
  void (*AfterCreate)(TWindowObject& window) = nullptr;
  // The messages the kind answers before every window's handlers see them:
  // true when answered, with the result.
  bool (*Messages)(TWindowObject& window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) = nullptr;
};

const TControlKind& KindOf(TControlKindId kind);

// The messages of the layer's top-level windows (Dispatch.cpp).
bool ApplicationMessage(TWindowObject& window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
bool FormMessage(TWindowObject& window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

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

// The application that lives, or none: what the windows tell it is then told
// to nobody.
TApplication* ApplicationOfLayer();

// Whether a person can reach the window now: made, shown and enabled.
inline bool Shown(const TWindowObject* window) {
  HWND h = window->PeekHandle();
  return h && IsWindowVisible(h) && IsWindowEnabled(h);
}
