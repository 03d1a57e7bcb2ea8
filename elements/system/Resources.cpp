#include "Resources.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "Bra.h"
#include "LzmaDec.h"

namespace {

constexpr char ArchiveMagic[8] = {'O', 'M', 'B', 'R', 'E', 'L', 'P', 'Z'};
enum TEntryKind : uint32_t { ekData = 0, ekBitmap = 1, ekIcon = 2, ekManifest = 3 };
enum TBlockMethod : uint32_t { bmStored = 0, bmLzma = 1, bmLzmaX86 = 2 };

#pragma pack(push, 1)
struct TArchiveHeader {
  char Magic[8];
  uint32_t Count;      // of entries
  uint32_t BlockCount;
  uint32_t Size;      // of the whole archive
  uint32_t TableCrc;  // of the entries and blocks
  uint32_t HeaderCrc; // of the fields before it
};
struct TArchiveEntry {
  char Name[16]; // upper case, NUL-padded
  uint32_t Kind;
  uint32_t Block;  // data and bitmaps only
  uint32_t Offset; // in the block's unpacked bytes
  uint32_t Size;
  uint32_t Crc; // of the unpacked bytes, or of the resource as the system keeps it
};
struct TArchiveBlock {
  uint32_t Method;
  uint32_t Offset; // of the packed bytes, from the archive's start
  uint32_t PackedSize;
  uint32_t Size;
  uint32_t PackedCrc;
  uint8_t Props[5]; // LZMA's: lc, lp, pb in one byte, then the dictionary size
  uint8_t Padding[3];
};
#pragma pack(pop)

} // namespace

size_t ImageEnd(const uint8_t* bytes, size_t size) {
  if (size < sizeof(IMAGE_DOS_HEADER)) return 0;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes);
  const size_t pe = size_t(dos->e_lfanew);
  if (pe > size || size - pe < sizeof(IMAGE_NT_HEADERS32)) return 0;
  const auto* file = reinterpret_cast<const IMAGE_FILE_HEADER*>(bytes + pe + 4);
  const size_t table = pe + 4 + sizeof(IMAGE_FILE_HEADER) + file->SizeOfOptionalHeader;
  size_t end = table + sizeof(IMAGE_SECTION_HEADER) * file->NumberOfSections;
  if (end > size) return 0;
  const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(bytes + table);
  for (WORD i = 0; i < file->NumberOfSections; ++i)
    if (sections[i].SizeOfRawData) end = std::max<size_t>(end, size_t(sections[i].PointerToRawData) + sections[i].SizeOfRawData);
  if (file->PointerToSymbolTable) {
    const size_t strings = size_t(file->PointerToSymbolTable) + 18 * size_t(file->NumberOfSymbols);
    if (strings > size - 4) return 0;
    uint32_t stringsSize = 0;
    std::memcpy(&stringsSize, bytes + strings, 4);
    end = std::max<size_t>(end, strings + stringsSize);
  }
  return end <= size ? end : 0;
}

