// Line lists, byte streams, the elements that write files, the record of failed writes and its report.
#include <gtest/gtest.h>

#include "Access.h"
#include "Files.h"
#include "Host.h"
#include "InstallLog.h"
#include "LineList.h"
#include "Paths.h"
#include "Probe.h"
#include "Resources.h"
#include "Texts.h"
#include "omDir.h"
#include "omFileStream.h"
#include "omHardDisk.h"
#include "omINI.h"
#include "omInstallReport.h"
#include "omJpeg.h"
#include "omShortcut.h"
#include "omStrList.h"
#include "omTransaction.h"
#include "omUninstall.h"

#include <sddl.h> // after windows.h
#include <shlobj.h>

using namespace host;
using Lines = std::vector<std::string>;

namespace {

TEST(LineList, SplitsAtCrAndCrLfAndJoinsWithCrLfAfterEveryLine) {
  const std::pair<std::string, Lines> rows[] = {{"x\r\ny", {"x", "y"}}, {"x\r\n", {"x"}}, {"x\ry", {"x", "y"}}, {"\r\n", {""}},
      {"a\r\n\r\nb", {"a", "", "b"}}, {"a\nb\tc ", {"a\nb\tc "}}, {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
      {"", {}}, {"Сорванта", {"Сорванта"}}};
  for (const auto& [text, lines] : rows) {
    TLineList list;
    list.AssignText(text);
    Lines got;
    std::string joined;
    for (size_t i = 0; i < list.Count(); ++i) got.push_back(list[i]);
    for (const std::string& line : lines) joined += line + "\r\n";
    EXPECT_EQ(got, lines) << text;
    EXPECT_EQ(list.JoinLines(), joined);
  }
}

// Each file kind keeps its direction; a read-write stream does not cut the file; a copy never passes
// the source's end and moves its position.
TEST(ByteStream, MemoryAndFileKindsAndCopies) {
  auto memory = CreateMemoryStream();
  char buffer[16] = {};
  const auto put = [&](int64_t at, const std::string& bytes) {
    memory->SetPosition(at);
    return memory->Write(bytes.data(), int64_t(bytes.size()));
  };
  put(0, "abcdef");
  put(2, "XY");
  EXPECT_EQ(memory->Size(), 6) << "overwriting inside does not grow";
  EXPECT_EQ(put(5, "12"), 2);
  memory->SetPosition(0);
  EXPECT_EQ(std::string(buffer, size_t(memory->Read(buffer, sizeof buffer))), "abXYe12");
  EXPECT_EQ(memory->Read(buffer, 4), 0);
  memory->SetSize(3);
  EXPECT_EQ(memory->Position(), 3);
  const std::string folder = files::FreshFolder("streams"), path = folder + "f.bin";
  files::Write(path, "0123456789");
  EXPECT_EQ(std::make_pair(OpenReadStream(path)->Write("zz", 2), OpenReadStream(path)->Read(buffer, 4)),
            std::make_pair(int64_t(0), int64_t(4))); // each stream open only until the statement's end
  EXPECT_EQ(std::vector<int64_t>({OpenReadWriteStream(path)->Write("ab", 2), OpenWriteStream(folder + "w.bin")->Read(buffer, 4),
                                  OpenReadWriteStream(folder + "new.bin")->Write("c", 1)}),
            std::vector<int64_t>({2, 0, 1}));
  EXPECT_EQ(files::Read(path) + files::Read(folder + "new.bin"), "ab23456789c");
  put(3, "-world");
  memory->SetPosition(4);
  EXPECT_EQ(OpenWriteStream(path)->CopyFrom(*memory, 100), 5);
  EXPECT_EQ(memory->Position(), 9);
  EXPECT_EQ(files::Read(path), "world");
  auto reader = OpenReadStream(path);
  EXPECT_EQ(memory->CopyFrom(*reader, 100), 5);
  EXPECT_EQ(memory->Size(), 14);
  reader->SetPosition(1);
  EXPECT_EQ(OpenWriteStream(folder + "b.bin")->CopyFrom(*reader, 3), 3);
  EXPECT_EQ(files::Read(folder + "b.bin"), "orl");
  auto missing = OpenReadStream(folder + "none.bin");
  EXPECT_TRUE(!missing->IsOpen() && missing->Read(buffer, 4) == 0 && missing->Error() != 0);
}

// A packed picture: loading it unpacks no more than its header needs, idle time unpacks the rest
// in slices, and writing it takes those bytes as they are, unpacking nothing again. A stream copied
// whole stays deferred; read, it gives the bytes.
TEST(PayloadStreams, APictureUnpacksItsHeaderAtLoadTheRestInSlicesAndIsWrittenFromThem) {
  const std::string file = files::Read(OMBREL_PAYLOAD_SOURCE_DIR "/img/Num4.jpg");
  while (UnpackPayloadSlice()) {} // what earlier tests left for idle time
  const size_t start = PayloadBytesUnpacked();
  TOMJpeg picture;
  picture.LoadFromStream(LoadResourceStream("STREAM2"));
  const size_t loaded = PayloadBytesUnpacked() - start;
  EXPECT_FALSE(picture.Picture.Empty());
  EXPECT_LT(loaded, file.size() / 4) << "the header lies in the first 30,301 bytes";
  int slices = 0;
  while (UnpackPayloadSlice() && slices < 1000) ++slices;
  EXPECT_EQ(PayloadBytesUnpacked() - start, file.size());
  EXPECT_GE(slices, 4) << "no slice unpacks much more than 64 KB";
  const std::string folder = files::FreshFolder("packed");
  Send<&TOMJpeg::inSave>(picture, StringData(folder + "a.jpg"));
  EXPECT_EQ(files::Read(folder + "a.jpg"), file);
  EXPECT_EQ(PayloadBytesUnpacked() - start, file.size()) << "written from what idle time made";

  auto copied = CreateMemoryStream();
  EXPECT_EQ(copied->CopyFrom(*LoadResourceStream("STREAM2"), 1 << 30), int64_t(file.size()));
  EXPECT_EQ(PayloadBytesUnpacked() - start, file.size()) << "still deferred";
  std::string bytes(file.size() + 1, '\0');
  copied->SetPosition(0);
  EXPECT_EQ(copied->Read(bytes.data(), 10), 10);
  EXPECT_EQ(copied->Read(bytes.data() + 10, int64_t(bytes.size()) - 10), int64_t(file.size()) - 10);
  EXPECT_EQ(bytes.substr(0, file.size()), file);
}

// Each macro once, case-sensitive, with one backslash; a bare name goes beside the program.
TEST(Paths, MacrosAndBareNames) {
  const auto folder = [](UINT(WINAPI * ask)(LPSTR, UINT)) {
    char path[MAX_PATH] = {};
    const std::string got(path, ask(path, MAX_PATH));
    return got.back() == '\\' ? got : got + "\\";
  };
  const std::string windows = folder(&GetWindowsDirectoryA), system = folder(&GetSystemDirectoryA), temp = files::TempFolder();
  char own[MAX_PATH] = {};
  const std::string program(own, GetModuleFileNameA(nullptr, own, MAX_PATH));
  EXPECT_EQ(ProgramFolder(), program.substr(0, program.rfind('\\') + 1));
  const std::pair<std::string, std::string> expanded[] = {
      {"%windir%a.ini", windows + "a.ini"}, {"%WINDIR%a.ini", "%WINDIR%a.ini"},
      {"%windir%%windir%", windows + windows}, {"%tmpdir%t|%sysdir%s", temp + "t|" + system + "s"}};
  for (const auto& [path, result] : expanded) EXPECT_EQ(ExpandPathMacros(path), result) << path;
  const std::pair<std::string, std::string> full[] = {{"dir.ini", ProgramFolder() + "dir.ini"}, {"C:dir.ini", "C:dir.ini"},
                                                      {"sub\\dir.ini", "sub\\dir.ini"}, {"%windir%dir.ini", windows + "dir.ini"}};
  for (const auto& [path, result] : full) EXPECT_EQ(FullFileName(path), result) << path;
}

TEST(HardDisk, FigureArithmetic) {
  const uint64_t huge = (6ull << 40) / 4096; // 6 TiB in 4 KiB clusters: 32-bit products would wrap
  const struct { uint64_t Clusters; uint8_t Unit; int32_t Figure; } rows[] = {
      {4000000, 0, 15998976}, {4000000, 1, 15624}, {4000000, 2, 15}, {1023, 0, 0},
      {huge, 1, 6 * 1024 * 1024}, {huge, 2, 6 * 1024}, {huge, 0, 0x7FFFFFFF}};
  for (const auto& r : rows)
    EXPECT_EQ(FreeSpaceFigure(r.Clusters, 8, 512, r.Unit), r.Figure) << r.Clusters << " unit " << int(r.Unit);
}

class InstallRecord : public ::testing::Test {
protected:
  void SetUp() override { InstallLog().Clear(); }
  void TearDown() override { InstallLog().Clear(); }
  TLiveDispatch Live;
};

// Every element that writes, in a folder where some writes fail: a file where a folder goes, a
// folder where a file goes, files held open, files longer than what replaces them.
class ElementWrites : public InstallRecord {
public:
  ElementWrites() {
    for (const std::string& stale : {Temp + "elements.jpg", Program + "elements.jpg"}) DeleteFileA(stale.c_str());
    for (const char* folder : {"V", "ini.ini"}) CreateDirectoryA((F + folder).c_str(), nullptr);
    files::Write(F + "V\\Info", "a file where a folder goes");
    files::Write(F + "a.exe", "MZ");
    for (const char* longer : {"a.txt", "e.txt", "out.bin", "long.jpg"})
      files::Write(F + longer, std::string(Jpeg.size() * 2, 'o'));
    Dir.outCreate = Fired.In(0);
    Stream.outOpen = Fired.In(1);
    Link.outCreate = Fired.In(2);
    List.FileName = "dropped";
    List.SetStringsResource("STR2"); // the text given last is the one written
    List.SetStrings("x\r\ny\r\nz");
    EXPECT_EQ(List.FileName, "") << "the text resource comes with no name";
    Empty.SetStrings(LoadResourceText("NoSuchText"));
    Stream.Mode = TOMFileStream::fmWrite;
    Automatic.Mode = TOMFileStream::fmReadWrite;
    Automatic.AutoOpen = 1;
    Bytes->Write("MZ-program", 10); // left at its end: the whole source is written anyway
    Picture.LoadFromStream(LoadResourceStream("STREAM1"));
    Missing.LoadFromStream(LoadResourceStream("NoSuchStream"));
    auto atItsEnd = LoadResourceStream("STREAM1");
    atItsEnd->SetPosition(atItsEnd->Size());
    Exhausted.LoadFromStream(std::move(atItsEnd));
    Link.Target = F + "a.exe";
    Link.WorkDir = F;
    Link.Description = "Sorvanta";
    Ini.Section = "info";
    Ini.Key = "dir";
    Ini.ValueType = 1;
  }

  // outCreate goes out once the call has returned.
  void MakeFolder(const std::string& p) { TData v = StringData(p); Fire(MakePointLink<&TOMDir::inCreate>(0, &Dir), v); }
  void SaveList(const std::string& p) { Send<&TOMStrList::inSave>(List, StringData(p)); }
  void SaveEmpty(const std::string& p) { Send<&TOMStrList::inSave>(Empty, StringData(p)); }
  void WriteStream(const std::string& p) { // a value that is no stream writes nothing
    Stream.FileName = p;
    Send<&TOMFileStream::inOpen>(Stream, TData());
    Send<&TOMFileStream::inWrite>(Stream, StreamData(Bytes.get()));
    Send<&TOMFileStream::inWrite>(Stream, StringData("not a stream"));
    Send<&TOMFileStream::inClose>(Stream, TData());
  }
  void AutoWrite(const std::string& p) { // opened for the write, closed after it
    Automatic.FileName = p;
    Send<&TOMFileStream::inWrite>(Automatic, StreamData(Bytes.get()));
    EXPECT_FALSE(Automatic.Stream);
  }
  void SavePicture(const std::string& p) { Send<&TOMJpeg::inSave>(Picture, StringData(p)); }
  void SaveMissing(const std::string& p) { Send<&TOMJpeg::inSave>(Missing, StringData(p)); }
  void SaveExhausted(const std::string& p) { Send<&TOMJpeg::inSave>(Exhausted, StringData(p)); }
  void MakeLink(const std::string& p) { Link.LinkFile = p; Send<&TOMShortCut::inCreate>(Link, StringData("unused")); }
  void WriteRecord(const std::string& p) { // stored without the blanks and quotes
    Ini.FileName = p;
    Send<&TOMini::inWrite>(Ini, StringData(" \"M:\\Varkelo\\\" "));
  }

  const std::string F = files::FreshFolder("record"), Temp = files::TempFolder(), Program = ProgramFolder();
  const std::string Long = F + std::string(240, 'l');
  const std::string Jpeg = [] {
    const auto resource = LoadResourceStream("STREAM1");
    return std::string(reinterpret_cast<const char*>(resource->Memory()), size_t(resource->Size()));
  }();
  const files::THeld Held[4] = {files::Hold(F + "held.txt", true), files::Hold(F + "held.exe", true),
                               files::Hold(F + "held.jpg", true), files::Hold(F + "held.ini", true)};
  TProbe Fired;
  TOMDir Dir;
  TOMStrList List, Empty;
  TOMFileStream Stream, Automatic;
  TOMJpeg Picture, Missing, Exhausted;
  TOMShortCut Link;
  TOMini Ini;
  std::unique_ptr<TByteStream> Bytes = CreateMemoryStream();
};

// Clean, the file is made under the name as the element takes it (a picture's with its macros expanded,
// a bare name beside the program). Failing: one entry, the path that failed, the cause (our own words
// for a missing picture). After the table: nothing written where no row wrote, the held file untouched,
// the record's value, and every step's event fired.
TEST_F(ElementWrites, EachWritesOrRecordsTheWriteThatFailed) {
  using E = ElementWrites;
  // Holds: what the file holds after a clean write (Made: it is there); none: the write failed and
  // Path (else Name) is recorded, with Code if not 0.
  const std::string lines = "x\r\ny\r\nz\r\n", nothing, program10 = "MZ-program", Made = "(made)";
  const uint32_t notUtf8 = ERROR_NO_UNICODE_TRANSLATION;
  const struct { void (E::*Write)(const std::string&); std::string Name; const std::string* Holds = nullptr;
                 uint32_t Code = 0; std::string Path = ""; } rows[] = {
      {&E::MakeFolder, F + "V\\Help\\Z", &Made}, {&E::MakeFolder, F + "T\\", &Made, 0, F + "T"},
      {&E::MakeFolder, F + "V\\Info\\deeper\\", nullptr, 0, F + "V\\Info"}, // the level that failed
      {&E::MakeFolder, "Q:\\Program\\Varkelo", nullptr, 0, "Q:\\Program"},
      {&E::SaveList, F + "a.txt", &lines}, {&E::SaveList, F + "\\b.txt", &lines, 0, F + "b.txt"},
      {&E::SaveList, "%tmpdir%x.txt", &lines, 0, F + "%tmpdir%x.txt"}, // in the current folder
      {&E::SaveEmpty, F + "e.txt", &nothing}, {&E::SaveEmpty, F + "new.txt", &nothing},
      {&E::SaveList, F + "held.txt", nullptr, ERROR_SHARING_VIOLATION}, {&E::WriteStream, F + "out.bin", &program10},
      {&E::WriteStream, F + "held.exe", nullptr, ERROR_SHARING_VIOLATION}, // the open, not the write too
      {&E::AutoWrite, F + "auto.bin", &program10}, {&E::AutoWrite, F + "no\\rw.bin"},
      {&E::SavePicture, F + "long.jpg", &Jpeg}, {&E::SavePicture, F + "long.jpg", &Jpeg},
      {&E::SavePicture, "%tmpdir%elements.jpg", &Jpeg, 0, Temp + "elements.jpg"},
      {&E::SavePicture, "elements.jpg", &Jpeg, 0, Program + "elements.jpg"},
      {&E::SavePicture, F + "held.jpg", nullptr, ERROR_SHARING_VIOLATION}, {&E::SavePicture, F + "img\\Num4.jpg"},
      {&E::SaveMissing, F + "none.jpg"}, {&E::SaveExhausted, F + "spent.jpg"}, {&E::MakeLink, F + "ok.lnk", &Made},
      {&E::MakeLink, F + "Desktop\\x.lnk"}, {&E::MakeLink, "Q:\\Desk\\x.lnk"}, {&E::WriteRecord, F + "dir.ini", &Made},
      {&E::WriteRecord, F + "ini.ini"}, {&E::WriteRecord, F + "held.ini"},
      // A name that is not UTF-8 is refused: nothing under a name a conversion would change.
      {&E::MakeFolder, F + "bad\xFF", nullptr, notUtf8}, {&E::SaveList, F + "bad\xFF.txt", nullptr, notUtf8},
      {&E::WriteStream, F + "bad\xFF.exe", nullptr, notUtf8}, {&E::SavePicture, F + "bad\xFF.jpg", nullptr, notUtf8},
      {&E::MakeLink, F + "bad\xFF.lnk", nullptr, uint32_t(HRESULT_FROM_WIN32(notUtf8))},
      {&E::WriteRecord, F + "bad\xFF.ini", nullptr, notUtf8},
      // Longer than the settings functions take: refused, not written under another name.
      {&E::WriteRecord, Long + "\\dir.ini", nullptr, ERROR_FILENAME_EXCED_RANGE},
  };
  CreateDirectoryW(files::Wide(Long).c_str(), nullptr);
  SetCurrentDirectoryA(F.c_str());
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    const std::string& path = row.Path.empty() ? row.Name : row.Path;
    InstallLog().Clear();
    (this->*row.Write)(row.Name);
    if (row.Holds) {
      EXPECT_EQ(InstallLog().Count(), 0u);
      // What the uninstaller removes: what was made, by its full name, and nothing else.
      ASSERT_FALSE(InstallLog().Made().empty());
      EXPECT_EQ(path, InstallLog().Made().back().Path);
      EXPECT_EQ(row.Write == &E::MakeFolder, InstallLog().Made().back().Folder());
      EXPECT_TRUE(row.Holds == &Made ? files::IsFile(path) || files::IsFolder(path)
                                     : files::IsFile(path) && files::Read(path) == *row.Holds);
      continue;
    }
    ASSERT_EQ(InstallLog().Count(), 1u);
    EXPECT_EQ(0u, InstallLog().Made().size());
    const TInstallEntry& entry = InstallLog()[0];
    EXPECT_EQ(entry.Path, path);
    EXPECT_TRUE(entry.Code != 0 && (!row.Code || entry.Code == row.Code)) << entry.Code;
    EXPECT_TRUE(!entry.Message.empty() && std::string("\r\n").find(entry.Message.back()) == std::string::npos);
    EXPECT_TRUE(row.Write != &E::SaveMissing || entry.Message.rfind("Нет данных рисунка:", 0) == 0) << entry.Message;
  }
  SetCurrentDirectoryA("C:\\");
  for (const std::string& made : {Temp + "elements.jpg", Program + "elements.jpg"}) DeleteFileA(made.c_str());
  EXPECT_EQ(files::Read(F + "held.txt"), "") << "the holder's file is untouched";
  for (const char* never : {"none.jpg", "spent.jpg", "Desktop", "img", "no"})
    EXPECT_FALSE(files::IsFile(F + never) || files::IsFolder(F + never)) << never;
  for (const auto& entry : files::Tree(F)) EXPECT_NE(entry.first.rfind("bad", 0), 0u) << entry.first;
  char value[64] = {};
  GetPrivateProfileStringA("info", "dir", "", value, sizeof value, (F + "dir.ini").c_str());
  EXPECT_STREQ(value, "M:\\Varkelo\\");
  // Every step fired its event, failed or not, with nothing (the file stream: its stream).
  EXPECT_EQ(Fired.Index, (std::vector<uint16_t>{0, 0, 0, 0, 1, 1, 2, 2, 2, 0, 1, 2}));
  for (size_t i = 0; i < Fired.Got.size(); ++i) EXPECT_EQ(Fired.Got[i].Kind, Fired.Index[i] == 1 ? dkStream : dkNull);
}

// The end of a run: every writer's file reads back as it was written, and the run is kept. One
// changed after its write (a byte of it, the size kept) fails the read-back, and only it, recorded as
// not written; all or nothing, the whole run is then put back as it was: each file of it gone or its
// older self in its place, the folder it made gone, the entry it wrote as it was (here: none, and one
// with a value of its own), no file of the run left beside them.
TEST_F(ElementWrites, AFileChangedAfterItsWriteFailsTheReadBackAndAllOrNothingPutsTheRunBack) {
  using E = ElementWrites;
  const std::pair<void (E::*)(const std::string&), std::string> writes[] = {
      {&E::SaveList, F + "a.txt"}, {&E::WriteStream, F + "out.bin"}, {&E::SavePicture, F + "long.jpg"},
      {&E::MakeLink, F + "ok.lnk"}, {&E::WriteRecord, F + "dir.ini"}};
  const std::string key = std::string(UninstallKey) + "OmbrelTest";
  TOMUninstall uninstaller;
  uninstaller.Key = "OmbrelTest";
  TOMTransaction run;
  for (const bool allOrNothing : {false, true})
    for (const auto& changed : writes) {
      SCOPED_TRACE(changed.second + (allOrNothing ? ", all or nothing" : ""));
      files::RemoveTree(F + "made");
      for (const auto& [write, path] : writes) DeleteFileA(path.c_str());
      files::Write(F + "a.txt", "older");
      RegDeleteKeyExW(HKEY_LOCAL_MACHINE, files::Wide(key).c_str(), KEY_WOW64_64KEY, 0);
      if (&changed == writes)
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, files::Wide(key).c_str(), L"Own", REG_SZ, L"x", 4);
      const files::TTree before = files::Tree(F);
      run.RollBack = allOrNothing;
      InstallLog().Clear(); // as the run's report starts it
      Send<&TOMTransaction::inBegin>(run, TData());
      MakeFolder(F + "made");
      for (const auto& [write, path] : writes) (this->*write)(path);
      Send<&TOMUninstall::inWrite>(uninstaller, StringData(F + "made"));
      ASSERT_EQ(InstallLog().Count(), 0u) << InstallLog()[0].Path << ": " << InstallLog()[0].Message;
      ASSERT_TRUE(InstallLog().ReadBack()) << "as written";
      std::string bytes = files::Read(changed.second);
      ASSERT_FALSE(bytes.empty());
      bytes[bytes.size() / 2] ^= 0x20;
      ASSERT_TRUE(files::Write(changed.second, bytes));
      Send<&TOMTransaction::inEnd>(run, TData());
      ASSERT_EQ(InstallLog().Count(), 1u);
      EXPECT_EQ(std::make_pair(changed.second, uint32_t(ERROR_FILE_CORRUPT)),
                std::make_pair(InstallLog()[0].Path, InstallLog()[0].Code));
      EXPECT_EQ(allOrNothing, InstallLog().RolledBack());
      HKEY entry = nullptr;
      wchar_t own[8] = {};
      DWORD size = sizeof own;
      const bool registered = RegOpenKeyExW(HKEY_LOCAL_MACHINE, files::Wide(key).c_str(), 0,
                                            KEY_QUERY_VALUE | KEY_WOW64_64KEY, &entry) == ERROR_SUCCESS;
      const bool owns = registered && RegQueryValueExW(entry, L"Own", nullptr, nullptr, reinterpret_cast<BYTE*>(own), &size) == 0;
      const bool written = registered && RegQueryValueExW(entry, L"DisplayName", nullptr, nullptr, nullptr, nullptr) == 0;
      if (entry) RegCloseKey(entry);
      if (!allOrNothing) {
        EXPECT_NE("older", files::Read(F + "a.txt")) << "kept";
        EXPECT_TRUE(written && files::IsFile(F + "made\\uninstall.exe"));
        continue;
      }
      EXPECT_EQ(before, files::Tree(F)) << "put back";
      EXPECT_EQ("older", files::Read(F + "a.txt"));
      EXPECT_EQ(std::make_tuple(&changed == writes, &changed == writes, false), std::make_tuple(registered, owns, written));
    }
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, files::Wide(key).c_str(), KEY_WOW64_64KEY, 0);
}

