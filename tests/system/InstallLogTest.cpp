// The installation record: every writing element adds exactly one entry for a
// write that failed (missing drive, file in use, a file where a folder must
// go, missing folder) and none for a write that succeeded, while its points
// behave as before.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "InstallLog.h"
#include "Paths.h"
#include "Resources.h"
#include "TestSupport.h"
#include "omDir.h"
#include "omFileStream.h"
#include "omINI.h"
#include "omJpeg.h"
#include "omShortcut.h"
#include "shortcut.h"
#include "omStrList.h"

using namespace systest;

namespace {

class InstallLogTest : public ::testing::Test {
protected:
  void SetUp() override {
    StartDispatch();
    InstallLog().Clear();
  }
  void TearDown() override {
    StopDispatch();
    InstallLog().Clear();
  }

  using TWrite = std::function<void(const std::string&)>;

  // The record holds exactly one entry, for this path, in the system's words.
  static void ExpectOneEntry(const std::string& path) {
    ASSERT_EQ(InstallLog().Count(), 1u) << path;
    const std::string& message = InstallLog()[0].Message;
    EXPECT_EQ(InstallLog()[0].Path, path);
    EXPECT_NE(InstallLog()[0].Code, 0u);
    ASSERT_FALSE(message.empty());
    EXPECT_NE(message.back(), '\n');
    EXPECT_NE(message.back(), '\r');
  }
  // A write to path that fails adds one entry, for recorded (path when empty).
  static void ExpectRecorded(const TWrite& write, const std::string& path, const std::string& recorded = "") {
    InstallLog().Clear();
    write(path);
    ExpectOneEntry(recorded.empty() ? path : recorded);
  }
  // A write that succeeds adds nothing.
  static void ExpectClean(const TWrite& write, const std::string& path) {
    InstallLog().Clear();
    write(path);
    EXPECT_EQ(InstallLog().Count(), 0u) << path;
  }

  static std::string Missing(const std::string& rest) {
    std::string drive = AbsentDrive();
    EXPECT_FALSE(drive.empty()) << "run through with-drive.sh: drive Q: is named there";
    return drive + rest;
  }
};

// A file opened with no sharing, as by a running program, until destroyed.
class THeldFile {
public:
  explicit THeldFile(const std::string& path)
      : FHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {
    EXPECT_NE(FHandle, INVALID_HANDLE_VALUE) << path;
  }
  THeldFile(const THeldFile&) = delete;
  THeldFile& operator=(const THeldFile&) = delete;
  ~THeldFile() {
    if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
  }

private:
  HANDLE FHandle;
};

struct TFireProbe : TOMObject {
  int Fired = 0;
  int Nulls = 0;
  void inEvent(TData& value, uint16_t) {
    ++Fired;
    Nulls += value.Kind == dkNull;
  }
};

} // namespace

TEST_F(InstallLogTest, RecordKeepsOrderAndTheSystemsWords) {
  TInstallLog& log = InstallLog();
  EXPECT_EQ(log.Count(), 0u);
  log.Add("M:\\a", ERROR_PATH_NOT_FOUND);
  log.Add("M:\\b", ERROR_SHARING_VIOLATION);
  log.Add("M:\\c", 13, "own words");
  ASSERT_EQ(log.Count(), 3u);
  EXPECT_EQ(log[0].Path, "M:\\a");
  EXPECT_EQ(log[1].Path, "M:\\b");
  EXPECT_EQ(log[2].Message, "own words");

  // The same path again, however it is spelled, adds nothing: the first
  // entry, with the first cause, stays.
  log.Add("m:\\\\A", ERROR_ACCESS_DENIED);
  log.Add("M:\\b", ERROR_PATH_NOT_FOUND);
  ASSERT_EQ(log.Count(), 3u);
  EXPECT_EQ(log[0].Code, uint32_t(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(log[1].Code, uint32_t(ERROR_SHARING_VIOLATION));

  // The text is the system's own, as FormatMessageA gives it, less the line end.
  char* raw = nullptr;
  DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, ERROR_PATH_NOT_FOUND, 0, reinterpret_cast<char*>(&raw), 0, nullptr);
  ASSERT_NE(length, 0u);
  std::string expected(raw, length);
  LocalFree(raw);
  while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r' || expected.back() == ' '))
    expected.pop_back();
  EXPECT_EQ(log[0].Message, expected);
  EXPECT_NE(log[0].Message, log[1].Message);

  // A wrapped system error reads as the error itself; an unknown code still says something.
  EXPECT_EQ(SystemErrorText(uint32_t(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND))), expected);
  EXPECT_EQ(SystemErrorText(0xA0001234u), "\xCE\xF8\xE8\xE1\xEA\xE0 0xA0001234");
}