namespace {

void* LzmaAlloc(ISzAllocPtr, size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }
void LzmaFree(ISzAllocPtr, void* address) {
  if (address) HeapFree(GetProcessHeap(), 0, address);
}
const ISzAlloc LzmaHeap = {&LzmaAlloc, &LzmaFree};

void (*PayloadFault)() = nullptr;

// An item the start-up check passed that still cannot be unpacked: the
// program file changed under the running program, or the decoder met what
// it cannot read. Never data made up.
void Fault() {
  if (PayloadFault) PayloadFault();
}

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
    const size_t start = ImageEnd(View, FileSize);
    if (start == 0 || FileSize - start < sizeof(TArchiveHeader)) return;
    Header = reinterpret_cast<const TArchiveHeader*>(View + start);
    const size_t tables = (FileSize - start - sizeof(TArchiveHeader));
    if (std::memcmp(Header->Magic, ArchiveMagic, sizeof ArchiveMagic) != 0 ||
        tables / sizeof(TArchiveEntry) < Header->Count ||
        (tables - sizeof(TArchiveEntry) * Header->Count) / sizeof(TArchiveBlock) < Header->BlockCount) {
      Header = nullptr;
      return;
    }
    Archive = View + start;
    Available = FileSize - start;
  }
  TPayload(const TPayload&) = delete;
  TPayload& operator=(const TPayload&) = delete;

  const TArchiveHeader* Header = nullptr;
  const uint8_t* View = nullptr; // the whole program file
  size_t FileSize = 0;

  const TArchiveEntry* Entries() const { return reinterpret_cast<const TArchiveEntry*>(Header + 1); }
  const TArchiveBlock* Blocks() const { return reinterpret_cast<const TArchiveBlock*>(Entries() + Header->Count); }
  size_t TablesSize() const {
    return sizeof(TArchiveEntry) * Header->Count + sizeof(TArchiveBlock) * Header->BlockCount;
  }

  // The entry of this name and kind, ignoring letter case, or none.
  const TArchiveEntry* Find(const std::string& name, TEntryKind kind) const {
    if (!Header || name.empty() || name.size() >= sizeof(TArchiveEntry::Name)) return nullptr;
    char upper[sizeof(TArchiveEntry::Name)] = {};
    for (size_t i = 0; i < name.size(); ++i)
      upper[i] = name[i] >= 'a' && name[i] <= 'z' ? char(name[i] - 'a' + 'A') : name[i];
    for (uint32_t i = 0; i < Header->Count; ++i)
      if (std::memcmp(Entries()[i].Name, upper, sizeof upper) == 0)
        return Entries()[i].Kind == kind ? &Entries()[i] : nullptr;
    return nullptr;
  }

  // The packed bytes of a block, or none when they are not all in the file.
  const uint8_t* Packed(uint32_t block) const {
    if (!Header || block >= Header->BlockCount) return nullptr;
    const TArchiveBlock& b = Blocks()[block];
    if (b.Offset > Available || b.PackedSize > Available - b.Offset) return nullptr;
    return Archive + b.Offset;
  }

  // The bytes of an item, unpacked and equal to its digest; none, and the
  // fault told, when they cannot be had. A block of several items (the
  // texts) is unpacked up to this item's end and stays so for the next one;
  // an item alone in its block is handed its bytes.
  std::vector<uint8_t> Bytes(const TArchiveEntry& entry) const {
    std::vector<uint8_t> bytes;
    const bool alone = Header && entry.Block < Header->BlockCount && entry.Offset == 0 &&
                       entry.Size == Blocks()[entry.Block].Size;
    const size_t end = size_t(entry.Offset) + entry.Size;
    if (TUnpacking* block = UnpackTo(entry.Block, alone ? ~size_t(0) : end)) {
      std::vector<uint8_t>& out = block->Out;
      if (alone && block->Finished) {
        bytes.swap(out);
        *block = TUnpacking(); // a second stream of it unpacks it again
      } else if (!alone && end <= block->Done && end <= out.size()) {
        bytes.assign(out.begin() + entry.Offset, out.begin() + end);
      }
    }
    if (bytes.size() != entry.Size || Crc32(bytes.data(), bytes.size()) != entry.Crc) {
      Fault();
      bytes.clear();
    }
    return bytes;
  }

  // The first count bytes of an item, unpacked that far but not yet held
  // against its digest (which Bytes does); null when they cannot be had.
  // Code converted for compression is had whole only.
  const uint8_t* Peek(const TArchiveEntry& entry, size_t count) const {
    if (count > entry.Size || !Header || entry.Block >= Header->BlockCount) return nullptr;
    const bool whole = Blocks()[entry.Block].Method == bmLzmaX86;
    TUnpacking* block = UnpackTo(entry.Block, whole ? ~size_t(0) : size_t(entry.Offset) + count);
    return block && entry.Offset <= block->Out.size() ? block->Out.data() + entry.Offset : nullptr;
  }

  // A stream of this item was made: its block is unpacked in idle time.
  void Want(const TArchiveEntry& entry) const {
    if (State(entry.Block)) State(entry.Block)->Wanted = true;
  }

  // One slice of the blocks streams will need; true while some remain. A
  // block that cannot be unpacked, or whose items are not the bytes built,
  // is a fault found now, not when its file is written.
  bool UnpackSlice() const {
    for (uint32_t i = 0; Header && i < Unpacking.size(); ++i) {
      const TUnpacking& block = Unpacking[i];
      if (!block.Wanted || block.Finished || block.Failed) continue;
      if (!UnpackTo(i, block.Done + IdleSlice)) Fault();
      else if (block.Finished)
        for (uint32_t k = 0; k < Header->Count; ++k) {
          const TArchiveEntry& entry = Entries()[k];
          if ((entry.Kind == ekData || entry.Kind == ekBitmap) && entry.Block == i &&
              (entry.Offset > block.Out.size() || entry.Size > block.Out.size() - entry.Offset ||
               Crc32(block.Out.data() + entry.Offset, entry.Size) != entry.Crc))
            Fault();
        }
      return true;
    }
    return false;
  }

  size_t UnpackedBytes() const { return Unpacked; }

  // Anything appended later (a signature) lies after the archive.
  bool ArchiveWhole() const {
    return Header && Crc32(Header, offsetof(TArchiveHeader, HeaderCrc)) == Header->HeaderCrc &&
           Header->Size <= Available && Crc32(Entries(), TablesSize()) == Header->TableCrc;
  }

