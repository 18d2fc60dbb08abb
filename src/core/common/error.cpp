// SPDX-License-Identifier: MIT
#include "core/common/error.hpp"

#include "core/common/codepage.hpp"

#include <cerrno>
#include <string_view>

namespace kavo {

namespace {

struct Reason {
    int code;
    Message wording;
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

std::string withPath(std::string_view wording, const std::string& path) {
    std::string out(wording);
    if (const auto at = out.find("%s"); at != std::string::npos)
        out.replace(at, 2, path);
    return out;
}

std::string withReason(std::string first, int reason, Lang lang) {
    return reason == 0 ? first : first + "\n" + systemReason(reason, lang);
}

constexpr Message openWording{"Cannot open file %s", "Не удаётся открыть файл %s"};
constexpr Message createWording{"Cannot create file %s", "Не удаётся создать файл %s"};
constexpr Message integerWording{"'%s' is not a valid integer value",
                                 "'%s' не является целым числом"};

} // namespace

std::string systemReason(int reason, Lang lang) {
    for (const auto& r : reasons)
        if (r.code == reason)
            return std::string(r.wording.utf8(lang));
    return (lang == Lang::English ? "System error " : "Системная ошибка ") + std::to_string(reason);
}

Error::Error(const std::string& report) : Error(Kind::Refused, {}, 0, report, report) {}

Error::Error(Kind kind, std::filesystem::path path, int reason, std::string en, std::string ru)
    : std::runtime_error(withReason(en, reason, Lang::English)), kind_(kind),
      path_(std::move(path)), reason_(reason), en_(std::move(en)), ru_(std::move(ru)) {}

Error Error::cannotOpen(const std::filesystem::path& path, int reason) {
    return Error(Kind::CannotOpen, path, reason, withPath(openWording.en, shown(path)),
                 withPath(openWording.ru, shown(path)));
}

Error Error::cannotCreate(const std::filesystem::path& path, int reason) {
    return Error(Kind::CannotCreate, path, reason, withPath(createWording.en, shown(path)),
                 withPath(createWording.ru, shown(path)));
}

// The text comes from a form field or a file, in Windows-1251; the report is UTF-8.
Error Error::notInteger(const std::string& text) {
    const auto utf8 = cp1251ToUtf8(text);
    return Error(Kind::NotInteger, {}, 0, withPath(integerWording.en, utf8),
                 withPath(integerWording.ru, utf8));
}

Error Error::refused(const Message& wording, const std::filesystem::path& path, int reason) {
    return Error(Kind::Refused, path, reason, withPath(wording.en, shown(path)),
                 withPath(wording.ru, shown(path)));
}

std::string Error::report(Lang lang) const {
    return withReason(lang == Lang::English ? en_ : ru_, reason_, lang);
}

} // namespace kavo
