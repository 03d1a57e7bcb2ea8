// TClassMainForm_6E2E74C: the root container of the installer, the main
// window with everything inside it: the four wizard pages, the two
// installation containers and the few flow elements and the cancel question
// that join them. Built by the program entry before the message loop runs
// and freed after it has ended.
#pragma once

#include <memory>

#include "Container.h"
#include "omCase.h"
#include "omDoData.h"
#include "omHub.h"
#include "omInstallReport.h"
#include "omMainForm.h"
#include "omMessage.h"
#include "omMultiElement.h"
#include "omSysMenu.h"

class TClassMainForm_6E2E74C : public TSchemeContainer {
public:
  TClassMainForm_6E2E74C();
  ~TClassMainForm_6E2E74C() override;

  // Fields in declaration order, which is also the creation order.
  std::unique_ptr<TOMMainForm> MainForm;              // 1 host window element
  std::unique_ptr<TOMHub> LicenceHub;                 // 2 welcome Next, folder Back
  std::unique_ptr<TOMDoData> FinishSender;            // 3
  std::unique_ptr<TOMMessage> CancelQuestion;         // 4
  std::unique_ptr<TOMSysMenu> SystemMenu;             // 5
  std::unique_ptr<TOMDoData> LicenceSender;           // 6
  std::unique_ptr<TOMCase> YesTest;                   // 7 passes only Yes
  std::unique_ptr<TOMHub> QuitHub;                    // 8 confirmed Cancel, Done
  std::unique_ptr<TOMMultiElement> Installation;      // 9 TClassMultiElement_5022298
  std::unique_ptr<TOMDoData> WelcomeSender;           // 10
  std::unique_ptr<TOMDoData> FolderSender;            // 11
  std::unique_ptr<TOMMultiElement> FinishPage;        // 12 TClassChildPanel_47F64A8
  std::unique_ptr<TOMMultiElement> LicencePage;       // 13 TClassChildPanel_50BE488
  std::unique_ptr<TOMMultiElement> FolderPage;        // 14 TClassChildPanel_4FD97A4
  std::unique_ptr<TOMHub> CancelHub;                  // 15 the three Cancel buttons
  std::unique_ptr<TOMMultiElement> WelcomePage;       // 16 TClassChildPanel_431CE60
  std::unique_ptr<TOMMultiElement> ProgramFileWriter; // 17 TClassMultiElement_4DC2A30
  std::unique_ptr<TOMObject> PlainObject;             // 18

  // After the described elements, so that their order stays as it is: the
  // report of an installation run with failures.
  std::unique_ptr<TOMHub> InstallHub;                 // 19 clear, install, check
  std::unique_ptr<TOMInstallReport> InstallReport;    // 20 the run's record
  std::unique_ptr<TOMMessage> FailureBox;             // 21 what failed
};
