#pragma once
#include <string>

// Writes a shell link at linkFile pointing to target, with the working folder
// and description; nothing else of the link is set. Every step is tried even
// after one failed; the result is the first failing HRESULT, or 0 (S_OK).
long CreateLink(const std::string& target, const std::string& linkFile, const std::string& workDir,
                const std::string& description);
