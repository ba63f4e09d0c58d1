#pragma once
// Small widgets of the main window that behave like the designed controls: labels that keep the
// designed line pitch, hyperlink labels, the coordinate boxes, the keyword box and the card list.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QValidator>

namespace velkora {

// A static text whose lines (separated by LF) step down by one em, so that multi-line captions
// stay level with the controls they name whatever the font's own line spacing. With spread on, a
// line whose words are separated by a run of blanks puts its last word flush right.
class LineLabel : public QLabel {
    Q_OBJECT
public:
    explicit LineLabel(const QString& text, QWidget* parent = nullptr);
    void setSpread(bool spread);
    int linePitch() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool spread_ = false;
};

// A text in the link colour, underlined, that reports a left click.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Turns the Latin letters a to z into capitals as they are typed, pasted or set.
class UpperLatinValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// A coordinate box: three characters at most, centred, capitals; selects its whole text on
// getting the focus.
class CellEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CellEdit(QWidget* parent = nullptr);

signals:
    void focused();

protected:
    void focusInEvent(QFocusEvent* event) override;
};

// The editable keyword box. In plain mode it has no drop-down list: no arrow and no pop-up.
// Selects its whole text on getting the focus.
class KeywordCombo : public QComboBox {
    Q_OBJECT
public:
    explicit KeywordCombo(QWidget* parent = nullptr);
    void setPlain(bool plain);
    bool isPlain() const { return plain_; }
    void showPopup() override;

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    bool plain_ = false;
};

// Draws the cell and its right and bottom grid lines.
class GridLineDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The card list: a flat report view that passes on its keys and clicks as the list's events.
class CardListWidget : public QTreeView {
    Q_OBJECT
public:
    explicit CardListWidget(QWidget* parent = nullptr);

signals:
    void keyDown(int virtualKey); // 46 Delete, 45 Insert, 13 Enter
    void doubleClickedAnywhere();
    void rightClicked(const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace velkora
