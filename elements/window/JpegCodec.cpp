// The codec's paths of the picture support that only some programs take:
// encoding an assigned bitmap and the output size at a scale. Linking this
// part installs them (JpegObj.h says why they live apart).
#include <cstring>
#include <vector>

#include "JpegManagers.h"
#include "JpegObj.h"

namespace {

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

// Encodes top-down RGB rows into the stream. Only plain records live in this
// frame, so the long jump skips no destructor.
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

bool Encode(const TJpegBitmap& bitmap, const TJpegSettings& settings, bool progressive, TByteStream& stream) {
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
  return EncodeRows(rows.data(), bitmap.Width, bitmap.Height, settings, progressive, stream);
}

// The header is read as for the picture's own facts, then the decoder is set
// up as the settings ask and the codec computes the size it would deliver.
bool ScaledSize(const uint8_t* bytes, size_t size, const TJpegSettings& decode, int32_t& width, int32_t& height) {
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
  codec.scale_num = 1;
  codec.scale_denom = 1u << (decode.Scale & 3);
  codec.do_block_smoothing = decode.Smoothing ? TRUE : FALSE;
  if (decode.Grayscale) codec.out_color_space = JCS_GRAYSCALE;
  if (decode.PixelFormat8 || decode.Grayscale) {
    codec.quantize_colors = TRUE;
    codec.desired_number_of_colors = 236;
  }
  if (decode.Performance) {
    codec.dct_method = JDCT_IFAST;
    codec.two_pass_quantize = FALSE;
    codec.dither_mode = JDITHER_ORDERED;
  }
  if (decode.ProgressiveDisplay && jpeg_has_multiple_scans(&codec)) codec.buffered_image = TRUE;
  jpeg_calc_output_dimensions(&codec);
  width = int32_t(codec.output_width);
  height = int32_t(codec.output_height);
  jpeg_destroy_decompress(&codec);
  return true;
}

const TJpegCodecPaths Paths = {Encode, ScaledSize};

// Installed as the program starts, before any picture is asked to encode or scale.
struct TInstall {
  TInstall() { JpegCodecPaths = &Paths; }
} Install;

} // namespace
