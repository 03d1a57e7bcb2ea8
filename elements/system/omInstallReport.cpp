#include "omInstallReport.h"

namespace {

const char* const CountPrefix = "Не удалось записать при установке: ";
const char* const MorePrefix = "... и ещё ";

} // namespace

const std::string& FailureFinishText() {
  static const std::string text =
      "   Установка не была завершена!\r\n\r\n"
      "   Часть файлов не удалось записать.\r\n"
      "   Нажмите кнопку \"Готово\",  для выхода\r\n"
      "   из программы установки!";
  return text;
}

std::string InstallReportText(const TInstallLog& log) {
  if (log.Count() == 0) return std::string();
  std::string text = CountPrefix + std::to_string(log.Count()) + ".\r\n";
  const size_t shown = log.Count() < ReportedEntries ? log.Count() : ReportedEntries;
  for (size_t i = 0; i < shown; ++i) {
    const TInstallEntry& entry = log[i];
    text += "\r\n" + DisplayPath(entry.Path) + "\r\n   " + entry.Message;
  }
  if (log.Count() > shown) text += "\r\n\r\n" + std::string(MorePrefix) + std::to_string(log.Count() - shown) + ".";
  return text;
}

void TOMInstallReport::inClear(TData&, uint16_t) { InstallLog().Clear(); }

void TOMInstallReport::inCheck(TData&, uint16_t) {
  if (InstallLog().Count() == 0) return;
  // Taken before anything fires: what runs behind the links cannot change
  // the report halfway.
  const std::string report = InstallReportText(InstallLog());
  FireString(outFinishText, FailureFinishText());
  FireString(outReport, report);
}
