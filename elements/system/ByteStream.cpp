#include "ByteStream.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "InstallLog.h"
#include "Paths.h"
#include "Resources.h"

namespace {

// ReadFile/WriteFile move at most a DWORD at a time.
constexpr int64_t ChunkLimit = 0x40000000;

// The write streams whose temporary file is open, the last opened first.
TByteStream* OpenWrites = nullptr;

} // namespace

std::unique_ptr<TByteStream> CreateMemoryStream() {
  return std::unique_ptr<TByteStream>(new TByteStream(TByteStream::skMemory, INVALID_HANDLE_VALUE));
}

std::unique_ptr<TByteStream> CreateDeferredStream(const TByteStream::TDeferred& bytes) {
  std::unique_ptr<TByteStream> stream = CreateMemoryStream();
  if (bytes.Fill) stream->FDeferred = bytes;
  return stream;
}

std::vector<uint8_t>& TByteStream::Block() const {
  if (FDeferred.Fill) {
    const TDeferred deferred = FDeferred;
    FDeferred = TDeferred();
    FBlock = deferred.Fill(deferred.Source);
  }
  return FBlock;
}

const uint8_t* TByteStream::Prefix(int64_t count) const {
  if (FKind != skMemory || count < 0 || count > Size()) return nullptr;
  if (FDeferred.Fill && FDeferred.Peek && count < FDeferred.Size) // the last byte comes with all, checked
    if (const uint8_t* bytes = FDeferred.Peek(FDeferred.Source, size_t(count))) return bytes;
  const std::vector<uint8_t>& block = Block(); // shorter when the bytes could not be made
  return size_t(count) <= block.size() ? block.data() : nullptr;
}

void AbandonOpenWrites() {
  for (; OpenWrites; OpenWrites = OpenWrites->FNextOpen) {
    CloseHandle(OpenWrites->FHandle);
    OpenWrites->FHandle = INVALID_HANDLE_VALUE;
    DeleteFileW(OpenWrites->FTemp.data());
  }
}

std::unique_ptr<TByteStream> OpenReadStream(const std::string& path) {
  return TByteStream::OpenFile(TByteStream::skReadFile, path, GENERIC_READ, OPEN_EXISTING);
}

std::unique_ptr<TByteStream> OpenWriteStream(const std::string& path) {
  std::unique_ptr<TByteStream> stream(new TByteStream(TByteStream::skWriteFile, INVALID_HANDLE_VALUE));
  stream->FTarget = path;
  stream->FError = MakeTempBeside(path, stream->FTemp, &stream->FHandle);
  if (stream->FHandle != INVALID_HANDLE_VALUE) {
    stream->FNextOpen = OpenWrites;
    OpenWrites = stream.get();
  }
  return stream;
}

std::unique_ptr<TByteStream> OpenReadWriteStream(const std::string& path) {
  // Open an existing file as it is (never cut), otherwise create it.
  DWORD disposition = FileExists(path) ? OPEN_EXISTING : CREATE_NEW;
  return TByteStream::OpenFile(TByteStream::skReadWriteFile, path, GENERIC_READ | GENERIC_WRITE, disposition);
}

std::unique_ptr<TByteStream> TByteStream::OpenFile(TStreamKind kind, const std::string& path, uint32_t access,
                                                   uint32_t disposition) {
  TWideText wide;
  HANDLE file = WidePath(path, wide) ? CreateFileW(wide.data(), access, FILE_SHARE_READ, nullptr, disposition,
                                                   FILE_ATTRIBUTE_NORMAL, nullptr)
                                     : INVALID_HANDLE_VALUE;
  uint32_t error = file == INVALID_HANDLE_VALUE ? LastFailureCode() : 0;
  std::unique_ptr<TByteStream> stream(new TByteStream(kind, file));
  stream->FError = error;
  return stream;
}

TByteStream::~TByteStream() { Close(); }

uint32_t TByteStream::Close() {
  if (FKind == skMemory || FHandle == INVALID_HANDLE_VALUE) return FError;
  CloseHandle(FHandle);
  FHandle = INVALID_HANDLE_VALUE;
  if (FKind != skWriteFile) return FError;
  for (TByteStream** link = &OpenWrites; *link; link = &(*link)->FNextOpen)
    if (*link == this) {
      *link = FNextOpen;
      break;
    }
  if (FError != 0 || (!FWritten && FileExists(FTarget))) DeleteFileW(FTemp.data());
  else {
    const TDigest written{FWrittenSize, FWrittenCrc};
    FError = MoveOver(FTemp, FTarget, FInOrder ? &written : nullptr);
  }
  return FError;
}

bool TByteStream::IsOpen() const { return FKind == skMemory || FHandle != INVALID_HANDLE_VALUE; }

