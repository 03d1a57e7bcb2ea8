// The installation without a person, as other installers run it from their
// command line: /S installs with no window at all, into the folder the
// folder page offers or the one /D= names, and /LOG= tells what was done.
#pragma once

#include <string>

#include "ParamStr.h"

// Builds the scheme, runs its installation on the road of the Install button
// (past the page's room check: a drive too small shows as failed writes) with
// nothing shown, frees the scheme, and writes the log. The failures stay in
// the install log, for the exit code.
void InstallUnattended(const TCommandLine& how);

// Writes the log file, when one was asked for: a line of head and path, then
// one per failure of the install log ("Not written: <path>: <the system's
// message>"), in UTF-8 with CR LF. Nothing when it cannot be written.
void WriteUnattendedLog(const TCommandLine& how, const char* head, const std::string& path = {});
