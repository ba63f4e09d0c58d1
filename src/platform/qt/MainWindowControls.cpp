#include "platform/qt/MainWindowControls.h"

#include <QFontInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>

#include <algorithm>

namespace velkora {

LineLabel::LineLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void LineLabel::setSpread(bool spread)
{
    spread_ = spread;
    update();
}

int LineLabel::linePitch() const
{
    return std::max(1, QFontInfo(font()).pixelSize());
}

void LineLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);

    const int pitch = linePitch();
    const Qt::Alignment horizontal = alignment() & Qt::AlignHorizontal_Mask;
    const QStringList lines = text().split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QRect row(0, static_cast<int>(i) * pitch, width(), pitch);
        if (row.top() >= height())
            break;
        const QString& line = lines[i];
        const qsizetype gap = spread_ ? line.indexOf(QLatin1String("  ")) : -1;
        if (gap > 0) {
            const QString left = line.left(gap);
            const QString right = line.mid(gap).trimmed();
            style()->drawItemText(&painter, row, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), left,
                                  foregroundRole());
            style()->drawItemText(&painter, row, Qt::AlignRight | Qt::AlignVCenter, palette(), isEnabled(), right,
                                  foregroundRole());
        } else {
            style()->drawItemText(&painter, row, horizontal | Qt::AlignVCenter, palette(), isEnabled(), line,
                                  foregroundRole());
        }
    }
}

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setForegroundRole(QPalette::Link);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

QValidator::State UpperLatinValidator::validate(QString& input, int&) const
{
    for (QChar& c : input) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return Acceptable;
}

CellEdit::CellEdit(QWidget* parent) : QLineEdit(parent)
{
    setMaxLength(3);
    setAlignment(Qt::AlignCenter);
    setValidator(new UpperLatinValidator(this));
}

void CellEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // After a click the line edit places the cursor once this event is done; select afterwards.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
    emit focused();
}

KeywordCombo::KeywordCombo(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // only a pick from the list counts as choosing an entry
    setMaxVisibleItems(20);
}

void KeywordCombo::setPlain(bool plain)
{
    if (plain == plain_)
        return;
    plain_ = plain;
    // The skin draws a plain box without its drop-down part (its rules for the "plain" property),
    // one style sheet for the whole program instead of a second one on this box alone.
    setProperty("plain", plain);
    style()->unpolish(this);
    style()->polish(this);
    update();
}

void KeywordCombo::showPopup()
{
    if (!plain_)
        QComboBox::showPopup();
}

void KeywordCombo::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    if (QLineEdit* edit = lineEdit())
        QTimer::singleShot(0, edit, &QLineEdit::selectAll);
}

void GridLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const QStyle* style = option.widget ? option.widget->style() : nullptr;
    const QColor grid = style ? QColor::fromRgba(static_cast<QRgb>(
                                    style->styleHint(QStyle::SH_Table_GridLineColor, &option, option.widget)))
                              : QColor(Qt::lightGray);
    painter->save();
    painter->setPen(grid);
    const QRect r = option.rect;
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
}

CardListWidget::CardListWidget(QWidget* parent) : QTreeView(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    setItemDelegate(new GridLineDelegate(this));
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(false);
}

void CardListWidget::keyPressEvent(QKeyEvent* event)
{
    int virtualKey = 0;
    switch (event->key()) {
    case Qt::Key_Delete: virtualKey = 46; break;
    case Qt::Key_Insert: virtualKey = 45; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: virtualKey = 13; break;
    default: break;
    }
    if (virtualKey != 0) {
        event->accept();
        emit keyDown(virtualKey);
        return;
    }
    QTreeView::keyPressEvent(event);
}

void CardListWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit doubleClickedAnywhere();
}

void CardListWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        emit rightClicked(event->globalPosition().toPoint());
}

} // namespace velkora
