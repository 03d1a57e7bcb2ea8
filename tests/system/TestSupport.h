// Helpers of the system tests: the mapped test drive, whole-file reads and
// writes, and a watcher that answers the dialogs the code under test shows.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace systest {

// "M:" when with-drive.sh mapped the drive; empty otherwise.
inline std::string TestDrive() {
  const char* letter = std::getenv("OMBREL_TEST_DRIVE");
  return letter && *letter ? std::string(letter) + ":" : std::string();
}
inline std::string AbsentDrive() {
  const char* letter = std::getenv("OMBREL_ABSENT_DRIVE");
  return letter && *letter ? std::string(letter) + ":" : std::string();
}

// A fresh folder on the test drive for one test: M:\<name>\ (trailing backslash).
inline std::string FreshFolder(const std::string& name) {
  std::string drive = TestDrive();
  EXPECT_FALSE(drive.empty()) << "run through with-drive.sh: drive M: is not mapped";
  std::string folder = drive + "\\" + name;
  std::string command = "cmd /c rmdir /s /q \"" + folder + "\" >nul 2>nul";
  if (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) std::system(command.c_str());
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\";
}

inline bool ReadWholeFile(const std::string& path, std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  GetFileSizeEx(file, &size);
  bytes.assign(size_t(size.QuadPart), '\0');
  DWORD got = 0;
  bool ok = bytes.empty() || (ReadFile(file, &bytes[0], DWORD(bytes.size()), &got, nullptr) && got == bytes.size());
  CloseHandle(file);
  return ok;
}

inline std::string FileBytes(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
  return bytes;
}

inline void WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD put = 0;
  WriteFile(file, bytes.data(), DWORD(bytes.size()), &put, nullptr);
  CloseHandle(file);
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Calls an element's input with a value, as a linked output would:
// Send<&TOMStrList::inSave>(list, StringData(path)).
template <auto Method, class TElement, class TValue> void Send(TElement& element, TValue value, uint16_t index = 0) {
  (element.*Method)(value, index);
}

// A data file of the source tree, through Wine's Z: drive.
inline std::string DataFile(const std::string& name) {
  std::string path = std::string("Z:") + OMBREL_TEST_DATA + "/" + name;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// Top-level dialog windows (#32770) of this process that are visible.
struct TDialogSearch {
  DWORD Process;
  std::vector<HWND> Found;
};

inline BOOL CALLBACK CollectOwnDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TDialogSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char cls[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (process == search->Process && IsWindowVisible(window) && std::string(cls) == "#32770")
    search->Found.push_back(window);
  return TRUE;
}

inline std::vector<HWND> OwnDialogs() {
  TDialogSearch search{GetCurrentProcessId(), {}};
  EnumWindows(CollectOwnDialog, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

// Watches for dialogs of this process from a second thread while the code
// under test runs on the main thread; each dialog is recorded and handed to
// the handler (the default presses OK).
class TDialogWatcher {
public:
  struct TSeen {
    std::string Caption;
    std::string Text; // the message box's text (static control 0xFFFF)
  };
  using THandler = std::function<void(HWND)>;

  explicit TDialogWatcher(THandler handler = PressOk) : FHandler(std::move(handler)) {
    FThread = std::thread([this] { Run(); });
  }
  ~TDialogWatcher() {
    FStop = true;
    FThread.join();
  }
  std::vector<TSeen> Seen() {
    std::lock_guard<std::mutex> lock(FMutex);
    return FSeen;
  }
  static void PressOk(HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

private:
  void Run() {
    std::vector<HWND> handled;
    while (!FStop) {
      for (HWND dialog : OwnDialogs()) {
        if (std::find(handled.begin(), handled.end(), dialog) != handled.end()) continue;
        handled.push_back(dialog);
        TSeen seen;
        char text[512] = {};
        GetWindowTextA(dialog, text, sizeof text);
        seen.Caption = text;
        text[0] = 0;
        GetDlgItemTextA(dialog, 0xFFFF, text, sizeof text);
        seen.Text = text;
        {
          std::lock_guard<std::mutex> lock(FMutex);
          FSeen.push_back(seen);
        }
        FHandler(dialog);
      }
      Sleep(50);
    }
  }

  THandler FHandler;
  std::atomic<bool> FStop{false};
  std::mutex FMutex;
  std::vector<TSeen> FSeen;
  std::thread FThread;
};

} // namespace systest
