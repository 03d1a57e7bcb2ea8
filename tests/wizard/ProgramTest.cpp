// The installer's program file as a whole, and the product's stand-in program it installs.
#include <gtest/gtest.h>

#include <functional>
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
  UINT size = 0;
  const auto query = [&](const std::string& path) -> const void* {
    void* found = nullptr;
    return VerQueryValueW(info.data(), files::Wide(path).c_str(), &found, &size) ? found : nullptr;
  };
  const auto* f = static_cast<const VS_FIXEDFILEINFO*>(query("\\"));
  ASSERT_TRUE(f);
  EXPECT_EQ((std::vector<DWORD>{0x00020001, 0, 0x00020001, 0, VFT_APP}),
            (std::vector<DWORD>{f->dwFileVersionMS, f->dwFileVersionLS, f->dwProductVersionMS, f->dwProductVersionLS,
                                f->dwFileType}));
  const std::pair<const char*, std::optional<std::string>> strings[] = {
      {"FileVersion", "2.1"}, {"ProductVersion", "2.1"}, {"ProductName", "Сорванта"},
      {"FileDescription", "Установка программы Сорванта v2.1"}, {"OriginalFilename", "Ombrel.exe"},
      {"InternalName", "Ombrel"}, {"CompanyName", std::nullopt}, {"LegalCopyright", std::nullopt}};
  for (const auto& [name, expected] : strings) {
    const auto* text = static_cast<const wchar_t*>(query(std::string("\\StringFileInfo\\041904B0\\") + name));
    EXPECT_EQ(expected, text ? std::optional(files::Narrow(text)) : std::nullopt) << name;
  }
  const auto* translation = static_cast<const uint32_t*>(query("\\VarFileInfo\\Translation"));
  EXPECT_EQ(0x04B00419u, translation && size >= 4 ? *translation : 0) << "Russian, UTF-16";
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
  uint32_t& Field(size_t offset) const { return reinterpret_cast<uint32_t&>(Exe[Start + offset]); }
  // The middle byte of the packed block that holds this item.
  size_t Middle(const std::string& item) const { return Start + Field(Block(item) + 4) + Field(Block(item) + 8) / 2; }
  // That block's digest, the tables' and the header's made to match its bytes again.
  void Reseal(const std::string& item) {
    const size_t block = Block(item);
    Field(block + 16) = Crc(Field(block + 4), Field(block + 8));
    Field(20) = Crc(HeaderSize, EntrySize * Field(8) + BlockSize * Field(12));
    Field(24) = Crc(0, 24);
  }

private:
  static constexpr size_t HeaderSize = 28, EntrySize = 36, BlockSize = 28;
  size_t Block(const std::string& item) const { // an entry of the table begins with the item's name
    const size_t entry = Exe.find(item + '\0', Start + HeaderSize) - Start, blocks = HeaderSize + EntrySize * Field(8);
    if (entry < blocks) return blocks + BlockSize * Field(entry + 20);
    ADD_FAILURE() << item << " is not in the archive";
    return 0;
  }
  uint32_t Crc(size_t offset, size_t size) const { return Crc32(&Exe[Start + offset], size); }
  std::string& Exe;
  size_t Start;
};

// When the damage is found: before the wizard is made, while it waits for the person (idle time
// unpacks what Install writes), as the program file is written (/S).
enum class EFound { Start, Waiting, Install };

