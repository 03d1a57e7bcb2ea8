#include "Exif.h"

const char* const ExifOrientationNames[9] = {
    "",
    "Normal",
    "Mirrored",
    "Rotated 180",
    "Rotated 180, mirrored",
    "Rotated 90 left, mirrored",
    "Rotated 90 right",
    "Rotated 90 right, mirrored",
    "Rotated 90 left",
};

const char* ExifOrientationName(int value) { return value >= 1 && value <= 8 ? ExifOrientationNames[value] : ""; }
