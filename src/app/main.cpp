// Program entry: the application title, the main window, the event loop.

#include "app/ui/TForm1.h"
#include "app/ui/app_icon.h"
#include "app/ui/fonts.h"
#include "base/ui/modals.h"
#include "skin/ui/message_dialog.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QPixmap>

int main(int argc, char** argv) {
    useShippedFontAliases(QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath());
    QApplication app(argc, argv);
    app.setApplicationName(QString::fromUtf8(kApplicationTitle));
    addFontSubstitutions();
    app.setWindowIcon(QIcon(QPixmap::fromImage(appIconImage(256))));
    TskMessageDialog::presentProgramBoxes(); // every message in the kit's dialog
    TForm1 form;
    form.show();
    return app.exec();
}
