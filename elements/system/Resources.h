// The program's own data: texts and binary streams of type 100, looked up by
// name ignoring letter case. They travel in an archive appended to the
// program file, after its last section; the archive also holds a digest of
// every payload item, the pictures and icon the system reads among them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ByteStream.h"

// The resource's bytes up to the first NUL; empty text when not found. The
// payload's texts are code page 1251, kept as they are (Text.h).
std::string LoadResourceText(const std::string& name);
// A new memory stream with all bytes of the resource, position 0; empty when
// not found. The caller owns it.
std::unique_ptr<TByteStream> LoadResourceStream(const std::string& name);

// Whether the program file carries its payload as it was built: the archive
// whole, and every item, the bitmap and icon resources included, equal to
// its digest. A copy damaged on the way or cut short fails.
bool PayloadIntact();

// CRC-32 (the ZIP and PNG one) of size bytes, continuing from crc.
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);
