// Installing end to end against the payload the program carries, also where not everything can be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <tuple>

#include "Wizard.h"

using namespace driver;
using files::TPayloadItem;
using TMissed = std::set<std::string>;

namespace {

const std::string Product = ProgramFiles + "\\Varkelo";
const std::vector<TPayloadItem> Items = files::InstalledItems();

std::string Record(const std::string& product, const char* section = "info", const char* key = "dir") {
  wchar_t value[MAX_PATH] = {};
  GetPrivateProfileStringW(files::Wide(section).c_str(), files::Wide(key).c_str(), L"", value, MAX_PATH,
                           files::Wide(product + "\\dir.ini").c_str());
  return files::Narrow(value);
}

// Every payload file byte for byte, nothing else but the record naming the folder as dir; the
// shortcut's target as the shell resolves it (by the item list; Wine makes none for a doubled backslash).
void ExpectInstalled(const std::string& product, const std::string& dir, const std::string& shortcut = Link()) {
  ASSERT_EQ(38u, Items.size()) << "34 texts, 3 pictures and the program file";
  size_t files = 0;
  for (const auto& entry : files::Tree(product)) files += entry.first.back() != '\\';
  EXPECT_EQ(Items.size() + 2, files) << "and the record and the uninstaller";
  EXPECT_TRUE(files::IsFile(product + "\\uninstall.exe"));
  EXPECT_EQ(product, UninstallEntry()["InstallLocation"]);
  for (const TPayloadItem& item : Items)
    EXPECT_TRUE(files::Read(product + "\\" + item.Target) == files::InstalledBytes(item)) << item.Target;
  EXPECT_TRUE(WaitUntil([&] { return Record(product) == dir; })) << Record(product); // written after the finish page
  const files::TLink link = files::ReadLink(shortcut);
  const std::string& target = link.Items.empty() ? link.Path : link.Items;
  EXPECT_EQ(std::make_tuple(true, product + "\\Zelcap2-1.exe", dir.substr(0, dir.size() - 1), "Sorvanta", ""),
            std::tie(link.Loaded, target, link.WorkDir, link.Description, link.Arguments));
}

// lnkinfo, a parser of its own, reads the shortcut back; what it says.
std::string ExpectLinkReads(const std::string& shortcut, const std::string& product) {
  const std::string copy = files::UnixScratch("link") + ".lnk";
  EXPECT_TRUE(CopyFileW(files::Wide(shortcut).c_str(), files::Wide(files::DosPath(copy)).c_str(), FALSE));
  const auto [code, info] = files::RunUnix("lnkinfo " + copy + "; rm " + copy);
  EXPECT_EQ(0, code) << info;
  const std::string lines[] = {"Working directory\t\t: " + product, "Description\t\t\t: Sorvanta",
                               "Name\t\t\t: Varkelo\n", "Name\t\t\t: Zelcap2-1.exe\n"};
  for (const std::string& line : lines) EXPECT_NE(std::string::npos, info.find(line)) << line << " in\n" << info;
  EXPECT_EQ(std::string::npos, info.find("Command line arguments")) << info;
  return info;
}

class Install : public ::testing::Test {
protected:
  void SetUp() override { RemoveInstallation(ProgramFiles); }
  void TearDown() override { RemoveInstallation(ProgramFiles); }
};

HWND FreeLabel(const TWizard& w) { // the free-space line of the shown page
  for (HWND label : Children(w.Frame(), "Static"))
    if (Text(label).rfind(texts::FreePrefix, 0) == 0) return label;
  Failed("no free-space line");
  return nullptr;
}

// Enter on each page, the focus always on its default button. The installed program, started through
// the shortcut, finds its folder by the record (its texts shown as a system of its code page reads them).
TEST_F(Install, KeysInstallWithTheKeyboardAloneAndTheShortcutLeadsToTheProgram) {
  TWizard w;
  ASSERT_TRUE(w.Start());
  for (EPage page : {EPage::Welcome, EPage::Licence, EPage::Folder, EPage::Finish}) {
    SCOPED_TRACE(Name(page));
    ASSERT_TRUE(w.WaitPage(page, 60000) && w.FocusOnDefault(Forward(page)));
    EXPECT_TRUE(page != EPage::Folder || (Text(w.Field()) == ProgramFiles && !IsWindowEnabled(w.Field())))
        << "the offered folder, changed only through Browse";
    // C:'s free space differs between machines.
    const std::vector<RECT> masks = page == EPage::Folder ? std::vector<RECT>{Rect(FreeLabel(w))} : std::vector<RECT>{};
    EXPECT_TRUE(LooksLike(Name(page), w.Main, nullptr, masks));
    ASSERT_TRUE(w.Type("Return"));
  }
  EXPECT_TRUE(w.Ends(0));
  ExpectInstalled(Product, Product + "\\");
  EXPECT_EQ("[info]\r\ndir=C:\\Program Files\\Varkelo\\\r\n", files::Read(Product + "\\dir.ini")) << "as ever in ANSI";
  const std::string path = "Local path\t\t\t: " + Product + "\\Zelcap2-1.exe";
  EXPECT_NE(std::string::npos, ExpectLinkReads(Link(), Product).find(path)) << path;
  TProcess product(files::ReadLink(Link()).Path);
  HWND box = product.Start() ? product.WaitBox(files::Shown1251(texts::ProductCaption)) : nullptr;
  ASSERT_TRUE(box);
  const std::string report = BoxText(box), present = files::Shown1251("есть");
  EXPECT_NE(std::string::npos, report.find(Product + "\\")) << report;
  EXPECT_EQ(std::string::npos, report.find("dir.ini")) << "the record was not found: " << report;
  EXPECT_NE(std::string::npos, report.find(present, report.find(present) + 1)) << "Help and Info: " << report;
  EXPECT_EQ(0u, product.Press(box, IDOK) ? product.WaitExit() : std::nullopt);
}

// Browse, and the folder chosen in the folder dialog, which the wizard owns: the field follows.
bool BrowseTo(TWizard& w, const std::string& folder) {
  HWND dialog = w.Press(texts::Browse) ? w.Process.WaitDialog() : nullptr;
  EXPECT_EQ(w.Main, Owner(dialog)) << "the folder dialog";
  EXPECT_EQ(1u, Children(dialog, "Static", texts::BrowsePrompt).size());
  return (dialog && w.Process.ChooseFolder(dialog, folder) && WaitUntil([&] { return Text(w.Field()) == folder; })) ||
         Failed("the field shows " + Text(w.Field()) + ", not " + folder);
}

bool ToFolder(TWizard& w, const std::string& folder) { return w.Start() && w.GoTo(EPage::Folder) && BrowseTo(w, folder); }

// With the mouse, into a folder and onto a desktop that the Russian code page cannot name (the desktop
// beside its look-alike, in both values the installer and the shell read); the record in UTF-16. The
// second click of a double-click lands on the next page's leading button and presses nothing; the
// window's menu, by a right click on the caption after them, shows once they have been handled.
TEST_F(Install, ByDoubleClicksIntoAFolderAndOntoADesktopNoCodePageNames) {
  const std::string chosen = "D:\\Ünïcode 测试", product = chosen + "\\Varkelo";
  const std::string home = Desktop().substr(0, Desktop().rfind('\\'));
  const std::string desktop = home + "\\Zoë Desktop", lookalike = home + "\\Zoe Desktop";
  for (const std::string& made : {chosen, desktop, lookalike}) {
    files::RemoveTree(made);
    ASSERT_TRUE(CreateDirectoryW(files::Wide(made).c_str(), nullptr)) << made;
  }
  const files::TTree before = files::Tree("D:");
  {
    const std::wstring folders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
    const files::TRegistryText shell(HKEY_CURRENT_USER, folders + L"Shell Folders", L"Desktop", desktop),
        user(HKEY_CURRENT_USER, folders + L"User Shell Folders", L"Desktop", desktop);
    TWizard w;
    ASSERT_TRUE(w.Start());
    for (EPage page : {EPage::Welcome, EPage::Licence, EPage::Folder}) {
      SCOPED_TRACE(Name(page));
      const EPage next = EPage(int(page) + 1);
      ASSERT_TRUE(DoubleClick(w.Button(Forward(page))) && w.WaitPage(next, 60000));
      const ULONGLONG shown = GetTickCount64();
      HWND menu = Mouse(w.Main, 60, 8, "click 3") ? w.Process.WaitMenu() : nullptr;
      EXPECT_EQ(next, w.Page());
      ASSERT_TRUE(menu && w.Type("Escape") && WaitUntil([&] { return !IsWindowVisible(menu); }));
      // A person's next click on a new page comes after the double-click time; so does this one.
      WaitUntil([&] { return GetTickCount64() > shown + GetDoubleClickTime(); });
      ASSERT_TRUE(next != EPage::Folder || BrowseTo(w, chosen));
    }
    const std::string shortcut = desktop + "\\" + texts::Shortcut;
    ExpectInstalled(product, product + "\\", shortcut);
    ExpectLinkReads(shortcut, product);
    EXPECT_TRUE(w.Press(texts::Done) && w.Ends(0));
  }
  for (const std::string& path : files::Changes(before, files::Tree("D:")))
    EXPECT_EQ(0u, path.rfind("Ünïcode 测试\\Varkelo\\", 0)) << "written elsewhere: D:\\" << path;
  EXPECT_TRUE(files::Tree(lookalike).empty()) << "written on the look-alike desktop";
  EXPECT_FALSE(files::IsFolder(Product));
  for (const std::string& made : {chosen, desktop, lookalike}) files::RemoveTree(made);
}

int64_t Shown(const TWizard& w) { // the N of "Свободно: N Mb", -1 for another text
  const std::string text = Text(FreeLabel(w)), &prefix = texts::FreePrefix;
  const size_t end = text.find_first_not_of("0123456789", prefix.size());
  const bool number = text.rfind(prefix, 0) == 0 && end != prefix.size() && end != std::string::npos;
  return number && text.substr(end) == " Mb" ? std::stoll(text.substr(prefix.size())) : -1;
}

// A drive's free megabytes by the folder page's formula (-1 when unknown): whole kilobyte-blocks
// of free clusters times the cluster size, / 1024; the 32-bit count saturates on huge drives.
int64_t FreeMegabytes(const std::string& root) {
  DWORD sectors = 0, bytes = 0, free = 0, total = 0;
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceA(root.c_str(), &sectors, &bytes, &free, &total)) return -1;
  uint64_t clusters = free;
  if (sectors && bytes && GetDiskFreeSpaceExA(root.c_str(), &available, nullptr, nullptr))
    clusters = std::max<uint64_t>(clusters, available.QuadPart / (uint64_t(sectors) * bytes));
  return int64_t(clusters / 1024 * sectors * bytes / 1024);
}

