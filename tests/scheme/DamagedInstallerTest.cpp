// A copy of the installer damaged on the way — a byte changed in its data, in
// a picture or its icon, or the file cut short — says so in a box of its own
// and ends with exit code 2, having written nothing. The untouched copy
// starts as ever.
#include <gtest/gtest.h>

#include <functional>

#include "Installed.h"
#include "WizardRun.h"

using namespace driver;

namespace {

// "Программа установки повреждена или загружена не полностью.\r\n\r\nЗагрузите её заново и повторите установку."
const std::string DamagedText =
    "\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE0 \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8 \xEF\xEE\xE2\xF0\xE5\xE6\xE4\xE5\xED\xE0 "
    "\xE8\xEB\xE8 \xE7\xE0\xE3\xF0\xF3\xE6\xE5\xED\xE0 \xED\xE5 \xEF\xEE\xEB\xED\xEE\xF1\xF2\xFC\xFE.\r\n\r\n"
    "\xC7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xE5 \xE5\xB8 \xE7\xE0\xED\xEE\xE2\xEE \xE8 \xEF\xEE\xE2\xF2\xEE\xF0\xE8\xF2\xE5 "
    "\xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xF3.";

// Where bytes of a payload file lie in the program file: the first place
// that holds 64 of them from its middle.
size_t Find(const std::string& exe, const std::string& file) {
  const std::string probe = file.substr(file.size() / 2, 64);
  const size_t at = exe.find(probe);
  return at == std::string::npos ? at : at + 32;
}

void Flip(std::string& exe, size_t at) {
  ASSERT_LT(at, exe.size());
  exe[at] = char(exe[at] ^ 0x10);
}

std::string Source(const std::string& file) { return ReadBytes(DosPath(OMBREL_PAYLOAD_SOURCE_DIR "/" + file)); }

TEST(DamagedInstaller, SaysSoWritesNothingAndEndsWithTwo) {
  const std::string original = ReadBytes(DosPath(OMBREL_EXE));
  const size_t archive = original.rfind("OMBRELPK");
  ASSERT_NE(std::string::npos, archive) << "no payload archive";
  const struct {
    const char* What;
    std::function<void(std::string&)> Spoil;
  } cases[] = {
      {"a byte of the licence text", [](std::string& e) { Flip(e, Find(e, Source("text/STR2.txt"))); }},
      {"a byte of a picture", [](std::string& e) { Flip(e, Find(e, Source("img/Num4.jpg"))); }},
      {"a byte of the archive's table", [&](std::string& e) { Flip(e, archive + 30); }},
      {"a byte of the welcome bitmap", [](std::string& e) { Flip(e, Find(e, Source("side/welcome.bmp"))); }},
      {"a byte of the icon", [](std::string& e) { Flip(e, Find(e, Source("icon/sorvanta.ico"))); }},
      {"the last byte cut off", [](std::string& e) { e.pop_back(); }},
      {"half the payload cut off", [&](std::string& e) { e.resize(archive + (e.size() - archive) / 2); }},
  };
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string copy = std::string(temp) + "ombrel-damaged-" + std::to_string(GetCurrentProcessId()) + ".exe";
  const TTreeState before = TreeState("C:");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    std::string exe = original;
    c.Spoil(exe);
    ASSERT_NE(original, exe);
    ASSERT_TRUE(WriteBytes(copy, exe));
    TInstallerProcess damaged(copy);
    ASSERT_TRUE(damaged.Start());
    HWND box = damaged.WaitMessageBox(texts::QuestionCaption);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(DamagedText, TInstallerProcess::MessageBoxText(box));
    EXPECT_EQ(nullptr, Owner(box));
    EXPECT_TRUE(TInstallerProcess::MessageBoxHasIcon(box));
    EXPECT_EQ(std::vector<HWND>{box}, damaged.VisibleWindows());
    ASSERT_TRUE(damaged.PressButton(box, IDOK));
    EXPECT_EQ(std::optional<uint32_t>(2), damaged.WaitExit());
  }
  DeleteFileA(copy.c_str());
  EXPECT_TRUE(before == TreeState("C:")) << "something was written on C:";

  // The untouched copy shows its wizard.
  ASSERT_TRUE(WriteBytes(copy, original));
  TInstallerProcess sound(copy);
  ASSERT_TRUE(sound.Start());
  HWND main = sound.MainWindow(texts::MainCaption);
  ASSERT_NE(nullptr, main);
  CloseBox(main);
  EXPECT_EQ(std::optional<uint32_t>(0), sound.WaitExit());
  DeleteFileA(copy.c_str());
}

} // namespace
