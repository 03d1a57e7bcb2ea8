// The program-file writer and the installation sequence, hosted by
// multi-elements and wired to each other exactly as the main scheme wires
// them, run under Wine against drive M: with the real payload linked in.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "LinkReader.h"
#include "Resources.h"
#include "TestSupport.h"
#include "omDir.h"
#include "omEditMulti.h"
#include "omMemory.h"
#include "omMultiElement.h"
#include "omMultiElement_4DC2A30.h"
#include "omMultiElement_5022298.h"

using namespace systest;

namespace {

// A fresh, empty folder on the test drive, without a trailing backslash.
std::string FreshInstallFolder(const std::string& name) {
  std::string folder = FreshFolder(name);
  folder.pop_back();
  return folder;
}

// Every file and folder below a folder, as paths relative to it; folders end
// with a backslash.
std::set<std::string> Tree(const std::string& folder, const std::string& prefix = "") {
  std::set<std::string> found;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    const bool isFolder = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    found.insert(prefix + name + (isFolder ? "\\" : ""));
    if (isFolder) {
      std::set<std::string> below = Tree(folder + "\\" + name, prefix + name + "\\");
      found.insert(below.begin(), below.end());
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return found;
}

// One installed item of the payload manifest.
struct TPayloadFile {
  std::string Resource;
  std::string Target;   // below the product folder
  bool Text = false;    // installed as the resource text plus CR LF
  size_t Size = 0;      // the installed file's size
};

// The manifest lines of type 100 that have a target.
std::vector<TPayloadFile> InstalledPayload() {
  std::istringstream lines(FileBytes("Z:" + std::string(OMBREL_PAYLOAD_MANIFEST)));
  std::vector<TPayloadFile> files;
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string name, type, file, size, format, target;
    if (line[0] == '#' || !(fields >> name >> type >> file >> size >> format >> target)) continue;
    if (type != "100" || target == "-") continue;
    const bool text = format == "text";
    files.push_back({name, target, text, size_t(std::stoul(size)) + (text ? 1 : 0)});
  }
  return files;
}

void RemoveTree(const std::string& folder) {
  if (Exists(folder)) std::system(("cmd /c rmdir /s /q \"" + folder + "\" >nul 2>nul").c_str());
}

// Points the shell-folders record's Desktop value at a folder for one test
// and restores it afterwards, so the shortcut lands where the test looks.
class TDesktopValue {
public:
  static constexpr const char* Key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  explicit TDesktopValue(const std::string& folder) {
    char old[1024] = {};
    DWORD size = sizeof old;
    FHad = RegGetValueA(HKEY_CURRENT_USER, Key, "Desktop", RRF_RT_REG_SZ, nullptr, old, &size) == ERROR_SUCCESS;
    FOld = old;
    Set(folder);
  }
  ~TDesktopValue() { FHad ? Set(FOld) : void(RegDeleteKeyValueA(HKEY_CURRENT_USER, Key, "Desktop")); }
  TDesktopValue(const TDesktopValue&) = delete;
  TDesktopValue& operator=(const TDesktopValue&) = delete;

private:
  void Set(const std::string& value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, Key, "Desktop", REG_SZ, value.c_str(), DWORD(value.size() + 1));
  }
  bool FHad = false;
  std::string FOld;
};

// The key=value lines of a section of a settings file; without a section,
// the section names.
std::vector<std::string> Ini(const std::string& file, const std::string& section = "") {
  char text[4096] = {};
  if (section.empty()) GetPrivateProfileSectionNamesA(text, sizeof text, file.c_str());
  else GetPrivateProfileSectionA(section.c_str(), text, sizeof text, file.c_str());
  std::vector<std::string> items;
  for (const char* p = text; *p; p += items.back().size() + 1) items.emplace_back(p);
  return items;
}

const std::string LinkName = "\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0 v2.1.lnk"; // Сорванта v2.1.lnk