private:
  // A block on its way out of the archive: the decoder writes straight
  // into the block's bytes, which are its dictionary too, and can stop at
  // any length and go on later.
  struct TUnpacking {
    std::vector<uint8_t> Out; // the block's size once started; its first Done bytes made
    size_t Done = 0;
    size_t Read = 0; // packed bytes taken
    CLzmaDec Decoder{};
    bool Finished = false, Failed = false, Wanted = false;
  };
  static constexpr size_t IdleSlice = 64 * 1024; // a few milliseconds of decoding

  TUnpacking* State(uint32_t index) const {
    if (!Header || index >= Header->BlockCount) return nullptr;
    if (Unpacking.size() != Header->BlockCount) Unpacking.resize(Header->BlockCount);
    return &Unpacking[index];
  }

  // The block with at least its first upTo bytes made (all of them, and
  // converted back, once it is finished); null when it cannot be unpacked.
  TUnpacking* UnpackTo(uint32_t index, size_t upTo) const {
    TUnpacking* state = State(index);
    const uint8_t* packed = Packed(index);
    if (!state || !packed || state->Failed) return nullptr;
    TUnpacking& s = *state;
    const TArchiveBlock& block = Blocks()[index];
    if (s.Finished || (s.Done >= upTo && !s.Out.empty())) return state;
    if (block.Method == bmStored) {
      if (block.PackedSize != block.Size) return Fail(s);
      s.Out.assign(packed, packed + block.Size);
      s.Done = block.Size;
      s.Finished = true;
      return state;
    }
    if (block.Method != bmLzma && block.Method != bmLzmaX86) return Fail(s);
    if (s.Out.empty()) {
      s.Out.resize(block.Size);
      LzmaDec_Construct(&s.Decoder);
      if (LzmaDec_AllocateProbs(&s.Decoder, block.Props, LZMA_PROPS_SIZE, &LzmaHeap) != SZ_OK) return Fail(s);
      s.Decoder.dic = s.Out.data();
      s.Decoder.dicBufSize = s.Out.size();
      LzmaDec_Init(&s.Decoder);
    }
    const size_t limit = std::min<size_t>(upTo, block.Size);
    const size_t before = s.Done;
    SizeT inSize = block.PackedSize - s.Read;
    ELzmaStatus status = LZMA_STATUS_NOT_SPECIFIED;
    const SRes result = LzmaDec_DecodeToDic(&s.Decoder, limit, packed + s.Read, &inSize,
                                            limit == block.Size ? LZMA_FINISH_END : LZMA_FINISH_ANY, &status);
    s.Read += inSize;
    s.Done = s.Decoder.dicPos;
    Unpacked += s.Done - before;
    if (result != SZ_OK || s.Done < limit) return Fail(s);
    if (s.Done < block.Size) return state;
    // All of the input, exactly the size, and the stream's end where the size says.
    LzmaDec_FreeProbs(&s.Decoder, &LzmaHeap);
    if (s.Read != block.PackedSize ||
        (status != LZMA_STATUS_FINISHED_WITH_MARK && status != LZMA_STATUS_MAYBE_FINISHED_WITHOUT_MARK))
      return Fail(s);
    if (block.Method == bmLzmaX86) {
      UInt32 x86 = Z7_BRANCH_CONV_ST_X86_STATE_INIT_VAL;
      z7_BranchConvSt_X86_Dec(s.Out.data(), s.Out.size(), 0, &x86);
    }
    s.Finished = true;
    return state;
  }

  static TUnpacking* Fail(TUnpacking& s) {
    LzmaDec_FreeProbs(&s.Decoder, &LzmaHeap);
    s.Out = std::vector<uint8_t>();
    s.Failed = true;
    return nullptr;
  }

  const uint8_t* Archive = nullptr;
  size_t Available = 0;
  mutable std::vector<TUnpacking> Unpacking; // one a block
  mutable size_t Unpacked = 0;               // bytes made by the decoder so far
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

