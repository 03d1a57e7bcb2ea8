#include "InstallerProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include <commctrl.h> // after windows.h

namespace driver {

namespace {

constexpr UINT CodePage1251 = 1251;
constexpr UINT SendTimeoutMs = 2000; // a hung target must not hang the test
constexpr DWORD PollMs = 20;

bool SameClass(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

struct TEnumState {
  DWORD ProcessId;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<TEnumState*>(param);
  if (ProcessOf(window) == state->ProcessId) state->Found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  TEnumState state{processId, {}};
  EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&state));
  return state.Found;
}

bool HasArea(HWND window) {
  RECT r = WindowRect(window);
  return r.right > r.left && r.bottom > r.top;
}

} // namespace

// --- texts ---

std::string WideTo1251(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CodePage1251, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CodePage1251, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::wstring Text1251ToWide(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CodePage1251, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CodePage1251, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string DosPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string out = "Z:" + path;
  std::replace(out.begin(), out.end(), '/', '\\');
  return out;
}

// --- reading windows ---

std::string WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, SendTimeoutMs, &length))
    return {};
  std::wstring buffer(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                           SMTO_ABORTIFHUNG, SendTimeoutMs, &copied))
    return {};
  buffer.resize(std::min<size_t>(copied, length));
  return WideTo1251(buffer);
}

std::string WindowClass(HWND window) {
  char name[256] = {};
  int n = GetClassNameA(window, name, sizeof name);
  return std::string(name, n > 0 ? static_cast<size_t>(n) : 0);
}

LONG WindowStyle(HWND window) { return GetWindowLongA(window, GWL_STYLE); }
LONG WindowExStyle(HWND window) { return GetWindowLongA(window, GWL_EXSTYLE); }

RECT WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

RECT ClientRect(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

bool IsShown(HWND window) { return IsWindowVisible(window) != FALSE; }
HWND Owner(HWND window) { return GetWindow(window, GW_OWNER); }

DWORD ProcessOf(HWND window) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  return id;
}

std::vector<HWND> Controls(HWND parent, const std::string& cls, const std::optional<std::string>& caption) {
  std::vector<HWND> all;
  EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> found;
  for (HWND w : all)
    if (SameClass(WindowClass(w), cls) && (!caption || WindowText(w) == *caption)) found.push_back(w);
  return found;
}

// --- pages ---

