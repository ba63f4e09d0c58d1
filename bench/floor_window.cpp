// The floors for the start-up figures, started and measured exactly like Velkora:
//
//   velkora_floor_window          the least a Qt program does to show a main window of the same
//                                 size (no text, no style sheet);
//   velkora_floor_window --text   the same window as any window of this program must be at
//                                 least: the Chinese font, the carried skin applied to the
//                                 application, and one line of Chinese text.

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QMainWindow>

#include <cstring>

#include "resources/CarriedFiles.h"

int main(int argc, char** argv)
{
    const bool withText = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication app(qtArgc, argv);
    if (withText) {
        QFont font = QApplication::font();
        font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"), font.family()});
        QApplication::setFont(font);
        const std::string_view skin = velkora::carriedSkin();
        app.setStyleSheet(QString::fromUtf8(skin.data(), static_cast<qsizetype>(skin.size())));
    }
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Velkora floor"));
    window.resize(485, 487);
    if (withText)
        window.setCentralWidget(new QLabel(QStringLiteral("当前数据库中无密保卡！")));
    window.show();
    return QApplication::exec();
}
