// Program entry: the application title, the main window, the event loop.

#include "app/ui/TForm1.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationDisplayName(QStringLiteral("Lyrevane 终结版"));
    TForm1 form;
    form.show();
    return app.exec();
}
