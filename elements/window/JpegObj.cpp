#include "JpegObj.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

// No windows.h here: its 'boolean' differs from the codec's.
extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

TJpegSettings JpegDefaults;

namespace {

// The codec's fatal errors jump back to the call that started the codec
// instead of ending the process; its warnings are counted, not shown. The
// whole manager is this one: the codec's standard manager would bring its
// message texts, which nothing here ever shows.
struct TErrorManager {
  jpeg_error_mgr Public;
  jmp_buf Escape;
};

void ErrorExit(j_common_ptr codec) { longjmp(reinterpret_cast<TErrorManager*>(codec->err)->Escape, 1); }
void EmitMessage(j_common_ptr codec, int level) {
  if (level < 0) ++codec->err->num_warnings;
}
void OutputMessage(j_common_ptr) {}
void FormatMessage(j_common_ptr, char* buffer) { buffer[0] = '\0'; }
void ResetErrorManager(j_common_ptr codec) {
  codec->err->num_warnings = 0;
  codec->err->msg_code = 0;
}

jpeg_error_mgr* InstallErrorManager(TErrorManager& manager) {
  jpeg_error_mgr* errors = &manager.Public;
  std::memset(errors, 0, sizeof *errors); // no tracing, no warnings yet, no message table
  errors->error_exit = ErrorExit;
  errors->emit_message = EmitMessage;
  errors->output_message = OutputMessage;
  errors->format_message = FormatMessage;
  errors->reset_error_mgr = ResetErrorManager;
  return errors;
}

// Source: the held bytes in memory. Past their end the codec sees an end-of-image
// marker, so a truncated file ends in an error or a short image, never a read
// beyond the block.
const JOCTET EndOfImage[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr) {}
boolean FillInputBuffer(j_decompress_ptr codec) {
  WARNMS(codec, JWRN_JPEG_EOF);
  codec->src->next_input_byte = EndOfImage;
  codec->src->bytes_in_buffer = sizeof EndOfImage;
  return TRUE;
}
void SkipInputData(j_decompress_ptr codec, long count) {
  if (count <= 0) return;
  while (count > long(codec->src->bytes_in_buffer)) {
    count -= long(codec->src->bytes_in_buffer);
    FillInputBuffer(codec);
  }
  codec->src->next_input_byte += count;
  codec->src->bytes_in_buffer -= size_t(count);
}
void TermSource(j_decompress_ptr) {}

void AttachMemorySource(jpeg_decompress_struct& codec, jpeg_source_mgr& source, const uint8_t* bytes,
                        size_t size) {
  source.init_source = InitSource;
  source.fill_input_buffer = FillInputBuffer;
  source.skip_input_data = SkipInputData;
  source.resync_to_restart = jpeg_resync_to_restart;
  source.term_source = TermSource;
  source.next_input_byte = bytes;
  source.bytes_in_buffer = size;
  codec.src = &source;
}

// Destination: a memory stream, filled in blocks.
struct TStreamDestination {
  jpeg_destination_mgr Public;
  TByteStream* Stream;
  JOCTET Buffer[4096];
};

void InitDestination(j_compress_ptr codec) {
  auto* destination = reinterpret_cast<TStreamDestination*>(codec->dest);
  destination->Public.next_output_byte = destination->Buffer;
  destination->Public.free_in_buffer = sizeof destination->Buffer;
}
boolean EmptyOutputBuffer(j_compress_ptr codec) {
  auto* destination = reinterpret_cast<TStreamDestination*>(codec->dest);
  destination->Stream->Write(destination->Buffer, sizeof destination->Buffer);
  InitDestination(codec);
  return TRUE;
}
void TermDestination(j_compress_ptr codec) {
  auto* destination = reinterpret_cast<TStreamDestination*>(codec->dest);
  destination->Stream->Write(destination->Buffer,
                             int64_t(sizeof destination->Buffer - destination->Public.free_in_buffer));
}

struct THeaderFacts {
  int32_t Width;
  int32_t Height;
  bool Grayscale;
  bool MultipleScans;
};

// Reads the header; with settings given, also the output size they decode to.
// Only plain records live in this frame, so the long jump skips no destructor.
bool ReadHeaderFacts(const uint8_t* bytes, size_t size, const TJpegSettings* decode, THeaderFacts& facts) {
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
  if (decode) {
    codec.scale_num = 1;
    codec.scale_denom = 1u << (decode->Scale & 3);
    codec.do_block_smoothing = decode->Smoothing ? TRUE : FALSE;
    if (decode->Grayscale) codec.out_color_space = JCS_GRAYSCALE;
    if (decode->PixelFormat8 || decode->Grayscale) {
      codec.quantize_colors = TRUE;
      codec.desired_number_of_colors = 236;
    }
    if (decode->Performance) {
      codec.dct_method = JDCT_IFAST;
      codec.two_pass_quantize = FALSE;
      codec.dither_mode = JDITHER_ORDERED;
    }
    if (decode->ProgressiveDisplay && facts.MultipleScans) codec.buffered_image = TRUE;
    jpeg_calc_output_dimensions(&codec);
    facts.Width = int32_t(codec.output_width);
    facts.Height = int32_t(codec.output_height);
  }
  jpeg_destroy_decompress(&codec);
  return true;
}

// Encodes top-down RGB rows into the stream.
bool EncodeRows(JSAMPROW* rows, int32_t width, int32_t height, const TJpegSettings& settings, bool progressive,
                TByteStream& stream) {
  jpeg_compress_struct codec;
  std::memset(&codec, 0, sizeof codec);
  TErrorManager errors;
  TStreamDestination destination;
  codec.err = InstallErrorManager(errors);
  if (setjmp(errors.Escape)) {
    jpeg_destroy_compress(&codec);
    return false;
  }
  jpeg_create_compress(&codec);
  destination.Public.init_destination = InitDestination;
  destination.Public.empty_output_buffer = EmptyOutputBuffer;
  destination.Public.term_destination = TermDestination;
  destination.Stream = &stream;
  codec.dest = &destination.Public;
  codec.image_width = JDIMENSION(width);
  codec.image_height = JDIMENSION(height);
  codec.input_components = 3;
  codec.in_color_space = JCS_RGB;
  jpeg_set_defaults(&codec);
  jpeg_set_quality(&codec, settings.Quality, TRUE);
  if (settings.Grayscale) jpeg_set_colorspace(&codec, JCS_GRAYSCALE);
  if (progressive) jpeg_simple_progression(&codec);
  jpeg_start_compress(&codec, TRUE);
  while (codec.next_scanline < codec.image_height)
    jpeg_write_scanlines(&codec, rows + codec.next_scanline, codec.image_height - codec.next_scanline);
  jpeg_finish_compress(&codec);
  jpeg_destroy_compress(&codec);
  return true;
}

} // namespace

