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
    InstallLog().Add(name, NoPictureCode,
                     "\xCD\xE5\xF2 \xE4\xE0\xED\xED\xFB\xF5 \xF0\xE8\xF1\xF3\xED\xEA\xE0: "
                     "\xF0\xE5\xF1\xF3\xF0\xF1 \xED\xE5 \xED\xE0\xE9\xE4\xE5\xED \xE8\xEB\xE8 "
                     "\xEF\xEE\xE2\xF0\xE5\xE6\xE4\xB8\xED"); // "Нет данных рисунка: ресурс не найден или повреждён"
  else if (error != 0)
    InstallLog().Add(name, error);
}
