#include "favourites/ui/favourites_panels.h"

#include "base/core/data_root.h"
#include "favourites/core/favourite_keys.h"
#include "skin/ui/skinned.h"

#include <QBoxLayout>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

// The add icon of the title, drawn plain and highlighted.
QPixmap addIcon(bool hover) {
    QPixmap pm(13, 12);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(hover ? QColor(0xc0, 0x30, 0x30) : QColor(0x40, 0x40, 0x40), 2));
    p.drawLine(6, 1, 6, 11);
    p.drawLine(1, 6, 11, 6);
    return pm;
}

} // namespace

FavouritesPanels::FavouritesPanels(QWidget* verseColumn, QBoxLayout* centre)
    : QObject(verseColumn) {
    setObjectName(QStringLiteral("favouritesPanels"));
    listPanel = new TskPanel(QStringLiteral("skPanel4"), verseColumn, QStringLiteral("我的收藏"));
    listPanel->setStatusTip(QStringLiteral("我的收藏"));
    auto* strip = static_cast<QHBoxLayout*>(listPanel->captionStrip()->layout());
    // A flat button without caption or picture, 87 pixels from the title's left edge,
    // over the title's free space rather than in its row.
    titleAddButton = new QToolButton(listPanel->captionStrip());
    titleAddButton->setObjectName(QStringLiteral("SpeedButton13"));
    titleAddButton->setAutoRaise(true);
    titleAddButton->setFixedSize(13, 14);
    titleAddButton->move(87, 1);
    titleAddButton->raise();
    plainAddIcon = new QLabel(listPanel->captionStrip());
    plainAddIcon->setObjectName(QStringLiteral("Image1"));
    plainAddIcon->setPixmap(addIcon(false));
    plainAddIcon->setFixedSize(13, 12);
    hoverAddIcon = new QLabel(listPanel->captionStrip());
    hoverAddIcon->setObjectName(QStringLiteral("Image2"));
    hoverAddIcon->setPixmap(addIcon(true));
    hoverAddIcon->setFixedSize(13, 12);
    hoverAddIcon->hide();
    strip->addWidget(plainAddIcon);
    strip->addWidget(hoverAddIcon);
    plainAddIcon->setMouseTracking(true);
    plainAddIcon->installEventFilter(this);
    hoverAddIcon->installEventFilter(this);
    favouritesList =
        skin::makeListBox(QStringLiteral("skListBox4"), listPanel, QStringLiteral("我的收藏"));
    listPanel->body()->addWidget(favouritesList);
    verseColumn->layout()->addWidget(listPanel);

    QWidget* centreWidget = centre->parentWidget();
    poemPanel = new TskPanel(QStringLiteral("skPanel8"), centreWidget);
    poemPanel->setFixedHeight(96);
    poemPane = skin::makeMemo(QStringLiteral("skMmemo1"), poemPanel, true);
    poemPanel->body()->addWidget(poemPane);
    centre->addWidget(poemPanel);
}

void FavouritesPanels::addTemplatePane(TskPanel* templateStrip) {
    templatePane = skin::makeMemo(QStringLiteral("skMmemo3"), templateStrip, true);
    templateStrip->body()->addWidget(templatePane);
}

void FavouritesPanels::showPlainAddIcon() {
    if (hoverAddIcon->isVisible()) {
        hoverAddIcon->hide();
        plainAddIcon->show();
    }
}

bool FavouritesPanels::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    const bool over = type == QEvent::Enter || type == QEvent::MouseMove;
    if (watched == plainAddIcon && over) {
        plainAddIcon->hide();
        hoverAddIcon->show();
    } else if (watched == hoverAddIcon && type == QEvent::MouseButtonRelease) {
        Q_EMIT addRequested();
    }
    return QObject::eventFilter(watched, event);
}

QString FavouritesPanels::namesFile() {
    return QString::fromLatin1(favourites::kNamesFile);
}

QString FavouritesPanels::loadNames(const DataRoot& root) {
    QString damage;
    QSignalBlocker quiet(favouritesList); // loading shows no favourite
    favouritesList->clear();
    favouritesList->addItems(root.readOwnLines(namesFile(), &damage));
    return damage;
}

void FavouritesPanels::lockContents(bool locked) {
    poemPane->setReadOnly(locked);
    templatePane->setReadOnly(locked);
}
