#include "platform/qt/QtServices.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QUrl>

#include "platform/qt/QtText.h"

namespace velkora {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

int runBox(QMessageBox::Icon icon, const std::string& text, const std::string& caption,
           QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, toQt(caption), toQtLines(text), buttons);
    box.setTextFormat(Qt::PlainText); // a card's account may look like markup
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec();
}

} // namespace

void QtMessageService::showMessage(const std::string& text, MessageIcon icon, const std::string& caption)
{
    runBox(qtIcon(icon), text, caption, QMessageBox::Ok);
}

bool QtMessageService::askYesNo(const std::string& text, const std::string& caption)
{
    return runBox(QMessageBox::Question, text, caption, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtClipboard::setText(const std::string& text)
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(toQt(text));
}

bool QtShell::isWebAddress(const std::string& url)
{
    const QUrl parsed(toQt(url), QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    return parsed.isValid() && !parsed.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

void QtShell::openUrl(const std::string& url)
{
    if (isWebAddress(url))
        QDesktopServices::openUrl(QUrl(toQt(url), QUrl::StrictMode));
}

void QtShell::openFile(const std::string& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path))));
}

} // namespace velkora