void TJpegPicture::DropData() {
  FData.reset();
  FWidth = FHeight = 0;
  FGrayscale = false;
}

bool TJpegPicture::ReadHeader() {
  THeaderFacts facts{};
  if (!FData || FData->Size() <= 0 ||
      !ReadHeaderFacts(FData->Memory(), size_t(FData->Size()), nullptr, facts))
    return false;
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
  if (bitmap.Width <= 0 || bitmap.Height <= 0 || bitmap.RowStep < bitmap.Width * 3 ||
      bitmap.Pixels.size() < size_t(bitmap.RowStep) * size_t(bitmap.Height))
    return;
  if (OnProgressStart) OnProgressStart(*this);
  // The codec wants top-down RGB; the bitmap holds bottom-up BGR.
  const size_t rowBytes = size_t(bitmap.Width) * 3;
  std::vector<JSAMPLE> rgb(rowBytes * size_t(bitmap.Height));
  std::vector<JSAMPROW> rows(size_t(bitmap.Height));
  for (int32_t y = 0; y < bitmap.Height; ++y) {
    const uint8_t* from = bitmap.Pixels.data() + size_t(bitmap.Height - 1 - y) * size_t(bitmap.RowStep);
    JSAMPLE* to = rgb.data() + size_t(y) * rowBytes;
    for (int32_t x = 0; x < bitmap.Width; ++x) {
      to[3 * x] = from[3 * x + 2];
      to[3 * x + 1] = from[3 * x + 1];
      to[3 * x + 2] = from[3 * x];
    }
    rows[size_t(y)] = to;
  }
  std::unique_ptr<TByteStream> encoded = CreateMemoryStream();
  if (EncodeRows(rows.data(), bitmap.Width, bitmap.Height, Settings, ProgressiveEncoding != 0, *encoded)) {
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
  THeaderFacts facts{};
  if (Settings.Scale != 0 && FData && FData->Size() > 0 &&
      ReadHeaderFacts(FData->Memory(), size_t(FData->Size()), &Settings, facts)) {
    width = facts.Width;
    height = facts.Height;
  }
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
