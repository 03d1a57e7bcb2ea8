// Works a program through its windows as a person does: reads windows, clicks, types keys through
// the X server, compares the screen with stored pictures. Every wait is bounded: a timeout is a test
// failure and an empty result. Texts are UTF-8, read through the wide API so a wrong encoding shows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace driver {

constexpr int Timeout = 10000;
bool WaitUntil(const std::function<bool()>& cond, int timeoutMs = Timeout);
bool Failed(const std::string& what); // a failure added to the running test, as false

// --- any window, also one of another process ---
std::string Text(HWND window);
std::string Class(HWND window);
inline DWORD Style(HWND window) { return DWORD(GetWindowLongPtrW(window, GWL_STYLE)); }
inline DWORD ExStyle(HWND window) { return DWORD(GetWindowLongPtrW(window, GWL_EXSTYLE)); }
inline HWND Owner(HWND window) { return GetWindow(window, GW_OWNER); }
RECT Rect(HWND window); // screen coordinates, outer frame
// Descendants of this class (case ignored; empty: any) and, if given, this text.
std::vector<HWND> Children(HWND parent, const std::string& cls, const std::optional<std::string>& text = std::nullopt);
std::string BoxText(HWND box); // a message box's statics
bool BoxHasIcon(HWND box);

// --- acting ---
inline void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }
inline void CloseBox(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }
// Returns once the window's thread has handled what was posted to it before (and any box that opened is up).
bool RoundTrip(HWND window);
// Through the X server to the window's top-level X window, in xdotool's words ("shift+Tab", "click 3").
bool Keys(HWND window, const std::string& keys);
bool Mouse(HWND window, LONG x, LONG y, const std::string& buttons);
bool DoubleClick(HWND window); // the left button twice on its middle, 80 ms apart
bool RussianSystem();          // code page 1251, which also sets the language of the system's own words

// Compares the window (with the box over it) on screen with tests/wizard/golden/<name>.png, the
// masks (screen coordinates) and, on a system that is not Russian, the caption painted over in
// both. A differing shot stays in the build tree (OMBREL_UPDATE_GOLDEN: it becomes the golden one).
// Under a window manager nothing is compared.
bool LooksLike(const std::string& name, HWND window, HWND over = nullptr, std::vector<RECT> masks = {});

class TProcess {
public:
  explicit TProcess(std::string exe);
  ~TProcess(); // kills it if it still runs
  TProcess(const TProcess&) = delete;
  TProcess& operator=(const TProcess&) = delete;

  bool Start(const std::string& args = "", const std::string& folder = "");
  bool IsRunning() const;
  HWND Focus() const; // where a key typed now goes, if the foreground thread is the program's
  bool WaitFocus(HWND window);
  bool WaitFocusIn(HWND window); // on it or a window inside it
  // Visible top-level windows with an area (the taskbar owner has none) or, anySize, without.
  std::vector<HWND> Windows(bool anySize = false) const;
  HWND WaitWindow(const std::string& caption) { return Wait(nullptr, caption); } // not a dialog
  HWND WaitBox(const std::string& caption) { return Wait("#32770", caption); }
  HWND WaitDialog() { return Wait("#32770", std::nullopt); }
  HWND WaitMenu() { return Wait("#32768", std::nullopt); }
  bool Press(HWND box, int id); // the box's button, until the box is gone
  bool ChooseFolder(HWND dialog, const std::string& folder); // in the folder dialog's tree, then OK
  std::optional<uint32_t> WaitExit(int timeoutMs = Timeout);

private:
  HWND Wait(const char* cls, const std::optional<std::string>& caption); // cls null: any but a dialog
  std::string Exe;
  PROCESS_INFORMATION Info{};
};

} // namespace driver
