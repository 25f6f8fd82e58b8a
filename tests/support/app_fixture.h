#pragma once
// A main window over a temporary app folder: the data tree of a first install and a
// settings file beside it.

#include "app/ui/TForm1.h"
#include "app/ui/fonts.h"
#include "support/recording_modals.h"
#include "support/temp_tree.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDirIterator>
#include <memory>

struct AppFixture {
    TempTree tree;
    RecordingModals modals;

    AppFixture() {
        addFontSubstitutions(); // as the program does at start
        seedFirstInstall();
    }

    void seedFirstInstall() const {
        tree.mkdir("save");
        tree.mkdir("Excursus/changshi");
        for (int n = 1; n <= 5; ++n)
            tree.put(QStringLiteral("save/mq%1.rtf").arg(n), "{\\rtf1\\ansi\\ansicpg936 \\par}");
        for (const char* f : {"user.dat", "temp.dat", "data.dat", "Excursus/changshi/list.dat"})
            tree.put(f, {});
    }

    // The template files the build generated, copied into the tree (all but the search
    // corpus).
    void seedTemplateFiles() const {
        const QString from = QStringLiteral(LYREVANE_BUILT_APP_DIR "/data");
        QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            // The search corpus is large and read only by the search's own tests.
            if (file.contains(QLatin1String("/data/search/")))
                continue;
            const QString rel = QStringLiteral("data/") + QDir(from).relativeFilePath(file);
            tree.mkdir(QFileInfo(rel).path());
            QFile::copy(file, tree.path(rel));
        }
    }

    std::unique_ptr<TForm1> start() {
        AppContext context{DataRoot(tree.path()), tree.path("Mqini.ini"), &modals};
        return std::make_unique<TForm1>(context);
    }

    // Asks the window to close, as Esc or the frame's close button do; true when it closed.
    static bool close(TForm1& form) {
        form.show();
        return form.close();
    }

    QString ini() const;
};

#include "base/core/gbk.h"
inline QString AppFixture::ini() const {
    return gbk::decode(tree.get("Mqini.ini"));
}