// The free-space line follows the chosen drive; the record keeps its other keys; a clean run shows no box.
TEST_F(Install, IntoTheRootOfADriveOverAnOlderInstallation) {
  const std::string product = "D:\\Varkelo";
  RemoveInstallation("D:");
  for (const TPayloadItem& item : Items)
    ASSERT_TRUE(Place(product + "\\" + item.Target, files::InstalledBytes(item) + std::string(1000, 'x')));
  ASSERT_TRUE(files::Write(product + "\\dir.ini", "[setup]\r\nlang=ru\r\n[info]\r\nversion=2.0\r\ndir=C:\\Old\\Varkelo\\\r\n"));
  TWizard w;
  ASSERT_TRUE(w.Start() && w.GoTo(EPage::Licence));
  const int64_t before = FreeMegabytes("C:\\");
  ASSERT_TRUE(w.PressTo(texts::Agree, EPage::Folder));
  const int64_t shown = Shown(w), after = FreeMegabytes("C:\\");
  EXPECT_TRUE(shown >= std::min(before, after) && shown <= std::max(before, after)) << shown << " for C: " << before;
  const int64_t d = FreeMegabytes("D:\\");
  ASSERT_TRUE(files::Env("OMBREL_MOUNTED").empty() || after != d) << "D: must not pass for C: " << d;
  ASSERT_TRUE(BrowseTo(w, "D:\\"));
  EXPECT_TRUE(WaitUntil([&] { return Shown(w) == d; })) << Text(FreeLabel(w));
  ASSERT_TRUE(w.PressTo(texts::Back, EPage::Licence) && w.PressTo(texts::Agree, EPage::Folder));
  EXPECT_EQ("D:\\", Text(w.Field()));
  EXPECT_EQ(d, Shown(w));
  ASSERT_TRUE(w.Press(texts::Install) && w.WaitPage(EPage::Finish, 60000));
  ExpectInstalled(product, "D:\\\\Varkelo\\");
  EXPECT_EQ(std::string::npos, files::Read(product + "\\dir.ini").find("C:\\Old"));
  EXPECT_EQ("2.0 ru", Record(product, "info", "version") + " " + Record(product, "setup", "lang")) << "the other keys";
  EXPECT_FALSE(files::IsFolder(Product));
  ASSERT_TRUE(RoundTrip(w.Main)); // the check that follows the record has run: a box of it would be up
  EXPECT_EQ(std::vector<HWND>{w.Main}, w.Process.Windows());
  EXPECT_FALSE(Children(w.Frame(), "Static", texts::Success).empty());
  EXPECT_TRUE(w.Close());
  RemoveInstallation("D:");
}