TEST_F(InstallLogTest, DirRecordsTheFolderThatCouldNotBeMade) {
  std::string folder = FreshFolder("logdir");
  TFireProbe probe;
  TOMDir dir;
  dir.outCreate = MakePointLink<&TFireProbe::inEvent>(0, &probe);
  auto create = [&dir](const std::string& path) {
    TData value = StringData(path);
    Fire(MakePointLink<&TOMDir::inCreate>(0, &dir), value);
  };
  // Every level is made; a trailing backslash and a folder already there are
  // not failures.
  ExpectClean(create, folder + "Varkelo\\Help\\Z");
  ExpectClean(create, folder + "Varkelo\\Help");
  ExpectClean(create, folder + "T\\");
  EXPECT_TRUE(FolderExists(folder + "Varkelo\\Help\\Z"));
  EXPECT_TRUE(FolderExists(folder + "T"));
  // A file where the folder must go: the system's own refusal is recorded;
  // below that file the level that failed is named, once.
  WriteWholeFile(folder + "Varkelo\\Info", "a file");
  ExpectRecorded(create, folder + "Varkelo\\Info");
  EXPECT_EQ(InstallLog()[0].Code, uint32_t(ERROR_ALREADY_EXISTS));
  ExpectRecorded(create, folder + "Varkelo\\Info\\deeper\\", folder + "Varkelo\\Info");
  ExpectRecorded(create, Missing("\\Program\\Varkelo"), Missing("\\Program")); // a drive that does not exist
  EXPECT_FALSE(FolderExists(Missing("\\Program")));
  create("abc"); // a bare name is refused, and outCreate still fires
  EXPECT_EQ(probe.Fired, 7); // outCreate fired for every step, failed or not, with nothing
  EXPECT_EQ(probe.Nulls, 7);
}

