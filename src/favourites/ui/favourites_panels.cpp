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

FavouritesPanels::FavouritesPanels(QWidget* panel3, QBoxLayout* centre) : QObject(panel3) {
    setObjectName(QStringLiteral("favouritesPanels"));
    skPanel4 = new TskPanel(QStringLiteral("skPanel4"), panel3, QStringLiteral("我的收藏"));
    skPanel4->setStatusTip(QStringLiteral("我的收藏"));
    auto* strip = static_cast<QHBoxLayout*>(skPanel4->captionStrip()->layout());
    // A flat button without caption or picture, 87 pixels from the title's left edge,
    // over the title's free space rather than in its row.
    SpeedButton13 = new QToolButton(skPanel4->captionStrip());
    SpeedButton13->setObjectName(QStringLiteral("SpeedButton13"));
    SpeedButton13->setAutoRaise(true);
    SpeedButton13->setFixedSize(13, 14);
    SpeedButton13->move(87, 1);
    SpeedButton13->raise();
    Image1 = new QLabel(skPanel4->captionStrip());
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(addIcon(false));
    Image1->setFixedSize(13, 12);
    Image2 = new QLabel(skPanel4->captionStrip());
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(addIcon(true));
    Image2->setFixedSize(13, 12);
    Image2->hide();
    strip->addWidget(Image1);
    strip->addWidget(Image2);
    Image1->setMouseTracking(true);
    Image1->installEventFilter(this);
    Image2->installEventFilter(this);
    skListBox4 =
        skin::makeListBox(QStringLiteral("skListBox4"), skPanel4, QStringLiteral("我的收藏"));
    skPanel4->body()->addWidget(skListBox4);
    panel3->layout()->addWidget(skPanel4);

    QWidget* centreWidget = centre->parentWidget();
    skPanel8 = new TskPanel(QStringLiteral("skPanel8"), centreWidget);
    skPanel8->setFixedHeight(96);
    skMmemo1 = skin::makeMemo(QStringLiteral("skMmemo1"), skPanel8, true);
    skPanel8->body()->addWidget(skMmemo1);
    centre->addWidget(skPanel8);
}

void FavouritesPanels::addTemplatePane(TskPanel* templateStrip) {
    skMmemo3 = skin::makeMemo(QStringLiteral("skMmemo3"), templateStrip, true);
    templateStrip->body()->addWidget(skMmemo3);
}

void FavouritesPanels::showPlainAddIcon() {
    if (Image2->isVisible()) {
        Image2->hide();
        Image1->show();
    }
}

bool FavouritesPanels::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    const bool over = type == QEvent::Enter || type == QEvent::MouseMove;
    if (watched == Image1 && over) {
        Image1->hide();
        Image2->show();
    } else if (watched == Image2 && type == QEvent::MouseButtonRelease) {
        Q_EMIT addRequested();
    }
    return QObject::eventFilter(watched, event);
}

QString FavouritesPanels::namesFile() {
    return QString::fromLatin1(favourites::kNamesFile);
}

QString FavouritesPanels::loadNames(const DataRoot& root) {
    QString damage;
    QSignalBlocker quiet(skListBox4); // loading shows no favourite
    skListBox4->clear();
    skListBox4->addItems(root.readOwnLines(namesFile(), &damage));
    return damage;
}

void FavouritesPanels::lockContents(bool locked) {
    skMmemo1->setReadOnly(locked);
    skMmemo3->setReadOnly(locked);
}
