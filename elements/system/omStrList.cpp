#include "omStrList.h"

void TOMStrList::inSave(TData& value, uint16_t) {
  // The name goes to the system exactly as given: no macros, no default folder.
  Lines.WriteToFile(ReadPointString(value, getFileName, FileName));
}
