#include "Resources.h"

#include <windows.h>

#include <cstring>

namespace {

// The resource compiler stores names in capitals and the system's lookup
// upper-cases the name it is given, so Str1 finds STR1.
HRSRC FindOwnResource(const std::string& name) {
  return FindResourceA(GetModuleHandleA(nullptr), name.c_str(), MAKEINTRESOURCEA(OmbrelResourceType));
}

// The resource's bytes, valid for the life of the module.
bool ResourceBytes(const std::string& name, const char*& bytes, DWORD& size) {
  HRSRC info = FindOwnResource(name);
  if (!info) return false;
  HGLOBAL loaded = LoadResource(GetModuleHandleA(nullptr), info);
  if (!loaded) return false;
  bytes = static_cast<const char*>(LockResource(loaded));
  size = SizeofResource(GetModuleHandleA(nullptr), info);
  return bytes != nullptr;
}

} // namespace

std::string LoadResourceText(const std::string& name) {
  const char* bytes = nullptr;
  DWORD size = 0;
  if (!ResourceBytes(name, bytes, size)) return std::string();
  const void* nul = std::memchr(bytes, '\0', size);
  return std::string(bytes, nul ? static_cast<const char*>(nul) : bytes + size);
}

std::unique_ptr<TByteStream> LoadResourceStream(const std::string& name) {
  std::unique_ptr<TByteStream> stream = CreateMemoryStream();
  const char* bytes = nullptr;
  DWORD size = 0;
  if (ResourceBytes(name, bytes, size)) stream->Write(bytes, size);
  stream->SetPosition(0);
  return stream;
}
