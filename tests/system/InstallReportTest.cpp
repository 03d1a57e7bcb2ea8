// The installation report element: silent for a clean run, and for a run with
// failures the finish text first, then a box text that counts every failure
// and names the first ten with their paths and the system's words.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "InstallLog.h"
#include "omInstallReport.h"

namespace {

// Remembers every event it gets, with the point it came in on.
class TProbe : public TOMObject {
public:
  std::vector<std::string> Seen;
  void inFinish(TData& value, uint16_t) { Seen.push_back("finish:" + DataToString(value)); }
  void inReport(TData& value, uint16_t) { Seen.push_back("report:" + DataToString(value)); }
};

class InstallReportTest : public ::testing::Test {
protected:
  TOMInstallReport Report;
  TProbe Probe;
  void SetUp() override {
    StartDispatch();
    InstallLog().Clear();
    Report.outFinishText = MakePointLink<&TProbe::inFinish>(0, &Probe);
    Report.outReport = MakePointLink<&TProbe::inReport>(0, &Probe);
  }
  void TearDown() override {
    StopDispatch();
    InstallLog().Clear();
  }
  void Check() {
    TData value = IntegerData(0);
    Report.inCheck(value, 0);
  }
  static std::string PathOf(size_t i) { return "M:\\Varkelo\\Help\\page" + std::to_string(i) + ".htm"; }
};

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST_F(InstallReportTest, CleanRunOrClearedRecordFiresNothing) {
  Check();
  EXPECT_TRUE(Probe.Seen.empty());

  // A record left from an earlier run is gone once a new run starts.
  InstallLog().Add("C:\\old", ERROR_ACCESS_DENIED);
  TData start = StringData("C:\\Program Files");
  Report.inClear(start, 0);
  EXPECT_EQ(0u, InstallLog().Count());
  Check();
  EXPECT_TRUE(Probe.Seen.empty());
  EXPECT_TRUE(InstallReportText(InstallLog()).empty());
}

TEST_F(InstallReportTest, FailuresGiveTheFinishTextThenTheListInOrder) {
  InstallLog().Add("M:\\Varkelo\\Help", ERROR_ALREADY_EXISTS);
  InstallLog().Add("M:\\Varkelo\\Help\\a.htm", ERROR_PATH_NOT_FOUND);
  InstallLog().Add("M:\\Varkelo\\Zelcap2-1.exe", 0x80004005u, "own words");
  Check();

  ASSERT_EQ(2u, Probe.Seen.size());
  EXPECT_EQ("finish:" + FailureFinishText(), Probe.Seen[0]);
  const std::string report = Probe.Seen[1].substr(std::string("report:").size());
  EXPECT_EQ(InstallReportText(InstallLog()), report);
  // "Не удалось записать при установке: 3."
  EXPECT_NE(std::string::npos,
            report.find("\xCD\xE5 \xF3\xE4\xE0\xEB\xEE\xF1\xFC \xE7\xE0\xEF\xE8\xF1\xE0\xF2\xFC "
                        "\xEF\xF0\xE8 \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE5: 3."))
      << report;
  // Each path with its own message right below it, in the record's order.
  size_t at = 0;
  for (const TInstallEntry& entry : InstallLog().Entries()) {
    ASSERT_FALSE(entry.Message.empty());
    const size_t found = report.find("\r\n" + entry.Path + "\r\n   " + entry.Message, at);
    ASSERT_NE(std::string::npos, found) << entry.Path << " in\n" << report;
    at = found + 1;
  }
  EXPECT_EQ(std::string::npos, report.find("\xE5\xF9\xB8")) << "no 'more' line for three";
  // The record is only read; the next run clears it.
  EXPECT_EQ(3u, InstallLog().Count());

  // The finish text says the installation did not complete and keeps the
  // page's way out; it is not the success text.
  const std::string& finish = FailureFinishText();
  EXPECT_NE(std::string::npos, finish.find("\xED\xE5 \xE1\xFB\xEB\xE0 \xE7\xE0\xE2\xE5\xF0\xF8\xE5\xED\xE0!"));
  EXPECT_NE(std::string::npos, finish.find("\"\xC3\xEE\xF2\xEE\xE2\xEE\""));
  EXPECT_EQ(std::string::npos, finish.find("\xF3\xF1\xEF\xE5\xF8\xED\xEE"));
}

TEST_F(InstallReportTest, OnlyTheFirstTenAreNamedTheRestCounted) {
  for (size_t i = 1; i <= 12; ++i) InstallLog().Add(PathOf(i), ERROR_PATH_NOT_FOUND);
  const std::string report = InstallReportText(InstallLog());
  EXPECT_NE(std::string::npos, report.find(": 12.\r\n")) << report;
  for (size_t i = 1; i <= 12; ++i)
    EXPECT_EQ(i <= ReportedEntries ? 1u : 0u, Occurrences(report, PathOf(i) + "\r\n")) << PathOf(i);
  EXPECT_EQ(10u, Occurrences(report, InstallLog()[0].Message));
  // "... и ещё 2." at the end.
  const std::string more = "... \xE8 \xE5\xF9\xB8 2.";
  ASSERT_GE(report.size(), more.size());
  EXPECT_EQ(more, report.substr(report.size() - more.size()));

  // Exactly ten: all named, nothing more.
  InstallLog().Clear();
  for (size_t i = 1; i <= 10; ++i) InstallLog().Add(PathOf(i), ERROR_PATH_NOT_FOUND);
  const std::string ten = InstallReportText(InstallLog());
  EXPECT_NE(std::string::npos, ten.find(PathOf(10) + "\r\n"));
  EXPECT_EQ(std::string::npos, ten.find("\xE5\xF9\xB8"));
}

// Paths made by joining a drive root and "\\Varkelo" are shown with one
// separator, as the system reads them; a network path keeps its leading pair.
TEST_F(InstallReportTest, PathsAreShownWithSingleSeparators) {
  InstallLog().Add("M:\\\\Varkelo\\Help", ERROR_ALREADY_EXISTS);
  InstallLog().Add("\\\\server\\share\\\\Varkelo\\dir.ini", ERROR_BAD_NETPATH);
  const std::string report = InstallReportText(InstallLog());
  EXPECT_NE(std::string::npos, report.find("\r\nM:\\Varkelo\\Help\r\n")) << report;
  EXPECT_NE(std::string::npos, report.find("\r\n\\\\server\\share\\Varkelo\\dir.ini\r\n")) << report;
  EXPECT_EQ(std::string::npos, report.find(":\\\\")) << report;
}

} // namespace
