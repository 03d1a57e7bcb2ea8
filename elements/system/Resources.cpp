#include "Resources.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace {

constexpr char ArchiveMagic[8] = {'O', 'M', 'B', 'R', 'E', 'L', 'P', 'K'};
enum TEntryKind : uint32_t { ekData = 0, ekBitmap = 1, ekIcon = 2, ekManifest = 3 };

#pragma pack(push, 1)
struct TArchiveHeader {
  char Magic[8];
  uint32_t Count;
  uint32_t Size;     // of the whole archive
  uint32_t TableCrc;  // of the entry table
  uint32_t HeaderCrc; // of the fields before it
};
struct TArchiveEntry {
  char Name[16]; // upper case, NUL-padded
  uint32_t Kind;
  uint32_t Offset; // from the archive's start; data entries only
  uint32_t Size;
  uint32_t Crc;
};
#pragma pack(pop)

// The program file, mapped once for the life of the process, and the archive
// in it. Nothing is checked here: a damaged archive reads as a missing one or
// as wrong bytes, which PayloadIntact tells.
class TPayload {
public:
  TPayload() {
    wchar_t path[MAX_PATH * 2] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2) return;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size{};
    HANDLE mapping = GetFileSizeEx(file, &size) && size.QuadPart > 0
                         ? CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr)
                         : nullptr;
    CloseHandle(file);
    if (!mapping) return;
    View = static_cast<const uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    CloseHandle(mapping); // the view keeps the mapping
    if (!View) return;
    FileSize = size_t(size.QuadPart);
    const size_t start = ImageEnd();
    if (start == 0 || FileSize - start < sizeof(TArchiveHeader)) return;
    Header = reinterpret_cast<const TArchiveHeader*>(View + start);
    if (std::memcmp(Header->Magic, ArchiveMagic, sizeof ArchiveMagic) != 0 ||
        (FileSize - start - sizeof(TArchiveHeader)) / sizeof(TArchiveEntry) < Header->Count) {
      Header = nullptr;
      return;
    }
    Archive = View + start;
    Available = FileSize - start;
  }
  TPayload(const TPayload&) = delete;
  TPayload& operator=(const TPayload&) = delete;

  const TArchiveHeader* Header = nullptr;

  const TArchiveEntry* Entries() const { return reinterpret_cast<const TArchiveEntry*>(Header + 1); }

  // The entry of this name, ignoring letter case, or none.
  const TArchiveEntry* Find(const std::string& name) const {
    if (!Header || name.empty() || name.size() >= sizeof(TArchiveEntry::Name)) return nullptr;
    char upper[sizeof(TArchiveEntry::Name)] = {};
    for (size_t i = 0; i < name.size(); ++i)
      upper[i] = name[i] >= 'a' && name[i] <= 'z' ? char(name[i] - 'a' + 'A') : name[i];
    for (uint32_t i = 0; i < Header->Count; ++i)
      if (std::memcmp(Entries()[i].Name, upper, sizeof upper) == 0) return &Entries()[i];
    return nullptr;
  }

  // The bytes of a data entry, or none when they are not all in the file.
  const char* Bytes(const TArchiveEntry& entry) const {
    if (entry.Kind != ekData || entry.Offset > Available || entry.Size > Available - entry.Offset) return nullptr;
    return reinterpret_cast<const char*>(Archive + entry.Offset);
  }

  // Anything appended later (a signature) lies after the archive.
  bool ArchiveWhole() const {
    return Header && Crc32(Header, offsetof(TArchiveHeader, HeaderCrc)) == Header->HeaderCrc &&
           Header->Size <= Available && Crc32(Entries(), sizeof(TArchiveEntry) * Header->Count) == Header->TableCrc;
  }

private:
  // Where what the linker wrote ends: the sections, then a symbol table with
  // its strings if there is one. The archive starts there.
  size_t ImageEnd() const {
    if (FileSize < sizeof(IMAGE_DOS_HEADER)) return 0;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(View);
    const size_t pe = size_t(dos->e_lfanew);
    if (pe > FileSize || FileSize - pe < sizeof(IMAGE_NT_HEADERS32)) return 0;
    const auto* file = reinterpret_cast<const IMAGE_FILE_HEADER*>(View + pe + 4);
    const size_t table = pe + 4 + sizeof(IMAGE_FILE_HEADER) + file->SizeOfOptionalHeader;
    size_t end = table + sizeof(IMAGE_SECTION_HEADER) * file->NumberOfSections;
    if (end > FileSize) return 0;
    const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(View + table);
    for (WORD i = 0; i < file->NumberOfSections; ++i)
      if (sections[i].SizeOfRawData) end = std::max<size_t>(end, size_t(sections[i].PointerToRawData) + sections[i].SizeOfRawData);
    if (file->PointerToSymbolTable) {
      const size_t strings = size_t(file->PointerToSymbolTable) + 18 * size_t(file->NumberOfSymbols);
      if (strings > FileSize - 4) return 0;
      uint32_t stringsSize = 0;
      std::memcpy(&stringsSize, View + strings, 4);
      end = std::max<size_t>(end, strings + stringsSize);
    }
    return end <= FileSize ? end : 0;
  }

  const uint8_t* View = nullptr;
  size_t FileSize = 0;
  const uint8_t* Archive = nullptr;
  size_t Available = 0;
};

