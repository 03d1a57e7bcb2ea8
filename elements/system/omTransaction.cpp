#include "omTransaction.h"

#include "InstallLog.h"

void TOMTransaction::inBegin(TData&, uint16_t) { InstallLog().KeepOlder(RollBack); }

void TOMTransaction::inEnd(TData&, uint16_t) {
  InstallLog().ReadBack();
  if (InstallLog().Count() && InstallLog().KeepsOlder()) InstallLog().RollBack();
  else InstallLog().Commit();
}
