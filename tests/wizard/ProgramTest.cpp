// The installer's program file as a whole, and the product's stand-in program it installs.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <set>
#include <sstream>

#include "Wizard.h"

#include <shlobj.h>

using namespace driver;

namespace {

const std::string Exe = files::DosPath(OMBREL_EXE);

// An ownerless box alone on screen, with this text and only OK, which ends it with this exit code.
void ExpectLoneBox(const std::string& exe, const std::string& args, const std::string& caption, const std::string& text,
                   bool icon, uint32_t code, const char* golden = nullptr) {
  TProcess p(exe);
  HWND box = p.Start(args) ? p.WaitBox(caption) : nullptr;
  ASSERT_TRUE(box);
  EXPECT_EQ(nullptr, Owner(box));
  EXPECT_EQ(text, BoxText(box));
  EXPECT_EQ(icon, BoxHasIcon(box));
  EXPECT_TRUE(GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL) && !GetDlgItem(box, IDYES) && !GetDlgItem(box, IDNO));
  EXPECT_EQ(std::vector<HWND>{box}, p.Windows()) << "nothing else was built";
  EXPECT_TRUE(!golden || LooksLike(golden, box));
  EXPECT_EQ(code, p.Press(box, IDOK) ? p.WaitExit() : std::nullopt);
}

// Signed as a release is signed (by tests/wizard/signing.sh); damaged after signing, it says so.
TEST(Program, ASignedCopyStartsAndADamagedOneSaysSo) {
  const std::string signedCopy = files::Env("OMBREL_SIGNED_EXE"), damaged = files::Env("OMBREL_SIGNED_DAMAGED_EXE");
  if (signedCopy.empty() || damaged.empty()) GTEST_SKIP() << "run by tests/wizard/signing.sh";
  TWizard w(signedCopy);
  EXPECT_TRUE(w.Start() && w.Close());
  ExpectLoneBox(files::DosPath(damaged), "", texts::BoxCaption, texts::Damaged, true, 2);
}

// The file's properties as Windows reads them, in a Russian block. No maker is named.
TEST(Program, TheFileSaysWhatItIsAndWhichVersion) {
  const std::wstring exe = files::Wide(Exe);
  std::vector<char> info(GetFileVersionInfoSizeW(exe.c_str(), nullptr));
  ASSERT_TRUE(!info.empty() && GetFileVersionInfoW(exe.c_str(), 0, DWORD(info.size()), info.data()));
  const auto query = [&](const std::wstring& path, UINT& size) -> const void* {
    void* found = nullptr;
    return VerQueryValueW(info.data(), path.c_str(), &found, &size) ? found : nullptr;
  };
  UINT size = 0;
  const auto* f = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\", size));
  ASSERT_TRUE(f);
  EXPECT_EQ((std::vector<DWORD>{0x00020001, 0, 0x00020001, 0, VFT_APP}),
            (std::vector<DWORD>{f->dwFileVersionMS, f->dwFileVersionLS, f->dwProductVersionMS, f->dwProductVersionLS,
                                f->dwFileType}));
  const std::pair<const char*, std::optional<std::string>> strings[] = {
      {"FileVersion", "2.1"}, {"ProductVersion", "2.1"}, {"ProductName", "Сорванта"},
      {"FileDescription", "Установка программы Сорванта v2.1"}, {"OriginalFilename", "Ombrel.exe"},
      {"InternalName", "Ombrel"}, {"CompanyName", std::nullopt}, {"LegalCopyright", std::nullopt}};
  for (const auto& [name, expected] : strings) {
    const auto* text = static_cast<const wchar_t*>(query(L"\\StringFileInfo\\041904B0\\" + files::Wide(name), size));
    EXPECT_EQ(expected, text ? std::optional(files::Narrow(text)) : std::nullopt) << name;
  }
  const auto* translation = static_cast<const uint32_t*>(query(L"\\VarFileInfo\\Translation", size));
  ASSERT_TRUE(translation && size >= 4);
  EXPECT_EQ(0x04B00419u, *translation) << "Russian, UTF-16";
}

