#include "omInstallReport.h"

namespace {

// "Не удалось записать при установке: "
const char* const CountPrefix =
    "\xCD\xE5 \xF3\xE4\xE0\xEB\xEE\xF1\xFC \xE7\xE0\xEF\xE8\xF1\xE0\xF2\xFC "
    "\xEF\xF0\xE8 \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE5: ";
// "... и ещё "
const char* const MorePrefix = "... \xE8 \xE5\xF9\xB8 ";

} // namespace

const std::string& FailureFinishText() {
  // "   Установка не была завершена!\r\n\r\n   Часть файлов не удалось записать.\r\n
  //  Нажмите кнопку \"Готово\",  для выхода\r\n   из программы установки!"
  static const std::string text =
      "   \xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 \xED\xE5 \xE1\xFB\xEB\xE0 "
      "\xE7\xE0\xE2\xE5\xF0\xF8\xE5\xED\xE0!\r\n"
      "\r\n"
      "   \xD7\xE0\xF1\xF2\xFC \xF4\xE0\xE9\xEB\xEE\xE2 \xED\xE5 \xF3\xE4\xE0\xEB\xEE\xF1\xFC "
      "\xE7\xE0\xEF\xE8\xF1\xE0\xF2\xFC.\r\n"
      "   \xCD\xE0\xE6\xEC\xE8\xF2\xE5 \xEA\xED\xEE\xEF\xEA\xF3 \"\xC3\xEE\xF2\xEE\xE2\xEE\",  "
      "\xE4\xEB\xFF \xE2\xFB\xF5\xEE\xE4\xE0\r\n"
      "   \xE8\xE7 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8!";
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
