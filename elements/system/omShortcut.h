#pragma once
#include "Share.h"

// Writes a shell link (target, working folder, description) on inCreate.
class TOMShortCut : public TOMObject {
public:
  std::string Target;
  std::string LinkFile;
  std::string WorkDir;
  std::string Description;
  TPointLink outCreate;
  TPointLink getTarget;
  TPointLink getLinkFile;
  TPointLink getWorkDir;
  TPointLink getDescription;

  void inCreate(TData& value, uint16_t index);
};
