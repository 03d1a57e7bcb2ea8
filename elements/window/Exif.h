#pragma once

// Names of the EXIF Orientation tag's values, indexed by the value (1..8);
// entry 0 is empty text, as no tag has that value.
extern const char* const ExifOrientationNames[9];

// The name for a tag value; empty text for a value outside 1..8.
const char* ExifOrientationName(int value);
