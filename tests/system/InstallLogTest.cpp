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

  // The record holds exactly one entry, for this path, in the system's words.
  static void ExpectOneEntry(const std::string& path) {
    ASSERT_EQ(InstallLog().Count(), 1u) << path;
    const TInstallEntry& entry = InstallLog()[0];
    EXPECT_EQ(entry.Path, path);
    EXPECT_NE(entry.Code, 0u);
    EXPECT_FALSE(entry.Message.empty());
    if (!entry.Message.empty()) {
      EXPECT_NE(entry.Message.back(), '\n');
      EXPECT_NE(entry.Message.back(), '\r');
    }
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
  void inEvent(TData&, uint16_t) { ++Fired; }
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
  EXPECT_EQ(log.Entries().size(), 3u);

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

  log.Clear();
  EXPECT_EQ(log.Count(), 0u);
  EXPECT_TRUE(log.Entries().empty());
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

  create(folder + "Varkelo\\Help");
  create(folder + "Varkelo\\Help"); // already there: not a failure
  EXPECT_TRUE(FolderExists(folder + "Varkelo\\Help"));
  EXPECT_EQ(InstallLog().Count(), 0u);

  // A file where the folder must go: the system's own refusal is recorded.
  WriteWholeFile(folder + "Varkelo\\Info", "a file");
  create(folder + "Varkelo\\Info");
  ExpectOneEntry(folder + "Varkelo\\Info");
  EXPECT_EQ(InstallLog()[0].Code, uint32_t(ERROR_ALREADY_EXISTS));

  // Below that file: the level that failed is named, once.
  InstallLog().Clear();
  create(folder + "Varkelo\\Info\\deeper\\");
  ExpectOneEntry(folder + "Varkelo\\Info");

  // A drive that does not exist.
  InstallLog().Clear();
  create(Missing("\\Program\\Varkelo"));
  ExpectOneEntry(Missing("\\Program"));
  EXPECT_FALSE(FolderExists(Missing("\\Program")));

  // outCreate fired for every step, failed or not.
  EXPECT_EQ(probe.Fired, 5);
}

TEST_F(InstallLogTest, StrListRecordsFilesItCouldNotWrite) {
  std::string folder = FreshFolder("logstr");
  TOMStrList list;
  list.SetStrings(LoadResourceText("Str1"));
  auto save = [&list](const std::string& path) {
    TData value = StringData(path);
    list.inSave(value, 0);
  };

  save(folder + "pek.txt");
  EXPECT_EQ(FileBytes(folder + "pek.txt"), "x\r\ny\r\nz\r\n");
  EXPECT_EQ(InstallLog().Count(), 0u);

  {
    THeldFile held(folder + "psq.txt");
    save(folder + "psq.txt");
    ExpectOneEntry(folder + "psq.txt");
  }
  EXPECT_EQ(FileBytes(folder + "psq.txt"), ""); // the holder's empty file, untouched

  InstallLog().Clear();
  save(folder + "Help\\h1.htm");
  ExpectOneEntry(folder + "Help\\h1.htm");

  InstallLog().Clear();
  save(Missing("\\Varkelo\\pif.txt"));
  ExpectOneEntry(Missing("\\Varkelo\\pif.txt"));

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
    TData name = StringData(path);
    element.inOpen(name, 0);
    TData stream = StreamData(data.get());
    element.inWrite(stream, 0);
    TData none;
    element.inClose(none, 0);
  };

  run(folder + "Zelcap2-1.exe");
  EXPECT_EQ(FileBytes(folder + "Zelcap2-1.exe"), "MZ-program");
  EXPECT_EQ(InstallLog().Count(), 0u);

  {
    // The installed program is running: its file cannot be opened for writing.
    THeldFile held(folder + "running.exe");
    run(folder + "running.exe");
    ExpectOneEntry(folder + "running.exe"); // the open, not the write as well
    EXPECT_EQ(InstallLog()[0].Code, uint32_t(ERROR_SHARING_VIOLATION));
  }

  InstallLog().Clear();
  run(Missing("\\Varkelo\\Zelcap2-1.exe"));
  ExpectOneEntry(Missing("\\Varkelo\\Zelcap2-1.exe"));

  // Read-write mode writes too; AutoOpen opens inside inWrite.
  InstallLog().Clear();
  element.Mode = TOMFileStream::fmReadWrite;
  element.AutoOpen = 1;
  element.FileName = folder + "no\\rw.bin";
  TData stream = StreamData(data.get());
  element.inWrite(stream, 0);
  ExpectOneEntry(folder + "no\\rw.bin");
  EXPECT_FALSE(element.Stream);

  EXPECT_EQ(opened.Fired, 4); // outOpen fired for every open, failed or not
}

