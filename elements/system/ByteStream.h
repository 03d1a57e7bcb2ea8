// The byte stream of the file elements and the picture element: a memory
// block or an open file, with a position and a size.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Text.h"

class TByteStream {
public:
  enum TStreamKind : uint8_t { skMemory, skReadFile, skWriteFile, skReadWriteFile };

  TByteStream(const TByteStream&) = delete;
  TByteStream& operator=(const TByteStream&) = delete;
  ~TByteStream(); // Close()

  // A file stream closes its file. A write stream writes a temporary file
  // beside its target and puts it in the target's place now, whole, when no
  // write failed; else the target stays as it was. So does it when nothing
  // was written at all. 0, or the system error that kept the target as it was.
  uint32_t Close();

  // Each returns the number of bytes moved; a failed open moves nothing.
  int64_t Read(void* buffer, int64_t count);
  int64_t Write(const void* buffer, int64_t count);
  int64_t CopyFrom(TByteStream& source, int64_t count);

  int64_t Position() const;
  void SetPosition(int64_t position);
  int64_t Size() const;
  void SetSize(int64_t size);

  TStreamKind Kind() const { return FKind; }
  bool IsOpen() const; // memory streams are always open
  // The system error of a failed open, of the last write or end-of-file that
  // failed, or of a close that could not put the file in place; 0 while
  // nothing failed. Memory streams never fail.
  uint32_t Error() const { return FError; }
  // The block of a memory stream (Size() bytes); null for file streams.
  const uint8_t* Memory() const { return FKind == skMemory ? Block().data() : nullptr; }
  // The first count bytes of a memory stream, made only that far when they
  // are deferred; null for file streams and past the end.
  const uint8_t* Prefix(int64_t count) const;

  // A deferred memory stream's bytes: their number, known before them; the
  // first ones, which may be made before the rest (null when they cannot);
  // all of them, made at the first use that needs them whole.
  struct TDeferred {
    int64_t Size = 0;
    const uint8_t* (*Peek)(const void* source, size_t count) = nullptr;
    std::vector<uint8_t> (*Fill)(const void* source) = nullptr;
    const void* Source = nullptr;
  };
  friend std::unique_ptr<TByteStream> CreateMemoryStream();
  friend std::unique_ptr<TByteStream> CreateDeferredStream(const TDeferred& bytes);
  friend void AbandonOpenWrites();
  friend std::unique_ptr<TByteStream> OpenReadStream(const std::string& path);
  friend std::unique_ptr<TByteStream> OpenWriteStream(const std::string& path);
  friend std::unique_ptr<TByteStream> OpenReadWriteStream(const std::string& path);

private:
  TByteStream(TStreamKind kind, void* handle) : FKind(kind), FHandle(handle) {}
  // Opens a file kind (CreateFileW access and disposition), keeping the error of a failed open.
  static std::unique_ptr<TByteStream> OpenFile(TStreamKind kind, const std::string& path, uint32_t access,
                                               uint32_t disposition);

  // A memory stream's block, filled first if it was deferred.
  std::vector<uint8_t>& Block() const;

  TStreamKind FKind;
  void* FHandle; // HANDLE of a file stream; INVALID_HANDLE_VALUE when the open failed or once closed
  std::string FTarget; // a write stream's file, and the temporary one it writes
  TWideText FTemp;
  bool FWritten = false;
  // What a write stream wrote, front to back; once it moves elsewhere, the
  // digest comes from the file when it is put in place.
  uint64_t FWrittenSize = 0;
  uint32_t FWrittenCrc = 0;
  bool FInOrder = true;
  mutable std::vector<uint8_t> FBlock;
  mutable TDeferred FDeferred; // a deferred memory stream's, until a use that needs the block
  int64_t FPosition = 0; // memory streams only
  uint32_t FError = 0;
  TByteStream* FNextOpen = nullptr; // in the list of write streams whose temporary file is open
};

std::unique_ptr<TByteStream> CreateMemoryStream();
// A memory stream of deferred bytes. Reads short of the end make them only
// as far as they go; a read to the end, writing, resizing or the whole block
// make them all (the source checks them then). Copied whole into an empty
// memory stream, they stay deferred there.
std::unique_ptr<TByteStream> CreateDeferredStream(const TByteStream::TDeferred& bytes);
// For a program that must end now: every write stream still open is closed
// and its temporary file deleted, so no half-written file stays behind and
// every target stays as it was.
void AbandonOpenWrites();
// The open file kinds; a stream whose open failed is still returned.
std::unique_ptr<TByteStream> OpenReadStream(const std::string& path);
std::unique_ptr<TByteStream> OpenWriteStream(const std::string& path);
std::unique_ptr<TByteStream> OpenReadWriteStream(const std::string& path);