// On a full drive every writer fails, says so, and leaves the older file as it was and nothing else.
TEST_F(ElementWrites, AFullDriveKeepsEveryOlderFileWhole) {
  if (files::Env("OMBREL_MOUNTED").empty()) GTEST_SKIP() << "needs the 1 MB drive M:";
  const std::string f = "M:\\full\\";
  files::RemoveTree(f);
  CreateDirectoryA(f.c_str(), nullptr);
  for (const char* old : {"a.txt", "b.exe", "c.jpg", "d.lnk", "dir.ini"}) files::Write(f + old, "older");
  HANDLE fill = CreateFileW(files::Wide(f + "filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  const std::string block(65536, 'x');
  for (DWORD put = 1; put;) put = WriteFile(fill, block.data(), DWORD(block.size()), &put, nullptr) ? put : 0;
  CloseHandle(fill);
  const files::TTree before = files::Tree(f);
  SaveList(f + "a.txt");
  WriteStream(f + "b.exe");
  SavePicture(f + "c.jpg");
  MakeLink(f + "d.lnk");
  WriteRecord(f + "dir.ini");
  EXPECT_EQ(InstallLog().Count(), 5u);
  EXPECT_EQ(files::Tree(f), before) << "a file changed or left behind";
  files::RemoveTree(f);
}

// ANSI (here code page 1251, the system's) while the code page holds the value; else UTF-16, an
// ANSI file rewritten so first with all it held.
TEST_F(ElementWrites, ASettingsFileTurnsUtf16ForWhatItsCodePageCannotHold) {
  const std::string file = Ini.FileName = F + "dir.ini", setup = "[setup]\r\nname=Сорванта\r\n";
  const std::wstring wide = files::Wide(setup);
  const std::string ansi = "[setup]\r\nname=\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0\r\n", bom = "\xFF\xFE",
                    utf16 = bom + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
  const struct { const std::string* Before; std::string Value; bool Unicode; } rows[] = {
      {&ansi, "C:\\Varkelo\\", false}, {&ansi, "D:\\Ünïcode 测试\\Varkelo\\", true}, {&utf16, "C:\\Varkelo\\", true},
      {&ansi, "C:\\Ünïcode\\Varkelo\\", true}}; // Latin letters that code page 1251 has only look-alikes for
  const auto read = [&](const char* section, const char* key) {
    wchar_t value[MAX_PATH] = {};
    GetPrivateProfileStringW(files::Wide(section).c_str(), files::Wide(key).c_str(), L"", value, MAX_PATH,
                             files::Wide(file).c_str());
    return files::Narrow(value);
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Value);
    ASSERT_TRUE(files::Write(file, *r.Before));
    Send<&TOMini::inWrite>(Ini, StringData(r.Value));
    const std::string bytes = files::Read(file);
    EXPECT_EQ(r.Unicode, bytes.rfind(bom, 0) == 0);
    EXPECT_NE(bytes.substr(2).rfind(bom, 0), 0u) << "one mark";
    EXPECT_EQ(std::make_pair(r.Value, std::string("Сорванта")), std::make_pair(read("info", "dir"), read("setup", "name")));
  }
  EXPECT_EQ(InstallLog().Count(), 0u);
}

// The record keeps its order, one entry per path (the first cause stays), in the system's words. The
// report: nothing for a clean run; else the finish text first, then the box's: the count, the first ten
// paths (one backslash each, a network path's pair kept) with their messages, how many more. A path too
// long is shown whole when it can, else with "..." for its middle, never a character cut in two.
TEST_F(InstallRecord, KeepsOrderOneEntryPerPathTheSystemsWordsAndTheReportWithPathsTooLongCutInTheirMiddle) {
  TInstallLog& log = InstallLog();
  log.Add("M:\\a", ERROR_PATH_NOT_FOUND);
  log.Add("M:\\b", ERROR_SHARING_VIOLATION);
  log.Add("M:\\c", 13, "own words");
  log.Add("m:\\\\A", ERROR_ACCESS_DENIED); // the same path however spelled: the first cause stays
  log.Add("M:\\b", ERROR_PATH_NOT_FOUND);
  ASSERT_EQ(log.Count(), 3u);
  EXPECT_EQ(log[0].Path + log[1].Path + log[2].Path + log[2].Message, "M:\\aM:\\bM:\\cown words");
  EXPECT_EQ(std::make_pair(log[0].Code, log[1].Code), std::make_pair(uint32_t(ERROR_PATH_NOT_FOUND), uint32_t(ERROR_SHARING_VIOLATION)));
  wchar_t raw[512] = {}; // the system's words without the line end
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_PATH_NOT_FOUND, 0, raw, 512, nullptr);
  std::string expected = files::Narrow(raw);
  expected.erase(expected.find_last_not_of("\r\n ") + 1);
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(log[0].Message, expected);
  EXPECT_EQ(SystemErrorText(uint32_t(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND))), expected);
  EXPECT_EQ(SystemErrorText(0xA0001234u), "Ошибка 0xA0001234");
  const std::string path = "C:\\Program Files\\Varkelo\\Info\\ZelcapInfo.htm", deep = "D:\\" + std::string(200, 'x') + "\\s1.htm";
  std::string emoji = "E:\\";
  for (int i = 0; i < 60; ++i) emoji += "😀";
  EXPECT_EQ(FitPath(path, 2000), path);
  for (const std::string& whole : {deep, emoji + "\\z.htm"})
    for (int width = 90; width < 200; width += 7) {
      const std::string shown = FitPath(whole, width);
      EXPECT_TRUE(shown.size() < whole.size() / 2 && shown.find("...") != std::string::npos &&
                  shown.rfind(whole.substr(0, 3), 0) == 0 && shown.substr(shown.size() - 4) == whole.substr(whole.size() - 4))
          << shown;
      for (size_t i = 0; i + 1 < shown.size(); ++i) // no half of a surrogate pair (0xED 0xA0..0xBF)
        EXPECT_FALSE(uint8_t(shown[i]) == 0xED && uint8_t(shown[i + 1]) >= 0xA0) << width << ": " << shown;
    }
  TOMInstallReport report;
  TProbe seen;
  report.outFinishText = seen.In(0);
  report.outReport = seen.In(1);
  InstallLog().Add("C:\\old", ERROR_ACCESS_DENIED);
  Send<&TOMInstallReport::inClear>(report, StringData("C:\\Program Files"));
  Send<&TOMInstallReport::inCheck>(report, IntegerData(0));
  EXPECT_TRUE(seen.Got.empty() && InstallReportText(InstallLog()).empty());
  InstallLog().Add("M:\\\\Varkelo\\Help", ERROR_ALREADY_EXISTS);
  InstallLog().Add("\\\\server\\share\\\\Varkelo\\dir.ini", ERROR_BAD_NETPATH);
  InstallLog().Add("M:\\Varkelo\\Zelcap2-1.exe", 0x80004005u, "own words");
  Send<&TOMInstallReport::inCheck>(report, IntegerData(0));
  ASSERT_EQ(seen.Index, (std::vector<uint16_t>{0, 1}));
  EXPECT_EQ(seen.Got[0].StrValue, texts::Failure);
  EXPECT_EQ(seen.Got[1].StrValue, "Не удалось записать при установке: 3.\r\n\r\nM:\\Varkelo\\Help\r\n   " + InstallLog()[0].Message +
                                      "\r\n\\\\server\\share\\Varkelo\\dir.ini\r\n   " + InstallLog()[1].Message +
                                      "\r\nM:\\Varkelo\\Zelcap2-1.exe\r\n   own words");
  EXPECT_EQ(InstallLog().Count(), 3u);
  for (size_t count : {10u, 11u, 12u}) {
    InstallLog().Clear();
    std::string named = "Не удалось записать при установке: " + std::to_string(count) + ".\r\n";
    for (size_t i = 1; i <= count; ++i) {
      InstallLog().Add("M:\\p" + std::to_string(i), 5, "m");
      if (i <= 10) named += "\r\nM:\\p" + std::to_string(i) + "\r\n   m";
    }
    EXPECT_EQ(InstallReportText(InstallLog()), named + (count > 10 ? "\r\n\r\n... и ещё " + std::to_string(count - 10) + "." : ""));
  }
}

