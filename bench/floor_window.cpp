// The floor for the start-up figures: the least a Qt program does to show a main window of the
// same size, started and measured exactly like Velkora.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication app(qtArgc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Velkora floor"));
    window.resize(485, 487);
    window.show();
    return QApplication::exec();
}