const TPayload& Payload() {
  static const TPayload payload;
  return payload;
}

// The bytes of a resource of the program's module, or none.
bool ResourceBytes(LPCWSTR name, LPCWSTR type, const void*& bytes, DWORD& size) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, name, type);
  HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
  bytes = loaded ? LockResource(loaded) : nullptr;
  size = info ? SizeofResource(module, info) : 0;
  return bytes != nullptr;
}

// The digest of a resource the system reads: a bitmap or the manifest as it
// is stored, an icon group as its directory without the images' ids (they
// only find the images, which follow) and its images in group order.
bool ResourceDigest(const TArchiveEntry& entry, uint32_t& crc) {
  // Names are plain ASCII: each byte is its UTF-16 unit.
  wchar_t name[sizeof entry.Name + 1] = {};
  for (size_t i = 0; i < sizeof entry.Name && entry.Name[i]; ++i) name[i] = wchar_t(uint8_t(entry.Name[i]));
  const void* bytes = nullptr;
  DWORD size = 0;
  if (entry.Kind == ekBitmap || entry.Kind == ekManifest) {
    const bool bitmap = entry.Kind == ekBitmap;
    if (!ResourceBytes(bitmap ? name : MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(bitmap ? 2 : 24), bytes, size))
      return false; // RT_BITMAP, RT_MANIFEST
    crc = Crc32(bytes, size);
    return size == entry.Size;
  }
  if (entry.Kind != ekIcon || !ResourceBytes(name, MAKEINTRESOURCEW(14), bytes, size) || size < 6)
    return false; // RT_GROUP_ICON
  const auto* group = static_cast<const uint8_t*>(bytes);
  const WORD count = WORD(group[4] | group[5] << 8);
  if (size < 6 + 14u * count) return false;
  crc = Crc32(group, 6);
  for (WORD i = 0; i < count; ++i) crc = Crc32(group + 6 + 14 * i, 12, crc);
  DWORD total = 6 + 12u * count;
  for (WORD i = 0; i < count; ++i) {
    const uint8_t* member = group + 6 + 14 * i; // GRPICONDIRENTRY: the id is its last word
    const WORD id = WORD(member[12] | member[13] << 8);
    const void* image = nullptr;
    DWORD imageSize = 0;
    if (!ResourceBytes(MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3), image, imageSize)) return false; // RT_ICON
    crc = Crc32(image, imageSize, crc);
    total += imageSize;
  }
  return total == entry.Size;
}

} // namespace

uint32_t Crc32(const void* data, size_t size, uint32_t crc) {
  // Eight tables: eight bytes a step. The payload is checked at every start.
  static const auto tables = [] {
    std::vector<uint32_t> t(8 * 256);
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
      t[i] = c;
    }
    for (size_t i = 0; i < 256; ++i)
      for (size_t k = 1; k < 8; ++k) t[k * 256 + i] = (t[(k - 1) * 256 + i] >> 8) ^ t[t[(k - 1) * 256 + i] & 0xFF];
    return t;
  }();
  const uint32_t* t = tables.data();
  const auto* p = static_cast<const uint8_t*>(data);
  crc = ~crc;
  for (; size >= 8; size -= 8, p += 8) {
    const uint32_t low = crc ^ (uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
    crc = t[7 * 256 + (low & 0xFF)] ^ t[6 * 256 + ((low >> 8) & 0xFF)] ^ t[5 * 256 + ((low >> 16) & 0xFF)] ^
          t[4 * 256 + (low >> 24)] ^ t[3 * 256 + p[4]] ^ t[2 * 256 + p[5]] ^ t[1 * 256 + p[6]] ^ t[p[7]];
  }
  for (; size > 0; --size, ++p) crc = (crc >> 8) ^ t[(crc ^ *p) & 0xFF];
  return ~crc;
}

std::string LoadResourceText(const std::string& name) {
  const TArchiveEntry* entry = Payload().Find(name);
  const char* bytes = entry ? Payload().Bytes(*entry) : nullptr;
  if (!bytes) return std::string();
  const void* nul = std::memchr(bytes, '\0', entry->Size);
  return std::string(bytes, nul ? static_cast<const char*>(nul) : bytes + entry->Size);
}

std::unique_ptr<TByteStream> LoadResourceStream(const std::string& name) {
  std::unique_ptr<TByteStream> stream = CreateMemoryStream();
  const TArchiveEntry* entry = Payload().Find(name);
  const char* bytes = entry ? Payload().Bytes(*entry) : nullptr;
  if (bytes) stream->Write(bytes, entry->Size);
  stream->SetPosition(0);
  return stream;
}

bool PayloadIntact() {
  const TPayload& payload = Payload();
  if (!payload.ArchiveWhole()) return false;
  for (uint32_t i = 0; i < payload.Header->Count; ++i) {
    const TArchiveEntry& entry = payload.Entries()[i];
    uint32_t crc = 0;
    if (entry.Kind == ekData) {
      const char* bytes = payload.Bytes(entry);
      if (!bytes) return false;
      crc = Crc32(bytes, entry.Size);
    } else if (!ResourceDigest(entry, crc)) {
      return false;
    }
    if (crc != entry.Crc) return false;
  }
  return true;
}
