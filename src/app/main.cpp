// Program entry: the application title, the main window, the event loop.

#include "app/core/app_folder.h"
#include "app/ui/TForm1.h"
#include "app/ui/app_icon.h"
#include "app/ui/fonts.h"
#include "app/ui/qt_translations.h"
#include "base/ui/modals.h"
#include "skin/ui/message_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>

namespace {

// The folder of the running executable, however it was started (by a path, through
// PATH or a link); argv[0] only where the system does not say.
QString executableFolder(const char* argv0) {
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return QFileInfo(self.isEmpty() ? QString::fromLocal8Bit(argv0) : self).absolutePath();
}

// A second copy on the same folder would write its documents, settings and favourites
// over the first one's at its close: it says so and ends, before reading anything.
int refuseSecondCopy(const QString& folder, qint64 holder) {
    const QString text =
        QStringLiteral("Lyrevane 已经在这个文件夹上运行（进程 %1）：\n%2\n\n"
                       "请回到已打开的窗口继续写作。同一文件夹上的第二个窗口会在关闭时"
                       "覆盖前一个窗口的文档、设置和收藏，所以这次启动不读写任何文件，"
                       "现在退出。")
            .arg(holder)
            .arg(QDir::toNativeSeparators(folder));
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(kApplicationTitle), text,
                    QMessageBox::Ok);
    box.setObjectName(QStringLiteral("AlreadyRunning"));
    box.exec();
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const QString exeFolder = executableFolder(argv[0]);
    // Installed as a package, the read-only tree is under …/share/lyrevane.
    const QString shipped = app_folder::shippedFolder(exeFolder);
    useShippedFontAliases(shipped.isEmpty() ? exeFolder : shipped);
    QApplication app(argc, argv);
    app.setApplicationName(QString::fromUtf8(kApplicationTitle));
    installQtChinese(app);
    addFontSubstitutions();
    // Drawn by appIconImage at build time and compiled in: drawing it here would open a
    // CJK serif face that nothing else on the first screen uses.
    QIcon windowIcon;
    for (int size : kWindowIconSizes)
        windowIcon.addFile(QStringLiteral(":/lyrevane-%1.png").arg(size), QSize(size, size));
    app.setWindowIcon(windowIcon);
    TskMessageDialog::presentProgramBoxes(); // every message in the kit's dialog

    // Started from another folder, the data tree beside the executable is used; an
    // installed program keeps the user's files in their own folder, made on first start.
    QString dataFolder = app_folder::chooseDataFolder(QDir::currentPath(), exeFolder);
    const bool installed = !shipped.isEmpty() && !app_folder::holdsDataTree(dataFolder);
    if (installed) {
        dataFolder = app_folder::userFolder();
        QString error;
        if (!app_folder::seedUserFolder(dataFolder, shipped, &error)) {
            QMessageBox::critical(nullptr, QString::fromUtf8(kApplicationTitle), error);
            return 1;
        }
    }
    FolderLock lock(dataFolder);
    if (!lock.tryLock())
        return refuseSecondCopy(dataFolder, lock.holderPid());

    AppContext context{.root = installed ? DataRoot(dataFolder, shipped) : DataRoot(dataFolder)};
    if (installed)
        context.settingsPath = QDir(dataFolder).filePath(QStringLiteral("Mqini.ini"));
    TForm1 form(std::move(context));
    // Mapped at the size it takes on activation, so the first paint is the last layout:
    // shown at its restored size it would be drawn twice, then maximised a moment later.
    form.setWindowState(form.windowState() | Qt::WindowMaximized);
    form.show();
    return app.exec();
}