// The report box counts the writes missed and names the first ten, each once with its message (its
// layout is the element tests').
void ExpectReport(const std::string& text, const TMissed& missed) {
  EXPECT_EQ(0u, text.rfind(texts::ReportCount + std::to_string(missed.size()) + ".\r\n", 0)) << text;
  size_t named = 0;
  for (const std::string& path : missed) named += text.find("\r\n" + path + "\r\n   ") != std::string::npos;
  EXPECT_EQ(std::min<size_t>(missed.size(), 10), named) << text;
}

// What an installation left unwritten, as the report names it: files lacking their bytes, folders
// missing though their parents are there, a wrong record, a missing shortcut.
TMissed Missed(const std::string& product, const std::string& dir) {
  TMissed missed, folders{product};
  for (const TPayloadItem& item : Items) {
    const std::string path = product + "\\" + item.Target;
    folders.insert(path.substr(0, path.rfind('\\'))); // the product folder again for an item at its top
    if (files::Read(path) != files::InstalledBytes(item)) missed.insert(path);
  }
  for (const std::string& folder : folders)
    if (!files::IsFolder(folder) && (folder == product || files::IsFolder(folder.substr(0, folder.rfind('\\')))))
      missed.insert(folder);
  if (Record(product) != dir) missed.insert(product + "\\dir.ini");
  if (!files::IsFile(Link())) missed.insert(Link());
  if (!files::IsFile(product + "\\uninstall.exe")) missed.insert(product + "\\uninstall.exe");
  if (UninstallEntry().empty()) missed.insert(texts::Entry);
  return missed;
}

