#include "library/ui/reading_window.h"

#include "skin/ui/skinned.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>

namespace reading {

QHBoxLayout* windowRow(QWidget* window, const QString& title, QSize size) {
    // The kit's frame, our own title bar and border, in the style of the window it was
    // opened from, following that window's later changes of style too.
    auto* frame = new TskForm(QStringLiteral("skForm1"), window);
    frame->setFramed(true);
    frame->setCaption(title);
    frame->followOwner(window->parentWidget());
    window->resize(size);
    auto* row = new QHBoxLayout(window);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    return row;
}

TskSideChannel* sideChannel(const QString& name, QWidget* parent, bool pinned, int width) {
    auto* channel = new TskSideChannel(name, parent);
    channel->setOpenWidth(width);
    if (pinned)
        channel->open(true); // shown open with the window, not sliding in
    channel->setStayOn(pinned);
    auto* layout = new QVBoxLayout(channel);
    layout->setContentsMargins(0, 0, 0, 0);
    return channel;
}

std::pair<TskPanel*, QListWidget*> listPanel(TskSideChannel* channel, const QString& caption) {
    auto* panel = new TskPanel(QStringLiteral("skPanel1"), channel, caption);
    QListWidget* list = skin::makeListBox(QStringLiteral("ListBox1"), panel);
    list->setFont(skin::songFont(14));
    panel->body()->addWidget(list);
    channel->layout()->addWidget(panel);
    return {panel, list};
}

std::pair<TskPanel*, QPlainTextEdit*> textPanel(const QString& panelName, QWidget* parent,
                                                const QString& caption, const QString& memoName) {
    auto* panel = new TskPanel(panelName, parent, caption);
    QPlainTextEdit* memo = skin::makeMemo(memoName, panel, true);
    memo->setFont(skin::songFont(14));
    panel->body()->addWidget(memo);
    return {panel, memo};
}

} // namespace reading
