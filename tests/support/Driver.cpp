#include "Driver.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <commctrl.h> // after windows.h
#include <shlobj.h>

#include "Files.h"

namespace driver {

namespace {

LRESULT Send(HWND window, UINT message, WPARAM w = 0, LPARAM l = 0) {
  DWORD_PTR result = 0; // a hung target must not hang the test: 2 s at most
  SendMessageTimeoutW(window, message, w, l, SMTO_ABORTIFHUNG, 2000, &result);
  return LRESULT(result);
}

// Window enumeration calls back by the system's convention, which a lambda cannot take on 32-bit.
BOOL CALLBACK CollectWindow(HWND w, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
  return TRUE;
}

// Wine keeps the X window of each top-level window in this property.
uintptr_t X11Window(HWND window) {
  return uintptr_t(GetPropA(GetAncestor(window, GA_ROOT), "__wine_x11_whole_window"));
}

} // namespace

bool Failed(const std::string& what) {
  ADD_FAILURE() << what;
  return false;
}

bool WaitUntil(const std::function<bool()>& cond, int timeoutMs) {
  for (const ULONGLONG end = GetTickCount64() + ULONGLONG(std::max(timeoutMs, 0));; Sleep(20)) {
    if (cond()) return true;
    if (GetTickCount64() >= end) return false;
  }
}

std::string Text(HWND window) {
  std::wstring text(size_t(Send(window, WM_GETTEXTLENGTH)) + 1, L'\0');
  text.resize(std::min<size_t>(size_t(Send(window, WM_GETTEXT, text.size(), LPARAM(text.data()))), text.size() - 1));
  return files::Narrow(text);
}

std::string Class(HWND window) {
  wchar_t name[256] = {};
  return files::Narrow(std::wstring(name, size_t(std::max(GetClassNameW(window, name, 256), 0))));
}

RECT Rect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

std::vector<HWND> Children(HWND parent, const std::string& cls, const std::optional<std::string>& text) {
  std::vector<HWND> all, found;
  EnumChildWindows(parent, CollectWindow, LPARAM(&all));
  for (HWND w : all)
    if ((cls.empty() || lstrcmpiA(Class(w).c_str(), cls.c_str()) == 0) && (!text || Text(w) == *text)) found.push_back(w);
  return found;
}

std::string BoxText(HWND box) {
  std::string text;
  for (HWND s : Children(box, "Static")) text += Text(s); // the icon static has no text
  return text;
}

bool BoxHasIcon(HWND box) {
  for (HWND s : Children(box, "Static"))
    if ((Style(s) & SS_TYPEMASK) == SS_ICON && Send(s, STM_GETICON)) return true;
  return false;
}

bool Keys(HWND window, const std::string& keys) {
  const uintptr_t x = X11Window(window);
  const std::string target = "--window " + std::to_string(x) + " ";
  // Wine drops a press of a key never released (the program ended on the press): released first.
  static const std::pair<const char*, int> held[] = {
      {"Return", VK_RETURN}, {"Escape", VK_ESCAPE}, {"Tab", VK_TAB}, {"space", VK_SPACE}, {"shift", VK_SHIFT}};
  std::string release;
  for (const auto& [name, key] : held) release += GetAsyncKeyState(key) < 0 ? "keyup " + target + name + " " : "";
  // A release sent to a window that lost the focus on the press goes astray and the X server
  // repeats the key: every key is let go through XTEST afterwards too.
  const auto [code, output] = files::RunUnix("/usr/bin/xdotool " + release + "key " + target + keys +
                                             "; rc=$?; /usr/bin/xdotool keyup " + keys + "; exit $rc");
  if (x && (code == 0 || !IsWindow(window))) return true; // a release that found no window is no fault
  return Failed("keys " + keys + " to X window " + std::to_string(x) + ": " + std::to_string(code) + " " + output);
}

bool RussianSystem() { return GetACP() == 1251; }

bool RoundTrip(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, DWORD(Timeout), &result) ||
         Failed("\"" + Text(window) + "\" does not answer");
}

bool Mouse(HWND window, LONG x, LONG y, const std::string& buttons) {
  const auto [code, output] = files::RunUnix("/usr/bin/xdotool mousemove --window " +
                                             std::to_string(X11Window(window)) + " " + std::to_string(x) + " " +
                                             std::to_string(y) + " " + buttons);
  return code == 0 || Failed(buttons + " at " + std::to_string(x) + "," + std::to_string(y) + ": " + output);
}