// Put into a link between two elements, or standing for the finish sender
// at the installation's outEvent[0]: records the value, runs the test's
// check, then passes the value on to where the link went.
struct TTap : TOMObject {
  std::string Label;
  TPointLink Next;
  std::vector<TData> Values;
  std::function<void(const std::string&)> Check;
  void inDo(TData& value, uint16_t) {
    Values.push_back(value);
    if (Check) Check(Label);
    if (Next.Method) Fire(Next, value);
  }
};

// All bytes of a stream resource.
std::string ResourceBytes(const std::string& name) {
  std::unique_ptr<TByteStream> stream = LoadResourceStream(name);
  return std::string(reinterpret_cast<const char*>(stream->Memory()), size_t(stream->Size()));
}

// The two containers as the main scheme holds them: the installation (its
// element 9) and the program-file writer (element 17), configured in reverse,
// so the writer's container is built first. A memory stands for the folder
// page's varData[0], the path remembered at Install.
class InstallScheme : public ::testing::Test {
protected:
  TOMMemory FolderPage;
  TTap Finish;
  TOMMultiElement Installation;
  TOMMultiElement Writer;
  std::string Desk; // the desktop folder the shortcut goes to, no trailing backslash
  std::unique_ptr<TDesktopValue> DesktopValue;
  std::vector<std::unique_ptr<TTap>> Taps;

  void SetUp() override {
    ASSERT_FALSE(TestDrive().empty()) << "run through with-drive.sh: drive M: is not mapped";
    Desk = FreshInstallFolder("Desk");
    DesktopValue = std::make_unique<TDesktopValue>(Desk);
    ASSERT_EQ(DesktopFolder(), Desk + "\\");

    Writer.CreateOnFirstUse = false;
    Writer.SetCreateInner(&CreateContainer<TClassMultiElement_4DC2A30>);
    Writer.SetEventCount(1);
    Writer.SetDataCount(1);
    Writer.EventLinks[0] = MakePointLink<&TOMMultiElement::inWork>(0, &Installation);
    Writer.DataLinks[0] = MakePointLink<&TOMMemory::varValue>(0, &FolderPage);

    Installation.CreateOnFirstUse = false;
    Installation.SetCreateInner(&CreateContainer<TClassMultiElement_5022298>);
    Installation.SetEventCount(1);
    Installation.SetDataCount(1);
    Installation.EventLinks[0] = MakePointLink<&TTap::inDo>(0, &Finish);
    Installation.DataLinks[0] = MakePointLink<&TOMMultiElement::varData>(0, &Writer);

    StartDispatch();
  }
  void TearDown() override { StopDispatch(); }

  TClassMultiElement_5022298& Sequence() {
    return *static_cast<TClassMultiElement_5022298*>(Installation.Inner->Container);
  }

  // The folder page remembers the path and fires outEvent[0] with it.
  void Install(const std::string& folder) {
    TData remembered = StringData(folder);
    FolderPage.inValue(remembered, 0);
    TData value = StringData(folder);
    Fire(MakePointLink<&TOMMultiElement::inWork>(0, &Writer), value);
  }

  // Puts a tap into a link; the label names it in the observations.
  void Tap(TPointLink& link, const std::string& label, std::function<void(const std::string&)> check) {
    auto tap = std::make_unique<TTap>();
    tap->Label = label;
    tap->Next = link;
    tap->Check = std::move(check);
    link = MakePointLink<&TTap::inDo>(link.Index, tap.get());
    Taps.push_back(std::move(tap));
  }

  std::string LinkFile() const { return Desk + "\\" + LinkName; }

  struct THub {
    TOMHub* Hub;
    const char* Name;
    size_t Count;
  };
  std::vector<THub> Hubs() {
    TClassMultiElement_5022298& s = Sequence();
    return {{s.MainHub, "main", 12}, {s.HelpHub, "help", 6}, {s.InfoHub, "info", 23},
            {s.PictureHub, "picture", 3}};
  }