// A well-known group's or account's identifier.
std::vector<BYTE> Sid(WELL_KNOWN_SID_TYPE type) {
  std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
  DWORD size = DWORD(sid.size());
  EXPECT_TRUE(CreateWellKnownSid(type, nullptr, sid.data(), &size)) << type;
  return sid;
}

// The rights a token's owner would get on a folder of this descriptor, as the system's own check
// tells them (an owner and a group of the administrators', which the check needs).
ACCESS_MASK Allowed(HANDLE token, PSECURITY_DESCRIPTOR descriptor) {
  wchar_t* list = nullptr;
  if (!descriptor || !ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                                           DACL_SECURITY_INFORMATION, &list, nullptr))
    return 0;
  PSECURITY_DESCRIPTOR whole = nullptr;
  ConvertStringSecurityDescriptorToSecurityDescriptorW((std::wstring(L"O:BAG:BA") + list).c_str(), SDDL_REVISION_1,
                                                       &whole, nullptr);
  LocalFree(list);
  GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
  PRIVILEGE_SET privileges{};
  DWORD size = sizeof privileges, granted = 0;
  BOOL status = FALSE;
  if (!whole || !AccessCheck(whole, token, MAXIMUM_ALLOWED, &mapping, &privileges, &size, &granted, &status) || !status)
    granted = 0;
  LocalFree(whole);
  return granted;
}