TEST_F(InstallLogTest, JpegRecordsRefusedAndEmptyPictures) {
  std::string folder = FreshFolder("logjpeg");
  TOMJpeg element;
  element.LoadFromStream(LoadResourceStream("STREAM1"));
  ASSERT_FALSE(element.Picture.Empty());
  auto save = [](TOMJpeg& target, const std::string& path) {
    TData value = StringData(path);
    target.inSave(value, 0);
  };

  save(element, folder + "db.jpg");
  EXPECT_EQ(FileBytes(folder + "db.jpg"), FileBytes(DataFile("sample.jpg")));
  EXPECT_EQ(InstallLog().Count(), 0u);

  {
    THeldFile held(folder + "Num1.jpg");
    save(element, folder + "Num1.jpg");
    ExpectOneEntry(folder + "Num1.jpg");
  }

  InstallLog().Clear();
  save(element, Missing("\\Varkelo\\img\\Num4.jpg"));
  ExpectOneEntry(Missing("\\Varkelo\\img\\Num4.jpg"));

  InstallLog().Clear();
  save(element, folder + "img\\Num4.jpg");
  ExpectOneEntry(folder + "img\\Num4.jpg");

  // A picture whose resource is missing writes no file and says so in our words.
  InstallLog().Clear();
  TOMJpeg empty;
  empty.LoadFromStream(LoadResourceStream("NoSuchStream"));
  ASSERT_TRUE(empty.Picture.Empty());
  save(empty, folder + "none.jpg");
  EXPECT_FALSE(Exists(folder + "none.jpg"));
  ExpectOneEntry(folder + "none.jpg");
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

  make(folder + "ok.lnk");
  EXPECT_TRUE(FileExists(folder + "ok.lnk"));
  EXPECT_EQ(InstallLog().Count(), 0u);

  make(folder + "Desktop\\x.lnk");
  EXPECT_FALSE(Exists(folder + "Desktop"));
  ExpectOneEntry(folder + "Desktop\\x.lnk");

  InstallLog().Clear();
  make(Missing("\\Desk\\x.lnk"));
  ExpectOneEntry(Missing("\\Desk\\x.lnk"));

  EXPECT_EQ(created.Fired, 3);
  // The routine itself reports the component's result.
  EXPECT_EQ(CreateLink(folder + "a.exe", folder + "ok2.lnk", folder, "d"), 0);
  EXPECT_TRUE(FAILED(CreateLink(folder + "a.exe", folder + "no\\ok2.lnk", folder, "d")));
}

TEST_F(InstallLogTest, IniRecordsARecordThatWasNotWritten) {
  std::string folder = FreshFolder("logini");
  TOMini ini;
  ini.FileName = folder + "dir.ini";
  ini.Section = "info";
  ini.Key = "dir";
  ini.ValueType = 1;
  auto write = [&ini](const std::string& file) {
    ini.FileName = file;
    TData value = StringData("M:\\Varkelo\\");
    Fire(MakePointLink<&TOMini::inWrite>(0, &ini), value);
  };

  write(folder + "dir.ini");
  char buffer[64] = {};
  GetPrivateProfileStringA("info", "dir", "", buffer, sizeof buffer, (folder + "dir.ini").c_str());
  EXPECT_STREQ(buffer, "M:\\Varkelo\\");
  EXPECT_EQ(InstallLog().Count(), 0u);

  write(Missing("\\Varkelo\\dir.ini"));
  ExpectOneEntry(Missing("\\Varkelo\\dir.ini"));

  // A folder of that name stands where the file must go.
  InstallLog().Clear();
  CreateDirectoryA((folder + "sub").c_str(), nullptr);
  CreateDirectoryA((folder + "sub\\dir.ini").c_str(), nullptr);
  write(folder + "sub\\dir.ini");
  ExpectOneEntry(folder + "sub\\dir.ini");

  // A record file held open by another program, with no sharing.
  InstallLog().Clear();
  {
    THeldFile held(folder + "held.ini");
    write(folder + "held.ini");
  }
  ExpectOneEntry(folder + "held.ini");
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

  TOMStrList small;
  small.SetStrings("fits");
  TData value = StringData(folder + "small.txt");
  small.inSave(value, 0);
  EXPECT_EQ(FileBytes(folder + "small.txt"), "fits\r\n");
  EXPECT_EQ(InstallLog().Count(), 0u);

  TOMStrList big;
  big.SetStrings(std::string(Big, 'x'));
  value = StringData(folder + "kelso.htm");
  big.inSave(value, 0);
  ExpectOneEntry(folder + "kelso.htm");
  DeleteFileA((folder + "kelso.htm").c_str());

  InstallLog().Clear();
  auto data = CreateMemoryStream();
  data->SetSize(int64_t(Big));
  TOMFileStream program;
  program.Mode = TOMFileStream::fmWrite;
  program.FileName = folder + "Zelcap2-1.exe";
  TData none;
  program.inOpen(none, 0);
  TData stream = StreamData(data.get());
  program.inWrite(stream, 0);
  program.inClose(none, 0);
  ExpectOneEntry(folder + "Zelcap2-1.exe");
  DeleteFileA((folder + "Zelcap2-1.exe").c_str());

  // A picture whose held bytes run past the room left: the header is read,
  // the trailing bytes are kept and written as they are.
  InstallLog().Clear();
  std::string bytes = FileBytes(DataFile("sample.jpg")) + std::string(Big, '\0');
  auto source = CreateMemoryStream();
  source->Write(bytes.data(), int64_t(bytes.size()));
  source->SetPosition(0);
  TOMJpeg picture;
  picture.LoadFromStream(std::move(source));
  ASSERT_FALSE(picture.Picture.Empty());
  value = StringData(folder + "db.jpg");
  picture.inSave(value, 0);
  ExpectOneEntry(folder + "db.jpg");
  DeleteFileA((folder + "db.jpg").c_str());

  // A record on a drive filled up: the system's call may say it wrote the
  // file all the same, so what is on the disk decides.
  InstallLog().Clear();
  HANDLE filler = CreateFileA((folder + "filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(filler, INVALID_HANDLE_VALUE);
  const std::string block(4096, 'f');
  DWORD written = 0;
  while (WriteFile(filler, block.data(), DWORD(block.size()), &written, nullptr) && written == block.size()) {
  }
  CloseHandle(filler);
  TOMini ini;
  ini.FileName = folder + "dir.ini";
  ini.Section = "info";
  ini.Key = "dir";
  ini.ValueType = 1;
  value = StringData("M:\\Varkelo\\");
  ini.inWrite(value, 0);
  ExpectOneEntry(folder + "dir.ini");
}
