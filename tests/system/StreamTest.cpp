// Line lists, byte streams, resources and the elements that write them to disk.
#include <gtest/gtest.h>

#include "ByteStream.h"
#include "LineList.h"
#include "Resources.h"
#include "TestSupport.h"
#include "omFileStream.h"
#include "omStrList.h"

using namespace systest;

namespace {

class StreamTest : public ::testing::Test {
protected:
  void SetUp() override { StartDispatch(); }
  void TearDown() override { StopDispatch(); }
};

std::vector<std::string> LinesOf(const std::string& text) {
  TLineList list;
  list.AssignText(text);
  std::vector<std::string> lines;
  for (size_t i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
  return lines;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(LineList, SplitsAtCrAndCrLfOnly) {
  EXPECT_EQ(LinesOf("x\r\ny"), (Lines{"x", "y"}));
  EXPECT_EQ(LinesOf("x\r\n"), (Lines{"x"}));
  EXPECT_EQ(LinesOf("x\ry"), (Lines{"x", "y"}));
  EXPECT_EQ(LinesOf("\r\n"), (Lines{""}));
  EXPECT_EQ(LinesOf("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(LinesOf("a\nb\tc "), (Lines{"a\nb\tc "})); // a lone LF is text
  EXPECT_EQ(LinesOf(std::string("a\r\nb\0c\r\nd", 9)), (Lines{"a", "b"}));
  EXPECT_TRUE(LinesOf("").empty());
  EXPECT_EQ(LinesOf("one line"), (Lines{"one line"}));
  EXPECT_EQ(LinesOf("\xC8\xED\xF4\xEE"), (Lines{"\xC8\xED\xF4\xEE"})); // CP1251 bytes untouched
}

TEST(LineList, JoinAddsCrLfAfterEveryLine) {
  TLineList list;
  list.AssignText("x\r\ny\r\nz");
  EXPECT_EQ(list.JoinLines(), "x\r\ny\r\nz\r\n");
  list.AssignText("");
  EXPECT_EQ(list.JoinLines(), "");
}

TEST(Resources, TextStopsAtNulAndNamesIgnoreCase) {
  EXPECT_EQ(LoadResourceText("STR1"), "x\r\ny\r\nz");
  EXPECT_EQ(LoadResourceText("Str1"), "x\r\ny\r\nz");
  EXPECT_EQ(LoadResourceText("str2"), "one line");
  // Written in mixed case in the script: found by any spelling.
  EXPECT_EQ(LoadResourceText("MIXEDNAME"), "first\r\nsecond");
  EXPECT_EQ(LoadResourceText("mixedname"), "first\r\nsecond");
  EXPECT_EQ(LoadResourceText("Str99"), "");
}

TEST(Resources, StreamHoldsEveryByteAtPositionZero) {
  std::unique_ptr<TByteStream> stream = LoadResourceStream("Stream1");
  ASSERT_TRUE(stream);
  EXPECT_EQ(stream->Position(), 0);
  std::string expected = FileBytes(DataFile("sample.jpg"));
  ASSERT_EQ(stream->Size(), int64_t(expected.size()));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream->Memory()), expected.size()), expected);

  std::unique_ptr<TByteStream> missing = LoadResourceStream("STREAM9");
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->Size(), 0);
}

TEST(ByteStream, MemoryReadWriteAndSize) {
  auto stream = CreateMemoryStream();
  EXPECT_EQ(stream->Write("abcdef", 6), 6);
  stream->SetPosition(2);
  EXPECT_EQ(stream->Write("XY", 2), 2);
  EXPECT_EQ(stream->Size(), 6); // overwrite inside does not grow
  stream->SetPosition(5);
  EXPECT_EQ(stream->Write("12", 2), 2);
  EXPECT_EQ(stream->Size(), 7);
  stream->SetPosition(0);
  char buffer[16] = {};
  EXPECT_EQ(stream->Read(buffer, sizeof buffer), 7);
  EXPECT_EQ(std::string(buffer, 7), "abXYe12");
  EXPECT_EQ(stream->Read(buffer, 4), 0);
  stream->SetSize(3);
  EXPECT_EQ(stream->Position(), 3);
}

TEST(ByteStream, FileKindsKeepTheirDirection) {
  std::string folder = FreshFolder("kinds");
  std::string path = folder + "f.bin";
  WriteWholeFile(path, "0123456789");

  {
    auto reader = OpenReadStream(path);
    EXPECT_TRUE(reader->IsOpen());
    EXPECT_EQ(reader->Write("zz", 2), 0);
    char buffer[4] = {};
    EXPECT_EQ(reader->Read(buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 4), "0123");
  }
  {
    // Read-write: writes in place, the file is not cut.
    auto both = OpenReadWriteStream(path);
    both->SetPosition(2);
    EXPECT_EQ(both->Write("ab", 2), 2);
  }
  EXPECT_EQ(FileBytes(path), "01ab456789");
  {
    // Write: the file ends right after the last bytes written.
    auto writer = OpenWriteStream(path);
    char buffer[4] = {};
    EXPECT_EQ(writer->Read(buffer, 4), 0);
    EXPECT_EQ(writer->Write("new", 3), 3);
  }
  EXPECT_EQ(FileBytes(path), "new");

  auto missing = OpenReadStream(folder + "none.bin");
  EXPECT_FALSE(missing->IsOpen());
  char buffer[4];
  EXPECT_EQ(missing->Read(buffer, 4), 0);
  auto created = OpenReadWriteStream(folder + "created.bin");
  EXPECT_EQ(created->Write("c", 1), 1);
  created.reset();
  EXPECT_EQ(FileBytes(folder + "created.bin"), "c");
}

TEST(ByteStream, CopyFromEachDirection) {
  std::string folder = FreshFolder("copy");
  auto memory = CreateMemoryStream();
  memory->Write("hello world", 11);
  memory->SetPosition(6);
  {
    auto file = OpenWriteStream(folder + "a.bin");
    // From memory: never past the source's end; the source position advances.
    EXPECT_EQ(file->CopyFrom(*memory, 100), 5);
    EXPECT_EQ(memory->Position(), 11);
  }
  EXPECT_EQ(FileBytes(folder + "a.bin"), "world");

  auto reader = OpenReadStream(folder + "a.bin");
  auto target = CreateMemoryStream();
  target->Write("12", 2);
  EXPECT_EQ(target->CopyFrom(*reader, 100), 5); // into memory: grows only by what was read
  EXPECT_EQ(target->Size(), 7);

  reader->SetPosition(1);
  {
    auto file = OpenWriteStream(folder + "b.bin");
    EXPECT_EQ(file->CopyFrom(*reader, 3), 3); // file to file through a buffer
  }
  EXPECT_EQ(FileBytes(folder + "b.bin"), "orl");
}

TEST_F(StreamTest, StrListSavesResourceLinesWithCrLf) {
  std::string folder = FreshFolder("strlist");
  TOMStrList list, empty;
  list.FileName = "ignored";
  list.SetStrings(LoadResourceText("Str1"));
  EXPECT_EQ(list.FileName, "");
  TDialogWatcher watcher;
  // Over a longer file: exactly the new bytes, nothing of the old tail; saving
  // again rewrites the same bytes.
  WriteWholeFile(folder + "a.txt", std::string(100, 'o'));
  for (uint16_t index : {0, 7}) {
    Send<&TOMStrList::inSave>(list, StringData(folder + "a.txt"), index);
    EXPECT_EQ(FileBytes(folder + "a.txt"), "x\r\ny\r\nz\r\n");
  }
  // A missing folder: nothing is created and nothing is shown.
  Send<&TOMStrList::inSave>(list, StringData(folder + "missing\\a.txt"));
  EXPECT_FALSE(Exists(folder + "missing"));
  EXPECT_TRUE(watcher.Seen().empty());
  // An empty list leaves a 0-byte file, also over existing content.
  empty.SetStrings(LoadResourceText("NoSuchText"));
  WriteWholeFile(folder + "e.txt", "old");
  for (const char* name : {"e.txt", "new-empty.txt"}) {
    Send<&TOMStrList::inSave>(empty, StringData(folder + name));
    EXPECT_TRUE(Exists(folder + name));
    EXPECT_EQ(FileBytes(folder + name), "");
  }
}

TEST_F(StreamTest, StrListPassesTheNameUnchanged) {
  std::string drive = TestDrive();
  ASSERT_FALSE(drive.empty());
  std::string folder = FreshFolder("dbl");
  TOMStrList list;
  list.SetStrings("line");
  // A doubled backslash reaches the file system as it is; the system treats it
  // as one separator, so the file lands in the folder.
  Send<&TOMStrList::inSave>(list, StringData(drive + "\\\\dbl\\\\b.txt"));
  EXPECT_EQ(FileBytes(drive + "\\dbl\\b.txt"), "line\r\n");
  // No macro expansion and no program folder: a bare name is relative to the
  // current folder, macro text and all.
  char previous[MAX_PATH] = {}, temp[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(folder.c_str());
  Send<&TOMStrList::inSave>(list, StringData("%tmpdir%x.txt"));
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(FileBytes(folder + "%tmpdir%x.txt"), "line\r\n");
  GetTempPathA(MAX_PATH, temp);
  EXPECT_FALSE(Exists(std::string(temp) + "x.txt"));
}

namespace {

struct TOpenProbe : TOMObject {
  std::vector<TByteStream*> Opened;
  void inOpened(TData& value, uint16_t) { Opened.push_back(value.Kind == dkStream ? value.StreamValue : nullptr); }
};

// The one error box a step showed, as "caption|text".
std::string OnlyBox(TDialogWatcher& watcher) {
  auto seen = watcher.Seen();
  EXPECT_EQ(seen.size(), 1u);
  return seen.empty() ? "" : seen[0].Caption + "|" + seen[0].Text;
}

} // namespace

TEST_F(StreamTest, FileStreamReadModeShowsItsTwoMessages) {
  std::string folder = FreshFolder("fsread");
  TOpenProbe probe;
  TOMFileStream element;
  element.Mode = TOMFileStream::fmRead;
  element.outOpen = MakePointLink<&TOpenProbe::inOpened>(0, &probe);
  {
    TDialogWatcher watcher;
    Send<&TOMFileStream::inOpen>(element, StringData(folder + "missing.bin"));
    EXPECT_EQ(OnlyBox(watcher), "File stream Error|File name not found!");
  }
  EXPECT_FALSE(element.Stream);
  EXPECT_TRUE(probe.Opened.empty());

  WriteWholeFile(folder + "there.bin", "keep");
  auto source = CreateMemoryStream();
  source->Write("written", 7);
  {
    TDialogWatcher watcher;
    Send<&TOMFileStream::inOpen>(element, StringData(folder + "there.bin"));
    ASSERT_TRUE(element.Stream);
    EXPECT_EQ(probe.Opened, std::vector<TByteStream*>{element.Stream.get()});
    Send<&TOMFileStream::inWrite>(element, StreamData(source.get()));
    EXPECT_EQ(OnlyBox(watcher), "File stream Error|Please set Mode property to Write");
  }
  Send<&TOMFileStream::inClose>(element, TData());
  EXPECT_FALSE(element.Stream);
  EXPECT_EQ(FileBytes(folder + "there.bin"), "keep");
}

TEST_F(StreamTest, FileStreamWriteModeWritesTheWholeSource) {
  std::string folder = FreshFolder("fswrite");
  WriteWholeFile(folder + "out.bin", std::string(30, '-'));
  TOMFileStream element, automatic;
  element.Mode = automatic.Mode = TOMFileStream::fmWrite;
  element.FileName = folder + "out.bin";
  Send<&TOMFileStream::inOpen>(element, TData());
  ASSERT_TRUE(element.Stream);
  auto source = CreateMemoryStream();
  source->Write("0123456789", 10); // its position is now at its end
  Send<&TOMFileStream::inWrite>(element, StreamData(source.get()));
  Send<&TOMFileStream::inWrite>(element, StringData("not a stream")); // ignored
  Send<&TOMFileStream::inClose>(element, TData());
  EXPECT_EQ(FileBytes(folder + "out.bin"), "0123456789");

  // AutoOpen opens for the write and closes again afterwards.
  automatic.AutoOpen = 1;
  automatic.FileName = folder + "auto.bin";
  Send<&TOMFileStream::inWrite>(automatic, StreamData(source.get()));
  EXPECT_FALSE(automatic.Stream);
  EXPECT_EQ(FileBytes(folder + "auto.bin"), "0123456789");
}
