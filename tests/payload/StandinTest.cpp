// The product's stand-in program, run as the installed program would be:
// from a folder with or without the location record dir.ini beside it. Its
// message box is found by process, read and closed like a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const char kProgram[] = "Zelcap2-1.exe";

std::string FolderOfThisTest() {
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

struct TBox {
  HWND Window = nullptr;
  DWORD ProcessId = 0;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
  TBox* box = reinterpret_cast<TBox*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char cls[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (pid == box->ProcessId && std::string(cls) == "#32770" && IsWindowVisible(window)) {
    box->Window = window;
    return FALSE;
  }
  return TRUE;
}

struct TRun {
  std::string Text;
  std::string Caption;
  DWORD ExitCode = 1;
};

// Starts the program, waits for its message box, reads it and presses OK.
TRun RunAndReadBox(const std::string& program) {
  TRun run;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string command = "\"" + program + "\"";
  if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    ADD_FAILURE() << "cannot start " << program << ", error " << GetLastError();
    return run;
  }
  TBox box;
  box.ProcessId = pi.dwProcessId;
  for (int i = 0; i < 600 && !box.Window; ++i) {
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box.Window) Sleep(100);
  }
  if (box.Window) {
    char text[2048] = {};
    GetDlgItemTextA(box.Window, 0xFFFF, text, sizeof text);  // the message box's text control
    run.Text = text;
    char caption[256] = {};
    GetWindowTextA(box.Window, caption, sizeof caption);
    run.Caption = caption;
    PostMessageA(box.Window, WM_COMMAND, IDOK, 0);
  } else {
    ADD_FAILURE() << "no message box from " << program;
    TerminateProcess(pi.hProcess, 99);
  }
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
  GetExitCodeProcess(pi.hProcess, &run.ExitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return run;
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(folder + name + "\\");
      else
        DeleteFileA((folder + name).c_str());
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
}

void Touch(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  CloseHandle(h);
}

class StandinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    Folder = std::string(temp) + "zelcap-standin-" + std::to_string(GetCurrentProcessId()) + "\\";
    RemoveTree(Folder);
    ASSERT_TRUE(CreateDirectoryA(Folder.c_str(), nullptr));
    Program = Folder + kProgram;
    ASSERT_TRUE(CopyFileA((FolderOfThisTest() + kProgram).c_str(), Program.c_str(), FALSE))
        << "the padded stand-in is copied beside this test by the build";
  }
  void TearDown() override { RemoveTree(Folder); }

  std::string Folder;
  std::string Program;
};

// "Сорванта v2.1"
const char kCaption[] = "\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0 v2.1";

TEST_F(StandinTest, ShowsTheFolderNamedByDirIniAndWhichPagesArePresent) {
  ASSERT_TRUE(CreateDirectoryA((Folder + "Help").c_str(), nullptr));
  Touch(Folder + "Help\\ZelcapHelp.htm");
  ASSERT_TRUE(WritePrivateProfileStringA("info", "dir", Folder.c_str(), (Folder + "dir.ini").c_str()));

  TRun run = RunAndReadBox(Program);
  EXPECT_EQ(run.Caption, kCaption);
  EXPECT_NE(run.Text.find(Folder), std::string::npos) << run.Text;
  // "Справка (Help): есть", "Сведения (Info): нет"
  EXPECT_NE(run.Text.find("(Help): \xE5\xF1\xF2\xFC"), std::string::npos) << run.Text;
  EXPECT_NE(run.Text.find("(Info): \xED\xE5\xF2"), std::string::npos) << run.Text;
  EXPECT_EQ(run.ExitCode, 0u);
}

TEST_F(StandinTest, ProductFolderMayLieElsewhereAndLackTheTrailingBackslash) {
  const std::string product = Folder + "Varkelo";
  ASSERT_TRUE(CreateDirectoryA(product.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((product + "\\Info").c_str(), nullptr));
  Touch(product + "\\Info\\ZelcapInfo.htm");
  ASSERT_TRUE(WritePrivateProfileStringA("info", "dir", product.c_str(), (Folder + "dir.ini").c_str()));

  TRun run = RunAndReadBox(Program);
  EXPECT_NE(run.Text.find(product), std::string::npos) << run.Text;
  EXPECT_NE(run.Text.find("(Help): \xED\xE5\xF2"), std::string::npos) << run.Text;
  EXPECT_NE(run.Text.find("(Info): \xE5\xF1\xF2\xFC"), std::string::npos) << run.Text;
  EXPECT_EQ(run.ExitCode, 0u);
}

TEST_F(StandinTest, WithoutDirIniSaysSoAndEndsNormally) {
  TRun run = RunAndReadBox(Program);
  EXPECT_EQ(run.Caption, kCaption);
  // "Файл dir.ini не найден", followed by its own folder
  EXPECT_NE(run.Text.find("dir.ini \xED\xE5 \xED\xE0\xE9\xE4\xE5\xED"), std::string::npos) << run.Text;
  EXPECT_NE(run.Text.find(Folder), std::string::npos) << run.Text;
  EXPECT_EQ(run.ExitCode, 0u);
}

TEST_F(StandinTest, DirIniWithoutTheKeySaysSo) {
  ASSERT_TRUE(WritePrivateProfileStringA("other", "dir", "C:\\", (Folder + "dir.ini").c_str()));

  TRun run = RunAndReadBox(Program);
  // "нет папки программы (раздел info, ключ dir)"
  EXPECT_NE(run.Text.find("info"), std::string::npos) << run.Text;
  EXPECT_NE(run.Text.find("\xED\xE5\xF2 \xEF\xE0\xEF\xEA\xE8"), std::string::npos) << run.Text;
  EXPECT_EQ(run.Text.find("C:\\"), std::string::npos) << run.Text;
  EXPECT_EQ(run.ExitCode, 0u);
}

}  // namespace
