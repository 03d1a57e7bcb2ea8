#include "omShortcut.h"

#include <windows.h>

#include "InstallLog.h"
#include "shortcut.h"

void TOMShortCut::inCreate(TData& value, uint16_t) {
  // This order decides which text an unlinked, unset point takes the event's value for.
  std::string description = ReadPointString(value, getDescription, Description);
  std::string workDir = ReadPointString(value, getWorkDir, WorkDir);
  std::string linkFile = ReadPointString(value, getLinkFile, LinkFile);
  std::string target = ReadPointString(value, getTarget, Target);
  // A link to a program this run could not write would lead to nothing, or
  // to an older copy that looks installed: none is made, and the record says why.
  if (InstallLog().Has(target))
    InstallLog().Add(linkFile, ERROR_FILE_NOT_FOUND, "Ярлык не создан: программа не записана");
  else if (long result = CreateLink(target, linkFile, workDir, description))
    InstallLog().Add(linkFile, uint32_t(result));
  else
    InstallLog().Linked(linkFile);
  FireNull(outCreate);
}
