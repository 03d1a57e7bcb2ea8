// A library planted beside the installer under a system library's name must
// never be loaded. Each case copies the installer into a fresh folder, puts
// the recording library beside it under one name, starts it, walks to the
// folder page, opens and cancels the folder dialog, closes the installer by
// its close box and looks for the record. Under Wine the system's own
// libraries win over a file beside the program unless told otherwise: the
// test runs with WINEDLLOVERRIDES preferring a native file for every planted
// name (set by the build, since Wine takes it only from the environment the
// test program itself was started with), as Windows does for a library that
// is not one of its known libraries.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "InstallerProcess.h"

using namespace driver;

namespace {

// "Установка программы Сорванта"
const std::string MainCaption =
    "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB "
    "\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0";

// The planted names, the same the build's WINEDLLOVERRIDES names.
std::vector<std::string> PlantedNames() {
  std::vector<std::string> names;
  std::string list = OMBREL_PLANTED_NAMES;
  for (size_t start = 0; start <= list.size();) {
    size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) names.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

std::string FileText(const std::string& path) {
  std::string text;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A fresh folder under the temporary folder, removed with everything in it.
class TScratchFolder {
public:
  explicit TScratchFolder(const std::string& tag) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    Path = std::string(temp) + "ombrel-plant-" + tag + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount64()) + "\\";
    CreateDirectoryA(Path.c_str(), nullptr);
  }
  ~TScratchFolder() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((Path + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((Path + found.cFileName).c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(Path.c_str());
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  std::string Path;
};

// This process's environment with the marker file named; a block of
// "NAME=value\0" entries ending in "\0".
std::vector<char> PlantEnvironment(const std::string& marker) {
  std::vector<std::string> entries;
  if (char* block = GetEnvironmentStringsA()) {
    for (const char* entry = block; *entry; entry += lstrlenA(entry) + 1) {
      const std::string text = entry;
      if (text.compare(0, 20, "OMBREL_PLANT_MARKER=") != 0) entries.push_back(text);
    }
    FreeEnvironmentStringsA(block);
  }
  entries.push_back("OMBREL_PLANT_MARKER=" + marker);
  std::vector<char> result;
  for (const std::string& entry : entries) result.insert(result.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
  result.push_back('\0');
  return result;
}

struct TWindowSearch {
  DWORD Process;
  HWND Found;
};

// EnumWindows callbacks are stdcall in 32-bit code: plain functions, not lambdas.
BOOL CALLBACK MatchMainWindow(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<TWindowSearch*>(param);
  // The zero-size application window carries the same caption.
  const RECT r = WindowRect(window);
  if (ProcessOf(window) != s->Process || !IsWindowVisible(window) || r.right <= r.left || r.bottom <= r.top ||
      WindowText(window) != MainCaption)
    return TRUE;
  s->Found = window;
  return FALSE;
}

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<TWindowSearch*>(param);
  if (ProcessOf(window) != s->Process || !IsWindowVisible(window) || WindowClass(window) != "#32770") return TRUE;
  s->Found = window;
  return FALSE;
}

HWND FindMainWindow(DWORD process) {
  TWindowSearch search{process, nullptr};
  EnumWindows(&MatchMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

HWND FindDialog(DWORD process) {
  TWindowSearch search{process, nullptr};
  EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

// Texts of the wizard's buttons.
const std::string NextCaption = "\xC4\xE0\xEB\xE5\xE5>";              // "Далее>"
const std::string AgreeCaption = "\xD1\xEE\xE3\xEB\xE0\xF1\xE5\xED";  // "Согласен"
const std::string BrowseCaption = "\xCE\xE1\xE7\xEE\xF0";            // "Обзор"

// Presses the shown button with this caption once it is there.
bool PressButton(HWND main, const std::string& caption) {
  HWND button = nullptr;
  WaitUntil([&] {
    for (HWND candidate : Controls(main, "Button", caption))
      if (IsShown(candidate)) button = candidate;
    return button != nullptr;
  });
  if (button) Click(button);
  return button != nullptr;
}

// Walks to the folder page, opens the folder dialog (the shell loads its own
// share of libraries for it), lets it fill and cancels it.
bool OpenAndCancelFolderDialog(HWND main, DWORD process) {
  if (!PressButton(main, NextCaption) || !PressButton(main, AgreeCaption) || !PressButton(main, BrowseCaption))
    return false;
  HWND dialog = nullptr;
  if (!WaitUntil([&] { return (dialog = FindDialog(process)) != nullptr; })) return false;
  Sleep(1000);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  return WaitUntil([&] { return !IsWindow(dialog); });
}

struct TPlantRun {
  bool Started = false;     // the process was created
  bool MainWindow = false;  // its main window came
  bool FolderDialog = false; // the folder dialog opened from the folder page
  bool ExitedZero = false;  // the close box ended it with exit code 0
  std::string Marker;       // what the planted library recorded: empty when never loaded
};

// Runs a copy of the program with the recording library planted beside it
// as name.dll.
TPlantRun RunPlanted(const std::string& program, const std::string& name) {
  TPlantRun run;
  TScratchFolder folder(name);
  const std::string exe = folder.Path + "Ombrel.exe";
  const std::string marker = folder.Path + "loaded.txt";
  if (!CopyFileA(program.c_str(), exe.c_str(), FALSE) ||
      !CopyFileA(DosPath(OMBREL_PLANTED_DLL).c_str(), (folder.Path + name + ".dll").c_str(), FALSE)) {
    ADD_FAILURE() << "cannot set up " << folder.Path;
    return run;
  }
  std::vector<char> environment = PlantEnvironment(marker);
  std::string commandLine = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  run.Started = CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                               environment.data(), folder.Path.c_str(), &startup, &info) != FALSE;
  if (!run.Started) return run;
  // A copy that a planted library has wedged must not outlive the test, even
  // when the test itself is killed: the job ends it with its last handle.
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (job) {
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    AssignProcessToJobObject(job, info.hProcess);
  }
  ResumeThread(info.hThread);
  HWND main = nullptr;
  WaitUntil([&] {
    main = FindMainWindow(info.dwProcessId);
    return main != nullptr || WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0;
  });
  run.MainWindow = main != nullptr;
  if (main) {
    // Libraries loaded while the window is first drawn count too: let it
    // settle before going on.
    WaitForInputIdle(info.hProcess, DefaultTimeoutMs);
    Sleep(500);
    run.FolderDialog = OpenAndCancelFolderDialog(main, info.dwProcessId);
    CloseBox(main);
  }
  if (WaitForSingleObject(info.hProcess, DefaultTimeoutMs) == WAIT_OBJECT_0) {
    DWORD code = 1;
    run.ExitedZero = main && GetExitCodeProcess(info.hProcess, &code) && code == 0;
  } else {
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, DefaultTimeoutMs);
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  if (job) CloseHandle(job);
  run.Marker = FileText(marker);
  return run;
}

} // namespace

TEST(PlantedLibrary, InstallerLoadsNoneOfThem) {
  ASSERT_TRUE(Exists(DosPath(OMBREL_PLANTED_DLL)));
  const std::vector<std::string> names = PlantedNames();
  ASSERT_FALSE(names.empty());
  for (const std::string& name : names) {
    SCOPED_TRACE(name + ".dll");
    const TPlantRun run = RunPlanted(DosPath(OMBREL_EXE), name);
    ASSERT_TRUE(run.Started);
    EXPECT_TRUE(run.MainWindow);
    EXPECT_TRUE(run.FolderDialog);
    EXPECT_TRUE(run.ExitedZero);
    EXPECT_EQ("", run.Marker);
  }
}

// The same rig against the installer built without the limited search: the
// planted theme library (loaded by the common controls) and the picture
// blending library (loaded by the system's drawing code) get in there, so a
// clean result above means something.
TEST(PlantedLibrary, InstallerWithoutLimitedSearchLoadsThem) {
  for (const std::string name : {"uxtheme", "msimg32"}) {
    SCOPED_TRACE(name + ".dll");
    const TPlantRun run = RunPlanted(DosPath(OMBREL_OPEN_SEARCH_EXE), name);
    ASSERT_TRUE(run.Started);
    EXPECT_NE(std::string::npos, run.Marker.find(name + ".dll")) << run.Marker;
  }
}
