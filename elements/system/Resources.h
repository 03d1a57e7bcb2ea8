// The program's own data: texts and binary streams of type 100 and the side
// pictures, looked up by name ignoring letter case. They travel compressed in
// an archive appended to the program file, after its last section, and are
// unpacked when they are read; the archive also holds a digest of every
// payload item, the icon and manifest the system reads among them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ByteStream.h"

// The resource's bytes up to the first NUL; empty text when not found. The
// payload's texts are code page 1251, kept as they are (Text.h). Of a block
// of several texts, only as much is unpacked as reaches the end of this one.
std::string LoadResourceText(const std::string& name);
// A new memory stream with all bytes of the resource, position 0; empty when
// not found. The bytes are unpacked as far as the stream's reads need them
// and in idle time (UnpackPayloadSlice), and checked against their digest
// when the stream is used whole (a file written of it): never at the start.
// The caller owns it.
std::unique_ptr<TByteStream> LoadResourceStream(const std::string& name);
// The resource will be read: its bytes are unpacked in idle time too.
void WantResource(const std::string& name);
// Unpacks a slice (a few milliseconds) of what the streams made so far will
// need; true while some is left. For the time the program waits for the
// person.
bool UnpackPayloadSlice();
// The bytes the decoder has made since the start.
size_t PayloadBytesUnpacked();
// A bitmap of the screen's format made from a picture of the payload, as
// the system makes one of a bitmap resource; null when not found. The
// caller owns it.
HBITMAP LoadResourceBitmap(const std::string& name);

// Whether the program file carries its payload as it was built: the archive
// whole, every packed block and the icon and manifest resources equal to
// their digests. A copy damaged on the way or cut short fails. It reads the
// packed bytes only: each item's own digest is checked as it is unpacked.
bool PayloadIntact();

// What to do when an item cannot be unpacked or its bytes are not the ones
// built, although the check above passed (the file changed under the running
// program): the program says it is damaged and ends. Without one, the item
// reads as missing.
void SetPayloadFault(void (*fault)());

// The program file as it is on disk, mapped for the life of the process;
// empty when it cannot be read.
std::string_view ProgramFileBytes();
// Where what the linker wrote ends in a program file's bytes (the sections,
// then a symbol table with its strings); anything appended (the archive, an
// uninstaller's record, a signature) starts there. 0 for no program file.
size_t ImageEnd(const uint8_t* bytes, size_t size);

// CRC-32 (the ZIP and PNG one) of size bytes, continuing from crc.
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);