bool DoubleClick(HWND window) {
  const RECT top = Rect(GetAncestor(window, GA_ROOT)), r = Rect(window);
  return Mouse(window, (r.left + r.right) / 2 - top.left, (r.top + r.bottom) / 2 - top.top,
               "click --repeat 2 --delay 80 1");
}

bool LooksLike(const std::string& name, HWND window, HWND over, std::vector<RECT> masks) {
  // A window manager draws frames of its own: the pictures hold Wine's.
  if (!files::Env("OMBREL_WINDOW_MANAGER").empty()) return true;
  if (!RussianSystem()) { // the caption: from the window's top to its client area
    POINT client{0, 0};
    ClientToScreen(window, &client);
    masks.push_back(RECT{Rect(window).left, Rect(window).top, Rect(window).right, client.y});
  }
  RECT area = Rect(window), box = over ? Rect(over) : area;
  UnionRect(&area, &area, &box);
  const std::string shot = OMBREL_SHOTS_DIR "/" + name + ".png", golden = OMBREL_GOLDEN_DIR "/" + name + ".png";
  const auto n = [](LONG value) { return std::to_string(value); };
  std::string paint = " -fill black";
  for (RECT m : masks)
    paint += " -draw 'rectangle " + n(m.left - area.left) + "," + n(m.top - area.top) + " " +
             n(m.right - area.left - 1) + "," + n(m.bottom - area.top - 1) + "'";
  const std::string take = "/usr/bin/import -window root -crop " + n(area.right - area.left) + "x" +
                           n(area.bottom - area.top) + "+" + n(area.left) + "+" + n(area.top) +
                           " +repage miff:- | /usr/bin/convert -" + paint + " " + shot;
  // Painting has settled once two shots in a row are the same.
  std::string previous;
  const bool settled = WaitUntil([&] {
    if (files::RunUnix(take).first != 0) return false;
    std::string now = files::Read(files::DosPath(shot));
    const bool same = !now.empty() && now == previous;
    previous = std::move(now);
    return same;
  });
  if (!settled) return Failed("cannot take a settled " + shot);
  if (!files::Env("OMBREL_UPDATE_GOLDEN").empty()) files::RunUnix("cp " + shot + " " + golden);
  // The golden picture masked alike; compare counts the pixels that differ at all.
  const auto [code, output] = files::RunUnix("/usr/bin/convert " + golden + paint +
                                             " miff:- | /usr/bin/compare -metric AE - " + shot + " null:");
  return code == 0 || Failed(name + " differs from " + golden + " in " + output + " pixels; see " + shot);
}

TProcess::TProcess(std::string exe) : Exe(files::DosPath(exe)) {}

TProcess::~TProcess() {
  if (IsRunning() && TerminateProcess(Info.hProcess, 0xDEAD)) WaitForSingleObject(Info.hProcess, 5000);
  if (Info.hThread) CloseHandle(Info.hThread);
  if (Info.hProcess) CloseHandle(Info.hProcess);
}

bool TProcess::Start(const std::string& args, const std::string& folder) {
  std::wstring line = files::Wide("\"" + Exe + "\"" + (args.empty() ? "" : " " + args));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  // Wine now and then refuses a start with an internal error (1359), the program never run; a next try starts it.
  DWORD error = ERROR_INTERNAL_ERROR;
  for (int tries = 0; tries < 3 && error == ERROR_INTERNAL_ERROR; ++tries) {
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.empty() ? nullptr : files::Wide(folder).c_str(), &startup, &Info))
      return true;
    error = GetLastError();
  }
  return Failed("cannot start " + Exe + " (error " + std::to_string(error) + ")");
}

bool TProcess::IsRunning() const { return Info.hProcess && WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT; }

HWND TProcess::Focus() const {
  // A window manager hands the foreground over a moment after a window comes up.
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  if (!Info.hProcess || !GetGUIThreadInfo(0, &gui) || !gui.hwndActive) return nullptr;
  return GetWindowThreadProcessId(gui.hwndActive, nullptr) == Info.dwThreadId ? gui.hwndFocus : nullptr;
}