std::vector<HWND> PageFrames(HWND form) {
  std::vector<HWND> frames;
  for (HWND w = GetWindow(form, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (SameClass(WindowClass(w), "Static")) frames.push_back(w);
  return frames;
}

std::vector<HWND> VisibleFrames(HWND form) {
  std::vector<HWND> shown;
  for (HWND w : PageFrames(form))
    if (IsShown(w)) shown.push_back(w);
  return shown;
}

HWND ShownButton(HWND parent, const std::string& caption) {
  for (HWND w : Controls(parent, "Button", caption))
    if (IsShown(w) && IsWindowEnabled(w)) return w;
  return nullptr;
}

// --- pictures ---

RECT Union(const RECT& a, const RECT& b) {
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

std::vector<uint8_t> CaptureScreenArea(const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return {};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height; // bottom-up, as the file stores it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<uint8_t> pixels;
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY)) {
      GdiFlush();
      const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
      const auto* first = static_cast<const uint8_t*>(bits);
      pixels.assign(first, first + stride * size_t(height));
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

bool SaveScreenArea(const RECT& area, const std::string& path) {
  const std::vector<uint8_t> pixels = CaptureScreenArea(area);
  if (pixels.empty()) return false;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = area.right - area.left;
  header.biHeight = area.bottom - area.top;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(pixels.size());
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42; // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) && written == sizeof file &&
            WriteFile(out, &header, sizeof header, &written, nullptr) && written == sizeof header &&
            WriteFile(out, pixels.data(), header.biSizeImage, &written, nullptr) && written == header.biSizeImage;
  CloseHandle(out);
  return ok;
}

// --- acting ---

void Click(HWND control) {
  if (SameClass(WindowClass(control), "Button")) {
    PostMessageW(control, BM_CLICK, 0, 0);
    return;
  }
  RECT r = ClientRect(control);
  LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(control, WM_LBUTTONUP, 0, at);
}

void CloseBox(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool Keys(HWND window, const std::string& keys) {
  // Wine keeps the X window of each top-level window in this property.
  const auto x = reinterpret_cast<uintptr_t>(GetPropA(GetAncestor(window, GA_ROOT), "__wine_x11_whole_window"));
  if (!x) {
    ADD_FAILURE() << "no X window for the keys " << keys;
    return false;
  }
  const std::string target = "--window " + std::to_string(x) + " ";
  // A key pressed in a program that ended on the press is never released
  // for Wine, and Wine drops the next press of it: released first.
  static const struct {
    const char* Name;
    int Key;
  } held[] = {{"Return", VK_RETURN}, {"Escape", VK_ESCAPE}, {"Tab", VK_TAB}, {"space", VK_SPACE}, {"shift", VK_SHIFT}};
  std::string release;
  for (const auto& key : held)
    if (GetAsyncKeyState(key.Key) < 0) release += "keyup " + target + key.Name + " ";
  // Wine starts a Unix program without a handle to wait on: the program
  // leaves its exit code in a file when it is done.
  static int serial = 0;
  const std::string done =
      "/tmp/ombrel-keys-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
  std::string command =
      "/bin/sh -c \"/usr/bin/xdotool " + release + "key " + target + keys + "; echo $? > " + done + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    ADD_FAILURE() << "cannot run " << command << " (error " << GetLastError() << ")";
    return false;
  }
  if (info.hThread) CloseHandle(info.hThread);
  if (info.hProcess) CloseHandle(info.hProcess);
  const std::wstring file = Text1251ToWide(DosPath(done));
  std::string code;
  WaitUntil([&] {
    HANDLE f = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    char buffer[16] = {};
    DWORD read = 0;
    ReadFile(f, buffer, sizeof buffer - 1, &read, nullptr);
    CloseHandle(f);
    code.assign(buffer, read);
    return code.find('\n') != std::string::npos;
  });
  DeleteFileW(file.c_str());
  if (code != "0\n") ADD_FAILURE() << "xdotool key " << keys << ": " << (code.empty() ? "no end" : code);
  return code == "0\n";
}

bool WaitUntil(const std::function<bool()>& cond, int timeoutMs) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::max(timeoutMs, 0));
  for (;;) {
    if (cond()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(PollMs);
  }
}

// --- the process ---

TInstallerProcess::TInstallerProcess(std::string exePath) : ExePath(DosPath(exePath)) {}

TInstallerProcess::~TInstallerProcess() {
  Kill();
  if (Info.hThread) CloseHandle(Info.hThread);
  if (Info.hProcess) CloseHandle(Info.hProcess);
}

bool TInstallerProcess::Start(const std::string& args) {
  if (Info.hProcess) {
    ADD_FAILURE() << "process already started";
    return false;
  }
  std::string commandLine = "\"" + ExePath + "\"";
  if (!args.empty()) commandLine += " " + args;
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &Info)) {
    ADD_FAILURE() << "cannot start " << commandLine << " (error " << GetLastError() << ")";
    Info = PROCESS_INFORMATION{};
    return false;
  }
  return true;
}

bool TInstallerProcess::IsRunning() const {
  return Info.hProcess && WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT;
}

HWND TInstallerProcess::Focus() const {
  // Keys go to the focus of the foreground thread: the program's own focus
  // counts only while its window is the foreground one (a window manager
  // hands that over a moment after the window comes up).
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  if (!Info.hProcess || !GetGUIThreadInfo(0, &gui) || !gui.hwndActive) return nullptr;
  return GetWindowThreadProcessId(gui.hwndActive, nullptr) == Info.dwThreadId ? gui.hwndFocus : nullptr;
}

bool TInstallerProcess::WaitFocus(HWND window, int timeoutMs) {
  HWND last = nullptr;
  if (WaitUntil([&] { return (last = Focus()) == window; }, timeoutMs)) return true;
  ADD_FAILURE() << "the focus is on \"" << WindowText(last) << "\" (" << WindowClass(last) << "), not on \""
                << WindowText(window) << "\"; the foreground window is \"" << WindowText(GetForegroundWindow()) << "\"";
  return false;
}

bool TInstallerProcess::WaitFocusIn(HWND window, int timeoutMs) {
  if (WaitUntil([&] {
        HWND focus = Focus();
        return focus && (focus == window || IsChild(window, focus));
      }, timeoutMs))
    return true;
  ADD_FAILURE() << "no focus in \"" << WindowText(window) << "\"";
  return false;
}