int64_t TByteStream::Read(void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (FKind == skMemory) {
    int64_t n = std::min(count, Size() - FPosition);
    if (n <= 0) return 0;
    const uint8_t* bytes = Prefix(FPosition + n);
    if (!bytes) return 0;
    std::memcpy(buffer, bytes + FPosition, size_t(n));
    FPosition += n;
    return n;
  }
  if (FKind == skWriteFile || !IsOpen()) return 0;
  int64_t total = 0;
  while (total < count) {
    DWORD part = DWORD(std::min(count - total, ChunkLimit)), got = 0;
    if (!ReadFile(FHandle, static_cast<uint8_t*>(buffer) + total, part, &got, nullptr) || got == 0) break;
    total += got;
  }
  return total;
}

int64_t TByteStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (FKind == skMemory) {
    Block();
    int64_t end = FPosition + count;
    if (end > int64_t(FBlock.size())) FBlock.resize(size_t(end));
    std::memcpy(FBlock.data() + FPosition, buffer, size_t(count));
    FPosition = end;
    return count;
  }
  if (FKind == skReadFile || !IsOpen()) return 0;
  FWritten = true;
  int64_t total = 0;
  while (total < count) {
    DWORD part = DWORD(std::min(count - total, ChunkLimit)), put = 0;
    BOOL written = WriteFile(FHandle, static_cast<const uint8_t*>(buffer) + total, part, &put, nullptr);
    if (!written || put == 0) {
      FError = written ? ERROR_WRITE_FAULT : LastFailureCode();
      break;
    }
    total += put;
  }
  if (FKind == skWriteFile && FInOrder) {
    FWrittenCrc = Crc32(buffer, size_t(total), FWrittenCrc);
    FWrittenSize += uint64_t(total);
  }
  // A write stream replaces the file's content: it ends after the last byte written.
  if (FKind == skWriteFile && !SetEndOfFile(FHandle)) FError = LastFailureCode();
  return total;
}

int64_t TByteStream::Position() const {
  if (FKind == skMemory) return FPosition;
  LARGE_INTEGER zero{}, now{};
  if (!IsOpen() || !SetFilePointerEx(FHandle, zero, &now, FILE_CURRENT)) return 0;
  return now.QuadPart;
}

void TByteStream::SetPosition(int64_t position) {
  if (position < 0) position = 0;
  if (FKind == skMemory) {
    FPosition = position;
    return;
  }
  if (!IsOpen()) return;
  if (uint64_t(position) != FWrittenSize) FInOrder = false;
  LARGE_INTEGER to{};
  to.QuadPart = position;
  SetFilePointerEx(FHandle, to, nullptr, FILE_BEGIN);
}

int64_t TByteStream::Size() const {
  if (FKind == skMemory) return FDeferred.Fill ? FDeferred.Size : int64_t(FBlock.size());
  LARGE_INTEGER size{};
  if (!IsOpen() || !GetFileSizeEx(FHandle, &size)) return 0;
  return size.QuadPart;
}

void TByteStream::SetSize(int64_t size) {
  if (size < 0) size = 0;
  if (FKind == skMemory) {
    Block().resize(size_t(size));
    FPosition = std::min(FPosition, size);
    return;
  }
  if (!IsOpen() || FKind == skReadFile) return;
  FWritten = true;
  if (uint64_t(size) != FWrittenSize) FInOrder = false;
  int64_t keep = std::min(Position(), size);
  SetPosition(size);
  SetEndOfFile(FHandle);
  SetPosition(keep);
}

int64_t TByteStream::CopyFrom(TByteStream& source, int64_t count) {
  if (count <= 0 || &source == this) return 0;
  if (source.FKind == skMemory) {
    // Deferred bytes copied whole into an empty memory stream stay deferred.
    if (source.FDeferred.Fill && source.FPosition == 0 && count >= source.FDeferred.Size && FKind == skMemory &&
        !FDeferred.Fill && FBlock.empty() && FPosition == 0) {
      FDeferred = source.FDeferred;
      FPosition = source.FPosition = FDeferred.Size;
      return FDeferred.Size;
    }
    // Straight from the source block, in one write, never past its end.
    source.Block();
    int64_t n = std::min(count, int64_t(source.FBlock.size()) - source.FPosition);
    if (n <= 0) return 0;
    int64_t written = Write(source.FBlock.data() + source.FPosition, n);
    source.FPosition += written;
    return written;
  }
  if (FKind == skMemory) {
    // The source reads straight into the grown block.
    Block();
    size_t oldSize = FBlock.size();
    int64_t end = FPosition + count;
    if (end > int64_t(oldSize)) FBlock.resize(size_t(end));
    int64_t got = source.Read(FBlock.data() + FPosition, count);
    FPosition += got;
    FBlock.resize(std::max(oldSize, size_t(FPosition)));
    return got;
  }
  std::vector<uint8_t> buffer(static_cast<size_t>(count));
  int64_t got = source.Read(buffer.data(), count);
  return Write(buffer.data(), got);
}