TEST(Program, OnlyTheInfoSwitchShowsTheInfoBoxAndOnlyTheSilentOneRunsWithoutAPerson) {
  ExpectLoneBox(Exe, "/ih", "Ombrel Info", texts::Info, false, 0, "info");
  const std::string log = files::DosPath(files::UnixScratch("not-silent") + ".log");
  RemoveInstallation(ProgramFiles);
  for (const std::string& args : {std::string("x /ih"), "/s /LOG=" + log + " /D=C:\\ombrel-not-silent"}) {
    SCOPED_TRACE(args);
    TWizard w;
    EXPECT_TRUE(w.Start("", args) && w.Close());
    EXPECT_FALSE(files::IsFolder(ProgramFiles + "\\Varkelo") || files::IsFolder("C:\\ombrel-not-silent") || files::IsFile(log));
  }
}

// The payload archive at the end of a copy of the program: where an item's packed block lies, the digests.
class TArchive {
public:
  explicit TArchive(std::string& exe) : Exe(exe), Start(exe.rfind("OMBRELPZ")) {
    if (Start == std::string::npos) ADD_FAILURE() << "no payload archive";
  }
  size_t At(size_t offset) const { return Start + offset; }
  // The middle byte of the packed block that holds this item.
  size_t Middle(const std::string& item) const { return Start + Get(Block(item) + 4) + Get(Block(item) + 8) / 2; }
  // That block's digest, the tables' and the header's made to match its bytes again.
  void Reseal(const std::string& item) {
    const size_t block = Block(item), tables = Start + HeaderSize;
    Set(block + 16, Crc(Start + Get(block + 4), Get(block + 8)));
    Set(Start + 20, Crc(tables, EntrySize * Get(Start + 8) + BlockSize * Get(Start + 12)));
    Set(Start + 24, Crc(Start, 24));
  }

private:
  static constexpr size_t HeaderSize = 28, EntrySize = 36, BlockSize = 28;
  uint32_t Get(size_t at) const {
    uint32_t value = 0;
    std::memcpy(&value, &Exe[at], 4);
    return value;
  }
  void Set(size_t at, uint32_t value) { std::memcpy(&Exe[at], &value, 4); }
  size_t Block(const std::string& item) const {
    for (uint32_t i = 0; i < Get(Start + 8); ++i) {
      const size_t entry = Start + HeaderSize + EntrySize * i;
      if (Exe.compare(entry, item.size() + 1, item.c_str(), item.size() + 1) == 0)
        return Start + HeaderSize + EntrySize * Get(Start + 8) + BlockSize * Get(entry + 20);
    }
    ADD_FAILURE() << item << " is not in the archive";
    return 0;
  }
  uint32_t Crc(size_t at, size_t size) const {
    uint32_t crc = ~0u;
    for (size_t i = at; i < at + size; ++i) {
      crc ^= uint8_t(Exe[i]);
      for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
  }
  std::string& Exe;
  size_t Start;
};

TEST(Program, ADamagedCopySaysSoWritesNothingAndEndsWithTwo) {
  std::string original = files::Read(Exe);
  const TArchive archive(original);
  const auto flip = [](size_t at) { return [at](std::string& exe) { exe[at] ^= 0x10; }; };
  const std::string icon = files::Read(OMBREL_PAYLOAD_SOURCE_DIR "/icon/sorvanta.ico");
  const size_t group = original.find(icon.substr(0, 18)); // the icon group's header and first entry
  const size_t image = original.find(icon.substr(icon.size() / 2, 64));
  ASSERT_TRUE(group != std::string::npos && image != std::string::npos) << "the icon's resources";
  const std::pair<const char*, std::function<void(std::string&)>> cases[] = {
      {"a byte of the texts", flip(archive.Middle("STR2"))},
      {"a byte of the program file", flip(archive.Middle("STREAM0"))},
      {"a byte of a picture", flip(archive.Middle("STREAM2"))},
      {"a byte of the welcome bitmap", flip(archive.Middle("BITMAP0"))},
      {"a byte of the manifest", flip(original.find("setup</description>"))},
      {"a byte of the icon group", flip(group + 8)},
      {"a byte of the icon", flip(image + 32)},
      {"the archive's size in its header one less", [&](std::string& e) { --reinterpret_cast<uint32_t&>(e[archive.At(16)]); }},
      {"a byte of the archive's table", flip(archive.At(30))},
      {"the last byte cut off", [](std::string& e) { e.pop_back(); }},
      {"half the payload cut off", [&](std::string& e) { e.resize(archive.At((e.size() - archive.At(0)) / 2)); }}};
  const std::string copy = files::DosPath(files::UnixScratch("damaged") + ".exe"); // off C:, where nothing may change
  const files::TTree before = files::Tree("C:");
  for (const auto& [what, spoil] : cases) {
    SCOPED_TRACE(what);
    std::string exe = original;
    spoil(exe);
    ASSERT_TRUE(exe != original && files::Write(copy, exe));
    ExpectLoneBox(copy, "", texts::BoxCaption, texts::Damaged, true, 2, exe.size() == original.size() ? "damaged" : nullptr);
  }
  EXPECT_EQ(std::vector<std::string>{}, files::Changes(before, files::Tree("C:")));
  ASSERT_TRUE(files::Write(copy, original));
  TWizard sound(copy);
  EXPECT_TRUE(sound.Start() && sound.Close());
  DeleteFileA(copy.c_str());
}

// Bytes changed under the running program (the digests made to match) are damage too: found as the
// wizard is made (texts) or as the program file is written (nothing of it stays). With /S, also for a
// copy damaged on the way: no box, exit code 2, the log says so.
TEST(Program, BytesThatDoNotUnpackAsBuiltAreADamagedInstaller) {
  const std::string original = files::Read(Exe);
  const std::string copy = files::DosPath(files::UnixScratch("unpacked") + ".exe");
  const std::string log = files::DosPath(files::UnixScratch("unpacked") + ".log");
  RemoveInstallation(ProgramFiles);
  const std::pair<const char*, bool> cases[] = { // the item changed (none: the last byte cut off), with /S
      {"STR2", false}, {"STREAM2", false}, {"STREAM0", false}, {"STREAM0", true}, {nullptr, true}};
  for (const auto& [item, silent] : cases) { // packed, stored, packed and written at Install
    SCOPED_TRACE(std::string(item ? item : "cut") + (silent ? " /S" : ""));
    std::string exe = original;
    TArchive archive(exe);
    if (item) exe[archive.Middle(item)] ^= 0x10;
    if (item) archive.Reseal(item);
    else exe.pop_back();
    ASSERT_TRUE(files::Write(copy, exe));
    DeleteFileA(log.c_str());
    const files::TTree before = files::Tree("C:");
    const bool atInstall = item && item == std::string("STREAM0");
    if (silent) {
      const TUnattendedRun run = RunUnattended("/S /LOG=" + log, copy);
      EXPECT_EQ(std::set<std::string>{}, run.Shown);
      EXPECT_EQ(2u, run.Code);
      EXPECT_EQ("The installer is damaged.\r\n", files::Read(log));
    } else {
      TWizard w(copy);
      ASSERT_TRUE(atInstall ? w.Start() && w.GoTo(EPage::Folder) && w.Press(texts::Install) : w.Process.Start());
      HWND box = w.Process.WaitBox(texts::BoxCaption);
      ASSERT_TRUE(box);
      EXPECT_EQ(texts::Damaged, BoxText(box));
      EXPECT_EQ(2u, w.Process.Press(box, IDOK) ? w.Process.WaitExit() : std::nullopt);
    }
    EXPECT_EQ(atInstall ? std::vector<std::string>{"Program Files\\Varkelo\\"} : std::vector<std::string>{},
              files::Changes(before, files::Tree("C:")));
    RemoveInstallation(ProgramFiles);
  }
  DeleteFileA(copy.c_str());
  DeleteFileA(log.c_str());
}

// Read from inside its window thread by a hook library: an OLE apartment (the folder dialog and the
// shell link expect one), and drives without a disc that fail their calls instead of asking.
TEST(Program, ItsWindowThreadIsAnOleApartmentAndDrivesFailQuietly) {
  const std::string report = files::DosPath(files::UnixScratch("setup") + ".txt");
  SetEnvironmentVariableA("OMBREL_PROBE_REPORT", report.c_str()); // inherited by the program
  TWizard w;
  const bool started = w.Start();
  SetEnvironmentVariableA("OMBREL_PROBE_REPORT", nullptr);
  ASSERT_TRUE(started);
  HMODULE probe = LoadLibraryA(files::DosPath(OMBREL_PROBE_DLL).c_str());
  const auto proc = probe ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "ProbeSetUp"))) : nullptr;
  HHOOK hook = proc ? SetWindowsHookExW(WH_GETMESSAGE, proc, probe, GetWindowThreadProcessId(w.Main, nullptr)) : nullptr;
  ASSERT_TRUE(hook);
  EXPECT_TRUE(WaitUntil([&] { return PostMessageW(w.Main, WM_NULL, 0, 0) && files::IsFile(report); }));
  UnhookWindowsHookEx(hook);
  EXPECT_EQ("apartment single-threaded, OLE initialised, error mode 0x8001", files::Read(report));
  EXPECT_TRUE(w.Close());
  DeleteFileA(report.c_str());
}

