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
// How long, in seconds, files held by another program are waited for: long
// enough for a program that is closing.
constexpr int32_t InUsePatience = 60;

// The folder is the one /D= names, made whole, or empty for the one the page offers.
void InstallUnattended(const TCommandLine& how, const std::string& folder);

// Writes the log file, when one was asked for: a line of head and path, then
// one per entry of the install log (entryHead, its path, ": ", the system's
// message), in UTF-8 with CR LF. Nothing when it cannot be written, when it
// lies in the product folder path names, or when its name is a link, a
// folder or one of several names of a file.
void WriteUnattendedLog(const TCommandLine& how, const char* head, const std::string& path = {},
                        const char* entryHead = "Не записано: ");
