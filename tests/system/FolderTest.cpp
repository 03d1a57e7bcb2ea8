// Paths, folders, the desktop folder, settings files and free space.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "Paths.h"
#include "TestSupport.h"
#include "omDir.h"
#include "omHardDisk.h"
#include "omINI.h"

using namespace systest;

namespace {

std::string WindowsFolder() {
  char buffer[MAX_PATH] = {};
  GetWindowsDirectoryA(buffer, MAX_PATH);
  std::string folder = buffer;
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

} // namespace

TEST(Paths, MacrosAreReplacedExactlyOnce) {
  EXPECT_EQ(ExpandPathMacros("%windir%a.ini"), WindowsFolder() + "a.ini");
  EXPECT_EQ(ExpandPathMacros("%WINDIR%a.ini"), "%WINDIR%a.ini");
  EXPECT_EQ(ExpandPathMacros("%windir%%windir%"), WindowsFolder() + WindowsFolder());
  char temp[MAX_PATH] = {}, system[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  GetSystemDirectoryA(system, MAX_PATH);
  EXPECT_EQ(ExpandPathMacros("%tmpdir%t|%sysdir%s"), std::string(temp) + "t|" + system + "\\s");
}

TEST(Paths, FullFileNamePutsBareNamesBesideTheProgram) {
  char module[512] = {};
  GetModuleFileNameA(nullptr, module, sizeof module);
  std::string folder = module;
  folder.erase(folder.rfind('\\') + 1);
  EXPECT_EQ(ProgramFolder(), folder);
  EXPECT_EQ(FullFileName("dir.ini"), folder + "dir.ini");
  EXPECT_EQ(FullFileName("C:dir.ini"), "C:dir.ini");
  EXPECT_EQ(FullFileName("sub\\dir.ini"), "sub\\dir.ini");
  EXPECT_EQ(FullFileName("%windir%dir.ini"), WindowsFolder() + "dir.ini");
}

TEST(Dir, ForceFoldersOnRootsAndOddPaths) {
  std::string drive = TestDrive(), absent = AbsentDrive();
  ASSERT_FALSE(drive.empty()) << "drive M: is not mapped";
  ASSERT_FALSE(Exists(absent + "\\"));
  std::string folder = FreshFolder("force");

  EXPECT_TRUE(ForceFolders(drive + "\\")); // a drive root is done
  EXPECT_TRUE(ForceFolders(drive));
  EXPECT_FALSE(ForceFolders(""));
  SetCurrentDirectoryA(folder.c_str());
  EXPECT_FALSE(ForceFolders("abc")); // a bare name is refused...
  EXPECT_FALSE(Exists(folder + "abc")); // ...and creates nothing in the current folder

  EXPECT_FALSE(ForceFolders(absent + "\\A\\B"));
  EXPECT_FALSE(Exists(absent + "\\A"));

  // Doubled backslashes go to the system as they are; it reads them as one.
  EXPECT_TRUE(ForceFolders(drive + "\\\\force\\\\D1\\\\D2"));
  EXPECT_TRUE(FolderExists(folder + "D1\\D2"));

  // A file where a folder should be: refused, nothing below it made.
  WriteWholeFile(folder + "file", "x");
  EXPECT_FALSE(ForceFolders(folder + "file\\sub"));
  SetCurrentDirectoryA("C:\\");
}

namespace {

// Sets or removes the Shell Folders "Desktop" value for one test and restores it.
class DesktopValue {
public:
  DesktopValue() {
    RegCreateKeyExA(HKEY_CURRENT_USER, Key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &FKey, nullptr);
    DWORD size = sizeof FOld;
    FHad = RegQueryValueExA(FKey, "Desktop", nullptr, &FType, reinterpret_cast<BYTE*>(FOld), &size) ==
           ERROR_SUCCESS;
    FSize = size;
  }
  ~DesktopValue() {
    if (FHad)
      RegSetValueExA(FKey, "Desktop", 0, FType, reinterpret_cast<BYTE*>(FOld), FSize);
    else
      RegDeleteValueA(FKey, "Desktop");
    RegCloseKey(FKey);
  }
  void Set(DWORD type, const std::string& text) {
    RegSetValueExA(FKey, "Desktop", 0, type, reinterpret_cast<const BYTE*>(text.c_str()), DWORD(text.size() + 1));
  }
  void Remove() { RegDeleteValueA(FKey, "Desktop"); }

  static constexpr const char* Key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

private:
  HKEY FKey = nullptr;
  bool FHad = false;
  DWORD FType = 0, FSize = 0;
  char FOld[1024] = {};
};

std::string ShellDesktopFolder() {
  char buffer[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, buffer))) return "";
  return buffer;
}

} // namespace

TEST(Dir, DesktopFolderFromTheRegistryWithOneBackslash) {
  DesktopValue value;
  value.Set(REG_SZ, "C:\\Users\\someone\\Desk");
  EXPECT_EQ(DesktopFolder(), "C:\\Users\\someone\\Desk\\");

  TOMDir dir;
  TData buffer;
  dir.varDesktop(buffer, 0);
  EXPECT_EQ(buffer.Kind, dkString);
  EXPECT_EQ(buffer.StrValue, "C:\\Users\\someone\\Desk\\");
}

