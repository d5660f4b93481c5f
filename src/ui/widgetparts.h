#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

// Small helpers for building forms in code.

// A label whose text wraps at the width of its column.
inline QLabel *wrapped(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// The widget with an object name (tests and style sheets find it by that name).
template <typename T>
T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}