// Damaged on the way (a byte of any part, the archive's size or table, the end cut off), or bytes
// changed under the running program with their digests made to match, found as they unpack: while
// the wizard waits, or as the program file is written (nothing of it stays). A box,
// exit code 2, nothing written; with /S no box, and the log says so.
TEST(Program, ADamagedCopySaysSoWritesNothingAndEndsWithTwo) {
  std::string original = files::Read(Exe);
  const std::string icon = files::Read(OMBREL_PAYLOAD_SOURCE_DIR "/icon/sorvanta.ico");
  const size_t group = original.find(icon.substr(0, 18)); // the icon group's header and first entry
  const size_t image = original.find(icon.substr(icon.size() / 2, 64));
  ASSERT_TRUE(group != std::string::npos && image != std::string::npos) << "the icon's resources";
  const TArchive archive(original);
  const auto flip = [](size_t at) { return [at](std::string& exe) { exe[at] ^= 0x10; }; };
  const auto resealed = [](const char* item) {
    return [item](std::string& exe) {
      TArchive changed(exe);
      exe[changed.Middle(item)] ^= 0x10;
      changed.Reseal(item);
    };
  };
  const auto cut = [](std::string& exe) { exe.pop_back(); };
  const struct {
    const char* What;
    std::function<void(std::string&)> Spoil;
    EFound Found;
    bool Silent = false;
  } cases[] = {
      {"a byte of the texts", flip(archive.Middle("STR2")), EFound::Start},
      {"a byte of the program file", flip(archive.Middle("STREAM0")), EFound::Start},
      {"a byte of a picture", flip(archive.Middle("STREAM2")), EFound::Start},
      {"a byte of the welcome bitmap", flip(archive.Middle("BITMAP0")), EFound::Start},
      {"a byte of the manifest", flip(original.find("setup</description>")), EFound::Start},
      {"a byte of the icon group", flip(group + 8), EFound::Start},
      {"a byte of the icon", flip(image + 32), EFound::Start},
      {"the archive's size one less", [](std::string& exe) { --TArchive(exe).Field(16); }, EFound::Start},
      {"a byte of the archive's table", flip(archive.At(30)), EFound::Start},
      {"the last byte cut off", cut, EFound::Start},
      {"half the payload cut off", [&](std::string& exe) { exe.resize(archive.At((exe.size() - archive.At(0)) / 2)); },
       EFound::Start},
      {"the texts resealed (packed)", resealed("STR2"), EFound::Waiting},
      {"a picture resealed", resealed("STREAM2"), EFound::Waiting},
      {"the program file resealed", resealed("STREAM0"), EFound::Waiting},
      {"the program file resealed, /S", resealed("STREAM0"), EFound::Install, true},
      {"the last byte cut off, /S", cut, EFound::Start, true}};
  // Off C:, where nothing may change.
  const std::string copy = files::DosPath(files::UnixScratch("damaged") + ".exe"), log = copy + ".log";
  RemoveInstallation(ProgramFiles);
  const files::TTree before = files::Tree("C:");
  for (const auto& [what, spoil, found, silent] : cases) {
    SCOPED_TRACE(what);
    std::string exe = original;
    spoil(exe);
    ASSERT_TRUE(exe != original && files::Write(copy, exe));
    if (silent) {
      DeleteFileA(log.c_str());
      const TUnattendedRun run = RunUnattended("/S /LOG=" + log, copy);
      EXPECT_EQ(std::set<std::string>{}, run.Shown);
      EXPECT_EQ(2u, run.Code);
      EXPECT_EQ("Программа установки повреждена.\r\n", files::Read(log));
    } else if (found == EFound::Waiting) {
      TWizard w(copy);
      ASSERT_TRUE(w.Start());
      HWND box = w.Process.WaitBox(texts::BoxCaption);
      ASSERT_TRUE(box);
      EXPECT_EQ(texts::Damaged, BoxText(box));
      EXPECT_EQ(2u, w.Process.Press(box, IDOK) ? w.Process.WaitExit() : std::nullopt);
    } else {
      const char* golden = found == EFound::Start && exe.size() == original.size() ? "damaged" : nullptr;
      ExpectLoneBox(copy, "", texts::BoxCaption, texts::Damaged, true, 2, golden);
    }
    // Without a person the run is all or nothing: the folder it had made goes too.
    EXPECT_EQ(std::vector<std::string>{}, files::Changes(before, files::Tree("C:")));
    RemoveInstallation(ProgramFiles);
  }
  ASSERT_TRUE(files::Write(copy, original));
  TWizard sound(copy);
  EXPECT_TRUE(sound.Start() && sound.Close());
  DeleteFileA(copy.c_str());
  DeleteFileA(log.c_str());
}

