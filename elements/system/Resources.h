// The program's own resources of type 100: texts and binary streams, looked up
// by name ignoring letter case.
#pragma once

#include <memory>
#include <string>

#include "ByteStream.h"

constexpr int OmbrelResourceType = 100;

// The resource's bytes up to the first NUL; empty text when not found.
std::string LoadResourceText(const std::string& name);
// A new memory stream with all bytes of the resource, position 0; empty when
// not found. The caller owns it.
std::unique_ptr<TByteStream> LoadResourceStream(const std::string& name);