struct TFailureCase {
  const char* Name;
  bool Shots;      // the report box and the finish page compared with their pictures
  bool SessionEnd; // ended by Windows ending the session, not by Done
  std::string Older, Bytes; // a file of an older installation in the product folder, which it keeps
  std::function<void(TWizard&)> Chosen; // once the drive is chosen
  std::function<void(const TMissed& missed, const std::string& product)> Check;
};

// Installs onto D:: a warning box over the finish page names exactly what is missing; nothing
// half-written, nothing on C: but the shortcut; exit code 1.
void RunFailure(const TFailureCase& c) {
  SCOPED_TRACE(c.Name);
  const std::string root = "D:", product = root + "\\Varkelo";
  RemoveInstallation(root);
  ASSERT_TRUE(c.Older.empty() || Place(product + "\\" + c.Older, c.Bytes));
  const files::TTree spoiled = files::Tree(root);
  TWizard w;
  ASSERT_TRUE(ToFolder(w, root + "\\"));
  if (c.Chosen) c.Chosen(w);
  const files::TTree before = files::Tree("C:");
  HWND box = w.Press(texts::Install) ? w.Process.WaitBox(texts::BoxCaption) : nullptr;
  ASSERT_TRUE(box);
  EXPECT_TRUE(Owner(box) == w.Main && BoxHasIcon(box));
  EXPECT_EQ(2u, w.Process.Windows().size()) << "the main window and the box";
  EXPECT_TRUE(WaitUntil([&] { return !Children(w.Frame(), "Static", texts::Failure).empty(); })) << "the finish page";
  const TMissed missed = Missed(product, root + "\\\\Varkelo\\");
  c.Check(missed, product);
  EXPECT_TRUE(c.Older.empty() || files::Read(product + "\\" + c.Older) == c.Bytes) << "the older " << c.Older;
  ExpectReport(BoxText(box), missed);
  // Nothing half-written: whatever is new or changed on the drive is the record or a whole file.
  const auto whole = [&](const std::string& path) {
    for (const TPayloadItem& i : Items)
      if (path == "Varkelo\\" + i.Target) return files::Read(root + "\\" + path) == files::InstalledBytes(i);
    return path.back() == '\\' || path == "Varkelo\\dir.ini" || path == "Varkelo\\uninstall.exe";
  };
  for (const std::string& path : files::Changes(spoiled, files::Tree(root))) EXPECT_TRUE(whole(path)) << path;
  EXPECT_TRUE(!c.Shots || LooksLike("report", w.Main, box));
  ASSERT_TRUE(w.Process.Press(box, IDOK));
  EXPECT_TRUE(!c.Shots || LooksLike("finish-failure", w.Main));
  EXPECT_EQ(missed.count(product + "\\Zelcap2-1.exe"), missed.count(Link())) << "a shortcut only to a whole program";
  if (c.SessionEnd) { // as Windows asks first, then ends it
    DWORD_PTR agreed = 0;
    EXPECT_TRUE(SendMessageTimeoutW(w.Main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 2000, &agreed) && agreed);
    SendMessageTimeoutW(w.Main, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
  }
  EXPECT_TRUE((c.SessionEnd || w.Press(texts::Done)) && w.Ends(1));
  const std::string link = Link().substr(3);
  for (const std::string& path : files::Changes(before, files::Tree("C:")))
    EXPECT_TRUE(link.rfind(path, 0) == 0) << "written on C: " << path;
  RemoveInstallation(root);
}

TEST(Failures, TheReportTellsExactlyWhatWasNotWritten) {
  const std::string drive = files::Env("OMBREL_DRIVE_D"), away = drive + "-away";
  const TFailureCase cases[] = {
      {"a file in place of the Help folder", true, false, "Help", "not a folder", nullptr,
       [](const TMissed& missed, const std::string& p) {
         TMissed help{p + "\\Help"}; // the folder and every file in it
         for (const TPayloadItem& i : Items)
           if (i.Target.rfind("Help\\", 0) == 0) help.insert(p + "\\" + i.Target);
         EXPECT_EQ(help, missed);
       }},
      {"a drive gone by Install", false, true, "", "",
       [&](TWizard& w) { // a stick pulled out: only the installer's own windows ever show
         ASSERT_TRUE(MoveFileA(files::DosPath(drive).c_str(), files::DosPath(away).c_str()));
         ASSERT_TRUE(w.PressTo(texts::Back, EPage::Licence) && w.PressTo(texts::Agree, EPage::Folder));
         EXPECT_EQ(texts::FreePrefix + "0 Mb", Text(FreeLabel(w))) << "asked of a drive that is gone";
         EXPECT_EQ(std::vector<HWND>{w.Main}, w.Process.Windows());
       },
       [&](const TMissed& missed, const std::string&) {
         EXPECT_EQ(Items.size() + 5, missed.size())
             << "every file, the product folder, the record, the shortcut, the uninstaller and the entry";
         EXPECT_TRUE(files::Tree(away).empty()) << "nothing reached the drive";
         MoveFileA(files::DosPath(away).c_str(), files::DosPath(drive).c_str());
       }},
  };
  for (const auto& c : cases) RunFailure(c);
}

TEST(Failures, ADriveTooSmallIsSaidBeforeAnythingIsWritten) {
  if (files::Env("OMBREL_MOUNTED").empty()) GTEST_SKIP() << "needs the 1 MB drive M:";
  RemoveInstallation("M:");
  const files::TTree drive = files::Tree("M:"), desktop = files::Tree(Desktop());
  TWizard w;
  ASSERT_TRUE(ToFolder(w, "M:\\"));
  HWND box = w.Press(texts::Install) ? w.Process.WaitBox(texts::BoxCaption) : nullptr;
  ASSERT_TRUE(box);
  EXPECT_EQ(texts::NoRoom, BoxText(box));
  EXPECT_TRUE(Owner(box) == w.Main && BoxHasIcon(box) && GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL));
  ASSERT_TRUE(w.Process.Press(box, IDOK));
  EXPECT_EQ(EPage::Folder, w.Page());
  EXPECT_EQ("M:\\", Text(w.Field()));
  HWND question = w.Press(texts::Cancel) ? w.Process.WaitBox(texts::BoxCaption) : nullptr;
  EXPECT_TRUE(question && w.Process.Press(question, IDYES) && w.Ends(0));
  EXPECT_EQ(drive, files::Tree("M:"));
  EXPECT_EQ(desktop, files::Tree(Desktop()));
}