// A folder with a copy of the program beside a recording library under each name (wine-test.sh lets
// Wine prefer them from the program's folder), which names what loaded in loaded.txt there.
std::string Planted(const std::string& program, const std::vector<std::string>& names) {
  const std::string folder = files::FreshFolder("planted");
  EXPECT_TRUE(CopyFileA(files::DosPath(program).c_str(), (folder + "Ombrel.exe").c_str(), FALSE));
  for (const std::string& name : names)
    EXPECT_TRUE(CopyFileA(files::DosPath(OMBREL_PLANTED_DLL).c_str(), (folder + name + ".dll").c_str(), FALSE));
  SetEnvironmentVariableA("OMBREL_PLANT_MARKER", (folder + "loaded.txt").c_str()); // inherited by the copy
  return folder;
}

// Started in its own folder, as by a double click, and walked to the folder dialog (the shell loads its
// own share of libraries for it), it loads none planted beside it; the control, built without the
// limited search, loads the planted theme library. Read from inside its window thread by a hook
// library: an OLE apartment (the folder dialog and the shell link expect one), and drives without a
// disc that fail their calls instead of asking.
TEST(Program, LoadsNoLibraryPlantedBesideItAndItsWindowThreadIsAnOleApartment) {
  std::istringstream list(files::Env("OMBREL_PLANTED_NAMES"));
  const std::vector<std::string> names{std::istream_iterator<std::string>(list), {}};
  ASSERT_GT(names.size(), 10u);
  const std::string folder = Planted(OMBREL_EXE, names), report = folder + "setup.txt";
  SetEnvironmentVariableA("OMBREL_PROBE_REPORT", report.c_str()); // inherited by the program
  TWizard w(folder + "Ombrel.exe");
  ASSERT_TRUE(w.Start(folder));
  HMODULE probe = LoadLibraryA(files::DosPath(OMBREL_PROBE_DLL).c_str());
  const auto proc = probe ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "ProbeSetUp"))) : nullptr;
  HHOOK hook = proc ? SetWindowsHookExW(WH_GETMESSAGE, proc, probe, GetWindowThreadProcessId(w.Main, nullptr)) : nullptr;
  ASSERT_TRUE(hook);
  EXPECT_TRUE(WaitUntil([&] { return PostMessageW(w.Main, WM_NULL, 0, 0) && files::IsFile(report); }));
  UnhookWindowsHookEx(hook);
  EXPECT_EQ("apartment single-threaded, OLE initialised, error mode 0x8001", files::Read(report));
  HWND dialog = w.GoTo(EPage::Folder) && w.Press(texts::Browse) ? w.Process.WaitDialog() : nullptr;
  EXPECT_TRUE(dialog && WaitUntil([&] { return !Children(dialog, "SysTreeView32").empty(); }) &&
              w.Process.Press(dialog, IDCANCEL));
  EXPECT_TRUE(w.Close());
  // Wine's own: its shell32 imports shcore by a bare name as the program starts, before any code of
  // the program runs (on Windows shell32's imports come from the system folder).
  EXPECT_EQ(folder + "shcore.dll (at start)\r\n", files::Read(folder + "loaded.txt"));
  const std::string control = Planted(OMBREL_OPEN_SEARCH_EXE, {"uxtheme", "msimg32"});
  TProcess open(control + "Ombrel.exe");
  EXPECT_TRUE(open.Start("", control) && WaitUntil([&] { // libraries load one by one
    return files::Read(control + "loaded.txt").find("uxtheme.dll") != std::string::npos;
  }));
}

// Imports are resolved before the program runs: only the known libraries, and no "A" function beside
// a "W" twin but those this build's thread library calls without a text. The manifest is carried.
TEST(Program, ImportsOnlyKnownLibrariesAndNoAnsiFunctionAndCarriesItsManifest) {
  // Mapped as an image, never loaded: nothing in it resolved or run.
  HMODULE image = LoadLibraryExA(Exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_TRUE(image);
  HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(1), RT_MANIFEST);
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
      const std::string name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + thunk->u1.AddressOfData)->Name;
      if (name.back() == 'A' && GetProcAddress(library, (name.substr(0, name.size() - 1) + "W").c_str()))
        ansi.insert(name);
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
