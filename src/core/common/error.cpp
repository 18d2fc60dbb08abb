// SPDX-License-Identifier: MIT
#include "core/common/error.hpp"

#include "core/common/codepage.hpp"

#include <cerrno>
#include <string_view>

namespace kavo {

namespace {

struct Reason {
    int code;
    Message<> wording;
};

// The failures a teacher meets when writing to a disk, a USB stick or a network folder.
constexpr Reason reasons[] = {
    {EACCES, {"Permission denied", "Доступ запрещён"}},
    {EPERM, {"Operation not permitted", "Операция не разрешена"}},
    {ENOENT, {"No such file or folder", "Нет такого файла или папки"}},
    {ENOSPC, {"No space left on the disk", "На диске не осталось места"}},
    {EDQUOT, {"Disk quota exceeded", "Превышена дисковая квота"}},
    {EROFS, {"The disk is read-only", "Диск доступен только для чтения"}},
    {EEXIST,
     {"A file or folder of that name already exists",
      "Файл или папка с таким именем уже существует"}},
    {ENOTDIR, {"A part of the path is not a folder", "Часть пути не является папкой"}},
    {EISDIR, {"It is a folder", "Это папка"}},
    {ENAMETOOLONG, {"The name is too long", "Слишком длинное имя"}},
    {ELOOP, {"Too many symbolic links in the path", "Слишком много символических ссылок в пути"}},
    {EMFILE, {"Too many open files", "Открыто слишком много файлов"}},
    {ENFILE, {"Too many open files in the system", "В системе открыто слишком много файлов"}},
    {EIO,
     {"Input/output error (the disk may be damaged or removed)",
      "Ошибка ввода-вывода (диск повреждён или извлечён)"}},
    {EXDEV, {"The files are on different disks", "Файлы находятся на разных дисках"}},
    {EBUSY, {"The file or folder is in use", "Файл или папка заняты"}},
    {ETXTBSY, {"The file is in use", "Файл занят"}},
    {ENOTEMPTY, {"The folder is not empty", "Папка не пуста"}},
    {EFBIG, {"The file is too large", "Файл слишком велик"}},
    {EMLINK, {"Too many links", "Слишком много ссылок"}},
    {ENOMEM, {"Not enough memory", "Недостаточно памяти"}},
    {EINVAL, {"Invalid name or operation", "Недопустимое имя или операция"}},
    {ENODEV, {"No such device", "Нет такого устройства"}},
    {ENXIO, {"No such device", "Нет такого устройства"}},
    {ETIMEDOUT, {"The network folder did not answer in time", "Сетевая папка не ответила вовремя"}},
    {ESTALE, {"The network folder is no longer available", "Сетевая папка больше недоступна"}},
    {EOPNOTSUPP, {"The disk does not support this operation", "Диск не поддерживает эту операцию"}},
};

// Paths are shown as their UTF-8 bytes, the way the file system holds them.
std::string shown(const std::filesystem::path& path) {
    const auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

std::string withReason(std::string first, int reason, Lang lang) {
    return reason == 0 ? first : first + "\n" + systemReason(reason, lang);
}

constexpr Message<1> openWording{"Cannot open file %1", "Не удаётся открыть файл %1"};
constexpr Message<1> createWording{"Cannot create file %1", "Не удаётся создать файл %1"};
constexpr Message<1> integerWording{"'%1' is not a valid integer value",
                                    "'%1' не является целым числом"};

} // namespace

std::string systemReason(int reason, Lang lang) {
    for (const auto& r : reasons)
        if (r.code == reason)
            return r.wording.utf8(lang);
    return (lang == Lang::English ? "System error " : "Системная ошибка ") + std::to_string(reason);
}

Error::Error(const std::string& report) : Error(Kind::Refused, {}, 0, report, report) {}

Error::Error(Kind kind, std::filesystem::path path, int reason, std::string en, std::string ru)
    : std::runtime_error(withReason(en, reason, Lang::English)), kind_(kind),
      path_(std::move(path)), reason_(reason), en_(std::move(en)), ru_(std::move(ru)) {}

Error Error::cannotOpen(const std::filesystem::path& path, int reason) {
    const std::string shownPath = shown(path);
    return Error(Kind::CannotOpen, path, reason, openWording.utf8(Lang::English, {shownPath}),
                 openWording.utf8(Lang::Russian, {shownPath}));
}

Error Error::cannotCreate(const std::filesystem::path& path, int reason) {
    const std::string shownPath = shown(path);
    return Error(Kind::CannotCreate, path, reason, createWording.utf8(Lang::English, {shownPath}),
                 createWording.utf8(Lang::Russian, {shownPath}));
}

// The text comes from a form field or a file, in Windows-1251; the report is UTF-8.
Error Error::notInteger(const std::string& text) {
    const auto utf8 = cp1251ToUtf8(text);
    return Error(Kind::NotInteger, {}, 0, integerWording.utf8(Lang::English, {utf8}),
                 integerWording.utf8(Lang::Russian, {utf8}));
}

Error Error::refused(const Message<>& wording) {
    return Error(Kind::Refused, {}, 0, wording.utf8(Lang::English), wording.utf8(Lang::Russian));
}

Error Error::refused(const Message<1>& wording, const std::filesystem::path& path, int reason) {
    const std::string shownPath = shown(path);
    return Error(Kind::Refused, path, reason, wording.utf8(Lang::English, {shownPath}),
                 wording.utf8(Lang::Russian, {shownPath}));
}

Error Error::declined(const Message<1>& wording, const std::filesystem::path& path) {
    Error error = refused(wording, path);
    error.kind_ = Kind::Declined;
    return error;
}

std::string Error::report(Lang lang) const {
    return withReason(lang == Lang::English ? en_ : ru_, reason_, lang);
}

} // namespace kavo
