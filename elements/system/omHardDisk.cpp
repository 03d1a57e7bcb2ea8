#include "omHardDisk.h"

#include <windows.h>

#include "Paths.h"

namespace {

constexpr uint32_t SizeDivisors[3] = {1, 1024, 1048576};

} // namespace

int32_t FreeSpaceFigure(uint64_t freeClusters, uint32_t sectorsPerCluster, uint32_t bytesPerSector,
                        uint8_t sizeUnit) {
  // The figure is in units of 1,024 bytes before the divisor applies.
  uint64_t kilobytes = (freeClusters / 1024) * sectorsPerCluster * bytesPerSector;
  uint64_t figure = kilobytes / SizeDivisors[sizeUnit < 3 ? sizeUnit : 0];
  return figure > 0x7FFFFFFFu ? 0x7FFFFFFF : int32_t(figure);
}

int32_t DriveFreeSpace(const std::string& root, uint8_t sizeUnit) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  TWideText wide;
  if (!WidePath(root, wide) ||
      !GetDiskFreeSpaceW(wide.data(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
    return 0;
  uint64_t clusters = freeClusters;
  // The 32-bit cluster count saturates on very large drives; the 64-bit byte
  // count gives the true number of free clusters of the same size.
  ULARGE_INTEGER available{}, total{}, free{};
  uint64_t clusterBytes = uint64_t(sectorsPerCluster) * bytesPerSector;
  if (clusterBytes && GetDiskFreeSpaceExW(wide.data(), &available, &total, &free))
    clusters = available.QuadPart / clusterBytes;
  return FreeSpaceFigure(clusters, sectorsPerCluster, bytesPerSector, sizeUnit);
}

void TOMHardDisk::varFreeSpace(TData& buffer, uint16_t) {
  std::string drive = ReadPointString(buffer, getDrive, Drive);
  if (drive.size() == 1) drive += ':';
  SetIntegerData(buffer, DriveFreeSpace(drive, SizeUnit));
}