std::vector<HWND> TInstallerProcess::VisibleWindows() const {
  std::vector<HWND> found;
  if (!Info.hProcess) return found;
  for (HWND w : TopLevelWindowsOf(Info.dwProcessId))
    if (IsShown(w) && HasArea(w)) found.push_back(w);
  return found;
}

HWND TInstallerProcess::MainWindow(const std::string& caption, int timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND w : VisibleWindows())
      if (WindowClass(w) != "#32770" && WindowText(w) == caption) {
        found = w;
        return true;
      }
    return !IsRunning();
  }, timeoutMs);
  if (!found) ADD_FAILURE() << "no window \"" << caption << "\" of the process within " << timeoutMs << " ms";
  return found;
}

HWND TInstallerProcess::FindControl(HWND parent, const std::string& cls, const std::string& caption,
                                    int timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] {
    std::vector<HWND> all = Controls(parent, cls, caption);
    if (!all.empty()) found = all.front();
    return found != nullptr || !IsWindow(parent);
  }, timeoutMs);
  if (!found) ADD_FAILURE() << "no control " << cls << " \"" << caption << "\" within " << timeoutMs << " ms";
  return found;
}

HWND TInstallerProcess::WaitMessageBox(const std::string& caption, int timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND w : VisibleWindows())
      if (WindowClass(w) == "#32770" && WindowText(w) == caption) {
        found = w;
        return true;
      }
    return !IsRunning();
  }, timeoutMs);
  if (!found) ADD_FAILURE() << "no message box \"" << caption << "\" within " << timeoutMs << " ms";
  return found;
}

HWND TInstallerProcess::WaitDialog(int timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND w : VisibleWindows())
      if (WindowClass(w) == "#32770") {
        found = w;
        return true;
      }
    return !IsRunning();
  }, timeoutMs);
  if (!found) ADD_FAILURE() << "no dialog of the process within " << timeoutMs << " ms";
  return found;
}

namespace {

// A tree view of another process: TVM_GETITEM writes into memory of the
// process that owns the control, so the item and its text buffer live there.
class TRemoteTree {
public:
  TRemoteTree(HANDLE process, HWND tree) : Process(process), Tree(tree) {
    Buffer = VirtualAllocEx(Process, nullptr, BufferSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~TRemoteTree() {
    if (Buffer) VirtualFreeEx(Process, Buffer, 0, MEM_RELEASE);
  }
  TRemoteTree(const TRemoteTree&) = delete;
  TRemoteTree& operator=(const TRemoteTree&) = delete;

  bool Ready() const { return Buffer != nullptr; }

  HTREEITEM Next(HTREEITEM item, UINT how) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(Tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item), SMTO_ABORTIFHUNG,
                        SendTimeoutMs, &result);
    return reinterpret_cast<HTREEITEM>(result);
  }

  std::string Text(HTREEITEM item) const {
    auto* remote = static_cast<char*>(Buffer);
    wchar_t* remoteText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
    TVITEMW info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = remoteText;
    info.cchTextMax = TextChars;
    SIZE_T done = 0;
    if (!WriteProcessMemory(Process, remote, &info, sizeof info, &done)) return {};
    DWORD_PTR ok = 0;
    if (!SendMessageTimeoutW(Tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                             SendTimeoutMs, &ok) || !ok)
      return {};
    std::wstring text(TextChars, L'\0');
    if (!ReadProcessMemory(Process, remoteText, text.data(), TextChars * sizeof(wchar_t), &done)) return {};
    text.resize(std::min<size_t>(text.find(L'\0'), TextChars));
    return WideTo1251(text);
  }

  // Expands parent (the dialog fills it then) and finds a child whose text
  // contains part, case ignored.
  HTREEITEM Child(HTREEITEM parent, const std::string& part) const {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent), SMTO_ABORTIFHUNG,
                        SendTimeoutMs, &ignored);
    for (HTREEITEM item = Next(parent, TVGN_CHILD); item; item = Next(item, TVGN_NEXT))
      if (Contains(Text(item), part)) return item;
    return nullptr;
  }

  static bool Contains(std::string text, std::string part) {
    auto lower = [](std::string& s) {
      for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    };
    lower(text);
    lower(part);
    return text.find(part) != std::string::npos;
  }

