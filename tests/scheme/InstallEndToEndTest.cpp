// Installing end to end: Next, Agree, Install into the offered
// "C:\Program Files", then every file, the location record and the desktop
// shortcut checked against the payload the program carries, and the
// installed program started through the shortcut.
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "WizardRun.h"

using namespace driver;

namespace {

const std::string ProductFolder = ProgramFilesFolder() + "\\Varkelo";

struct TPayloadItem {
  std::string Name, Format, Target;
  uint64_t Size = 0;
};

// The installed items of the payload manifest: those with a target.
std::vector<TPayloadItem> InstalledItems() {
  std::vector<TPayloadItem> items;
  std::ifstream in(DosPath(OMBREL_MANIFEST));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, type, file, size, format, target;
    if (!(fields >> name >> type >> file >> size >> format >> target) || target == "-") continue;
    items.push_back({name, format, target, std::stoull(size)});
  }
  return items;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The program's own resources, read as data from its file.
class TResources {
public:
  TResources() : Module(LoadLibraryExA(DosPath(OMBREL_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~TResources() {
    if (Module) FreeLibrary(Module);
  }
  bool Loaded() const { return Module != nullptr; }
  std::string Bytes(const std::string& name) const {
    HRSRC info = FindResourceA(Module, name.c_str(), MAKEINTRESOURCEA(100));
    if (!info) return {};
    HGLOBAL data = LoadResource(Module, info);
    const char* bytes = static_cast<const char*>(LockResource(data));
    return bytes ? std::string(bytes, SizeofResource(Module, info)) : std::string();
  }

private:
  HMODULE Module;
};

struct TShortcut {
  bool Loaded = false;
  std::string Target, WorkingFolder, Description;
};

TShortcut ReadShortcut(const std::string& path) {
  TShortcut link;
  IShellLinkA* shell = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&shell))))
    return link;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(Text1251ToWide(path).c_str(), STGM_READ))) {
      char buffer[MAX_PATH + 1] = {};
      link.Loaded = true;
      if (SUCCEEDED(shell->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH))) link.Target = buffer;
      buffer[0] = 0;
      if (SUCCEEDED(shell->GetWorkingDirectory(buffer, MAX_PATH))) link.WorkingFolder = buffer;
      buffer[0] = 0;
      if (SUCCEEDED(shell->GetDescription(buffer, MAX_PATH))) link.Description = buffer;
    }
    file->Release();
  }
  shell->Release();
  return link;
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesW(Text1251ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The product folder and the shortcut are gone before the test and after it,
// so what the test finds is what this run wrote.
class InstallEndToEnd : public ::testing::Test {
protected:
  std::string LinkPath = UserDesktopFolder() + "\\" + ShortcutName();
  void SetUp() override {
    CoInitialize(nullptr);
    Clean();
    ASSERT_FALSE(FileExists(LinkPath));
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(ProductFolder.c_str()));
  }
  void TearDown() override {
    Clean();
    CoUninitialize();
  }
  // Wine reads a new shortcut and its program file for a while after they
  // were written (to make a launcher of them); a file it holds open goes only
  // when it lets go, so removing is tried until everything is gone.
  void Clean() {
    const bool gone = WaitUntil([&] {
      DeleteFileW(Text1251ToWide(LinkPath).c_str());
      return RemoveTree(ProductFolder) && !FileExists(LinkPath);
    });
    EXPECT_TRUE(gone) << "cannot remove " << ProductFolder << " or the shortcut";
  }
};

// Next, Agree, Install with the offered folder; true when the finish page shows.
bool InstallWithDefaults(TWizardRun& w) {
  if (!w.Start() || !w.Press(texts::Next) || !w.WaitPage(EPage::wpLicence)) return false;
  if (!w.Press(texts::Agree) || !w.WaitPage(EPage::wpFolder)) return false;
  std::vector<HWND> edits = Controls(w.ShownFrame(), "Edit");
  EXPECT_EQ(1u, edits.size());
  if (edits.size() != 1) return false;
  EXPECT_EQ(ProgramFilesFolder(), WindowText(edits.front()));
  EXPECT_FALSE(IsWindowEnabled(edits.front())) << "the folder changes only through Browse";
  return w.Press(texts::Install) && w.WaitPage(EPage::wpFinish, 60000);
}