// A copy beside a recording library under each name (wine-test.sh lets Wine prefer them from the
// program's folder), walked to the folder dialog and closed, or until the first name loads: what loaded.
std::string RunPlanted(const std::string& program, const std::vector<std::string>& names, bool walk) {
  const std::string folder = files::FreshFolder("planted"), marker = folder + "loaded.txt";
  EXPECT_TRUE(CopyFileA(files::DosPath(program).c_str(), (folder + "Ombrel.exe").c_str(), FALSE));
  for (const std::string& name : names)
    EXPECT_TRUE(CopyFileA(files::DosPath(OMBREL_PLANTED_DLL).c_str(), (folder + name + ".dll").c_str(), FALSE));
  SetEnvironmentVariableA("OMBREL_PLANT_MARKER", marker.c_str()); // inherited by the copy
  TWizard w(folder + "Ombrel.exe");
  const bool started = walk ? w.Start(folder) : w.Process.Start("", folder); // in its own folder, as a double click
  SetEnvironmentVariableA("OMBREL_PLANT_MARKER", nullptr);
  if (!walk) { // libraries load one by one
    WaitUntil([&] { return files::Read(marker).find(names.front() + ".dll") != std::string::npos; });
    return files::Read(marker);
  }
  // The shell loads its own share of libraries for the folder dialog.
  HWND dialog = started && w.GoTo(EPage::Folder) && w.Press(texts::Browse) ? w.Process.WaitDialog() : nullptr;
  EXPECT_TRUE(dialog && WaitUntil([&] { return !Children(dialog, "SysTreeView32").empty(); }) &&
              w.Process.Press(dialog, IDCANCEL));
  EXPECT_TRUE(w.Close());
  return files::Read(marker);
}