TEST(Failures, TheReportOfPathsTooLongFitsTheScreen) {
  std::string chosen = "C:\\ombrel-long";
  for (char c : {'a', 'b', 'c', 'd'}) chosen += "\\" + std::string(56, c);
  files::RemoveTree("C:\\ombrel-long");
  ASSERT_TRUE(MakeFolder(chosen));
  TWizard w;
  ASSERT_TRUE(ToFolder(w, chosen));
  HWND box = w.Press(texts::Install) ? w.Process.WaitBox(texts::BoxCaption) : nullptr;
  ASSERT_TRUE(box);
  const RECT r = Rect(box);
  EXPECT_TRUE(r.left >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN)) << r.left << ".." << r.right;
  EXPECT_NE(std::string::npos, BoxText(box).find("\r\nC:\\ombrel-long\\aaa")) << BoxText(box);
  EXPECT_NE(std::string::npos, BoxText(box).find("...")) << BoxText(box);
  EXPECT_TRUE(w.Process.Press(box, IDOK) && w.Press(texts::Done) && w.Ends(1));
  RemoveInstallation(chosen);
  files::RemoveTree("C:\\ombrel-long");
}

// Without a person (/S): no window ever visible. Into the offered folder or the one /D= names (made
// with its parents), other arguments changing nothing; a /D= quoted whole or only its value installs
// into exactly that folder, and so is a value-quoted /LOG= written. Run as an administrator, it writes
// its log nowhere it is not meant to: never over a file of the product, nor through another name of
// some file (a hard link anyone may make to it). A folder that is not a whole one
// (relative to the working folder) is refused with 1639, and so is a device's name. A run whose writes
// fail (a full drive) puts everything back, leaves no folder it made (here the first of them) and ends
// with 1603: nothing written anywhere. The log, read back as UTF-8 lines each ended by CR LF, names the
// product folder, or why it was refused, then each write missed once, with the system's words.
using Unattended = Install;
TEST_F(Unattended, TheCommandLineIsReadAsWrittenNoWindowShowsAndTheLogNamesEachWriteMissed) {
  const std::string log = files::DosPath(files::UnixScratch("setup log")) + ".log", work = files::FreshFolder("work");
  const std::string other = "D:\\Другая папка", product = other + "\\Varkelo", spaced = other + "\\и ещё  одна\\Varkelo";
  const std::string logged = "/S /LOG=\"" + log + "\" /D=", kept = "Не установлено, ничего не изменено: ";
  const std::string refused = "Отказано: /D= должен называть папку полностью, например D:\\Programs: ";
  const std::string victim = files::DosPath(files::UnixScratch("victim")), link = victim + ".log";
  ASSERT_TRUE(files::Write(victim, "not a log") &&
              CreateHardLinkW(files::Wide(link).c_str(), files::Wide(victim).c_str(), nullptr));
  const struct {
    std::string Args, Product; // where it installs or would, none when refused
    uint32_t Code;
    std::string Head; // the log's first line
  } cases[] = {{"/S", Product, 0, ""},
               {"/x \"/LOG=" + log + "\" /s /S /D=" + other + "\\и ещё  одна  ", spaced, 0, "Установлено: " + spaced},
               {"/S \"/D=" + other + "\" \"/LOG=" + log + "\"", product, 0, "Установлено: " + product},
               {"/S /D=\"" + other + "\" /LOG=\"" + log + "\"", product, 0, "Установлено: " + product},
               {"/S \"/LOG=" + Product + "\\pek.txt\"", Product, 0, ""}, {"/S \"/LOG=" + link + "\"", Product, 0, ""},
               {logged + "M:\\", "M:\\Varkelo", 1603, kept + "M:\\Varkelo"},
               {logged + "D:\\ombrel-made\\NUL\\deeper", "", 1603, kept + "D:\\ombrel-made\\NUL\\deeper\\Varkelo"},
               {logged + ".", "", 1639, refused + "."},
               {logged + "rel", "", 1639, refused + "rel"},
               {logged + "\\rooted", "", 1639, refused + "\\rooted"},
               {logged + "D:\\ombrel-made\\NUL", "", 1639, refused + "D:\\ombrel-made\\NUL"}}; // the device
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Args);
    if (c.Product[0] == 'M' && files::Env("OMBREL_MOUNTED").empty()) continue; // M: is not small
    const std::string folder = c.Product.substr(0, c.Product.rfind('\\')), program = c.Product + "\\Zelcap2-1.exe";
    files::RemoveTree(other);
    if (!folder.empty()) RemoveInstallation(folder);
    const files::TTree c0 = files::Tree("C:"), d0 = files::Tree("D:"), m0 = files::Tree("M:");
    const files::TTree desktop = files::Tree(Desktop());
    const TUnattendedRun run = RunUnattended(c.Args, OMBREL_EXE, work);
    EXPECT_EQ(std::set<std::string>{}, run.Shown);
    EXPECT_EQ(c.Code, run.Code);
    if (c.Code == 0) ExpectInstalled(c.Product, c.Product + "\\");
    if (c.Code != 0) { // put back: the drives, the working folder, the desktop and the list of programs as they were
      EXPECT_TRUE(files::Tree(work).empty()) << "written in the working folder";
      EXPECT_EQ(std::vector<std::string>{}, files::Changes(c0, files::Tree("C:")));
      EXPECT_EQ(std::vector<std::string>{}, files::Changes(d0, files::Tree("D:")));
      EXPECT_EQ(m0, files::Tree("M:"));
      EXPECT_EQ(desktop, files::Tree(Desktop()));
      EXPECT_EQ((std::map<std::string, std::string>{}), UninstallEntry()) << "registered";
    }
    EXPECT_TRUE(c.Product == Product || !files::IsFolder(Product)) << "installed into the offered folder as well";
    const std::string text = files::Read(log);
    const bool logging = c.Args.find(log) != std::string::npos;
    EXPECT_EQ(logging, files::IsFile(log));
    const int utf8 = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), nullptr, 0);
    EXPECT_TRUE(!logging || (utf8 > 0 && text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0))
        << "not UTF-8 lines each ended by CR LF: " << text;
    const std::vector<std::string> lines = LogLines(log);
    EXPECT_EQ(c.Head, lines.empty() ? "" : lines[0]);
    EXPECT_TRUE(c.Code != 0 || lines.size() == (logging ? 1u : 0u)) << text;
    if (folder == "M:") { // the program file, larger than the drive, among what was not written; each named once
      EXPECT_GE(lines.size(), 2u) << text;
      EXPECT_EQ(1, std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
                  return line.rfind("Не записано: " + program + ": ", 0) == 0;
                })) << text;
      for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].rfind("Не записано: ", 0) == 0 && std::count(lines.begin(), lines.end(), lines[i]) == 1)
            << lines[i];
    }
    if (!folder.empty()) RemoveInstallation(folder);
    DeleteFileA(log.c_str());
  }
  EXPECT_EQ("not a log", files::Read(victim));
  files::RemoveTree(other);
  files::RemoveTree(work);
  DeleteFileA(link.c_str());
  DeleteFileA(victim.c_str());
}

