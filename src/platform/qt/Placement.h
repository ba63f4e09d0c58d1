#pragma once
// Controls are laid out at fixed pixel places under their control names.

#include <QPushButton>
#include <QString>
#include <QWidget>

namespace velkora {

template <class Widget>
Widget* place(Widget* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

// A push button that Enter in a text box never presses.
inline QPushButton* button(QWidget* parent, const char* name, const char* text, int left, int top, int width,
                           int height)
{
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setAutoDefault(false);
    return place(b, name, left, top, width, height);
}

} // namespace velkora
