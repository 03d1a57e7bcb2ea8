#pragma once
#include <memory>

#include "ByteStream.h"
#include "Share.h"

// Holds one memory stream (a resource's bytes) and lends it through varStream.
class TOMMemoryStream : public TOMObject {
public:
  std::unique_ptr<TByteStream> Stream;

  void SetStream(std::unique_ptr<TByteStream> stream) { Stream = std::move(stream); }
  // A dkStream value referring to Stream, not a copy: the reader only borrows
  // it. Without a stream the buffer stays dkNull, so nobody gets a null stream.
  void varStream(TData& buffer, uint16_t index);
};