  // The product folder on disk holds every file of the manifest (size and
  // bytes of the resource; text files: the resource text plus CR LF) and
  // nothing else; named is the folder as the paths given to the system spell
  // it. The shortcut and the last finish report lead to its program file.
  void ExpectInstalled(const std::string& product, const std::string& named) {
    std::vector<TPayloadFile> payload = InstalledPayload();
    ASSERT_EQ(payload.size(), 38u) << "34 texts, the program file and 3 pictures";
    std::set<std::string> tree{"Help\\", "Info\\", "img\\", "dir.ini"};
    for (const TPayloadFile& item : payload) {
      tree.insert(item.Target);
      SCOPED_TRACE(item.Target);
      std::string bytes;
      ASSERT_TRUE(ReadWholeFile(product + "\\" + item.Target, bytes));
      EXPECT_EQ(bytes.size(), item.Size);
      EXPECT_TRUE(bytes == (item.Text ? LoadResourceText(item.Resource) + "\r\n" : ResourceBytes(item.Resource)));
    }
    EXPECT_EQ(Tree(product), tree);

    TLinkFacts link = ReadLink(LinkFile());
    ASSERT_TRUE(link.Loaded);
    EXPECT_EQ(link.WorkDir, named);
    EXPECT_EQ(link.Description, "Sorvanta");
    // The shell stores a target with doubled backslashes as it resolves it;
    // either way it is the program.
    std::string target = link.Path;
    if (named != product)
      for (size_t at; (at = target.find("\\\\")) != std::string::npos;) target.erase(at, 1);
    EXPECT_EQ(target, product + "\\Zelcap2-1.exe") << link.Path;
    ASSERT_FALSE(Finish.Values.empty());
    EXPECT_EQ(Finish.Values.back().StrValue, named + "\\Zelcap2-1.exe");
  }
};

} // namespace

// ------------------------------------------------------------------ building

TEST_F(InstallScheme, BuiltAtOnceAndJoinedThroughTheBridges) {
  ASSERT_NE(Writer.Inner, nullptr);
  ASSERT_NE(Installation.Inner, nullptr);

  // The writer offers the folder page's path as its varData[0]; that is what
  // the installation reads through its getData[0]. The installation offers nothing.
  TData remembered = StringData("C:\\Program Files"), buffer, inner, none = StringData("stale");
  FolderPage.inValue(remembered, 0);
  Writer.varData(buffer, 0);
  EXPECT_EQ(buffer.Kind, dkString);
  EXPECT_EQ(buffer.StrValue, "C:\\Program Files");
  Sequence().EditMulti->getData(inner, 0);
  EXPECT_EQ(inner.StrValue, "C:\\Program Files");
  Installation.varData(none, 0);
  EXPECT_EQ(none.Kind, dkNull);

  // Every output of the four hubs leads somewhere: a gap in the tables would
  // silently skip a file.
  for (auto& hub : Hubs()) {
    ASSERT_EQ(hub.Hub->outStep.size(), hub.Count) << hub.Name;
    for (const TPointLink& link : hub.Hub->outStep) EXPECT_NE(link.Method, nullptr) << hub.Name;
  }
  // The pictures were read while building; building wrote nothing.
  for (auto& picture : Sequence().Pictures) EXPECT_FALSE(picture->Picture.Empty());
  EXPECT_TRUE(Tree(Desk).empty());
}

// ------------------------------------------------------ a complete install

TEST_F(InstallScheme, FreshInstallWritesEveryFileTheRecordAndTheShortcut) {
  const std::string folder = FreshInstallFolder("Program Files");
  const std::string product = folder + "\\Varkelo";
  Install(folder);
  ExpectInstalled(product, product);

  // The record: [info] dir=<folder>\Varkelo\, nothing else.
  const std::string record = product + "\\dir.ini";
  EXPECT_EQ(Ini(record), std::vector<std::string>{"info"});
  EXPECT_EQ(Ini(record, "info"), std::vector<std::string>{"dir=" + product + "\\"});

  // The shortcut, in the desktop folder of the shell-folders record, which
  // the element read when step 11 ran. (Wine's shell rewrites that record
  // from its own settings whenever it resolves a special folder, so the
  // record is not read again afterwards.)
  EXPECT_EQ(Sequence().LinkPathMemory->Current.StrValue, LinkFile());
  EXPECT_EQ(Tree(Desk), std::set<std::string>{LinkName});
  EXPECT_EQ(ReadLink(LinkFile()).Arguments, "");
  ASSERT_EQ(Finish.Values.size(), 1u);
  EXPECT_EQ(Finish.Values[0].Kind, dkString);
}

