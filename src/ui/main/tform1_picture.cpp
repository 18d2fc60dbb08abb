// SPDX-License-Identifier: MIT
// The picture of the task: chosen as a JPEG or PNG file, kept as JPEG bytes until Add task
// writes it into the task folder as webfiles/picture.jpg.
#include "core/common/files.hpp"
#include "core/common/messages.hpp"
#include "core/render/render.hpp"
#include "core/tasks/task_form.hpp"
#include "ui/common/platform.hpp"
#include "ui/common/text_bridge.hpp"
#include "ui/main/tform1.hpp"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>

#include <algorithm>
#include <climits>

using namespace kavo::app;
namespace msg = kavo::msg;

namespace {

// The width Label21 has before the form's part sizes begin; a longer name is elided.
constexpr int NameWidth = 140;
constexpr int JpegQuality = 90;

enum class Conversion { Done, NotPicture, NotConverted };

// A JPEG as it is; a PNG drawn on white (a JPEG has no transparency) and saved as JPEG
// by Qt's image plugin.
Conversion toJpeg(const std::string& bytes, std::string& jpeg) {
    if (kavo::render::isJpeg(bytes)) {
        jpeg = bytes;
        return Conversion::Done;
    }
    if (!bytes.starts_with("\x89PNG\r\n\x1A\n"))
        return Conversion::NotPicture;
    QImage png;
    if (!png.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                          static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX)), "PNG"))
        return Conversion::NotPicture;
    QImage flat(png.size(), QImage::Format_RGB32);
    if (flat.isNull())
        return Conversion::NotConverted;
    flat.fill(Qt::white);
    QPainter(&flat).drawImage(0, 0, png);
    QByteArray out;
    QBuffer buffer(&out);
    if (!buffer.open(QIODevice::WriteOnly) || !flat.save(&buffer, "JPG", JpegQuality))
        return Conversion::NotConverted;
    jpeg.assign(out.constData(), static_cast<std::size_t>(out.size()));
    return kavo::render::isJpeg(jpeg) ? Conversion::Done : Conversion::NotConverted;
}

} // namespace

void TForm1::connectPicture() {
    Label21->setFixedWidth(NameWidth);
    QWidget::setTabOrder(ListBox2, Button9); // skipped by Tab while picture is not "Yes"
    guard_.connect(Button9, &QPushButton::clicked, [this] { Button9Click(); });
    guard_.connect(ListBox2, &QListWidget::itemSelectionChanged,
                   [this] { pictureAnswerChanged(); });
    pictureAnswerChanged();
}

void TForm1::pictureAnswerChanged() {
    const auto row = selectedRow(ListBox2);
    const bool yes =
        row && kavo::tasks::sameIgnoringCase(ListBox2->item(*row)->text().toStdString(), "Yes");
    Button9->setEnabled(yes);
    if (!yes)
        forgetPicture();
}

void TForm1::forgetPicture() {
    picture_.reset();
    Label21->clear();
    Label21->setToolTip({});
    Label21->setAccessibleName(caption(msg::form1::name::noPictureChosen));
}

void TForm1::Button9Click() {
    QString start = pictureFolder_;
    if (start.isEmpty())
        start = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const auto file =
        platform_.chooseFile(this, Platform::FileMode::Open, caption(msg::form1::pictureTitle),
                             start, caption(msg::form1::pictureFilter));
    if (!file)
        return;
    const QString shown = QDir::toNativeSeparators(*file);
    // A file that cannot be read stops here with the system's reason; the choice stays.
    const std::string bytes = kavo::readFileBytes(toPath(*file));
    std::string jpeg;
    switch (toJpeg(bytes, jpeg)) {
    case Conversion::NotPicture:
        inform(text(msg::form1::notPicture, lang_, {shown.toStdString()}));
        return;
    case Conversion::NotConverted:
        inform(text(msg::form1::notConverted, lang_, {shown.toStdString()}));
        return;
    case Conversion::Done:
        break;
    }
    picture_ = std::move(jpeg);
    pictureFolder_ = QFileInfo(*file).absolutePath();
    const QString name = QFileInfo(*file).fileName();
    Label21->setText(Label21->fontMetrics().elidedText(name, Qt::ElideMiddle, NameWidth));
    Label21->setToolTip(shown);
    Label21->setAccessibleName(text(msg::form1::name::pictureChosen, lang_, {name.toStdString()}));
}
