// Black-box driver for end-to-end tests: starts a program as a child process
// and works it only through its windows, the way a person at the screen would.
// Every wait is bounded; a timeout is reported as a test failure (ADD_FAILURE)
// and the call returns an empty result, so a test never hangs.
//
// Texts are exchanged in code page 1251 (the product's own texts), whatever the
// code page of the test process: windows are read through the wide API and
// converted, so a wrongly encoded window text shows up as a mismatch.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace driver {

constexpr int DefaultTimeoutMs = 10000;

// --- texts ---
std::string WideTo1251(const std::wstring& text);
std::wstring Text1251ToWide(const std::string& text);
// A Unix path ("/work/...") as Wine sees it ("Z:\work\..."); a DOS path is kept.
std::string DosPath(const std::string& path);

// --- reading any window, also one of another process ---
std::string WindowText(HWND window);   // WM_GETTEXT, bounded by a timeout
std::string WindowClass(HWND window);
LONG WindowStyle(HWND window);
LONG WindowExStyle(HWND window);
RECT WindowRect(HWND window);          // screen coordinates, outer frame
RECT ClientRect(HWND window);
bool IsShown(HWND window);             // visible, with all its parents
HWND Owner(HWND window);
DWORD ProcessOf(HWND window);

// Children (all depth levels) of a window whose class matches cls (case does
// not matter, as for Windows class names) and, when caption is given, whose
// text equals it exactly.
std::vector<HWND> Controls(HWND parent, const std::string& cls,
                           const std::optional<std::string>& caption = std::nullopt);

// --- acting on windows ---
// A button gets a posted BM_CLICK; any other window a posted left press and
// release at its centre. Posted, so a click that opens a modal box returns at once.
void Click(HWND control);
// What the close box sends.
void CloseBox(HWND window);
// Types keys as a keyboard does: key events through the X server to the
// window's top-level X window (xdotool key names: "Return", "shift+Tab").
bool Keys(HWND window, const std::string& keys);

// --- a wizard's pages ---
// The page frames of a wizard window: its direct children of class STATIC
// (controls sit inside the frames, never directly on the form).
std::vector<HWND> PageFrames(HWND form);
// Those of them that are shown.
std::vector<HWND> VisibleFrames(HWND form);
// The shown, enabled button with this caption inside parent, or null.
HWND ShownButton(HWND parent, const std::string& caption);

// --- pictures ---
// What a person sees in this screen rectangle: 24-bit pixels, bottom-up rows
// padded to 4 bytes, as a BMP file stores them; empty when it cannot be read.
std::vector<uint8_t> CaptureScreenArea(const RECT& area);
// The same, written as a 24-bit BMP.
bool SaveScreenArea(const RECT& area, const std::string& path);
RECT Union(const RECT& a, const RECT& b);

// Polls cond every few milliseconds until it holds or timeoutMs has passed.
bool WaitUntil(const std::function<bool()>& cond, int timeoutMs = DefaultTimeoutMs);

// One program under test. The destructor kills the process if it still runs.
class TInstallerProcess {
public:
  explicit TInstallerProcess(std::string exePath);
  ~TInstallerProcess();
  TInstallerProcess(const TInstallerProcess&) = delete;
  TInstallerProcess& operator=(const TInstallerProcess&) = delete;

  // Starts the program with the given command-line tail ("" for none).
  bool Start(const std::string& args = "");
  bool IsRunning() const;
  DWORD ProcessId() const { return Info.dwProcessId; }

  // The window of the process that a key typed now goes to, or null.
  HWND Focus() const;
  // Waits until the focus is on this window.
  bool WaitFocus(HWND window, int timeoutMs = DefaultTimeoutMs);
  // Waits until the focus is on this window or one inside it: the moment a
  // person starts typing into a window that has come up.
  bool WaitFocusIn(HWND window, int timeoutMs = DefaultTimeoutMs);

  // Top-level windows of the process that a person can see: visible and with
  // a non-empty frame (so a zero-size taskbar owner window does not count).
  std::vector<HWND> VisibleWindows() const;
  // Waits for the visible top-level window with this caption.
  HWND MainWindow(const std::string& caption, int timeoutMs = DefaultTimeoutMs);
  // Waits for a control of the given class and caption inside parent.
  HWND FindControl(HWND parent, const std::string& cls, const std::string& caption,
                   int timeoutMs = DefaultTimeoutMs);

  // Message boxes: the process's visible "#32770" dialog with this caption.
  HWND WaitMessageBox(const std::string& caption, int timeoutMs = DefaultTimeoutMs);
  static std::string MessageBoxText(HWND box);
  // Whether the box shows an icon (question, exclamation, ...).
  static bool MessageBoxHasIcon(HWND box);
  // Any dialog of the process (class "#32770") that is shown, whatever its caption.
  HWND WaitDialog(int timeoutMs = DefaultTimeoutMs);
  // The system folder dialog of the process: expands and selects the items
  // whose texts contain these parts (case ignored), one level after the
  // other below the first item that contains the first part, then presses OK.
  // The tree view belongs to the other process, so its item texts are read
  // through a buffer allocated in that process.
  bool ChooseFolder(HWND dialog, const std::vector<std::string>& parts);
  // Clicks the box's button with this ID (IDOK, IDYES, IDNO, ...) and waits
  // until the box is gone.
  bool PressButton(HWND box, int buttonId, int timeoutMs = DefaultTimeoutMs);
  // Waits for the box, reads its text, presses the button; the text, or
  // nothing when the box did not come or did not go.
  std::optional<std::string> AnswerMessageBox(const std::string& caption, int buttonId,
                                              int timeoutMs = DefaultTimeoutMs);

  // Waits for the process to end; its exit code, or nothing on timeout.
  std::optional<uint32_t> WaitExit(int timeoutMs = DefaultTimeoutMs);
  void Kill();

private:
  std::string ExePath;
  PROCESS_INFORMATION Info{};
};

} // namespace driver