// A drive root as the install folder: every path gets a doubled backslash,
// passed to the system as it is; the recorded value keeps it.
TEST_F(InstallScheme, DriveRootGivesDoubledBackslashes) {
  const std::string root = TestDrive() + "\\Varkelo", doubled = TestDrive() + "\\\\Varkelo";
  RemoveTree(root);
  Install(TestDrive() + "\\");
  ExpectInstalled(root, doubled);
  EXPECT_EQ(Ini(root + "\\dir.ini", "info"), std::vector<std::string>{"dir=" + doubled + "\\"});
  EXPECT_EQ(Sequence().ProgramPathMemory->Current.StrValue, doubled + "\\Zelcap2-1.exe") << "what the shortcut was given";
  RemoveTree(root);
}

// ---------------------------------------------------------- order of effects

// The files and folders in the order the sequence makes them, and the hub
// outputs in the order they fire; each output makes at most one of them.
TEST_F(InstallScheme, EffectsFollowTheTablesInOrder) {
  const std::string folder = FreshInstallFolder("Ordered");
  const std::string product = folder + "\\Varkelo";
  const std::string record = product + "\\dir.ini";

  // (hub output, what it makes; empty when it makes nothing on disk)
  std::vector<std::pair<std::string, std::string>> steps;
  auto add = [&](const std::string& hub, const std::string& sub, const std::vector<std::string>& made) {
    for (size_t k = 0; k < made.size(); ++k)
      steps.push_back({hub + " " + std::to_string(k + 1), made[k].empty() ? "" : product + sub + made[k]});
  };
  auto main = [&](int step, const std::string& made) {
    steps.push_back({"main " + std::to_string(step), made.empty() ? "" : product + "\\" + made});
  };
  add("main", "\\", {"Confile.man", "pek.txt", "psq.txt", "pif.txt"});
  main(5, "Help");
  add("help", "\\Help\\", {"h1.htm", "h2.htm", "menu.htm", "head.htm", "ZelcapHelp.htm", "h3.htm"});
  main(6, "Info");
  add("info", "\\Info\\", {"head.htm", "ZelcapInfo.htm", "menu.htm", "s1.htm", "s2.htm", "s3.htm", "s4.htm", "s5.htm",
                           "s6.htm", "s7.htm", "s8.htm", "s9.htm", "s10.htm", "s11.htm", "s12.htm", "s13.htm", "s14.htm",
                           "s15.htm", "s16.htm", "s17.htm", "kelso.htm", "s19.htm", "s20.htm"});
  main(7, "health.txt");
  main(8, "img");
  add("picture", "\\img\\", {"db.jpg", "Num1.jpg", "Num4.jpg"});
  main(9, "");
  main(10, "");
  steps.push_back({"main 11", LinkFile()});
  main(12, "");

  std::vector<std::string> made;
  for (auto& step : steps)
    if (!step.second.empty()) made.push_back(step.second);
  ASSERT_EQ(made.size(), 41u);

  // At every tap: exactly the first n items exist, and no record yet.
  std::vector<std::pair<std::string, size_t>> seen;
  auto observe = [&](const std::string& label) {
    size_t n = 0;
    while (n < made.size() && Exists(made[n])) ++n;
    for (size_t k = n; k < made.size(); ++k) EXPECT_FALSE(Exists(made[k])) << label << ": " << made[k];
    EXPECT_FALSE(Exists(record)) << label;
    seen.push_back({label, n});
  };

  // Between the writer and the installation: the program file is complete
  // and alone in the product folder.
  bool programChecked = false;
  Tap(Writer.EventLinks[0], "writer outEvent[0]", [&](const std::string&) {
    programChecked = true;
    EXPECT_EQ(Tree(product), std::set<std::string>{"Zelcap2-1.exe"});
    EXPECT_TRUE(FileBytes(product + "\\Zelcap2-1.exe") == ResourceBytes("STREAM0"));
  });
  for (auto& hub : Hubs())
    for (size_t k = 0; k < hub.Hub->outStep.size(); ++k)
      Tap(hub.Hub->outStep[k], std::string(hub.Name) + " " + std::to_string(k + 1), observe);

  // When the installation reports its end (the finish page is switched on
  // then), everything is there but the record.
  Finish.Check = [&](const std::string&) {
    for (const std::string& item : made) EXPECT_TRUE(Exists(item)) << item;
    EXPECT_FALSE(Exists(record));
  };

  Install(folder);

  EXPECT_TRUE(programChecked);
  ASSERT_EQ(Finish.Values.size(), 1u);
  ASSERT_EQ(seen.size(), steps.size());
  size_t expected = 0;
  for (size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(seen[i].first, steps[i].first);
    EXPECT_EQ(seen[i].second, expected) << steps[i].first;
    if (!steps[i].second.empty()) ++expected;
  }
  // The record comes last.
  EXPECT_TRUE(Exists(record));
}

