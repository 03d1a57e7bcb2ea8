#include "omJpeg.h"

#include "InstallLog.h"
#include "Paths.h"

namespace {

// ERROR_INVALID_DATA: the code an empty picture is recorded with.
constexpr uint32_t NoPictureCode = 13;

} // namespace

void TOMJpeg::LoadFromStream(std::unique_ptr<TByteStream> stream) {
  if (!stream) return;
  Picture.LoadFromStream(*stream, stream->Size() - stream->Position());
}

void TOMJpeg::inSave(TData& value, uint16_t) {
  const std::string name = FullFileName(ReadPointString(value, getFileName, std::string()));
  uint32_t error = 0;
  Picture.SaveToFile(name, &error);
  // A picture whose resource was missing or unreadable is empty: it writes no
  // file, which is as much a failure of the installation as a refused write.
  if (Picture.Empty())
    InstallLog().Add(name, NoPictureCode, "Нет данных рисунка: ресурс не найден или повреждён");
  else if (error != 0)
    InstallLog().Add(name, error);
  else
    InstallLog().Wrote(name);
}
