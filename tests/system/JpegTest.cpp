// The JPEG picture: header facts, byte-exact saves, damaged input, encoding.
#include <gtest/gtest.h>

#include "Paths.h"
#include "Resources.h"
#include "TestSupport.h"
#include "omJpeg.h"

using namespace systest;

namespace {

std::unique_ptr<TByteStream> StreamOf(const std::string& bytes) {
  auto stream = CreateMemoryStream();
  stream->Write(bytes.data(), int64_t(bytes.size()));
  stream->SetPosition(0);
  return stream;
}

bool LoadsAsEmpty(const std::string& bytes) {
  TJpegPicture picture;
  auto stream = StreamOf(bytes);
  picture.LoadFromStream(*stream, stream->Size());
  return picture.Empty() && picture.Data() == nullptr;
}

} // namespace

TEST(Jpeg, ResourceLoadedAndSavedTwiceIsByteExact) {
  const std::string source = FileBytes(DataFile("sample.jpg"));
  std::string folder = FreshFolder("jpeg");
  TOMJpeg element;
  element.LoadFromStream(LoadResourceStream("STREAM1"));
  EXPECT_EQ(std::make_pair(element.Picture.Width(), element.Picture.Height()), std::make_pair(48, 32));
  EXPECT_FALSE(element.Picture.Grayscale());
  EXPECT_EQ(element.Picture.ProgressiveEncoding, 0);

  WriteWholeFile(folder + "two.jpg", std::string(source.size() * 3, '\x55')); // longer old file
  for (const char* name : {"one.jpg", "two.jpg"}) {
    Send<&TOMJpeg::inSave>(element, StringData(folder + name));
    EXPECT_EQ(FileBytes(folder + name), source);
  }
  // A bare name lands beside the program; a missing folder is not made.
  const std::string beside = ProgramFolder() + "systest-picture.jpg";
  DeleteFileA(beside.c_str());
  Send<&TOMJpeg::inSave>(element, StringData("systest-picture.jpg"));
  EXPECT_EQ(FileBytes(beside), source);
  DeleteFileA(beside.c_str());
  EXPECT_FALSE(element.Picture.SaveToFile(folder + "no\\a.jpg"));
  EXPECT_FALSE(Exists(folder + "no"));
}

TEST(Jpeg, LoadsFromTheStreamPositionToItsEnd) {
  const std::string source = FileBytes(DataFile("progressive-gray.jpg"));
  auto stream = StreamOf("junk" + source);
  stream->SetPosition(4);
  TJpegPicture picture;
  int changes = 0;
  picture.OnChange = [&](TJpegPicture&) { ++changes; };
  picture.LoadFromStream(*stream, stream->Size() - stream->Position());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(std::make_pair(picture.Width(), picture.Height()), std::make_pair(24, 40));
  EXPECT_TRUE(picture.Grayscale());
  EXPECT_EQ(picture.ProgressiveEncoding, 1);
  ASSERT_TRUE(picture.Data());
  EXPECT_EQ(picture.Data()->Size(), int64_t(source.size()));

  picture.Settings.Scale = 1; // the decoder's output size
  EXPECT_EQ(std::make_pair(picture.Width(), picture.Height()), std::make_pair(12, 20));
}

TEST(Jpeg, DamagedOrMissingDataLeavesThePictureEmpty) {
  const std::string source = FileBytes(DataFile("sample.jpg"));
  EXPECT_TRUE(LoadsAsEmpty("this is not a picture"));
  EXPECT_TRUE(LoadsAsEmpty(source.substr(0, 20)));  // cut inside the header
  EXPECT_TRUE(LoadsAsEmpty(std::string("\xFF\xD8\xFF\xC0\x00\x02", 6) + std::string(64, '\xFF')));
  EXPECT_TRUE(LoadsAsEmpty(std::string("\xFF\xD8", 2) + std::string(300, '\x00')));
  std::string zeroSize = source;
  size_t frame = zeroSize.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  zeroSize[frame + 5] = zeroSize[frame + 6] = 0; // height 0
  EXPECT_TRUE(LoadsAsEmpty(zeroSize));

  // Empty and exhausted streams.
  TOMJpeg element;
  element.LoadFromStream(CreateMemoryStream());
  EXPECT_TRUE(element.Picture.Empty());
  auto exhausted = StreamOf(source);
  exhausted->SetPosition(exhausted->Size());
  element.LoadFromStream(std::move(exhausted));
  EXPECT_TRUE(element.Picture.Empty());

  // A picture that held data and then failed to load is empty again; a later
  // save creates no file.
  element.LoadFromStream(StreamOf(source));
  EXPECT_FALSE(element.Picture.Empty());
  element.LoadFromStream(StreamOf("GIF89a"));
  EXPECT_TRUE(element.Picture.Empty());
  std::string folder = FreshFolder("jpegempty");
  Send<&TOMJpeg::inSave>(element, StringData(folder + "none.jpg"));
  EXPECT_FALSE(Exists(folder + "none.jpg"));
  EXPECT_FALSE(element.Picture.SaveToFile(folder + "none.jpg"));
}

TEST(Jpeg, EncodesAnAssignedBitmap) {
  auto bitmap = std::make_unique<TJpegBitmap>();
  bitmap->Width = 16;
  bitmap->Height = 8;
  bitmap->RowStep = 48;
  bitmap->Pixels.assign(48 * 8, 0);
  for (size_t i = 0; i < bitmap->Pixels.size(); i += 3) bitmap->Pixels[i + 2] = 0xFF; // red
  TJpegPicture picture;
  picture.AssignBitmap(std::move(bitmap));
  EXPECT_EQ(picture.Width(), 16);
  std::string folder = FreshFolder("jpegenc");
  ASSERT_TRUE(picture.SaveToFile(folder + "enc.jpg"));
  std::string bytes = FileBytes(folder + "enc.jpg");
  ASSERT_GT(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xD8");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\xFF\xD9");

  TJpegPicture again;
  auto stream = StreamOf(bytes);
  again.LoadFromStream(*stream, stream->Size());
  EXPECT_EQ(std::make_pair(again.Width(), again.Height()), std::make_pair(16, 8));
}