// ---------------------------------------------------------- other folders

// Installing again over an older, longer tree: every file is cut to its new
// length, the record keeps its other keys, the shortcut is replaced.
TEST_F(InstallScheme, ReinstallCutsLongerFilesAndKeepsOtherRecordKeys) {
  const std::string folder = FreshInstallFolder("Again");
  const std::string product = folder + "\\Varkelo";
  for (const char* sub : {"", "\\Help", "\\Info", "\\img"}) CreateDirectoryA((product + sub).c_str(), nullptr);
  for (const TPayloadFile& item : InstalledPayload())
    WriteWholeFile(product + "\\" + item.Target, std::string(item.Size + 777, 'x'));
  WriteWholeFile(product + "\\dir.ini", "[other]\r\nkeep=1\r\n[info]\r\nold=2\r\ndir=before\r\n");
  WriteWholeFile(LinkFile(), std::string(5000, 'x'));

  Install(folder);
  Install(folder);

  ExpectInstalled(product, product);
  const std::string record = product + "\\dir.ini";
  EXPECT_EQ(Ini(record, "info"), (std::vector<std::string>{"old=2", "dir=" + product + "\\"}));
  EXPECT_EQ(Ini(record, "other"), std::vector<std::string>{"keep=1"});
  EXPECT_EQ(Finish.Values.size(), 2u);
}

// A drive that does not exist: nothing is written there, nothing is shown,
// the shortcut is still asked for and the end is still reported.
TEST_F(InstallScheme, MissingDriveWritesNothingAndStillFinishes) {
  ASSERT_FALSE(AbsentDrive().empty());
  const std::string folder = AbsentDrive() + "\\Tools";
  ASSERT_FALSE(Exists(AbsentDrive() + "\\"));
  std::set<std::string> before = Tree(TestDrive());

  size_t dialogs = 0;
  {
    TDialogWatcher watcher;
    Install(folder);
    dialogs = watcher.Seen().size();
  }
  EXPECT_EQ(dialogs, 0u);
  ASSERT_EQ(Finish.Values.size(), 1u);
  EXPECT_EQ(Finish.Values[0].StrValue, folder + "\\Varkelo\\Zelcap2-1.exe");
  EXPECT_EQ(Sequence().ProgramPathMemory->Current.StrValue, folder + "\\Varkelo\\Zelcap2-1.exe");

  // Only the shortcut is new on the test drive.
  before.insert("Desk\\" + LinkName);
  EXPECT_EQ(Tree(TestDrive()), before);
}