// One installation at a time: while the wizard runs, /S ends with 1618 and writes nothing but its log;
// a second wizard says so in a box and ends with 1618; the first goes on.
TEST_F(Unattended, OneAtATime) {
  const std::string log = files::DosPath(files::UnixScratch("busy")) + ".log";
  TWizard first;
  ASSERT_TRUE(first.Start() && first.GoTo(EPage::Folder));
  const files::TTree before = files::Tree("C:");
  EXPECT_EQ(1618u, RunUnattended("/S /LOG=" + log).Code);
  EXPECT_EQ(std::vector<std::string>{"Не начато: уже идёт установка или удаление программы."}, LogLines(log));
  TProcess second(OMBREL_EXE);
  HWND box = second.Start() ? second.WaitBox(texts::BoxCaption) : nullptr;
  EXPECT_EQ(texts::Busy, BoxText(box));
  EXPECT_TRUE(second.Press(box, IDOK) && second.WaitExit() == 1618u);
  for (const std::string& path : files::Changes(before, files::Tree("C:")))
    EXPECT_NE(std::string::npos, path.find("ombrel-busy")) << "written on C: " << path;
  ASSERT_TRUE(first.Press(texts::Install) && first.WaitPage(EPage::Finish, 60000));
  ExpectInstalled(Product, Product + "\\");
  EXPECT_TRUE(first.Press(texts::Done) && first.Ends(0));
  DeleteFileA(log.c_str());
}

