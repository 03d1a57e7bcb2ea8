#pragma once
#include "Share.h"

// Free space of a drive in kilobytes, megabytes or gigabytes (SizeUnit 0, 1, 2).
class TOMHardDisk : public TOMObject {
public:
  std::string Drive;
  uint8_t SizeUnit = 0;
  TPointLink getDrive;

  void varFreeSpace(TData& buffer, uint16_t index);
};

// (free clusters / 1024) x sectors per cluster x bytes per sector / divisor of
// SizeUnit, in 64-bit arithmetic so that large drives do not wrap; a figure
// beyond the 32-bit range is held at its largest value.
int32_t FreeSpaceFigure(uint64_t freeClusters, uint32_t sectorsPerCluster, uint32_t bytesPerSector,
                        uint8_t sizeUnit);
// The figure for a root as the system reports it; 0 when it reports nothing.
int32_t DriveFreeSpace(const std::string& root, uint8_t sizeUnit);
