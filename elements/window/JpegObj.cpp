#include "JpegObj.h"

#include <algorithm>
#include <cstring>

#include "JpegManagers.h"

TJpegSettings JpegDefaults;
const TJpegCodecPaths* JpegCodecPaths = nullptr;

namespace {

struct THeaderFacts {
  int32_t Width;
  int32_t Height;
  bool Grayscale;
  bool MultipleScans;
};

// Only plain records live in this frame, so the long jump skips no destructor.
bool ReadHeaderFacts(const uint8_t* bytes, size_t size, THeaderFacts& facts) {
  jpeg_decompress_struct codec;
  std::memset(&codec, 0, sizeof codec);
  TErrorManager errors;
  jpeg_source_mgr source;
  codec.err = InstallErrorManager(errors);
  if (setjmp(errors.Escape)) {
    jpeg_destroy_decompress(&codec);
    return false;
  }
  jpeg_create_decompress(&codec);
  AttachMemorySource(codec, source, bytes, size);
  jpeg_read_header(&codec, TRUE);
  facts.Width = int32_t(codec.image_width);
  facts.Height = int32_t(codec.image_height);
  facts.Grayscale = codec.jpeg_color_space == JCS_GRAYSCALE;
  facts.MultipleScans = jpeg_has_multiple_scans(&codec) != 0;
  jpeg_destroy_decompress(&codec);
  return true;
}

} // namespace

void TJpegPicture::DropData() {
  FData.reset();
  FWidth = FHeight = 0;
  FGrayscale = false;
}

bool TJpegPicture::ReadHeader() {
  // The header is read from as few of the first bytes as hold it, so that
  // bytes still packed are unpacked only that far.
  THeaderFacts facts{};
  const int64_t size = FData ? FData->Size() : 0;
  if (size <= 0) return false;
  for (int64_t count = std::min<int64_t>(size, 16384);; count = std::min(size, count * 4)) {
    const uint8_t* bytes = FData->Prefix(count);
    if (bytes && ReadHeaderFacts(bytes, size_t(count), facts)) break;
    if (count == size) return false;
  }
  FWidth = facts.Width;
  FHeight = facts.Height;
  FGrayscale = facts.Grayscale;
  ProgressiveEncoding = facts.MultipleScans ? 1 : 0;
  return FWidth > 0 && FHeight > 0;
}

void TJpegPicture::LoadFromStream(TByteStream& stream, int64_t length) {
  DropData();
  FBitmap.reset();
  if (length > 0) {
    FData = CreateMemoryStream();
    FData->CopyFrom(stream, length);
    if (!ReadHeader()) DropData();
  }
  if (OnChange) OnChange(*this);
}

void TJpegPicture::AssignBitmap(std::unique_ptr<TJpegBitmap> bitmap) {
  DropData();
  FBitmap = std::move(bitmap);
  if (FBitmap) {
    FWidth = FBitmap->Width;
    FHeight = FBitmap->Height;
  }
}

void TJpegPicture::Encode() {
  const TJpegBitmap& bitmap = *FBitmap;
  if (!JpegCodecPaths || bitmap.Width <= 0 || bitmap.Height <= 0 || bitmap.RowStep < bitmap.Width * 3 ||
      bitmap.Pixels.size() < size_t(bitmap.RowStep) * size_t(bitmap.Height))
    return;
  if (OnProgressStart) OnProgressStart(*this);
  std::unique_ptr<TByteStream> encoded = CreateMemoryStream();
  if (JpegCodecPaths->Encode(bitmap, Settings, ProgressiveEncoding != 0, *encoded)) {
    FData = std::move(encoded);
    if (!ReadHeader()) DropData();
  }
  if (OnProgressEnd) OnProgressEnd(*this);
}

void TJpegPicture::SaveToStream(TByteStream& stream) {
  if (!FData && FBitmap) Encode();
  if (!FData) return;
  FData->SetPosition(0);
  stream.CopyFrom(*FData, FData->Size());
}

bool TJpegPicture::SaveToFile(const std::string& name, uint32_t* error) {
  if (error) *error = 0;
  if (Empty()) return false;
  std::unique_ptr<TByteStream> file = OpenWriteStream(name);
  SaveToStream(*file);
  const int64_t written = file->Position();
  // The file takes its place whole or not at all.
  const uint32_t failed = file->Close();
  if (error) *error = failed;
  return written != 0;
}

void TJpegPicture::ScaledSize(int32_t& width, int32_t& height) const {
  width = FWidth;
  height = FHeight;
  if (Settings.Scale != 0 && JpegCodecPaths && FData && FData->Size() > 0)
    JpegCodecPaths->ScaledSize(FData->Memory(), size_t(FData->Size()), Settings, width, height);
}

int32_t TJpegPicture::Width() const {
  int32_t width = 0, height = 0;
  ScaledSize(width, height);
  return width;
}

int32_t TJpegPicture::Height() const {
  int32_t width = 0, height = 0;
  ScaledSize(width, height);
  return height;
}