private:
  static constexpr int TextChars = 520;
  static constexpr SIZE_T BufferSize = sizeof(TVITEMW) + TextChars * sizeof(wchar_t);
  HANDLE Process;
  HWND Tree;
  void* Buffer = nullptr;
};

} // namespace

bool TInstallerProcess::ChooseFolder(HWND dialog, const std::vector<std::string>& parts) {
  std::vector<HWND> trees = Controls(dialog, "SysTreeView32");
  if (trees.size() != 1 || parts.empty()) {
    ADD_FAILURE() << "the dialog has no single tree view";
    return false;
  }
  TRemoteTree tree(Info.hProcess, trees.front());
  if (!tree.Ready()) {
    ADD_FAILURE() << "cannot allocate in the process (error " << GetLastError() << ")";
    return false;
  }
  // The first part (a drive) is found below the root or one level further
  // down (below the computer folder), whichever the dialog shows.
  HTREEITEM root = tree.Next(nullptr, TVGN_ROOT);
  HTREEITEM item = root ? tree.Child(root, parts.front()) : nullptr;
  for (HTREEITEM top = root ? tree.Next(root, TVGN_CHILD) : nullptr; top && !item; top = tree.Next(top, TVGN_NEXT))
    item = tree.Child(top, parts.front());
  for (size_t i = 1; item && i < parts.size(); ++i) item = tree.Child(item, parts[i]);
  if (!item) {
    ADD_FAILURE() << "no folder item for " << parts.back();
    return false;
  }
  DWORD_PTR selected = 0;
  SendMessageTimeoutW(trees.front(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item), SMTO_ABORTIFHUNG,
                      SendTimeoutMs, &selected);
  if (!selected) {
    ADD_FAILURE() << "the item for " << parts.back() << " was not selected";
    return false;
  }
  return PressButton(dialog, IDOK);
}

std::string TInstallerProcess::MessageBoxText(HWND box) {
  // The message is the box's only static with text (the icon static has none).
  std::string text;
  for (HWND s : Controls(box, "Static")) {
    std::string t = WindowText(s);
    if (!t.empty()) text += t;
  }
  return text;
}

bool TInstallerProcess::MessageBoxHasIcon(HWND box) {
  // The icon static is there in every box; only an icon box gives it an icon.
  for (HWND s : Controls(box, "Static")) {
    DWORD_PTR icon = 0;
    if ((WindowStyle(s) & SS_TYPEMASK) == SS_ICON &&
        SendMessageTimeoutW(s, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, SendTimeoutMs, &icon) && icon)
      return true;
  }
  return false;
}

bool TInstallerProcess::PressButton(HWND box, int buttonId, int timeoutMs) {
  HWND button = GetDlgItem(box, buttonId);
  if (!button) {
    ADD_FAILURE() << "the box has no button with ID " << buttonId;
    return false;
  }
  Click(button);
  if (!WaitUntil([&] { return !IsWindow(box) || !IsShown(box); }, timeoutMs)) {
    ADD_FAILURE() << "the box did not close within " << timeoutMs << " ms after button " << buttonId;
    return false;
  }
  return true;
}

std::optional<std::string> TInstallerProcess::AnswerMessageBox(const std::string& caption, int buttonId,
                                                               int timeoutMs) {
  HWND box = WaitMessageBox(caption, timeoutMs);
  if (!box) return std::nullopt;
  std::string text = MessageBoxText(box);
  if (!PressButton(box, buttonId, timeoutMs)) return std::nullopt;
  return text;
}

std::optional<uint32_t> TInstallerProcess::WaitExit(int timeoutMs) {
  if (!Info.hProcess) {
    ADD_FAILURE() << "process not started";
    return std::nullopt;
  }
  if (WaitForSingleObject(Info.hProcess, static_cast<DWORD>(std::max(timeoutMs, 0))) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "process still running after " << timeoutMs << " ms";
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(Info.hProcess, &code);
  return code;
}

void TInstallerProcess::Kill() {
  if (IsRunning()) {
    TerminateProcess(Info.hProcess, 0xDEAD);
    WaitForSingleObject(Info.hProcess, 5000);
  }
}

} // namespace driver
