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

void RemoveInstallation(const std::string& folder) {
  const auto gone = [&] {
    DeleteFileW(files::Wide(Link()).c_str());
    return files::RemoveTree(folder + "\\Varkelo") && !files::IsFile(Link());
  };
  EXPECT_TRUE(WaitUntil(gone)) << "cannot remove " << folder << "\\Varkelo or the shortcut";
}

std::string Desktop() {
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, folder);
  return files::Narrow(folder);
}

TUnattendedRun RunUnattended(const std::string& args, const std::string& exe) {
  TUnattendedRun run;
  TProcess p(exe);
  if (!p.Start(args)) return run;
  WaitUntil([&] {
    for (HWND w : p.Windows(true)) {
      const RECT r = Rect(w);
      run.Shown.insert(Class(w) + " \"" + Text(w) + "\" " + std::to_string(r.right - r.left) + "x" +
                       std::to_string(r.bottom - r.top));
    }
    return !run.Shown.empty() || !p.IsRunning();
  }, 60000);
  if (!p.IsRunning()) run.Code = p.WaitExit();
  return run;
}
