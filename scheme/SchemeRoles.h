// The installer's containers by what they are, for readers of the scheme,
// its tests and its benchmarks: each keeps the identifier it is generated
// under, and here gets the name of its role. scheme/README.md tells which
// elements each one holds.
#pragma once

#include "omChildGroupBox_2F7DC8C.h"
#include "omChildPanel_3ECBCC0.h"
#include "omChildPanel_431CE60.h"
#include "omChildPanel_46DBE38.h"
#include "omChildPanel_47F64A8.h"
#include "omChildPanel_4E89C48.h"
#include "omChildPanel_4FD97A4.h"
#include "omChildPanel_50BE488.h"
#include "omChildPanel_5198818.h"
#include "omChildPanel_6C2F9B4.h"
#include "omMainForm_6E2E74C.h"
#include "omMultiElement_4DC2A30.h"
#include "omMultiElement_5022298.h"

using TInstallerScheme = TClassMainForm_6E2E74C; // the main window, its pages and the installation
using TWelcomeFrame = TClassChildPanel_431CE60;
using TWelcomeBody = TClassChildPanel_6C2F9B4;
using TLicenceFrame = TClassChildPanel_50BE488;
using TLicenceBody = TClassChildPanel_46DBE38;
using TLicenceHeader = TClassChildPanel_5198818;
using TFolderFrame = TClassChildPanel_4FD97A4;
using TFolderBody = TClassChildPanel_4E89C48;
using TFolderGroup = TClassChildGroupBox_2F7DC8C;
using TFinishFrame = TClassChildPanel_47F64A8;
using TFinishBody = TClassChildPanel_3ECBCC0;
using TProgramAndRecord = TClassMultiElement_4DC2A30;     // the product folder, the program file, dir.ini
using TInstallationSequence = TClassMultiElement_5022298; // the texts, pictures and shortcut

// The inner container a multi-element hosts, as the role it has.
template <class C> C& InnerOf(TOMMultiElement* host) { return *static_cast<C*>(host->Inner->Container); }
