#pragma once
#include <string>

// Writes a shell link at linkFile pointing to target, with the working folder
// and description; nothing else of the link is set. Every step is tried even
// after one failed; the result is the first failing HRESULT, or 0 (S_OK).
long CreateLink(const std::string& target, const std::string& linkFile, const std::string& workDir,
                const std::string& description);
// The target a link file names, as stored in it (nothing is resolved or
// searched for); empty when the file is no link that can be read.
std::string LinkTarget(const std::string& linkFile);
