#include "Wizard.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>

using namespace driver;

const char* Name(EPage page) {
  static const char* const names[] = {"welcome", "licence", "folder", "finish", "none", "several", "unknown"};
  return names[int(page)];
}

bool TWizard::Start(const std::string& folder) {
  return Process.Start("", folder) && (Main = Process.WaitWindow(texts::MainCaption)) && WaitPage(EPage::Welcome);
}

std::vector<HWND> TWizard::Frames() const {
  std::vector<HWND> frames;
  for (HWND w = GetWindow(Main, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (lstrcmpiA(Class(w).c_str(), "Static") == 0) frames.push_back(w);
  return frames;
}

HWND TWizard::Frame() const {
  HWND shown = nullptr;
  for (HWND w : Frames())
    if (IsWindowVisible(w)) {
      if (shown) return nullptr;
      shown = w;
    }
  return shown;
}

EPage TWizard::Page() const {
  // Each page is told by the button only it has.
  static const std::pair<const std::string*, EPage> marks[] = {{&texts::Next, EPage::Welcome},
                                                               {&texts::Agree, EPage::Licence},
                                                               {&texts::Install, EPage::Folder},
                                                               {&texts::Done, EPage::Finish}};
  HWND frame = Frame();
  if (!frame) {
    for (HWND w : Frames())
      if (IsWindowVisible(w)) return EPage::Several;
    return EPage::None;
  }
  for (const auto& [caption, page] : marks)
    if (Button(*caption)) return page;
  return EPage::Unknown;
}

bool TWizard::WaitPage(EPage page, int timeoutMs) {
  if (WaitUntil([&] { return Page() == page; }, timeoutMs)) return true;
  ADD_FAILURE() << "expected the " << Name(page) << " page, on screen: " << Name(Page())
                << (Process.IsRunning() ? "" : " (the program ended)");
  return false;
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
  if (button)
    Click(button);
  else
    ADD_FAILURE() << "no button " << caption << " on the " << Name(Page()) << " page";
  return button != nullptr;
}

bool TWizard::GoTo(EPage page) {
  if (page == EPage::Welcome) return true;
  if (!Press(texts::Next) || !WaitPage(EPage::Licence)) return false;
  return page == EPage::Licence || (Press(texts::Agree) && WaitPage(EPage::Folder));
}

bool TWizard::FocusOnDefault(const std::string& caption) {
  HWND button = Button(caption);
  if (!button || !Process.WaitFocus(button)) return false;
  EXPECT_EQ(BS_DEFPUSHBUTTON, Style(button) & BS_TYPEMASK) << caption << " is not drawn as the default button";
  return true;
}

std::string Desktop() {
  char folder[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, folder);
  return folder;
}

std::string Link() { return Desktop() + "\\" + texts::Shortcut; }

void RemoveInstallation(const std::string& folder) {
  EXPECT_TRUE(WaitUntil([&] {
    DeleteFileW(files::Wide(Link()).c_str());
    return files::RemoveTree(folder + "\\Varkelo") && !files::IsFile(Link());
  })) << "cannot remove "
      << folder << "\\Varkelo or the shortcut";
}

int64_t FreeMegabytes(const std::string& root) {
  // Whole kilobyte-blocks of free clusters times the cluster size, then
  // / 1024; the 32-bit count saturates on huge drives, the 64-bit one not.
  DWORD sectors = 0, bytes = 0, free = 0, total = 0;
  ULARGE_INTEGER available{}, all{}, any{};
  if (!GetDiskFreeSpaceA(root.c_str(), &sectors, &bytes, &free, &total)) return -1;
  uint64_t clusters = free;
  if (sectors && bytes && GetDiskFreeSpaceExA(root.c_str(), &available, &all, &any))
    clusters = std::max<uint64_t>(clusters, available.QuadPart / (uint64_t(sectors) * bytes));
  return int64_t(clusters / 1024 * sectors * bytes / 1024);
}

HWND FreeLabel(const TWizard& w) {
  for (HWND label : Children(w.Frame(), "Static"))
    if (Text(label).rfind(texts::FreePrefix, 0) == 0) return label;
  ADD_FAILURE() << "no free-space line";
  return nullptr;
}