// An older installation, there first: made by the installer, then some of its files made older.
struct TOlder {
  std::string Folder, Product;
  explicit TOlder(const std::string& folder) : Folder(folder), Product(folder + "\\Varkelo") {
    RemoveInstallation(folder);
    EXPECT_EQ(0u, RunUnattended("/S /D=" + folder).Code);
    EXPECT_TRUE(files::Write(Product + "\\pek.txt", "older text") && files::Write(Program(), "older program"));
  }
  ~TOlder() {
    RemoveInstallation(Folder);
    if (Folder.size() > 3) files::RemoveTree(Folder); // a drive's root stays
  }
  std::string Program() const { return Product + "\\Zelcap2-1.exe"; }
  // Everything of it, a line each: every entry of the tree with its size, time and the hash of its bytes, the
  // entry's values, the shortcut's bytes.
  std::string State() const {
    std::string state;
    for (const auto& [path, facts] : files::Tree(Product))
      state += path + " " + std::to_string(facts.first) + " " + std::to_string(facts.second) + " " +
               std::to_string(std::hash<std::string>{}(files::Read(Product + "\\" + path))) + "\n";
    for (const auto& [name, value] : UninstallEntry()) state += name + "=" + value + "\n";
    return state + "link " + std::to_string(std::hash<std::string>{}(files::Read(Link()))) + "\n";
  }
};

