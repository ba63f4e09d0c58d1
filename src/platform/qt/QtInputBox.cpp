#include "platform/qt/QtInputBox.h"

#include <QInputDialog>
#include <QLineEdit>

#include "platform/qt/QtText.h"

namespace velkora {

std::optional<std::string> QtInputBox::askText(const std::string& caption, const std::string& prompt, bool masked)
{
    QInputDialog box;
    box.setObjectName(QStringLiteral("InputBox"));
    box.setWindowModality(Qt::ApplicationModal);
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(toQt(caption));
    box.setLabelText(toQtLines(prompt));
    box.setTextEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
    box.setTextValue(QString());
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return fromQt(box.textValue());
}

} // namespace velkora
