#include "skin/ui/memo.h"

#include <QListWidget>
#include <QPlainTextEdit>

namespace skin {

QFont songFont(int pixelSize) {
    QFont f;
    f.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                   QStringLiteral("Noto Sans Mono CJK SC")});
    f.setPixelSize(pixelSize);
    return f;
}

QPlainTextEdit* makeMemo(const QString& name, QWidget* parent, bool readOnly, const QString& hint) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setReadOnly(readOnly);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setStatusTip(hint);
    return memo;
}

QListWidget* makeListBox(const QString& name, QWidget* parent, const QString& hint) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setFrameShape(QFrame::NoFrame);
    list->setStatusTip(hint);
    return list;
}

} // namespace skin
