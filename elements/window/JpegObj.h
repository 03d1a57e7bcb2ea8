// A JPEG picture kept as its file's bytes, with the facts of its header.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ByteStream.h"

struct TJpegSettings {
  uint8_t Quality = 90;           // encoder quality 1..100, baseline tables
  uint8_t Grayscale = 0;          // decode/encode one channel
  uint8_t Performance = 0;        // fast integer DCT, one-pass quantisation, ordered dither
  uint8_t PixelFormat8 = 0;       // decode quantised to 236 colours
  uint8_t ProgressiveDisplay = 0; // buffered-image decoding of multi-scan files
  uint8_t ProgressiveEncoding = 0;
  uint8_t Scale = 0;              // decode at 1/2^Scale of the full size
  uint8_t Smoothing = 1;          // block smoothing when decoding
};

// What every new picture starts with.
extern TJpegSettings JpegDefaults;

// 24-bit pixels, rows bottom-up as the window layer stores them (B, G, R per pixel).
struct TJpegBitmap {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t RowStep = 0; // bytes from one stored row to the next
  std::vector<uint8_t> Pixels;
};

// The codec's paths a picture takes only when asked to: encoding an assigned
// bitmap, and the output size at a Scale other than 0. They are a library of
// their own (JpegCodec.cpp, ombrel_jpeg_codec), which installs them here when
// a program links it, so that a program that never takes them carries none of
// the codec's encoder and decoder set-up. Without them an assigned bitmap
// saves nothing and a picture has its full size at every Scale.
struct TJpegCodecPaths {
  // Bottom-up B, G, R rows to a JPEG file in the stream; false if the codec failed.
  bool (*Encode)(const TJpegBitmap& bitmap, const TJpegSettings& settings, bool progressive, TByteStream& stream);
  // The size the file decodes to with these settings; false if its header is unreadable.
  bool (*ScaledSize)(const uint8_t* bytes, size_t size, const TJpegSettings& settings, int32_t& width,
                     int32_t& height);
};

// Null unless the program links the codec's paths.
extern const TJpegCodecPaths* JpegCodecPaths;

class TJpegPicture {
public:
  TJpegPicture() : Settings(JpegDefaults), ProgressiveEncoding(JpegDefaults.ProgressiveEncoding) {}
  TJpegPicture(const TJpegPicture&) = delete;
  TJpegPicture& operator=(const TJpegPicture&) = delete;

  // Takes length bytes from the stream's position and reads only the header.
  // Anything that is not a readable JPEG header leaves the picture empty.
  void LoadFromStream(TByteStream& stream, int64_t length);
  // Writes the held bytes unchanged; false (and no file) when empty, true if
  // bytes were written. error (when given) gets 0, or the system error of the
  // open or write that failed (also when fewer bytes than held were written).
  bool SaveToFile(const std::string& name, uint32_t* error = nullptr);
  void SaveToStream(TByteStream& stream);
  // A bitmap to encode on the next save; drops the held bytes.
  void AssignBitmap(std::unique_ptr<TJpegBitmap> bitmap);

  int32_t Width() const;
  int32_t Height() const;
  bool Grayscale() const { return FGrayscale; }
  bool Empty() const { return Width() == 0 || Height() == 0; }
  // The held bytes, null when there are none.
  const TByteStream* Data() const { return FData.get(); }

  TJpegSettings Settings;
  uint8_t ProgressiveEncoding;
  std::function<void(TJpegPicture&)> OnChange;
  std::function<void(TJpegPicture&)> OnProgressStart; // around encoding; unset here
  std::function<void(TJpegPicture&)> OnProgressEnd;

private:
  void DropData();
  bool ReadHeader();
  void Encode();
  void ScaledSize(int32_t& width, int32_t& height) const;

  std::unique_ptr<TByteStream> FData;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  bool FGrayscale = false;
  std::unique_ptr<TJpegBitmap> FBitmap;
};
