// Works a program of its own process through its windows, the way a person at the screen does:
// reads windows, clicks, types keys through the X server, answers boxes and the folder dialog,
// compares what is on screen with a stored picture. Every wait is bounded; a timeout is a test
// failure and an empty result, so a test never hangs. Texts are UTF-8, read through the wide API.
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

// --- any window, also one of another process ---
std::string Text(HWND window); // through the wide API, so a wrong encoding shows
std::string Class(HWND window);
inline LONG Style(HWND window) { return GetWindowLongA(window, GWL_STYLE); }
inline HWND Owner(HWND window) { return GetWindow(window, GW_OWNER); }
RECT Rect(HWND window); // screen coordinates, outer frame
// Descendants of parent of this class (case ignored; empty: any) and, if given, this text.
std::vector<HWND> Children(HWND parent, const std::string& cls, const std::optional<std::string>& text = std::nullopt);
// A message box's text (its statics' texts), and whether it shows an icon.
std::string BoxText(HWND box);
bool BoxHasIcon(HWND box);

// --- acting ---
inline void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }
inline void CloseBox(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); } // what the close box sends
// Returns once the window's thread has handled what was posted to it before, and any box that
// handling opened is up: a message sent to it is handled only between the others, or in the box's loop.
bool RoundTrip(HWND window);
// Key events through the X server to the window's top-level X window, in xdotool's names ("shift+Tab").
bool Keys(HWND window, const std::string& keys);
// The pointer moved to (x, y) of the window's top-level window and its buttons pressed there, in
// xdotool's words ("click 3"), through the X server as a person's. A double-click: two presses of
// the left button on the window's middle, 80 ms apart.
bool Mouse(HWND window, LONG x, LONG y, const std::string& buttons);
bool DoubleClick(HWND window);

// Whether the system is a Russian one (code page 1251). Wine takes the code page and the
// language of the system's own words (a box's Yes and No, captions) from one locale.
bool RussianSystem();

// --- pictures ---
// Compares the window (with the box over it, if any) as it is on screen with
// tests/wizard/golden/<name>.png, masked rectangles (screen coordinates) painted over in both.
// On a system that is not Russian, the window's caption, which the system draws in a font of its
// own language, is masked too.
// On a difference the picture is left in the build tree; with OMBREL_UPDATE_GOLDEN set it
// becomes the golden one. Under a window manager (OMBREL_WINDOW_MANAGER) nothing is compared.
bool LooksLike(const std::string& name, HWND window, HWND over = nullptr, std::vector<RECT> masks = {});

class TProcess {
public:
  explicit TProcess(std::string exe);
  ~TProcess(); // kills it if it still runs
  TProcess(const TProcess&) = delete;
  TProcess& operator=(const TProcess&) = delete;

  // Started with this command-line tail, in this working folder if given.
  bool Start(const std::string& args = "", const std::string& folder = "");
  bool IsRunning() const;
  // The window a key typed now goes to: the foreground thread's focus, if that thread is the program's.
  HWND Focus() const;
  bool WaitFocus(HWND window);   // on this window
  bool WaitFocusIn(HWND window); // on it or a window inside it
  // Visible top-level windows with an area (the taskbar owner has none); with anySize, also those without.
  std::vector<HWND> Windows(bool anySize = false) const;
  HWND WaitWindow(const std::string& caption) { return Wait(nullptr, caption); } // not a dialog
  HWND WaitBox(const std::string& caption) { return Wait("#32770", caption); }   // a dialog with this caption
  HWND WaitDialog() { return Wait("#32770", std::nullopt); }                     // any dialog
  HWND WaitMenu() { return Wait("#32768", std::nullopt); }                       // a pop-up menu
  // Clicks the box's button with this ID and waits until the box is gone.
  bool Press(HWND box, int id);
  // The folder dialog: selects this folder in its tree, then OK.
  bool ChooseFolder(HWND dialog, const std::string& folder);
  std::optional<uint32_t> WaitExit(int timeoutMs = Timeout);

private:
  HWND Wait(const char* cls, const std::optional<std::string>& caption); // cls null: any but a dialog
  std::string Exe;
  PROCESS_INFORMATION Info{};
};

} // namespace driver
