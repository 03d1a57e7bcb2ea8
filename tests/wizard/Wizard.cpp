#include "Wizard.h"

#include <shlobj.h>

#include <gtest/gtest.h>

using namespace driver;

const char* Name(EPage page) {
  static const char* const names[] = {"welcome", "licence", "folder", "finish", "none", "several", "unknown"};
  return names[int(page)];
}

const std::string& Forward(EPage page) {
  static const std::string* const buttons[] = {&texts::Next, &texts::Agree, &texts::Install, &texts::Done};
  return *buttons[int(page)];
}

bool TWizard::Start(const std::string& folder, const std::string& args) {
  return Process.Start(args, folder) && (Main = Process.WaitWindow(texts::MainCaption)) && WaitPage(EPage::Welcome);
}

std::vector<HWND> TWizard::Frames(bool shown) const {
  std::vector<HWND> frames;
  for (HWND w = GetWindow(Main, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (lstrcmpiA(Class(w).c_str(), "Static") == 0 && (!shown || IsWindowVisible(w))) frames.push_back(w);
  return frames;
}

HWND TWizard::Frame() const {
  const std::vector<HWND> shown = Frames(true);
  return shown.size() == 1 ? shown.front() : nullptr;
}

EPage TWizard::Page() const {
  if (const size_t shown = Frames(true).size(); shown != 1) return shown ? EPage::Several : EPage::None;
  for (EPage page : {EPage::Welcome, EPage::Licence, EPage::Folder, EPage::Finish})
    if (Button(Forward(page))) return page;
  return EPage::Unknown;
}

bool TWizard::WaitPage(EPage page, int timeoutMs) {
  return WaitUntil([&] { return Page() == page; }, timeoutMs) ||
         Failed(std::string("expected the ") + Name(page) + " page, on screen: " + Name(Page()) +
                (Process.IsRunning() ? "" : " (the program ended)"));
}

HWND TWizard::Button(const std::string& caption) const {
  HWND frame = Frame();
  for (HWND b : frame ? Children(frame, "Button", caption) : std::vector<HWND>{})
    if (IsWindowVisible(b) && IsWindowEnabled(b)) return b;
  return nullptr;
}

HWND TWizard::Field() const {
  const std::vector<HWND> edits = Frame() ? Children(Frame(), "Edit") : std::vector<HWND>{};
  return edits.size() == 1 ? edits.front() : nullptr;
}

bool TWizard::Press(const std::string& caption) {
  HWND button = Button(caption);
  if (button) Click(button);
  return button || Failed("no button " + caption + " on the " + Name(Page()) + " page");
}

bool TWizard::GoTo(EPage page, bool keys) {
  for (int at = 0; at < int(page); ++at) {
    const std::string& button = Forward(EPage(at));
    if (!(keys ? FocusOnDefault(button) && Type("Return") : Press(button)) || !WaitPage(EPage(at + 1))) return false;
  }
  return true;
}

bool TWizard::FocusOnDefault(const std::string& caption) {
  HWND button = Button(caption);
  if (!button || !Process.WaitFocus(button)) return false;
  EXPECT_EQ(BS_DEFPUSHBUTTON, Style(button) & BS_TYPEMASK) << caption << " is not drawn as the default button";
  return true;
}

namespace {
const wchar_t* const EntryKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sorvanta";
} // namespace

void RemoveInstallation(const std::string& folder) {
  const auto gone = [&] {
    DeleteFileW(files::Wide(Link()).c_str());
    return files::RemoveTree(folder + "\\Varkelo") && !files::IsFile(Link());
  };
  EXPECT_TRUE(WaitUntil(gone)) << "cannot remove " << folder << "\\Varkelo or the shortcut";
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, EntryKey);
}

std::map<std::string, std::string> UninstallEntry() {
  std::map<std::string, std::string> values;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, EntryKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  wchar_t name[256];
  BYTE data[4096];
  for (DWORD i = 0, nameSize = 256, size = sizeof data, type = 0;
       RegEnumValueW(key, i, name, &nameSize, nullptr, &type, data, &size) == ERROR_SUCCESS;
       ++i, nameSize = 256, size = sizeof data)
    values[files::Narrow(name)] = type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(data))
                                                    : files::Narrow(reinterpret_cast<wchar_t*>(data));
  RegCloseKey(key);
  return values;
}

bool MakeFolder(const std::string& folder) {
  const int made = SHCreateDirectoryExW(nullptr, files::Wide(folder).c_str(), nullptr);
  return made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS;
}

THeld Hold(const std::string& path) {
  THeld held = files::Hold(path);
  EXPECT_TRUE(held || path.empty()) << "cannot hold " << path;
  return held;
}

std::string Desktop() {
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, folder);
  return files::Narrow(folder);
}

TUnattendedRun RunUnattended(const std::string& args, const std::string& exe, const std::string& folder) {
  TUnattendedRun run;
  // The X server's own account too: every window mapped on the screen while it ran. The watcher
  // is ready once it has seen a mark set on the root window.
  const std::string xlog = files::UnixScratch("xev");
  const std::string watcher = files::RunUnix("xev -root -event substructure -event property >" + xlog + " 2>&1 & echo $!").second;
  EXPECT_TRUE(WaitUntil([&] {
    files::RunUnix("xprop -root -f OMBREL_MARK 8s -set OMBREL_MARK ready"); // until it starts, nobody sees it
    return files::Read(xlog).find("PropertyNotify") != std::string::npos;
  })) << "no watcher";
  TProcess p(exe);
  if (p.Start(args, folder)) {
    WaitUntil([&] {
      for (HWND w : p.Windows(true)) {
        const RECT r = Rect(w);
        run.Shown.insert(Class(w) + " \"" + Text(w) + "\" " + std::to_string(r.right - r.left) + "x" +
                         std::to_string(r.bottom - r.top));
      }
      return !run.Shown.empty() || !p.IsRunning();
    }, 60000);
    if (!p.IsRunning()) run.Code = p.WaitExit();
  }
  files::RunUnix("kill " + watcher);
  const std::string events = files::Read(xlog);
  for (size_t at = 0; (at = events.find("MapNotify", at)) != std::string::npos; ++at)
    run.Shown.insert("a window mapped by the X server at " + std::to_string(at));
  files::RunUnix("rm -f " + xlog);
  return run;
}

std::vector<std::string> LogLines(const std::string& log) {
  const std::string text = files::Read(log);
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(text.substr(at, end - at));
  return lines;
}
