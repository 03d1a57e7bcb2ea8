#include "omHub.h"

void TOMHub::inDo(TData& value, uint16_t) {
  for (size_t k = 0; k < outStep.size(); ++k) {
    TData copy = value; // what a receiver consumes or forwards stays on its copy
    Fire(outStep[k], copy);
  }
}