// The control: built without the limited search, the installer loads the planted theme library.
TEST(Program, LoadsNoLibraryPlantedBesideIt) {
  std::istringstream list(files::Env("OMBREL_PLANTED_NAMES"));
  const std::vector<std::string> names{std::istream_iterator<std::string>(list), {}};
  ASSERT_GT(names.size(), 10u);
  EXPECT_EQ("", RunPlanted(OMBREL_EXE, names, true));
  EXPECT_NE(std::string::npos, RunPlanted(OMBREL_OPEN_SEARCH_EXE, {"uxtheme", "msimg32"}, false).find("uxtheme.dll"));
}

// Imports are resolved before the program runs: only the known libraries, and no "A" function beside
// a "W" twin but those this build's thread library calls without a text. The manifest is carried.
TEST(Program, ImportsOnlyKnownLibrariesAndNoAnsiFunctionAndCarriesItsManifest) {
  // Mapped as an image, never loaded: nothing in it resolved or run.
  HMODULE image = LoadLibraryExA(Exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_TRUE(image);
  HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  const std::string manifest(found ? static_cast<const char*>(LockResource(LoadResource(image, found))) : "",
                             found ? SizeofResource(image, found) : 0);
  EXPECT_NE(std::string::npos, manifest.find("<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>"));
  // The handle of a module mapped as data carries flags in its low bits.
  const char* base = reinterpret_cast<const char*>(uintptr_t(image) & ~uintptr_t(3));
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + PIMAGE_DOS_HEADER(base)->e_lfanew);
  const DWORD table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  std::set<std::string> imports, ansi;
  for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + table); table && entry->Name; ++entry) {
    imports.insert(CharLowerA(std::string(base + entry->Name).data()));
    const HMODULE library = LoadLibraryA(base + entry->Name);
    for (auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
         thunk->u1.AddressOfData; ++thunk) {
      if (IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal)) continue;
      std::string name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + thunk->u1.AddressOfData)->Name;
      if (name.back() != 'A') continue;
      name.back() = 'W';
      if (GetProcAddress(library, name.c_str())) ansi.insert(name.substr(0, name.size() - 1) + "A");
    }
  }
  FreeLibrary(image);
  for (const char* threads : {"CreateEventA", "CreateSemaphoreA", "OutputDebugStringA"}) ansi.erase(threads);
  EXPECT_EQ(std::set<std::string>{}, ansi);
  const std::set<std::string> known = {"advapi32.dll", "comdlg32.dll", "gdi32.dll", "imm32.dll", "kernel32.dll", "msvcrt.dll",
                                       "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll", "user32.dll"};
  EXPECT_TRUE(imports.count("kernel32.dll"));
  for (const std::string& name : imports) EXPECT_TRUE(known.count(name)) << name << " is not a known library";
}

