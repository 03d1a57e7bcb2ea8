#pragma once
#include <memory>

#include "JpegObj.h"
#include "Share.h"

// Holds one JPEG picture and writes it to a file on inSave.
class TOMJpeg : public TOMObject {
public:
  TJpegPicture Picture;
  TPointLink getFileName;

  // Loads from the stream's position to its end; the stream is freed here.
  void LoadFromStream(std::unique_ptr<TByteStream> stream);
  void inSave(TData& value, uint16_t index);
};
