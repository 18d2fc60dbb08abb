// SPDX-License-Identifier: MIT
#pragma once
// The offscreen platform with a screen of a given size, set up before QApplication is
// built: a GUI test or the screenshot tool sees the windows as a teacher's screen shows them.
// Header-only, for the tests and tools/screenshots alike.

#include <QByteArray>
#include <QDir>
#include <QSaveFile>
#include <QSize>
#include <QString>

namespace kavo::test {

// Writes the platform's screen description into folder and points QT_QPA_PLATFORM at it.
// The screen size is the logical one before QT_SCALE_FACTOR divides it.
inline void useOffscreenScreen(QSize size, const QString& folder = QDir::tempPath()) {
    const QString file =
        folder + QStringLiteral("/kavo-offscreen-%1x%2.json").arg(size.width()).arg(size.height());
    // Replaced whole (a temporary file renamed): test processes started in parallel read
    // the same file, never a half-written one.
    QSaveFile config(file);
    if (config.open(QIODevice::WriteOnly)) {
        config.write(QStringLiteral("{\"screens\": [{\"name\": \"screen\", \"x\": 0, \"y\": 0, "
                                    "\"width\": %1, \"height\": %2, \"logicalDpi\": 96, "
                                    "\"logicalBaseDpi\": 96, \"dpr\": 1}]}\n")
                         .arg(size.width())
                         .arg(size.height())
                         .toUtf8());
        config.commit();
    }
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + file.toUtf8());
}

// A size "1366x768"; an empty or malformed text gives fallback.
inline QSize parseSize(const QByteArray& text, QSize fallback) {
    const QList<QByteArray> parts = text.split('x');
    bool okWidth = false, okHeight = false;
    if (parts.size() == 2) {
        const QSize size(parts[0].toInt(&okWidth), parts[1].toInt(&okHeight));
        if (okWidth && okHeight && !size.isEmpty())
            return size;
    }
    return fallback;
}

} // namespace kavo::test
