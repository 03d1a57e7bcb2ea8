#include "WizardRun.h"

#include <shlobj.h>

#include <gtest/gtest.h>

using namespace driver;

const char* PageName(EPage page) {
  switch (page) {
  case EPage::wpWelcome: return "welcome";
  case EPage::wpLicence: return "licence";
  case EPage::wpFolder: return "folder";
  case EPage::wpFinish: return "finish";
  case EPage::wpNone: return "none";
  case EPage::wpUnknown: return "unknown";
  case EPage::wpSeveral: return "several";
  }
  return "?";
}

namespace {

// Each page is told by the button only it has.
EPage PageOfFrame(HWND frame) {
  if (ShownButton(frame, texts::Next)) return EPage::wpWelcome;
  if (ShownButton(frame, texts::Agree)) return EPage::wpLicence;
  if (ShownButton(frame, texts::Install)) return EPage::wpFolder;
  if (ShownButton(frame, texts::Done)) return EPage::wpFinish;
  return EPage::wpUnknown;
}

} // namespace

bool TWizardRun::Start() {
  if (!Process.Start("")) return false;
  Main = Process.MainWindow(texts::MainCaption);
  return Main && WaitPage(EPage::wpWelcome);
}

EPage TWizardRun::Page() const {
  std::vector<HWND> shown = VisibleFrames(Main);
  if (shown.empty()) return EPage::wpNone;
  if (shown.size() > 1) return EPage::wpSeveral;
  return PageOfFrame(shown.front());
}

HWND TWizardRun::ShownFrame() const {
  std::vector<HWND> shown = VisibleFrames(Main);
  return shown.size() == 1 ? shown.front() : nullptr;
}

bool TWizardRun::WaitPage(EPage page, int timeoutMs) {
  EPage last = EPage::wpNone;
  if (WaitUntil([&] { return (last = Page()) == page; }, timeoutMs)) return true;
  ADD_FAILURE() << "expected the " << PageName(page) << " page, on screen: " << PageName(last)
                << (IsShown(Main) ? "" : " (the window is not shown)") << (Process.IsRunning() ? "" : " (the program ended)");
  return false;
}

HWND TWizardRun::Button(const std::string& caption) const {
  HWND frame = ShownFrame();
  return frame ? ShownButton(frame, caption) : nullptr;
}

bool TWizardRun::FocusOnDefault(const std::string& caption) {
  HWND button = Button(caption);
  if (!button || !Process.WaitFocus(button)) return false;
  EXPECT_EQ(BS_DEFPUSHBUTTON, WindowStyle(button) & BS_TYPEMASK) << caption << " is not drawn as the default button";
  return true;
}

bool TWizardRun::Press(const std::string& caption) {
  HWND button = Button(caption);
  if (!button) {
    ADD_FAILURE() << "no shown button \"" << caption << "\" on the " << PageName(Page()) << " page";
    return false;
  }
  Click(button);
  return true;
}

bool Screenshot(HWND window, const std::string& name, HWND over) {
  Sleep(300); // let the page paint
  RECT area = WindowRect(window);
  if (over) area = Union(area, WindowRect(over));
  const std::string path = DosPath(SCHEME_SCREENSHOTS) + "\\" + name + ".bmp";
  const bool saved = SaveScreenArea(area, path);
  if (!saved) ADD_FAILURE() << "cannot save " << path;
  return saved;
}

std::string UserDesktopFolder() {
  // Where the shortcut element looks first: the Shell Folders key.
  std::string folder;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                    0, KEY_READ, &key) == ERROR_SUCCESS) {
    char buffer[MAX_PATH + 1] = {};
    DWORD size = sizeof buffer - 1, type = 0;
    if (RegQueryValueExA(key, "Desktop", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
        type == REG_SZ)
      folder = buffer;
    RegCloseKey(key);
  }
  if (folder.empty()) {
    char buffer[MAX_PATH + 1] = {};
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, buffer))) folder = buffer;
  }
  return folder;
}

const std::string& ShortcutName() {
  static const std::string name = texts::ProductCaption + ".lnk";
  return name;
}

std::string ProgramFilesFolder() { return "C:\\Program Files"; }

namespace {

void CollectTree(const std::string& folder, const std::string& relative, TTreeState& state, bool deep = true) {
  WIN32_FIND_DATAA found{};
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string rel = relative.empty() ? name : relative + "\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      state[rel + "\\"] = {0, 0};
      if (deep) CollectTree(folder + "\\" + name, rel, state);
    } else {
      const uint64_t size = (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
      const uint64_t time = (uint64_t(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime;
      state[rel] = {size, time};
    }
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

} // namespace

TTreeState TreeState(const std::string& folder) {
  TTreeState state;
  CollectTree(folder, "", state);
  return state;
}

TTreeState FolderState(const std::string& folder) {
  TTreeState state;
  CollectTree(folder, "", state, false);
  return state;
}

bool RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found{};
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileA(path.c_str());
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
  return GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}
