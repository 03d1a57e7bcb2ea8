// The program-file writer and the installation sequence, hosted by
// multi-elements and wired to each other exactly as the main scheme wires
// them, run under Wine against drive M: with the real payload linked in.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "InstallSupport.h"
#include "Resources.h"
#include "omDir.h"
#include "omEditMulti.h"
#include "omMemory.h"
#include "omMultiElement.h"
#include "omMultiElement_4DC2A30.h"
#include "omMultiElement_5022298.h"

using namespace installtest;
using namespace systest;

namespace {

const std::string LinkName = "\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0 v2.1.lnk"; // Сорванта v2.1.lnk

// Stands for the finish sender: records what the installation's outEvent[0]
// brings, then runs the test's check.
struct TFinishProbe : TOMObject {
  std::vector<TData> Values;
  std::function<void()> Check;
  void inDo(TData& value, uint16_t) {
    Values.push_back(value);
    if (Check) Check();
  }
};

// Put into a link between two elements: runs the test's check, then passes
// the value on to where the link went.
struct TTap : TOMObject {
  std::string Label;
  TPointLink Next;
  std::function<void(const std::string&)> Check;
  void inDo(TData& value, uint16_t) {
    if (Check) Check(Label);
    Fire(Next, value);
  }
};

// The two containers as the main scheme holds them: the installation (its
// element 9) and the program-file writer (element 17), configured in reverse,
// so the writer's container is built first. A memory stands for the folder
// page's varData[0], the path remembered at Install.
class InstallScheme : public ::testing::Test {
protected:
  TOMMemory FolderPage;
  TFinishProbe Finish;
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
    Installation.EventLinks[0] = MakePointLink<&TFinishProbe::inDo>(0, &Finish);
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
};

// All bytes of a stream resource.
std::string ResourceBytes(const std::string& name) {
  std::unique_ptr<TByteStream> stream = LoadResourceStream(name);
  return std::string(reinterpret_cast<const char*>(stream->Memory()), size_t(stream->Size()));
}

// Every installed file of the manifest: its size, and its bytes equal to the
// resource (text files: the resource text plus CR LF).
void ExpectPayloadInstalled(const std::string& product) {
  std::vector<TPayloadFile> payload = InstalledPayload();
  ASSERT_EQ(payload.size(), 38u) << "34 texts, the program file and 3 pictures";
  for (const TPayloadFile& item : payload) {
    SCOPED_TRACE(item.Target);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(product + "\\" + item.Target, bytes));
    EXPECT_EQ(bytes.size(), item.Size);
    if (item.Text) {
      EXPECT_TRUE(bytes == LoadResourceText(item.Resource) + "\r\n");
    } else {
      std::string resource = ResourceBytes(item.Resource);
      ASSERT_EQ(bytes.size(), resource.size());
      EXPECT_TRUE(bytes == resource);
    }
  }
}

std::set<std::string> ExpectedTree() {
  std::set<std::string> tree{"Help\\", "Info\\", "img\\", "dir.ini"};
  for (const TPayloadFile& item : InstalledPayload()) tree.insert(item.Target);
  return tree;
}

} // namespace

// ------------------------------------------------------------------ building

TEST_F(InstallScheme, BuiltAtOnceAndJoinedThroughTheBridges) {
  ASSERT_NE(Writer.Inner, nullptr);
  ASSERT_NE(Installation.Inner, nullptr);
  EXPECT_EQ(Writer.Inner->Host, &Writer);
  EXPECT_EQ(Installation.Inner->Host, &Installation);

  // The writer offers the folder page's path as its varData[0]; that is what
  // the installation reads through its getData[0].
  TData remembered = StringData("C:\\Program Files");
  FolderPage.inValue(remembered, 0);
  TData buffer;
  Writer.varData(buffer, 0);
  EXPECT_EQ(buffer.Kind, dkString);
  EXPECT_EQ(buffer.StrValue, "C:\\Program Files");
  TData inner;
  Sequence().EditMulti->getData(inner, 0);
  EXPECT_EQ(inner.StrValue, "C:\\Program Files");

  // The installation offers nothing.
  TData none = StringData("stale");
  Installation.varData(none, 0);
  EXPECT_EQ(none.Kind, dkNull);

  // Every output of the four hubs leads somewhere: a gap in the tables would
  // silently skip a file.
  TClassMultiElement_5022298& sequence = Sequence();
  struct {
    TOMHub* Hub;
    size_t Count;
  } hubs[] = {{sequence.MainHub.get(), 12}, {sequence.HelpHub.get(), 6}, {sequence.InfoHub.get(), 23},
              {sequence.PictureHub.get(), 3}};
  for (auto& hub : hubs) {
    ASSERT_EQ(hub.Hub->outStep.size(), hub.Count);
    for (const TPointLink& link : hub.Hub->outStep) EXPECT_NE(link.Method, nullptr);
  }
  // The pictures were read while building.
  for (auto& picture : sequence.Pictures) EXPECT_FALSE(picture->Picture.Empty());

  // Building wrote nothing.
  EXPECT_TRUE(Tree(Desk).empty());
}