// The digest of a resource the system reads: the manifest as it is stored, an icon group as its directory without the images' ids (they
// only find the images, which follow) and its images in group order.
bool ResourceDigest(const TArchiveEntry& entry, uint32_t& crc) {
  // Names are plain ASCII: each byte is its UTF-16 unit.
  wchar_t name[sizeof entry.Name + 1] = {};
  for (size_t i = 0; i < sizeof entry.Name && entry.Name[i]; ++i) name[i] = wchar_t(uint8_t(entry.Name[i]));
  const void* bytes = nullptr;
  DWORD size = 0;
  if (entry.Kind == ekManifest) {
    if (!ResourceBytes(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24), bytes, size)) return false; // RT_MANIFEST
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

void SetPayloadFault(void (*fault)()) { PayloadFault = fault; }

std::string LoadResourceText(const std::string& name) {
  const TArchiveEntry* entry = Payload().Find(name, ekData);
  if (!entry) return std::string();
  const std::vector<uint8_t> bytes = Payload().Bytes(*entry);
  if (bytes.empty()) return std::string();
  const auto* text = reinterpret_cast<const char*>(bytes.data());
  const void* nul = std::memchr(text, '\0', bytes.size());
  return std::string(text, nul ? static_cast<const char*>(nul) : text + bytes.size());
}

std::unique_ptr<TByteStream> LoadResourceStream(const std::string& name) {
  const TArchiveEntry* entry = Payload().Find(name, ekData);
  if (!entry) return CreateMemoryStream();
  Payload().Want(*entry);
  return CreateDeferredStream({entry->Size,
                               [](const void* item, size_t count) {
                                 return Payload().Peek(*static_cast<const TArchiveEntry*>(item), count);
                               },
                               [](const void* item) { return Payload().Bytes(*static_cast<const TArchiveEntry*>(item)); },
                               entry});
}

void WantResource(const std::string& name) {
  if (const TArchiveEntry* entry = Payload().Find(name, ekData)) Payload().Want(*entry);
}

bool UnpackPayloadSlice() { return Payload().UnpackSlice(); }

size_t PayloadBytesUnpacked() { return Payload().UnpackedBytes(); }

HBITMAP LoadResourceBitmap(const std::string& name) {
  const TArchiveEntry* entry = Payload().Find(name, ekBitmap);
  const std::vector<uint8_t> dib = entry ? Payload().Bytes(*entry) : std::vector<uint8_t>();
  if (dib.size() < sizeof(BITMAPINFOHEADER)) return nullptr;
  BITMAPINFOHEADER header;
  std::memcpy(&header, dib.data(), sizeof header);
  // The pixels follow the header and the colour table (or the three masks).
  const uint32_t colours = header.biClrUsed ? header.biClrUsed : header.biBitCount <= 8 ? 1u << header.biBitCount : 0;
  const size_t table = header.biCompression == BI_BITFIELDS ? 3 * sizeof(DWORD) : colours * sizeof(RGBQUAD);
  const size_t rows = size_t(header.biHeight < 0 ? -int64_t(header.biHeight) : header.biHeight);
  const size_t stride = ((size_t(header.biWidth) * header.biBitCount + 31) / 32) * 4;
  const size_t bits = header.biSize + table;
  if (header.biSize < sizeof header || header.biWidth <= 0 || bits > dib.size() || stride * rows > dib.size() - bits)
    return nullptr;
  // A bitmap of the screen's format, as the system makes one of a bitmap resource.
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &header, CBM_INIT, dib.data() + bits,
                                  reinterpret_cast<const BITMAPINFO*>(dib.data()), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

std::string_view ProgramFileBytes() {
  const TPayload& payload = Payload();
  return std::string_view(reinterpret_cast<const char*>(payload.View), payload.View ? payload.FileSize : 0);
}

bool PayloadIntact() {
  const TPayload& payload = Payload();
  if (!payload.ArchiveWhole()) return false;
  for (uint32_t i = 0; i < payload.Header->BlockCount; ++i) {
    const uint8_t* packed = payload.Packed(i);
    if (!packed || Crc32(packed, payload.Blocks()[i].PackedSize) != payload.Blocks()[i].PackedCrc) return false;
  }
  for (uint32_t i = 0; i < payload.Header->Count; ++i) {
    const TArchiveEntry& entry = payload.Entries()[i];
    uint32_t crc = 0;
    if (entry.Kind == ekData || entry.Kind == ekBitmap) {
      // Its bytes' own digest is checked as they are unpacked.
      if (entry.Block >= payload.Header->BlockCount || entry.Offset > payload.Blocks()[entry.Block].Size ||
          entry.Size > payload.Blocks()[entry.Block].Size - entry.Offset)
        return false;
    } else if (!ResourceDigest(entry, crc) || crc != entry.Crc) {
      return false;
    }
  }
  return true;
}
