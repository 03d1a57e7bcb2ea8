// TClassMainForm_6E2E74C: the root container of the installer, the main
// window with everything inside it. Built by the program entry before the
// message loop runs and freed after it has ended.
#pragma once

#include <memory>

#include "Container.h"
#include "omMainForm.h"
#include "omSysMenu.h"

class TClassMainForm_6E2E74C : public TSchemeContainer {
public:
  TClassMainForm_6E2E74C();
  ~TClassMainForm_6E2E74C() override;

  // Fields in declaration order, which is also the creation order. The
  // places marked "pages" are filled when the pages and the installation
  // join the scheme.
  std::unique_ptr<TOMMainForm> MainForm;   // 1 host window element
  // 2 licence hub (TOMHub)                  pages
  // 3 finish sender (TOMDoData)             pages
  // 4 cancel question (TOMMessage)          pages
  std::unique_ptr<TOMSysMenu> SystemMenu;  // 5
  // 6 licence sender (TOMDoData)            pages
  // 7 yes test (TOMCase)                    pages
  // 8 quit hub (TOMHub)                     pages
  // 9 installation (TOMMultiElement)        pages
  // 10 welcome sender (TOMDoData)           pages
  // 11 folder sender (TOMDoData)            pages
  // 12 finish page (TOMMultiElement)        pages
  // 13 licence page (TOMMultiElement)       pages
  // 14 folder page (TOMMultiElement)        pages
  // 15 cancel hub (TOMHub)                  pages
  // 16 welcome page (TOMMultiElement)       pages
  // 17 program-file writer (TOMMultiElement) pages
  std::unique_ptr<TOMObject> PlainObject;  // 18
};