TEST_F(InstallLogTest, StrListRecordsFilesItCouldNotWrite) {
  std::string folder = FreshFolder("logstr");
  TOMStrList list;
  list.SetStrings(LoadResourceText("Str1"));
  auto save = [&list](const std::string& path) { Send<&TOMStrList::inSave>(list, StringData(path)); };
  ExpectClean(save, folder + "pek.txt");
  EXPECT_EQ(FileBytes(folder + "pek.txt"), "x\r\ny\r\nz\r\n");
  {
    THeldFile held(folder + "psq.txt");
    ExpectRecorded(save, folder + "psq.txt");
  }
  EXPECT_EQ(FileBytes(folder + "psq.txt"), ""); // the holder's empty file, untouched
  ExpectRecorded(save, folder + "Help\\h1.htm");
  ExpectRecorded(save, Missing("\\Varkelo\\pif.txt"));
  // The object layer tells the same code it was refused with.
  THeldFile held(folder + "again.txt");
  EXPECT_EQ(list.Lines.WriteToFile(folder + "again.txt"), uint32_t(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(list.Lines.WriteToFile(folder + "free.txt"), 0u);
}

TEST_F(InstallLogTest, FileStreamRecordsAnOpenOnceAndStillFires) {
  std::string folder = FreshFolder("logfs");
  auto data = CreateMemoryStream();
  data->Write("MZ-program", 10);
  TFireProbe opened;
  TOMFileStream element;
  element.Mode = TOMFileStream::fmWrite;
  element.outOpen = MakePointLink<&TFireProbe::inEvent>(0, &opened);
  auto run = [&](const std::string& path) {
    element.FileName = path;
    Send<&TOMFileStream::inOpen>(element, StringData(path));
    Send<&TOMFileStream::inWrite>(element, StreamData(data.get()));
    Send<&TOMFileStream::inClose>(element, TData());
  };
  ExpectClean(run, folder + "Zelcap2-1.exe");
  EXPECT_EQ(FileBytes(folder + "Zelcap2-1.exe"), "MZ-program");
  {
    // The installed program is running: its file cannot be opened for
    // writing. One entry: the open, not the write as well.
    THeldFile held(folder + "running.exe");
    ExpectRecorded(run, folder + "running.exe");
    EXPECT_EQ(InstallLog()[0].Code, uint32_t(ERROR_SHARING_VIOLATION));
  }
  ExpectRecorded(run, Missing("\\Varkelo\\Zelcap2-1.exe"));
  // Read-write mode writes too; AutoOpen opens inside inWrite.
  element.Mode = TOMFileStream::fmReadWrite;
  element.AutoOpen = 1;
  auto autoWrite = [&](const std::string& path) {
    element.FileName = path;
    Send<&TOMFileStream::inWrite>(element, StreamData(data.get()));
  };
  ExpectRecorded(autoWrite, folder + "no\\rw.bin");
  EXPECT_FALSE(element.Stream);
  EXPECT_EQ(opened.Fired, 4); // outOpen fired for every open, failed or not
}

TEST_F(InstallLogTest, JpegRecordsRefusedAndEmptyPictures) {
  std::string folder = FreshFolder("logjpeg");
  TOMJpeg element, empty;
  element.LoadFromStream(LoadResourceStream("STREAM1"));
  ASSERT_FALSE(element.Picture.Empty());
  auto save = [&element](const std::string& path) { Send<&TOMJpeg::inSave>(element, StringData(path)); };
  ExpectClean(save, folder + "db.jpg");
  EXPECT_EQ(FileBytes(folder + "db.jpg"), FileBytes(DataFile("sample.jpg")));
  {
    THeldFile held(folder + "Num1.jpg");
    ExpectRecorded(save, folder + "Num1.jpg");
  }
  ExpectRecorded(save, Missing("\\Varkelo\\img\\Num4.jpg"));
  ExpectRecorded(save, folder + "img\\Num4.jpg");
  // A picture whose resource is missing writes no file and says so in our words.
  empty.LoadFromStream(LoadResourceStream("NoSuchStream"));
  ASSERT_TRUE(empty.Picture.Empty());
  ExpectRecorded([&empty](const std::string& path) { Send<&TOMJpeg::inSave>(empty, StringData(path)); },
                 folder + "none.jpg");
  EXPECT_FALSE(Exists(folder + "none.jpg"));
  EXPECT_EQ(InstallLog()[0].Message.substr(0, 19), "\xCD\xE5\xF2 \xE4\xE0\xED\xED\xFB\xF5 \xF0\xE8\xF1\xF3\xED\xEA\xE0:");
}

TEST_F(InstallLogTest, ShortcutRecordsALinkThatWasNotSaved) {
  std::string folder = FreshFolder("loglnk");
  WriteWholeFile(folder + "a.exe", "MZ");
  TFireProbe created;
  TOMShortCut element;
  element.Target = folder + "a.exe";
  element.WorkDir = folder;
  element.Description = "Sorvanta";
  element.outCreate = MakePointLink<&TFireProbe::inEvent>(0, &created);
  auto make = [&element](const std::string& link) {
    element.LinkFile = link;
    TData value = StringData("unused");
    Fire(MakePointLink<&TOMShortCut::inCreate>(0, &element), value);
  };
  ExpectClean(make, folder + "ok.lnk");
  EXPECT_TRUE(FileExists(folder + "ok.lnk"));
  ExpectRecorded(make, folder + "Desktop\\x.lnk");
  EXPECT_FALSE(Exists(folder + "Desktop"));
  ExpectRecorded(make, Missing("\\Desk\\x.lnk"));
  EXPECT_EQ(created.Fired, 3);
  // The routine itself reports the component's result.
  EXPECT_EQ(CreateLink(folder + "a.exe", folder + "ok2.lnk", folder, "d"), 0);
  EXPECT_TRUE(FAILED(CreateLink(folder + "a.exe", folder + "no\\ok2.lnk", folder, "d")));
}

TEST_F(InstallLogTest, IniRecordsARecordThatWasNotWritten) {
  std::string folder = FreshFolder("logini");
  TOMini ini;
  ini.Section = "info";
  ini.Key = "dir";
  ini.ValueType = 1;
  auto write = [&ini](const std::string& file) {
    ini.FileName = file;
    TData value = StringData("M:\\Varkelo\\");
    Fire(MakePointLink<&TOMini::inWrite>(0, &ini), value);
  };
  ExpectClean(write, folder + "dir.ini");
  char buffer[64] = {};
  GetPrivateProfileStringA("info", "dir", "", buffer, sizeof buffer, (folder + "dir.ini").c_str());
  EXPECT_STREQ(buffer, "M:\\Varkelo\\");
  ExpectRecorded(write, Missing("\\Varkelo\\dir.ini"));
  // A folder of that name stands where the file must go.
  CreateDirectoryA((folder + "sub").c_str(), nullptr);
  CreateDirectoryA((folder + "sub\\dir.ini").c_str(), nullptr);
  ExpectRecorded(write, folder + "sub\\dir.ini");
  // A record file held open by another program, with no sharing.
  THeldFile held(folder + "held.ini");
  ExpectRecorded(write, folder + "held.ini");
}

// A drive with no room: run by with-small-drive.sh, which puts drive M: on a
// 1 MB file system; elsewhere these are skipped.
class InstallLogFullDisk : public InstallLogTest {
protected:
  void SetUp() override {
    const char* small = std::getenv("OMBREL_SMALL_DRIVE");
    if (!small || !*small) GTEST_SKIP() << "needs drive M: on a 1 MB file system (with-small-drive.sh)";
    InstallLogTest::SetUp();
  }
  static constexpr size_t Big = 2 * 1024 * 1024;
};

TEST_F(InstallLogFullDisk, WritesThatRunOutOfRoomAreRecorded) {
  std::string folder = FreshFolder("full");
  TOMStrList small, big;
  small.SetStrings("fits");
  big.SetStrings(std::string(Big, 'x'));
  ExpectClean([&](const std::string& path) { Send<&TOMStrList::inSave>(small, StringData(path)); },
              folder + "small.txt");
  EXPECT_EQ(FileBytes(folder + "small.txt"), "fits\r\n");

  // Each write runs out of room; its file is removed again to free the room.
  auto full = [&](const TWrite& write, const std::string& name) {
    ExpectRecorded(write, folder + name);
    DeleteFileA((folder + name).c_str());
  };
  full([&](const std::string& path) { Send<&TOMStrList::inSave>(big, StringData(path)); }, "kelso.htm");

  auto data = CreateMemoryStream();
  data->SetSize(int64_t(Big));
  TOMFileStream program;
  program.Mode = TOMFileStream::fmWrite;
  full(
      [&](const std::string& path) {
        program.FileName = path;
        Send<&TOMFileStream::inOpen>(program, TData());
        Send<&TOMFileStream::inWrite>(program, StreamData(data.get()));
        Send<&TOMFileStream::inClose>(program, TData());
      },
      "Zelcap2-1.exe");

  // A picture whose held bytes run past the room left: the header is read,
  // the trailing bytes are kept and written as they are.
  std::string bytes = FileBytes(DataFile("sample.jpg")) + std::string(Big, '\0');
  auto source = CreateMemoryStream();
  source->Write(bytes.data(), int64_t(bytes.size()));
  source->SetPosition(0);
  TOMJpeg picture;
  picture.LoadFromStream(std::move(source));
  ASSERT_FALSE(picture.Picture.Empty());
  full([&](const std::string& path) { Send<&TOMJpeg::inSave>(picture, StringData(path)); }, "db.jpg");

  // A record on a drive filled up: the system's call may say it wrote the
  // file all the same, so what is on the disk decides.
  HANDLE filler = CreateFileA((folder + "filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(filler, INVALID_HANDLE_VALUE);
  const std::string block(4096, 'f');
  DWORD written = 0;
  while (WriteFile(filler, block.data(), DWORD(block.size()), &written, nullptr) && written == block.size()) {
  }
  CloseHandle(filler);
  TOMini ini;
  ini.Section = "info";
  ini.Key = "dir";
  ini.ValueType = 1;
  ini.FileName = folder + "dir.ini";
  ExpectRecorded([&](const std::string&) { Send<&TOMini::inWrite>(ini, StringData("M:\\Varkelo\\")); },
                 folder + "dir.ini");
}
