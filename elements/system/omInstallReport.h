// TOMInstallReport: tells the user the truth about an installation run. Its
// inClear starts a run with an empty record; its inCheck, once the run has
// returned, fires the failure text for the finish page and then the report
// for a message box, or nothing at all when every write succeeded.
#pragma once

#include <string>

#include "InstallLog.h"
#include "Share.h"

class TOMInstallReport : public TOMObject {
public:
  TPointLink outFinishText; // the finish page's text for a run with failures
  TPointLink outReport;     // the text of the warning box

  void inClear(TData& value, uint16_t index);
  void inCheck(TData& value, uint16_t index);
};

// How many failed items the report names one by one; the rest are counted.
constexpr size_t ReportedEntries = 10;

// The finish page's text after a run with failures.
const std::string& FailureFinishText();
// The warning box's text for a record: the count, then the first
// ReportedEntries items each with its path and the system's message, then how
// many more there were. Empty for an empty record. A path too long for the
// box to fit the screen is cut in its middle (FitPath, to half its width).
// The count follows its own words when given (the uninstaller's).
std::string InstallReportText(const TInstallLog& log, const char* countPrefix = nullptr);
// The path as it fits width pixels in the font of message boxes: whole, or
// with "..." for its middle; its start (the drive) and its end (the file) stay.
std::string FitPath(const std::string& path, int width);
