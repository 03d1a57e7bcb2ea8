#pragma once
#include <string>

// Writes a shell link at linkFile pointing to target, with the working folder
// and description; nothing else of the link is set. Failures are not reported.
void CreateLink(const std::string& target, const std::string& linkFile, const std::string& workDir,
                const std::string& description);
