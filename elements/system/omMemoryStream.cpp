#include "omMemoryStream.h"

void TOMMemoryStream::varStream(TData& buffer, uint16_t) {
  if (Stream) SetStreamData(buffer, Stream.get());
}
