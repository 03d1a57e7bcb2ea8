// A library planted beside the installer under a system library's name must
// never be loaded. The run copies the installer into a fresh folder, puts the
// recording library beside it under every name at once, starts it, walks to
// the folder page, opens and cancels the folder dialog, closes the installer
// by its close box and looks for the record. Under Wine the system's own
// libraries win over a file beside the program unless told otherwise: the
// test runs with WINEDLLOVERRIDES preferring a native file for every planted
// name (set by the build, since Wine takes it only from the environment the
// test program itself was started with), as Windows does for a library that
// is not one of its known libraries.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <sstream>
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
  std::istringstream list(OMBREL_PLANTED_NAMES);
  for (std::string name; std::getline(list, name, ',');)
    if (!name.empty()) names.push_back(name);
  return names;
}

// A fresh folder under the temporary folder, removed with the files in it.
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
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((Path + found.cFileName).c_str());
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    RemoveDirectoryA(Path.c_str());
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  std::string Path;
};

// Presses the shown button with this caption once it is there.
bool PressButton(HWND main, const std::string& caption) {
  HWND button = nullptr;
  if (WaitUntil([&] { return (button = ShownButton(main, caption)) != nullptr; })) Click(button);
  return button != nullptr;
}

struct TPlantRun {
  bool Started = false;      // the process was created
  bool MainWindow = false;   // its main window came
  bool FolderDialog = false; // the folder dialog opened from the folder page
  bool ExitedZero = false;   // the close box ended it with exit code 0
  std::string Marker;        // what the planted library recorded: empty when never loaded
};

// Runs a copy of the program with the recording library planted beside it
// under each of the names, started in its own folder as a double click
// starts it.
// Without walk, the run ends as soon as a planted library has recorded itself.
TPlantRun RunPlanted(const std::string& program, const std::vector<std::string>& names, bool walk = true) {
  TPlantRun run;
  TScratchFolder folder("run");
  const std::string exe = folder.Path + "Ombrel.exe", marker = folder.Path + "loaded.txt";
  bool ready = CopyFileA(program.c_str(), exe.c_str(), FALSE);
  for (const std::string& name : names)
    ready = ready && CopyFileA(DosPath(OMBREL_PLANTED_DLL).c_str(), (folder.Path + name + ".dll").c_str(), FALSE);
  if (!ready) {
    ADD_FAILURE() << "cannot set up " << folder.Path;
    return run;
  }
  {
    TInstallerProcess installer(exe); // kills a copy that a planted library has wedged
    // The copy inherits the marker's name and its working folder from here.
    char own[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, own);
    SetEnvironmentVariableA("OMBREL_PLANT_MARKER", marker.c_str());
    SetCurrentDirectoryA(folder.Path.c_str());
    run.Started = installer.Start();
    SetCurrentDirectoryA(own);
    SetEnvironmentVariableA("OMBREL_PLANT_MARKER", nullptr);
    const auto recorded = [&] { return GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; };
    if (!walk) WaitUntil(recorded);
    HWND main = run.Started && walk ? installer.MainWindow(MainCaption) : nullptr;
    run.MainWindow = main != nullptr;
    if (main) {
      // Walks to the folder page and opens the folder dialog (the shell loads
      // its own share of libraries for it), lets it fill its tree and cancels it.
      // "Далее>", "Согласен", "Обзор"
      HWND dialog = nullptr;
      if (PressButton(main, "\xC4\xE0\xEB\xE5\xE5>") && PressButton(main, "\xD1\xEE\xE3\xEB\xE0\xF1\xE5\xED") &&
          PressButton(main, "\xCE\xE1\xE7\xEE\xF0") && (dialog = installer.WaitDialog()) != nullptr) {
        HWND tree = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr);
        WaitUntil([&] { return SendMessageA(tree, TVM_GETCOUNT, 0, 0) > 0; });
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        run.FolderDialog = WaitUntil([&] { return !IsWindow(dialog); });
      }
      CloseBox(main);
      run.ExitedZero = installer.WaitExit() == std::optional<uint32_t>(0);
    }
  }
  std::ifstream file(marker, std::ios::binary);
  run.Marker.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return run;
}

} // namespace

TEST(PlantedLibrary, InstallerLoadsNoneOfThem) {
  const std::vector<std::string> names = PlantedNames();
  ASSERT_FALSE(names.empty());
  const TPlantRun run = RunPlanted(DosPath(OMBREL_EXE), names);
  ASSERT_TRUE(run.Started);
  EXPECT_TRUE(run.MainWindow);
  EXPECT_TRUE(run.FolderDialog);
  EXPECT_TRUE(run.ExitedZero);
  EXPECT_EQ("", run.Marker);
}

// The same rig against the installer built without the limited search: the
// planted theme library (loaded by the common controls) and the picture
// blending library (loaded by the system's drawing code) get in there, so a
// clean result above means something.
TEST(PlantedLibrary, InstallerWithoutLimitedSearchLoadsThem) {
  TPlantRun run;
  {
    // A planted library may break the copy on the way: only its record counts.
    testing::TestPartResultArray ignored;
    testing::ScopedFakeTestPartResultReporter quiet(&ignored);
    run = RunPlanted(DosPath(OMBREL_OPEN_SEARCH_EXE), {"uxtheme", "msimg32"}, false);
  }
  ASSERT_TRUE(run.Started);
  EXPECT_NE(std::string::npos, run.Marker.find("uxtheme.dll")) << run.Marker;
}
