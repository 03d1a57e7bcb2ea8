// The product's stand-in program, run as the installed program would be:
// from a folder with or without the location record dir.ini beside it. Its
// message box is found by process, read and closed like a user would.
#include <gtest/gtest.h>

#include <string>

#include "InstallerProcess.h"

namespace {

const char kProgram[] = "Zelcap2-1.exe";
const char kCaption[] = "\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0 v2.1"; // "Сорванта v2.1"

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
  for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &found)) {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(folder + name + "\\");
    else DeleteFileA((folder + name).c_str());
  }
  if (h != INVALID_HANDLE_VALUE) FindClose(h);
  RemoveDirectoryA(folder.c_str());
}

class StandinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char path[MAX_PATH + 1] = {}, temp[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    GetTempPathA(MAX_PATH, temp);
    const std::string own = path;
    Folder = std::string(temp) + "zelcap-standin-" + std::to_string(GetCurrentProcessId()) + "\\";
    RemoveTree(Folder);
    ASSERT_TRUE(CreateDirectoryA(Folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA((own.substr(0, own.rfind('\\') + 1) + kProgram).c_str(), (Folder + kProgram).c_str(), FALSE))
        << "the padded stand-in is copied beside this test by the build";
  }
  void TearDown() override { RemoveTree(Folder); }

  // An empty page file, with its folder.
  void Page(const std::string& folder, const std::string& name) {
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    HANDLE h = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
  }
  void Record(const char* section, const std::string& dir) {
    ASSERT_TRUE(WritePrivateProfileStringA(section, "dir", dir.c_str(), (Folder + "dir.ini").c_str()));
  }

  // Starts the program, reads its box by the caption, presses OK: the text,
  // once the program has ended with exit code 0.
  std::string RunAndReadBox() {
    driver::TInstallerProcess program(Folder + kProgram);
    if (!program.Start()) return "";
    const std::optional<std::string> text = program.AnswerMessageBox(kCaption, IDOK, 60000);
    EXPECT_EQ(std::optional<uint32_t>(0), program.WaitExit(30000));
    return text.value_or("");
  }

  std::string Folder;
};

TEST_F(StandinTest, ShowsTheFolderNamedByDirIniAndWhichPagesArePresent) {
  Page(Folder + "Help", "ZelcapHelp.htm");
  Record("info", Folder);
  const std::string text = RunAndReadBox();
  EXPECT_NE(text.find(Folder), std::string::npos) << text;
  // "Справка (Help): есть", "Сведения (Info): нет"
  EXPECT_NE(text.find("(Help): \xE5\xF1\xF2\xFC"), std::string::npos) << text;
  EXPECT_NE(text.find("(Info): \xED\xE5\xF2"), std::string::npos) << text;
}

TEST_F(StandinTest, ProductFolderMayLieElsewhereAndLackTheTrailingBackslash) {
  const std::string product = Folder + "Varkelo";
  ASSERT_TRUE(CreateDirectoryA(product.c_str(), nullptr));
  Page(product + "\\Info", "ZelcapInfo.htm");
  Record("info", product);
  const std::string text = RunAndReadBox();
  EXPECT_NE(text.find(product), std::string::npos) << text;
  EXPECT_NE(text.find("(Help): \xED\xE5\xF2"), std::string::npos) << text;
  EXPECT_NE(text.find("(Info): \xE5\xF1\xF2\xFC"), std::string::npos) << text;
}

TEST_F(StandinTest, WithoutDirIniSaysSoAndEndsNormally) {
  const std::string text = RunAndReadBox();
  // "Файл dir.ini не найден", followed by its own folder
  EXPECT_NE(text.find("dir.ini \xED\xE5 \xED\xE0\xE9\xE4\xE5\xED"), std::string::npos) << text;
  EXPECT_NE(text.find(Folder), std::string::npos) << text;
}

TEST_F(StandinTest, DirIniWithoutTheKeySaysSo) {
  Record("other", "C:\\");
  const std::string text = RunAndReadBox();
  // "нет папки программы (раздел info, ключ dir)"
  EXPECT_NE(text.find("info"), std::string::npos) << text;
  EXPECT_NE(text.find("\xED\xE5\xF2 \xEF\xE0\xEF\xEA\xE8"), std::string::npos) << text;
  EXPECT_EQ(text.find("C:\\"), std::string::npos) << text;
}

}  // namespace
