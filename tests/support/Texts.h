// The installer's texts as a person reads them on screen, in UTF-8 as the program carries them.
#pragma once

#include <string>

namespace texts {
inline const std::string MainCaption = "Установка программы Сорванта";
inline const std::string BoxCaption = "Установка программы"; // the question, the report, the damaged box
inline const std::string Question = "Вы действительно хотите отменить установку программы?";
inline const std::string Next = "Далее>", Agree = "Согласен", Back = "<Назад", Install = "Установить", // the buttons
                         Cancel = "Отмена", Done = "Готово", Browse = "Обзор";
inline const std::string ProductCaption = "Сорванта v2.1", Shortcut = "Сорванта v2.1.lnk"; // its box, the shortcut
inline const std::string FreePrefix = "Свободно: ", ReportCount = "Не удалось записать при установке: ";
inline const std::string BrowsePrompt = // it names the folder the installation makes
    "Выберите папку, в которую будет размещена папка \"Varkelo\" с устанавливаемой программой";
inline const std::string Success =
    "   Установка успешно выполнена!\r\n\r\n   Нажмите кнопку \"Готово\",  для выхода\r\n   из программы установки!";
inline const std::string Failure = "   Установка не была завершена!\r\n\r\n   Часть файлов не удалось записать.\r\n"
                                   "   Нажмите кнопку \"Готово\",  для выхода\r\n   из программы установки!";
inline const std::string NoRoom = "Недостаточно места на диске.\r\n\r\nДля установки программы необходимо 2,87 Mb.\r\n"
                                  "Освободите место на диске или выберите другую папку.";
// The entry in the system's list of installed programs, as a report names it.
inline const std::string Entry = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sorvanta";
inline const std::string Damaged =
    "Программа установки повреждена или загружена не полностью.\r\n\r\nЗагрузите её заново и повторите установку.";
inline const std::string Info = "Сделано в Ombrel.";
inline const std::string Busy = "Установка или удаление программы Сорванта v2.1 уже выполняется.\r\n\r\n"
                                "Дождитесь окончания и запустите программу снова.";
// Why something was not written or removed: a link where the product is, or an item not the product's.
inline const std::string LinkRefused =
    "На этом месте ссылка на другое место: через ссылку ничего не записывается и не удаляется";
// A file held by another program, as the box and the log say it.
inline const std::string InUseHead = "Файлы программы заняты другими программами:\r\n";
inline const std::string InUseTail =
    "\r\n\r\nЗакройте эти программы и повторите попытку, или отмените, чтобы вернуться к выбору папки.";
inline const std::string InUse = "Занят другой программой";
inline const std::string NotGoverned = "Не входит в папку программы: оставлено как есть";
} // namespace texts
