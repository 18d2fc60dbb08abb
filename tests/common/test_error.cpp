// SPDX-License-Identifier: MIT
#include "core/common/error.hpp"

#include <gtest/gtest.h>

using kavo::Error;
using kavo::Lang;

TEST(Error, ReportsInBothLanguagesWithTheReason) {
    struct Case {
        Error error;
        const char* en;
        const char* ru;
    };
    const kavo::Message<1> refusal{"Refused %1 (100%%)", "Отказано %1 (100%%)"};
    const Case cases[] = {
        {Error::cannotOpen("/y/t.txt", EACCES), "Cannot open file /y/t.txt\nPermission denied",
         "Не удаётся открыть файл /y/t.txt\nДоступ запрещён"},
        {Error::cannotCreate("/y/Год/task.asp", ENOSPC),
         "Cannot create file /y/Год/task.asp\nNo space left on the disk",
         "Не удаётся создать файл /y/Год/task.asp\nНа диске не осталось места"},
        {Error::cannotCreate("/usb/3", EROFS), "Cannot create file /usb/3\nThe disk is read-only",
         "Не удаётся создать файл /usb/3\nДиск доступен только для чтения"},
        {Error::cannotOpen("/x", 4321), "Cannot open file /x\nSystem error 4321",
         "Не удаётся открыть файл /x\nСистемная ошибка 4321"},
        {Error::cannotOpen("/x", 0), "Cannot open file /x", "Не удаётся открыть файл /x"},
        {Error::notInteger("\xC4\xE2\xE0%1%%"), "'Два%1%%' is not a valid integer value",
         "'Два%1%%' не является целым числом"},
        {Error::refused(refusal, "/p%1", ELOOP),
         "Refused /p%1 (100%)\nToo many symbolic links in the path",
         "Отказано /p%1 (100%)\nСлишком много символических ссылок в пути"},
        {Error("\nUnable to create the folder /y"), "\nUnable to create the folder /y",
         "\nUnable to create the folder /y"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string(c.error.what()), c.en);
        EXPECT_EQ(c.error.report(Lang::English), c.en);
        EXPECT_EQ(c.error.report(Lang::Russian), c.ru);
    }
}
