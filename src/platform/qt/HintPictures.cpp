#include "platform/qt/HintPictures.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace velkora {
namespace {

constexpr int Columns = 6;
constexpr int Rows = 5;

// Values of the editor's example card, so the body reads like a real card.
constexpr const char* Body[4][5] = {
    {"13", "15", "23", "45", "55"},
    {"99", "15", "21", "16", "45"},
    {"72", "33", "55", "66", "88"},
    {"31", "54", "1", "45", "8"},
};

void drawTable(QPainter& painter, Orientation orientation, QSizeF size)
{
    const QColor line(0x1f, 0x5f, 0xbf);
    const QColor headingFill(0xd6, 0xe6, 0xff);
    const QColor headingText(0x10, 0x3c, 0x8c);
    const double cellWidth = (size.width() - 1) / Columns;
    const double cellHeight = (size.height() - 1) / Rows;
    auto cell = [&](int column, int row) {
        return QRectF(column * cellWidth, row * cellHeight, cellWidth, cellHeight);
    };

    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    for (int i = 1; i < Columns; ++i)
        painter.fillRect(cell(i, 0), headingFill);
    for (int i = 1; i < Rows; ++i)
        painter.fillRect(cell(0, i), headingFill);

    QFont font = painter.font();
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(headingText);
    const bool across = orientation == Orientation::LettersAcross;
    for (int i = 1; i < Columns; ++i) {
        const QString heading = across ? QString(QChar(u'A' + i - 1)) : QString::number(i);
        painter.drawText(cell(i, 0), Qt::AlignCenter, heading);
    }
    for (int i = 1; i < Rows; ++i) {
        const QString heading = across ? QString::number(i) : QString(QChar(u'A' + i - 1));
        painter.drawText(cell(0, i), Qt::AlignCenter, heading);
    }

    font.setBold(false);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int row = 1; row < Rows; ++row)
        for (int column = 1; column < Columns; ++column)
            painter.drawText(cell(column, row), Qt::AlignCenter, QString::fromLatin1(Body[row - 1][column - 1]));

    painter.setPen(QPen(line, 1));
    for (int i = 0; i <= Columns; ++i)
        painter.drawLine(QPointF(i * cellWidth, 0), QPointF(i * cellWidth, Rows * cellHeight));
    for (int i = 0; i <= Rows; ++i)
        painter.drawLine(QPointF(0, i * cellHeight), QPointF(Columns * cellWidth, i * cellHeight));
}

} // namespace

QSize hintPictureSize(Orientation orientation)
{
    return orientation == Orientation::LettersAcross ? QSize(143, 119) : QSize(143, 118);
}

QPixmap hintPicture(Orientation orientation)
{
    return hintPicture(orientation, hintPictureSize(orientation));
}

QPixmap hintPicture(Orientation orientation, QSize box)
{
    const QSize natural = hintPictureSize(orientation);
    const double scale = std::min(static_cast<double>(box.width()) / natural.width(),
                                  static_cast<double>(box.height()) / natural.height());
    const QSizeF drawn(natural.width() * scale, natural.height() * scale);

    QImage image(box, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.translate((box.width() - drawn.width()) / 2, (box.height() - drawn.height()) / 2);
    painter.scale(scale, scale);
    drawTable(painter, orientation, QSizeF(natural));
    painter.end();
    return QPixmap::fromImage(image);
}

} // namespace velkora
