// TClassMainForm_6E2E74C: the root container of the installer, the main
// window with everything inside it: the four wizard pages, the two
// installation containers and the few flow elements and the cancel question
// that join them. Built by the program entry before the message loop runs
// and freed after it has ended.
#pragma once

#include "SchemeShapes.h"
#include "omCase.h"
#include "omDoData.h"
#include "omInUseCheck.h"
#include "omInstallReport.h"
#include "omMainForm.h"
#include "omMessage.h"
#include "omSysMenu.h"
#include "omTransaction.h"

// The installer's main window set up and initialised at once, as the root
// container makes it before anything inside it: size, caption, border, the
// program's icon, centred on the screen.
TOMMainForm* InstallerForm(TOMMainForm* form);

class TClassMainForm_6E2E74C : public TSchemeContainer {
public:
  TClassMainForm_6E2E74C();

  // In creation order, the host first.
  TOMMainForm* const MainForm = InstallerForm(MakeHost<TOMMainForm>(nullptr)); // 1
  TOMHub* const LicenceHub = Make<TOMHub>();                               // 2 welcome Next, folder Back
  TOMDoData* const FinishSender = Make<TOMDoData>();                       // 3
  TOMMessage* const CancelQuestion = Make<TOMMessage>();                   // 4
  TOMSysMenu* const SystemMenu = Make<TOMSysMenu>();                       // 5
  TOMDoData* const LicenceSender = Make<TOMDoData>();                      // 6
  TOMCase* const YesTest = Make<TOMCase>();                                // 7 passes only Yes
  TOMHub* const QuitHub = Make<TOMHub>();                                  // 8 confirmed Cancel, Done
  TOMMultiElement* const Installation = Make<TOMMultiElement>();           // 9 the installation sequence
  TOMDoData* const WelcomeSender = Make<TOMDoData>();                      // 10
  TOMDoData* const FolderSender = Make<TOMDoData>();                       // 11
  TOMMultiElement* const FinishPage = Make<TOMMultiElement>(Form());       // 12
  TOMMultiElement* const LicencePage = Make<TOMMultiElement>(Form());      // 13
  TOMMultiElement* const FolderPage = Make<TOMMultiElement>(Form());       // 14
  TOMHub* const CancelHub = Make<TOMHub>();                                // 15 the three Cancel buttons
  TOMMultiElement* const WelcomePage = Make<TOMMultiElement>(Form());      // 16
  TOMMultiElement* const ProgramFileWriter = Make<TOMMultiElement>();      // 17
  TOMObject* const PlainObject = Make<TOMObject>();                        // 18
  // After the described elements, so that their places stay: the report of
  // an installation run with failures.
  TOMHub* const InstallHub = Make<TOMHub>();                               // 19 clear, install, check
  TOMInstallReport* const InstallReport = Make<TOMInstallReport>();        // 20 the run's record
  TOMMessage* const FailureBox = Make<TOMMessage>();                       // 21 what failed
  // Before anything is written, files another program holds: a box names
  // them, Retry looks again, Cancel goes back to the folder page.
  TOMInUseCheck* const InUseCheck = Make<TOMInUseCheck>();                 // 22
  TOMMessage* const InUseBox = Make<TOMMessage>();                         // 23
  TOMCase* const RetryTest = Make<TOMCase>();                              // 24 passes only Retry
  TOMTransaction* const Transaction = Make<TOMTransaction>();              // 25 read back, kept or put back

  // What a run without a person, the benchmark and the tests ask of the
  // whole. The folder field's text as its window object holds it: a change
  // is reported where the field's native window exists, as Browse's is, and
  // else nothing follows it before Install reads it.
  std::string FolderText() const;
  void SetFolderText(const std::string& folder);
  // Install as the folder page fires it once the drive has room: the page
  // hides, the folder is read, remembered and installed into. Nothing
  // happens while dispatching is muted.
  void Install();
  // The run's end as a person sees it left out: no finish page, no report
  // box (the log and the exit code say it instead).
  void MuteReport();

private:
  TWindowObject* Form() const { return MainForm->Control; }
};
