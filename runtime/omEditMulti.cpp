#include "omEditMulti.h"

#include "omMultiElement.h"

void TOMEditMulti::inEvent(TData& value, uint16_t index) {
  if (Host) Fire(LinkAt(Host->EventLinks, index), value);
}

void TOMEditMulti::getData(TData& buffer, uint16_t index) {
  if (Host) PullPoint(buffer, LinkAt(Host->DataLinks, index));
  else ClearData(buffer);
}