// ---------------------------------------------------------- a fresh install

TEST_F(InstallScheme, FreshInstallWritesEveryFileTheRecordAndTheShortcut) {
  const std::string folder = FreshInstallFolder("Program Files");
  const std::string product = folder + "\\Varkelo";
  Install(folder);

  ExpectPayloadInstalled(product);
  // Nothing else under the product folder.
  EXPECT_EQ(Tree(product), ExpectedTree());

  // The record: [info] dir=<folder>\Varkelo\, nothing else.
  const std::string record = product + "\\dir.ini";
  EXPECT_EQ(IniSections(record), std::vector<std::string>{"info"});
  EXPECT_EQ(IniSection(record, "info"), std::vector<std::string>{"dir=" + product + "\\"});

  // The shortcut, in the desktop folder of the shell-folders record, which
  // the element read when step 11 ran. (Wine's shell rewrites that record
  // from its own settings whenever it resolves a special folder, so the
  // record is not read again afterwards.)
  EXPECT_EQ(Sequence().LinkPathMemory->Current.StrValue, Desk + "\\" + LinkName);
  EXPECT_EQ(Tree(Desk), std::set<std::string>{LinkName});
  TLinkFacts link = ReadLink(LinkFile());
  ASSERT_TRUE(link.Loaded);
  EXPECT_EQ(link.Path, product + "\\Zelcap2-1.exe");
  EXPECT_EQ(link.WorkDir, product);
  EXPECT_EQ(link.Description, "Sorvanta");
  EXPECT_EQ(link.Arguments, "");

  // outEvent[0] once, with what the writer sent: the program file's path.
  ASSERT_EQ(Finish.Values.size(), 1u);
  EXPECT_EQ(Finish.Values[0].Kind, dkString);
  EXPECT_EQ(Finish.Values[0].StrValue, product + "\\Zelcap2-1.exe");
}

// ---------------------------------------------------------- order of effects

// The files and folders in the order the sequence makes them, and the hub
// outputs in the order they fire; each output makes at most one of them.
TEST_F(InstallScheme, EffectsFollowTheTablesInOrder) {
  const std::string folder = FreshInstallFolder("Ordered");
  const std::string product = folder + "\\Varkelo";
  const std::string record = product + "\\dir.ini";

  const std::vector<std::string> help{"h1.htm", "h2.htm", "menu.htm", "head.htm", "ZelcapHelp.htm", "h3.htm"};
  const std::vector<std::string> info{"head.htm", "ZelcapInfo.htm", "menu.htm", "s1.htm",  "s2.htm",  "s3.htm",
                                      "s4.htm",   "s5.htm",         "s6.htm",   "s7.htm",  "s8.htm",  "s9.htm",
                                      "s10.htm",  "s11.htm",        "s12.htm",  "s13.htm", "s14.htm", "s15.htm",
                                      "s16.htm",  "s17.htm",        "kelso.htm", "s19.htm", "s20.htm"};
  const std::vector<std::string> pictures{"db.jpg", "Num1.jpg", "Num4.jpg"};

  // (hub output, what it makes; empty when it makes nothing on disk)
  std::vector<std::pair<std::string, std::string>> steps;
  auto mainStep = [&](int step, const std::string& made) { steps.push_back({"main " + std::to_string(step), made}); };
  for (int k = 1; k <= 4; ++k)
    mainStep(k, product + "\\" + std::vector<std::string>{"Confile.man", "pek.txt", "psq.txt", "pif.txt"}[k - 1]);
  mainStep(5, product + "\\Help");
  for (size_t k = 0; k < help.size(); ++k)
    steps.push_back({"help " + std::to_string(k + 1), product + "\\Help\\" + help[k]});
  mainStep(6, product + "\\Info");
  for (size_t k = 0; k < info.size(); ++k)
    steps.push_back({"info " + std::to_string(k + 1), product + "\\Info\\" + info[k]});
  mainStep(7, product + "\\health.txt");
  mainStep(8, product + "\\img");
  for (size_t k = 0; k < pictures.size(); ++k)
    steps.push_back({"picture " + std::to_string(k + 1), product + "\\img\\" + pictures[k]});
  mainStep(9, "");
  mainStep(10, "");
  mainStep(11, LinkFile());
  mainStep(12, "");

  std::vector<std::string> made;
  for (auto& step : steps)
    if (!step.second.empty()) made.push_back(step.second);
  ASSERT_EQ(made.size(), 41u);

  // At every tap: exactly the first n items exist, and no record yet.
  struct TSeen {
    std::string Label;
    size_t Existing;
  };
  std::vector<TSeen> seen;
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
    std::string resource = ResourceBytes("STREAM0");
    std::string bytes = FileBytes(product + "\\Zelcap2-1.exe");
    ASSERT_EQ(bytes.size(), resource.size());
    EXPECT_TRUE(bytes == resource);
  });
  TClassMultiElement_5022298& sequence = Sequence();
  struct {
    TOMHub* Hub;
    const char* Name;
  } hubs[] = {{sequence.MainHub.get(), "main"},
              {sequence.HelpHub.get(), "help"},
              {sequence.InfoHub.get(), "info"},
              {sequence.PictureHub.get(), "picture"}};
  for (auto& hub : hubs)
    for (size_t k = 0; k < hub.Hub->outStep.size(); ++k)
      Tap(hub.Hub->outStep[k], std::string(hub.Name) + " " + std::to_string(k + 1), observe);

  // When the installation reports its end (the finish page is switched on
  // then), everything is there but the record.
  Finish.Check = [&] {
    for (const std::string& item : made) EXPECT_TRUE(Exists(item)) << item;
    EXPECT_FALSE(Exists(record));
  };

  Install(folder);

  EXPECT_TRUE(programChecked);
  ASSERT_EQ(Finish.Values.size(), 1u);
  ASSERT_EQ(seen.size(), steps.size());
  size_t expected = 0;
  for (size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(seen[i].Label, steps[i].first);
    EXPECT_EQ(seen[i].Existing, expected) << steps[i].first;
    if (!steps[i].second.empty()) ++expected;
  }
  // The record comes last.
  EXPECT_TRUE(Exists(record));
}