// This process's token for a check, and the same token with the administrators' group only able
// to deny: a person without their rights, as an unelevated program of an administrator runs.
struct TTokens {
  HANDLE Full = nullptr, Plain = nullptr;
  TTokens() {
    HANDLE own = nullptr, plain = nullptr;
    std::vector<BYTE> administrators = Sid(WinBuiltinAdministratorsSid);
    SID_AND_ATTRIBUTES disabled{administrators.data(), 0};
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &own) &&
        CreateRestrictedToken(own, 0, 1, &disabled, 0, nullptr, 0, nullptr, &plain)) {
      DuplicateToken(own, SecurityImpersonation, &Full);
      DuplicateToken(plain, SecurityImpersonation, &Plain);
    }
    if (own) CloseHandle(own);
    if (plain) CloseHandle(plain);
  }
  ~TTokens() {
    for (HANDLE token : {Full, Plain})
      if (token) CloseHandle(token);
  }
};

// The product's folder: an administrator may do anything, anyone else read and run it only. The
// uninstaller's own folder: nobody else anything, but the user who runs it unelevated, everything.
TEST(Access, WhoMayChangeTheProgramFolderTheUninstallersOwnAndAnyFolderByItsOwnerAndPermissions) {
  const TTokens tokens;
  ASSERT_TRUE(tokens.Full && tokens.Plain && RunsAsAdministrator());
  const TDescriptor program = ProgramFolderDescriptor(), own = PrivateFolderDescriptor();
  EXPECT_EQ(ACCESS_MASK(FILE_ALL_ACCESS), Allowed(tokens.Full, program.get()));
  EXPECT_EQ(ACCESS_MASK(FILE_GENERIC_READ | FILE_GENERIC_EXECUTE), Allowed(tokens.Plain, program.get()));
  EXPECT_EQ(ACCESS_MASK(FILE_ALL_ACCESS), Allowed(tokens.Full, own.get()));
  EXPECT_EQ(ACCESS_MASK(0), Allowed(tokens.Plain, own.get()));
  ASSERT_TRUE(ImpersonateLoggedOnUser(tokens.Plain));
  const bool administrator = RunsAsAdministrator();
  const TDescriptor unelevated = PrivateFolderDescriptor();
  RevertToSelf();
  EXPECT_FALSE(administrator);
  EXPECT_EQ(ACCESS_MASK(FILE_ALL_ACCESS), Allowed(tokens.Plain, unelevated.get()));
  // Who may change a folder, from its owner and its list of permissions: the system's program folder
  // and what the installer gives the product's are closed; a drive's root lets every signed-in user
  // change what is made in it, a user may own one, a folder may have no list at all.
  const std::wstring installer = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
  const std::pair<std::wstring, bool> rows[] = {
      {L"O:" + installer + L"D:PAI(A;;FA;;;" + installer + L")(A;OICIIO;GA;;;" + installer + L")(A;;0x1301bf;;;SY)"
       L"(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)(A;OICIIO;GXGR;;;BU)"
       L"(A;OICIIO;GA;;;CO)(A;;0x1200a9;;;AC)(A;OICIIO;GXGR;;;AC)", false},
      {L"O:BAD:AI(A;ID;FA;;;BA)(A;OICIIOID;GA;;;BA)(A;ID;FA;;;SY)(A;OICIIOID;GA;;;SY)(A;OICIID;0x1200a9;;;BU)"
       L"(A;ID;0x1301bf;;;AU)(A;OICIIOID;SDGXGWGR;;;AU)", true},
      {L"O:BAD:P(A;OICI;FA;;;SY)(A;OICIIO;GW;;;BU)(A;OICI;FA;;;BA)", true},
      {L"O:S-1-5-21-1-2-3-1001D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", true},
      {L"O:BAD:P(D;OICI;FA;;;WD)(A;OICI;FA;;;BA)", false},
  };
  for (const auto& [text, open] : rows) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(text.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        << files::Narrow(text);
    EXPECT_EQ(open, OthersMayChange(descriptor)) << files::Narrow(text);
    LocalFree(descriptor);
  }
  EXPECT_FALSE(OthersMayChange(ProgramFolderDescriptor().get())) << "what the product's folder is given";
  // No list at all lets anyone do anything (made by hand: Wine reads "D:NO_ACCESS_CONTROL" as an empty list).
  SECURITY_DESCRIPTOR open{};
  std::vector<BYTE> system = Sid(WinLocalSystemSid);
  ASSERT_TRUE(InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION) &&
              SetSecurityDescriptorOwner(&open, system.data(), FALSE) && SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE));
  EXPECT_TRUE(OthersMayChange(&open));
}