TEST_F(InstallEndToEnd, InstallsEveryFileTheRecordAndTheShortcutThenDoneEnds) {
  const std::vector<TPayloadItem> items = InstalledItems();
  ASSERT_EQ(38u, items.size()) << "34 texts, 3 pictures and the program file";
  TResources resources;
  ASSERT_TRUE(resources.Loaded());

  TWizardRun w;
  ASSERT_TRUE(InstallWithDefaults(w));
  // Only the finish page: Install cannot be pressed a second time.
  EXPECT_EQ(1u, VisibleFrames(w.Main).size());

  // Every file, byte for byte; the texts get CR LF after their last line.
  for (const TPayloadItem& item : items) {
    SCOPED_TRACE(item.Target);
    const std::string path = ProductFolder + "\\" + item.Target;
    const std::string written = ReadFile(path);
    std::string expected = resources.Bytes(item.Name);
    ASSERT_FALSE(expected.empty()) << "resource " << item.Name;
    if (item.Format == "text") {
      expected = expected.substr(0, expected.find('\0')) + "\r\n";
      EXPECT_EQ(item.Size + 1, written.size());
    } else {
      EXPECT_EQ(item.Size, written.size());
    }
    EXPECT_TRUE(expected == written) << "content of " << path;
  }

  // The location record names the product folder with a trailing backslash.
  char dir[MAX_PATH + 1] = {};
  GetPrivateProfileStringA("info", "dir", "", dir, sizeof dir, (ProductFolder + "\\dir.ini").c_str());
  EXPECT_EQ(ProductFolder + "\\", std::string(dir));

  // The desktop shortcut: "Сорванта v2.1.lnk" to the program file.
  EXPECT_EQ("\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0 v2.1.lnk", ShortcutName());
  ASSERT_TRUE(FileExists(LinkPath)) << LinkPath;
  const TShortcut link = ReadShortcut(LinkPath);
  ASSERT_TRUE(link.Loaded);
  EXPECT_EQ(ProductFolder + "\\Zelcap2-1.exe", link.Target);
  EXPECT_EQ(ProductFolder, link.WorkingFolder);
  EXPECT_EQ("Sorvanta", link.Description);

  // Nothing else in the product folder.
  const TTreeState tree = TreeState(ProductFolder);
  size_t files = 0;
  for (const auto& entry : tree)
    if (entry.first.back() != '\\') ++files;
  EXPECT_EQ(items.size() + 1, files) << "the payload files and dir.ini";

  EXPECT_TRUE(Screenshot(w.Main, "4-finish"));
  ASSERT_TRUE(w.Press(texts::Done));
  EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());

  // The installed program, started through the shortcut, finds its folder.
  TInstallerProcess product(link.Target);
  ASSERT_TRUE(product.Start());
  HWND box = product.WaitMessageBox(texts::ProductCaption);
  ASSERT_NE(nullptr, box);
  const std::string report = TInstallerProcess::MessageBoxText(box);
  EXPECT_NE(std::string::npos, report.find(ProductFolder + "\\")) << report;
  EXPECT_EQ(std::string::npos, report.find("dir.ini")) << "the record was found: " << report;
  // "есть" twice: the Help and Info pages are there.
  const std::string present = "\xE5\xF1\xF2\xFC";
  const size_t first = report.find(present);
  EXPECT_NE(std::string::npos, first) << report;
  EXPECT_NE(std::string::npos, report.find(present, first + 1)) << report;
  ASSERT_TRUE(product.PressButton(box, IDOK));
  EXPECT_EQ(std::optional<uint32_t>(0), product.WaitExit());
}

// The close box on the finish page ends the program too, the installation
// already complete.
TEST_F(InstallEndToEnd, CloseBoxOnTheFinishPageEnds) {
  TWizardRun w;
  ASSERT_TRUE(InstallWithDefaults(w));
  CloseBox(w.Main);
  EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());
  EXPECT_TRUE(FileExists(ProductFolder + "\\dir.ini"));
  EXPECT_TRUE(FileExists(LinkPath));
}

// Browse picks another folder; the installation, its record and the
// shortcut follow it.
TEST_F(InstallEndToEnd, InstallsIntoAFolderChosenWithBrowse) {
  const std::string name = "ombrel-e2e-" + std::to_string(GetCurrentProcessId());
  const std::string chosen = "C:\\" + name;
  RemoveTree(chosen);
  ASSERT_TRUE(CreateDirectoryA(chosen.c_str(), nullptr));
  struct TRemove {
    std::string Folder;
    ~TRemove() { WaitUntil([&] { return RemoveTree(Folder); }); } // see Clean
  } remove{chosen};

  TWizardRun w;
  ASSERT_TRUE(w.Start());
  ASSERT_TRUE(w.Press(texts::Next));
  ASSERT_TRUE(w.WaitPage(EPage::wpLicence));
  ASSERT_TRUE(w.Press(texts::Agree));
  ASSERT_TRUE(w.WaitPage(EPage::wpFolder));
  std::vector<HWND> edits = Controls(w.ShownFrame(), "Edit");
  ASSERT_EQ(1u, edits.size());
  ASSERT_TRUE(w.Press("\xCE\xE1\xE7\xEE\xF0")); // "Обзор"
  HWND dialog = w.Process.WaitDialog();
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(w.Main, Owner(dialog));
  ASSERT_TRUE(w.Process.ChooseFolder(dialog, {"(c:)", name}));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edits.front()) == chosen; })) << WindowText(edits.front());
  EXPECT_EQ(EPage::wpFolder, w.Page());

  ASSERT_TRUE(w.Press(texts::Install));
  ASSERT_TRUE(w.WaitPage(EPage::wpFinish, 60000));
  const std::string product = chosen + "\\Varkelo";
  char dir[MAX_PATH + 1] = {};
  GetPrivateProfileStringA("info", "dir", "", dir, sizeof dir, (product + "\\dir.ini").c_str());
  EXPECT_EQ(product + "\\", std::string(dir));
  EXPECT_EQ(1606656u, ReadFile(product + "\\Zelcap2-1.exe").size());
  EXPECT_TRUE(FileExists(product + "\\Info\\kelso.htm"));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(ProductFolder.c_str())) << "nothing in Program Files";
  const TShortcut link = ReadShortcut(LinkPath);
  EXPECT_EQ(product + "\\Zelcap2-1.exe", link.Target);
  EXPECT_EQ(product, link.WorkingFolder);

  ASSERT_TRUE(w.Press(texts::Done));
  EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());
}

} // namespace
