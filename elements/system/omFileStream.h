#pragma once
#include <memory>

#include "ByteStream.h"
#include "Share.h"

// A file opened as a stream: read, write or read-write by Mode.
class TOMFileStream : public TOMObject {
public:
  enum : uint8_t { fmRead = 0, fmWrite = 1, fmReadWrite = 2 };

  std::unique_ptr<TByteStream> Stream; // none while closed
  std::string FileName;
  uint8_t Mode = fmRead;
  uint8_t AutoOpen = 0;
  TPointLink getFileName;
  TPointLink outOpen;

  void inOpen(TData& value, uint16_t index);
  void inWrite(TData& value, uint16_t index);
  void inClose(TData& value, uint16_t index);

private:
  void CloseStream();
  std::string FOpenName; // the name Stream was opened with, for the installation record
};
