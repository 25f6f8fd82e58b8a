// The bare window the program's start-up is measured against: a menu bar and an editor
// showing one line of Chinese in the program's CJK face, with the same font aliases.
// Escape closes it, as it closes the program.
//
//   reference_window APPFOLDER [--maximized] [--first-screen-text]
//
// APPFOLDER is the folder whose fonts.conf the program reads; --maximized opens the
// window maximised on its screen, as the program's main window opens;
// --first-screen-text adds the texts the program's first screen shows.

#include "reference_window.h"
#include "app/ui/fonts.h"

#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <QShortcut>

int main(int argc, char** argv) {
    useShippedFontAliases(argc > 1 ? QString::fromLocal8Bit(argv[1])
                                   : QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath());
    QApplication app(argc, argv);
    addFontSubstitutions();
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("reference"));
    bench::buildReferenceWindow(window);
    const QStringList options = app.arguments().mid(2);
    if (options.contains(QStringLiteral("--first-screen-text")))
        bench::addFirstScreenText(window);
    new QShortcut(QKeySequence(Qt::Key_Escape), &window, [&window] { window.close(); });
    if (options.contains(QStringLiteral("--maximized")))
        window.showMaximized();
    else
        window.show();
    return app.exec();
}