// Folders forced on roots and odd paths. The shortcut goes on a desktop a person sees: run as the system's
// own account, as deployment tools run installers, the one every user's desktop shows; else the user's own.
TEST(Dir, ForceFoldersOnRootsAndOddPathsAndTheShortcutGoesOnADesktopAPersonSees) {
  const std::string folder = files::FreshFolder("force");
  files::Write(folder + "file", "x");
  files::RemoveTree("D:\\force");
  SetCurrentDirectoryA(folder.c_str());
  const std::pair<std::string, bool> rows[] = {{"D:\\", true}, {"D:", true}, {"", false}, {"abc", false}, {"Q:\\A\\B", false},
                                               {"D:\\\\force\\\\D1\\\\D2", true}, {folder + "file\\sub", false}};
  for (const auto& [path, made] : rows) EXPECT_EQ(ForceFolders(path), made) << path;
  SetCurrentDirectoryA("C:\\");
  EXPECT_FALSE(files::IsFolder(folder + "abc") || files::IsFolder("Q:\\A"));
  EXPECT_TRUE(files::IsFolder("D:\\force\\D1\\D2"));
  EXPECT_TRUE(IsLocalSystem(Sid(WinLocalSystemSid).data()));
  EXPECT_FALSE(IsLocalSystem(Sid(WinBuiltinAdministratorsSid).data()) || RunsAsLocalSystem());
  wchar_t common[MAX_PATH] = {}, own[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_COMMON_DESKTOPDIRECTORY, nullptr, 0, common)) &&
              SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, own)));
  EXPECT_EQ(files::Narrow(common) + "\\", DesktopFolder(true));
  EXPECT_EQ(files::Narrow(own) + "\\", DesktopFolder(false));
  EXPECT_NE(DesktopFolder(true), DesktopFolder(false));
  EXPECT_EQ(DesktopFolder(false), DesktopFolder());
}

} // namespace
