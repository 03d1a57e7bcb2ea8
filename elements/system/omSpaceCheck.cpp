#include "omSpaceCheck.h"

#include <windows.h>

#include "Paths.h"

int64_t FolderFreeBytes(const std::string& folder) {
  TWideText wide;
  ULARGE_INTEGER available{};
  if (!WidePath(folder, wide) || !GetDiskFreeSpaceExW(wide.data(), &available, nullptr, nullptr)) return -1;
  return available.QuadPart > uint64_t(INT64_MAX) ? INT64_MAX : int64_t(available.QuadPart);
}

void TOMSpaceCheck::inCheck(TData& value, uint16_t) {
  const TData event = value; // the folder may be read from the event itself
  const int64_t free = FolderFreeBytes(ReadPointString(value, getFolder, std::string()));
  if (free >= 0 && free < Needed) FireNull(outShort);
  else ForwardValue(value, outEnough, event);
}