// An upgrade goes where the product is: the wizard offers that folder, and /S alone installs there in
// place (whole, one entry, one shortcut, nothing in the system's folder for programs). A program
// holding a file the installation replaces (the product running during its upgrade) is met before
// anything is written. The wizard's box names the file: Cancel leads back to the folder page with
// nothing changed, Retry once it is let go installs. /S looks again each second: let go within the
// minute, it installs (a second /S meanwhile ends with 1618); held longer, it ends with 1 and the
// older installation is as it was.
TEST_F(Unattended, FilesInUseAreMetBeforeAnythingIsWritten) {
  const TOlder older("D:\\ombrel-older");
  const auto state = older.State();
  for (const int answer : {IDCANCEL, IDRETRY}) {
    SCOPED_TRACE(answer == IDRETRY ? "Retry" : "Cancel");
    THeld held = Hold(older.Program());
    TWizard w;
    ASSERT_TRUE(w.Start() && w.GoTo(EPage::Folder));
    EXPECT_EQ(older.Folder, Text(w.Field())) << "the upgrade goes where the product is";
    HWND box = w.Press(texts::Install) ? w.Process.WaitBox(texts::BoxCaption) : nullptr;
    EXPECT_EQ(texts::InUseHead + "\r\n" + older.Program() + texts::InUseTail, BoxText(box));
    EXPECT_TRUE(box && Owner(box) == w.Main && GetDlgItem(box, IDRETRY) && GetDlgItem(box, IDCANCEL));
    held.reset();
    EXPECT_EQ(state, older.State()) << "written before the box";
    ASSERT_TRUE(w.Process.Press(box, answer));
    if (answer == IDCANCEL) {
      EXPECT_TRUE(w.WaitPage(EPage::Folder));
      EXPECT_EQ(state, older.State());
      EXPECT_TRUE(w.Close());
    } else {
      ASSERT_TRUE(w.WaitPage(EPage::Finish, 60000));
      ExpectInstalled(older.Product, older.Product + "\\");
      EXPECT_TRUE(w.Press(texts::Done) && w.Ends(0));
    }
  }
  const std::string log = files::DosPath(files::UnixScratch("in use")) + ".log";
  for (const bool letGo : {true, false}) {
    SCOPED_TRACE(letGo ? "let go after 4 s" : "held on");
    ASSERT_TRUE(letGo || files::Write(older.Program(), "older program"));
    const auto before = older.State();
    THeld held = Hold(older.Program());
    TProcess quiet(OMBREL_EXE);
    ASSERT_TRUE(quiet.Start("/S \"/LOG=" + log + "\""));
    const ULONGLONG since = GetTickCount64();
    if (letGo) {
      EXPECT_EQ(1618u, RunUnattended("/S").Code) << "a second one while the first waits";
      WaitUntil([&] { return GetTickCount64() > since + 4000; }, 5000);
      held.reset();
    }
    EXPECT_EQ(letGo ? 0u : 1u, quiet.WaitExit(90000));
    held.reset();
    if (letGo) {
      ExpectInstalled(older.Product, older.Product + "\\");
      EXPECT_FALSE(files::IsFolder(Product));
      size_t links = 0;
      for (const auto& [name, facts] : files::Tree(Desktop())) links += name.size() > 4 && name.substr(name.size() - 4) == ".lnk";
      EXPECT_EQ(1u, links);
      continue;
    }
    EXPECT_EQ(before, older.State()) << "the older installation, as it was";
    EXPECT_EQ((std::vector<std::string>{"Не установлено, файлы программы заняты: " + older.Product,
                                        "Не записано: " + older.Program() + ": " + texts::InUse}),
              LogLines(log));
  }
  DeleteFileA(log.c_str());
}

// A drive that runs out of file entries part-way through an unattended upgrade: everything is put
// back as it was (every file byte for byte, the record, the uninstaller, the entry, the shortcut), no
// file of the run is left, and the exit code is 1603.
TEST_F(Unattended, ARunThatFailsPartWayIsPutBack) {
  if (files::Env("OMBREL_MOUNTED").empty()) GTEST_SKIP() << "needs the drive N: with few file entries";
  const TOlder older("N:\\");
  const std::string product = "N:\\Varkelo";
  const auto state = older.State();
  ASSERT_EQ(product, UninstallEntry()["InstallLocation"]);
  const std::string log = files::DosPath(files::UnixScratch("put back")) + ".log";
  EXPECT_EQ(1603u, RunUnattended("/S \"/LOG=" + log + "\" /D=N:\\").Code);
  EXPECT_EQ(state, older.State());
  const std::vector<std::string> lines = LogLines(log);
  EXPECT_EQ("Не установлено, ничего не изменено: " + product, lines.empty() ? "" : lines[0]);
  EXPECT_GE(lines.size(), 2u) << "what could not be written";
  for (const std::string& line : lines) // part-way: the first files were written, and then put back
    EXPECT_EQ(std::string::npos, line.find("Zelcap2-1.exe")) << line;
  DeleteFileA(log.c_str());
}

} // namespace