bool TProcess::WaitFocus(HWND window) {
  HWND last = nullptr;
  const auto focused = [&] { return (last = Focus()) == window; };
  if (WaitUntil(focused, 2000)) return true;
  // Wine without a window manager can leave nothing active as a modal dialog goes: a person clicks
  // the window's caption then, and the program must put the focus back where it was.
  const HWND foreground = GetForegroundWindow();
  if ((!foreground || foreground == GetDesktopWindow()) && X11Window(window)) {
    if (Mouse(window, 60, 8, "click 1") && WaitUntil(focused)) return true;
  }
  return Failed("the focus is on \"" + Text(last) + "\" (" + Class(last) + "), not on \"" + Text(window) + "\"");
}

bool TProcess::WaitFocusIn(HWND window) {
  return WaitUntil([&] { return Focus() && (Focus() == window || IsChild(window, Focus())); }) ||
         Failed("no focus in \"" + Text(window) + "\"");
}

std::vector<HWND> TProcess::Windows(bool anySize) const {
  std::vector<HWND> all, found;
  if (Info.hProcess) EnumWindows(CollectWindow, LPARAM(&all));
  for (HWND w : all) {
    const RECT r = Rect(w);
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    if (process == Info.dwProcessId && IsWindowVisible(w) && (anySize || !IsRectEmpty(&r))) found.push_back(w);
  }
  return found;
}

HWND TProcess::Wait(const char* cls, const std::optional<std::string>& caption) {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND w : Windows())
      if ((cls ? Class(w) == cls : Class(w) != "#32770") && (!caption || Text(w) == *caption))
        return (found = w) != nullptr;
    return !IsRunning();
  });
  if (!found) ADD_FAILURE() << "no " << (cls ? cls : "window") << " " << caption.value_or("") << " of the program";
  return found;
}

bool TProcess::Press(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  if (button) Click(button);
  return (button && WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); })) ||
         Failed("button " + std::to_string(id) + " of \"" + Text(box) + "\" did not close it");
}

bool TProcess::ChooseFolder(HWND dialog, const std::string& folder) {
  // The dialog and its tree take pointers into their own process: the path, the item and its text
  // live in a block allocated there.
  struct TBlock {
    TVITEMW Item;
    wchar_t Text[MAX_PATH], Path[MAX_PATH];
  } block{};
  std::wstring leaf = files::Wide(folder.substr(0, folder.find_last_not_of('\\') + 1));
  leaf = CharLowerW(leaf.substr(leaf.find_last_of(L'\\') + 1).data());
  files::Wide(folder).copy(block.Path, MAX_PATH - 1);
  auto* remote = static_cast<TBlock*>(
      VirtualAllocEx(Info.hProcess, nullptr, sizeof block, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  const std::vector<HWND> trees = Children(dialog, "SysTreeView32");
  // A selection asked for while the dialog still settles can be lost: asked until it shows.
  const auto selected = [&] {
    const HWND tree = trees.front(); // its selected item's text asked for into the block
    block.Item.mask = TVIF_TEXT;
    block.Item.hItem = HTREEITEM(Send(tree, TVM_GETNEXTITEM, TVGN_CARET));
    block.Item.pszText = remote->Text;
    block.Item.cchTextMax = MAX_PATH;
    if (!WriteProcessMemory(Info.hProcess, remote, &block, sizeof block, nullptr)) return false;
    if (block.Item.hItem && Send(tree, TVM_GETITEMW, 0, LPARAM(&remote->Item)) &&
        ReadProcessMemory(Info.hProcess, remote->Text, block.Text, sizeof block.Text, nullptr) &&
        std::wstring(CharLowerW(block.Text)).find(leaf) != std::wstring::npos)
      return true;
    Send(dialog, BFFM_SETSELECTIONW, TRUE, LPARAM(remote->Path));
    return false;
  };
  const bool chosen = remote && trees.size() == 1 && WaitUntil(selected);
  if (remote) VirtualFreeEx(Info.hProcess, remote, 0, MEM_RELEASE);
  return (chosen || Failed("cannot select " + folder + " in the folder dialog")) && Press(dialog, IDOK);
}

std::optional<uint32_t> TProcess::WaitExit(int timeoutMs) {
  DWORD code = 0;
  if (Info.hProcess && WaitForSingleObject(Info.hProcess, DWORD(timeoutMs)) == WAIT_OBJECT_0 &&
      GetExitCodeProcess(Info.hProcess, &code))
    return code;
  Failed(Exe + " still runs after " + std::to_string(timeoutMs) + " ms");
  return std::nullopt;
}

} // namespace driver
