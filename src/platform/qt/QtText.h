#pragma once
// The Qt edge of the program's texts: GB18030 inside, QString (UTF-16) in the widgets.

#include <QString>

#include <string>
#include <string_view>

#include "carddata/Text.h"

namespace velkora {

inline QString toQt(std::string_view gb)
{
    const std::string utf8 = gbToUtf8(gb);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string fromQt(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return utf8ToGb(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

// A program text whose lines end in CR LF, as a widget shows it (LF only).
inline QString toQtLines(std::string_view gb)
{
    QString text = toQt(gb);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace velkora
