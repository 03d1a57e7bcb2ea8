// The codec's managers both parts of the picture support hand it: errors that
// end the codec call, and a source reading the held bytes in memory.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>

// No windows.h beside this: its 'boolean' differs from the codec's.
extern "C" {
#include <jpeglib.h>
}

// Fatal errors jump to Escape, set by the call that started the codec.
struct TErrorManager {
  jpeg_error_mgr Public;
  jmp_buf Escape;
};

jpeg_error_mgr* InstallErrorManager(TErrorManager& manager);
void AttachMemorySource(jpeg_decompress_struct& codec, jpeg_source_mgr& source, const uint8_t* bytes, size_t size);