// ---------------------------------------------------------- other folders

// A drive root as the install folder: every path gets a doubled backslash,
// passed to the system as it is.
TEST_F(InstallScheme, DriveRootGivesDoubledBackslashes) {
  const std::string root = TestDrive() + "\\";
  RemoveTree(TestDrive() + "\\Varkelo");
  Install(root);

  const std::string doubled = TestDrive() + "\\\\Varkelo";
  ExpectPayloadInstalled(TestDrive() + "\\Varkelo");
  EXPECT_EQ(Tree(TestDrive() + "\\Varkelo"), ExpectedTree());

  // The recorded value keeps the doubled backslash.
  EXPECT_EQ(IniSection(doubled + "\\dir.ini", "info"), std::vector<std::string>{"dir=" + doubled + "\\"});
  std::string text = FileBytes(TestDrive() + "\\Varkelo\\dir.ini");
  EXPECT_NE(text.find("dir=" + doubled + "\\"), std::string::npos) << text;

  ASSERT_EQ(Finish.Values.size(), 1u);
  EXPECT_EQ(Finish.Values[0].StrValue, doubled + "\\Zelcap2-1.exe");
  // What the shortcut was given.
  TClassMultiElement_5022298& sequence = Sequence();
  EXPECT_EQ(sequence.ProgramPathMemory->Current.StrValue, doubled + "\\Zelcap2-1.exe");
  EXPECT_EQ(sequence.ProductFolderMemory->Current.StrValue, doubled);
  EXPECT_EQ(sequence.LinkPathMemory->Current.StrValue, LinkFile());
  TLinkFacts link = ReadLink(LinkFile());
  ASSERT_TRUE(link.Loaded);
  EXPECT_EQ(link.Description, "Sorvanta");
  EXPECT_EQ(link.WorkDir, doubled);
  // The shell stores the target as it resolves it; either way it is the program.
  std::string target = link.Path;
  for (size_t at; (at = target.find("\\\\")) != std::string::npos;) target.erase(at, 1);
  EXPECT_EQ(target, TestDrive() + "\\Varkelo\\Zelcap2-1.exe") << link.Path;

  RemoveTree(TestDrive() + "\\Varkelo");
}

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

  ExpectPayloadInstalled(product);
  EXPECT_EQ(Tree(product), ExpectedTree());
  const std::string record = product + "\\dir.ini";
  EXPECT_EQ(IniSection(record, "info"), (std::vector<std::string>{"old=2", "dir=" + product + "\\"}));
  EXPECT_EQ(IniSection(record, "other"), std::vector<std::string>{"keep=1"});

  TLinkFacts link = ReadLink(LinkFile());
  ASSERT_TRUE(link.Loaded);
  EXPECT_EQ(link.Path, product + "\\Zelcap2-1.exe");
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
  std::set<std::string> after = Tree(TestDrive());
  before.insert("Desk\\" + LinkName);
  EXPECT_EQ(after, before);
}