TEST(Program, TheStandInTellsItsFolderFromTheRecord) {
  const std::string folder = files::FreshFolder("standin"), product = folder + "Varkelo";
  // The record's section and folder (product: no closing backslash) or none; the page made; what is said, and not.
  const struct {
    const char* Section;
    std::string Dir;
    const char* Page;
    std::vector<std::string> Says, Not;
  } cases[] = {{"info", folder, "Help\\ZelcapHelp.htm", {folder, "(Help): есть", "(Info): нет"}, {}},
               {"info", product, "Varkelo\\Info\\ZelcapInfo.htm", {product, "(Help): нет", "(Info): есть"}, {}},
               {nullptr, "", nullptr, {"dir.ini не найден", folder}, {}},
               {"other", "C:\\", nullptr, {"нет папки программы (раздел info, ключ dir)"}, {"C:\\"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Section ? c.Section : "no record") + " " + c.Dir);
    files::FreshFolder("standin");
    ASSERT_TRUE(CopyFileA(files::DosPath(OMBREL_STANDIN).c_str(), (folder + "Zelcap2-1.exe").c_str(), FALSE));
    const std::string page = c.Page ? folder + c.Page : "";
    if (c.Page) SHCreateDirectoryExA(nullptr, page.substr(0, page.rfind('\\')).c_str(), nullptr);
    ASSERT_TRUE(!c.Page || files::Write(page, ""));
    if (c.Section) WritePrivateProfileStringA(c.Section, "dir", c.Dir.c_str(), (folder + "dir.ini").c_str());
    TProcess standin(folder + "Zelcap2-1.exe");
    HWND box = standin.Start() ? standin.WaitBox(texts::ProductCaption) : nullptr;
    ASSERT_TRUE(box);
    const std::string text = BoxText(box);
    for (const std::string& part : c.Says) EXPECT_NE(std::string::npos, text.find(part)) << part << " in " << text;
    for (const std::string& part : c.Not) EXPECT_EQ(std::string::npos, text.find(part)) << part << " in " << text;
    EXPECT_EQ(0u, standin.Press(box, IDOK) ? standin.WaitExit() : std::nullopt);
  }
}

} // namespace
