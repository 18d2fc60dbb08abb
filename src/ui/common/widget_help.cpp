// SPDX-License-Identifier: MIT
#include "ui/common/widget_help.hpp"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

namespace kavo::app {

QString shownCaption(const QString& caption) {
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i; // "&&" shows one "&"; "&x" shows "x" underlined
        shown += caption[i];
    }
    return shown.trimmed();
}

void describe(QWidget* widget, const QString& tip, const QString& name) {
    widget->setToolTip(tip);
    if (!name.isEmpty())
        widget->setAccessibleName(name);
}

static QString captionOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    if (const auto* menu = qobject_cast<const QMenu*>(widget))
        return menu->title();
    return {};
}

void nameByCaptions(QWidget* root) {
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (const QString caption = shownCaption(captionOf(widget));
            widget->accessibleName().isEmpty() && !caption.isEmpty())
            widget->setAccessibleName(caption);
        if (const auto* label = qobject_cast<const QLabel*>(widget);
            label && label->buddy() && label->buddy()->accessibleName().isEmpty())
            label->buddy()->setAccessibleName(shownCaption(label->text()));
    }
}

void chainFocus(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace kavo::app
