#include "omStrList.h"

#include "InstallLog.h"
#include "Resources.h"

void TOMStrList::SetStringsResource(const std::string& name) {
  SetStrings(std::string());
  Resource = name;
  WantResource(name);
}

void TOMStrList::inSave(TData& value, uint16_t) {
  if (!Resource.empty()) {
    Lines.AssignText(LoadResourceText(Resource));
    Resource.clear();
  }
  // The name goes to the system exactly as given: no macros, no default folder.
  const std::string name = ReadPointString(value, getFileName, FileName);
  if (uint32_t error = Lines.WriteToFile(name)) InstallLog().Add(name, error);
  else InstallLog().Wrote(name);
}
