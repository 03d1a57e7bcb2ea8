// The uninstaller's run: this program, carrying the record of an installation
// instead of its payload, started from the system's list of installed
// programs or by hand.
#pragma once

#include "ParamStr.h"
#include "omUninstall.h"

// The caption of the uninstaller's boxes.
inline const wchar_t* const UninstallCaption = L"Удаление программы";

// Asks first (No changes nothing), removes what the installation made, and
// tells what could not be removed, or that all is gone; /S does it without
// asking and without any window. A running program cannot remove its own
// file: a copy of it in the temporary folder, started with /AFTER=, waits
// for this process to end, removes the uninstaller and the folders that held
// it, and is itself removed when Windows next starts. What could not be
// removed is left in the install log, for the exit code.
void Uninstall(const TCommandLine& how, const TUninstallRecord& record);