TEST(Dir, DesktopFolderAsksTheShellWhenTheValueIsUnusable) {
  std::string shell = ShellDesktopFolder();
  ASSERT_FALSE(shell.empty());
  {
    DesktopValue value;
    value.Remove();
    EXPECT_EQ(DesktopFolder(), shell + "\\");
  }
  {
    DesktopValue value;
    value.Set(REG_EXPAND_SZ, "%USERPROFILE%\\Desktop");
    EXPECT_EQ(DesktopFolder(), shell + "\\");
  }
}

TEST(Ini, WritesUnderTheSectionBesideTheProgramKeepingTheRest) {
  std::string path = ProgramFolder() + "systest-dir.ini";
  WriteWholeFile(path, "[other]\r\nkeep=1\r\n[info]\r\nold=2\r\ndir=before\r\n");

  TOMini ini, number;
  ini.FileName = number.FileName = "systest-dir.ini";
  ini.Section = "info";
  ini.Key = "dir";
  ini.ValueType = 1;
  Send<&TOMini::inWrite>(ini, StringData("C:\\Program Files\\\xC2\xE0\xF0\xEA\xE5\xEB\xEE"));

  char text[256] = {};
  GetPrivateProfileStringA("info", "dir", "", text, sizeof text, path.c_str());
  EXPECT_STREQ(text, "C:\\Program Files\\\xC2\xE0\xF0\xEA\xE5\xEB\xEE");
  EXPECT_EQ(GetPrivateProfileIntA("other", "keep", 0, path.c_str()), 1u);
  EXPECT_EQ(GetPrivateProfileIntA("info", "old", 0, path.c_str()), 2u);

  // Integer values as decimal text.
  number.Section = "num";
  number.Key = "n";
  Send<&TOMini::inWrite>(number, IntegerData(-7));
  EXPECT_EQ(int(GetPrivateProfileIntA("num", "n", 0, path.c_str())), -7);
  DeleteFileA(path.c_str());
}

TEST(HardDisk, FigureArithmetic) {
  // 4,000,000 clusters of 8 x 512 bytes, and 6 TiB free in 4 KiB clusters
  // where the 32-bit products would wrap (kilobytes are held at the top).
  const uint64_t huge = (6ull << 40) / 4096;
  const struct {
    uint64_t Clusters;
    uint8_t Unit;
    int32_t Figure;
  } rows[] = {{4000000, 0, 15998976}, {4000000, 1, 15624},          {4000000, 2, 15},
              {huge, 1, 6 * 1024 * 1024}, {huge, 2, 6 * 1024}, {huge, 0, 0x7FFFFFFF}};
  for (const auto& r : rows)
    EXPECT_EQ(FreeSpaceFigure(r.Clusters, 8, 512, r.Unit), r.Figure) << r.Clusters << " unit " << int(r.Unit);
}

TEST(HardDisk, FreeSpaceOfARealDrive) {
  std::string drive = TestDrive();
  ASSERT_FALSE(drive.empty()) << "drive M: is not mapped";
  DWORD spc = 0, bps = 0, freeClusters = 0, total = 0;
  ASSERT_TRUE(GetDiskFreeSpaceA((drive + "\\").c_str(), &spc, &bps, &freeClusters, &total));
  const uint64_t clusterBytes = uint64_t(spc) * bps;

  for (uint8_t unit : {uint8_t(1), uint8_t(2)}) {
    const uint64_t divisor = unit == 1 ? 1024 : 1048576;
    ULARGE_INTEGER before{}, after{}, t{}, f{};
    ASSERT_TRUE(GetDiskFreeSpaceExA((drive + "\\").c_str(), &before, &t, &f));
    TOMHardDisk disk;
    disk.Drive = drive.substr(0, 1); // "M" asks for "M:"
    disk.SizeUnit = unit;
    TData buffer;
    disk.varFreeSpace(buffer, 0);
    ASSERT_TRUE(GetDiskFreeSpaceExA((drive + "\\").c_str(), &after, &t, &f));
    EXPECT_EQ(buffer.Kind, dkInteger);
    // Free space may move while other programs write; the figure lies between
    // the two samples, less up to 1,024 clusters of rounding.
    uint64_t low = std::min(before.QuadPart, after.QuadPart), high = std::max(before.QuadPart, after.QuadPart);
    int64_t lowest = int64_t((low - std::min(low, 1024 * clusterBytes)) / 1024 / divisor);
    int64_t highest = int64_t(high / 1024 / divisor);
    EXPECT_GE(buffer.IntValue, lowest) << "unit " << int(unit);
    EXPECT_LE(buffer.IntValue, highest) << "unit " << int(unit);
    EXPECT_GT(buffer.IntValue, 0);
  }

  // A root with its backslash; a drive that does not exist reports 0; with
  // getDrive unlinked and Drive empty the event's text names the drive.
  auto freeSpace = [](const std::string& name, TData buffer) {
    TOMHardDisk disk;
    disk.SizeUnit = 1;
    disk.Drive = name;
    disk.varFreeSpace(buffer, 0);
    EXPECT_EQ(buffer.Kind, dkInteger) << name;
    return buffer.IntValue;
  };
  EXPECT_GT(freeSpace(drive + "\\", TData()), 0);
  EXPECT_EQ(freeSpace(AbsentDrive().substr(0, 1), TData()), 0);
  EXPECT_GT(freeSpace("", StringData(drive)), 0);
}
