#pragma once
// Helpers of the main window's GUI tests: controls by their names, their shown texts.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace velkora::testing {

inline QString q(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// A text as a widget shows it: the CR LF line ends of the program's texts become LF.
inline QString shown(const std::string& utf8)
{
    QString text = q(utf8);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

template <class T = QWidget>
T* named(const QObject& root, const std::string& name)
{
    return root.findChild<T*>(q(name));
}

// Whether the control named `name` has the keyboard focus.
inline bool focusIsOn(const QObject& root, const std::string& name)
{
    return QApplication::focusWidget() == named(root, name);
}

// The menu item (of any menu below `root`) with exactly this text, shortcut marker included.
inline QAction* menuItem(const QObject& root, const char* text)
{
    for (QAction* action : root.findChildren<QAction*>())
        if (action->text() == QString::fromUtf8(text))
            return action;
    ADD_FAILURE() << "no menu item " << text;
    return nullptr;
}

inline QString textOf(const QWidget* widget)
{
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentText();
    return {};
}

// A menu as lines: "text<TAB>shortcut", "-" for a separator, submenu items indented, "[x]" for a
// ticked item.
inline void describeMenu(const QMenu* menu, const QString& indent, QStringList& out)
{
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            out << indent + QStringLiteral("-");
            continue;
        }
        QString line = indent + action->text();
        if (!action->shortcut().isEmpty())
            line += QLatin1Char('\t') + action->shortcut().toString();
        if (action->isCheckable())
            line += action->isChecked() ? QStringLiteral(" [x]") : QStringLiteral(" [ ]");
        out << line;
        if (action->menu())
            describeMenu(action->menu(), indent + QStringLiteral("  "), out);
    }
}

inline QStringList describeMenu(const QMenu* menu)
{
    QStringList out;
    describeMenu(menu, QString(), out);
    return out;
}

inline QStringList lines(std::initializer_list<const char*> utf8)
{
    QStringList out;
    for (const char* line : utf8)
        out << QString::fromUtf8(line);
    return out;
}

// Shows a window and waits until it has the input focus, so that focus changes can be tested.
inline bool showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

} // namespace velkora::testing
