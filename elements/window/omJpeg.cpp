#include "omJpeg.h"

#include "Paths.h"

void TOMJpeg::LoadFromStream(std::unique_ptr<TByteStream> stream) {
  if (!stream) return;
  Picture.LoadFromStream(*stream, stream->Size() - stream->Position());
}

void TOMJpeg::inSave(TData& value, uint16_t) {
  Picture.SaveToFile(FullFileName(ReadPointString(value, getFileName, std::string())));
}
