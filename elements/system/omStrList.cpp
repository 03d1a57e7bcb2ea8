#include "omStrList.h"

#include "InstallLog.h"

void TOMStrList::inSave(TData& value, uint16_t) {
  // The name goes to the system exactly as given: no macros, no default folder.
  const std::string name = ReadPointString(value, getFileName, FileName);
  if (uint32_t error = Lines.WriteToFile(name)) InstallLog().Add(name, error);
  else InstallLog().Wrote(name);
}
