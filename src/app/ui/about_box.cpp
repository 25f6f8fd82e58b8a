#include "app/ui/about_box.h"

#include "app/ui/app_icon.h"
#include "app/ui/help_links.h"
#include "base/ui/url_opener.h"
#include "skin/ui/skinned.h"

#include <QEnterEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TLinkLabel::TLinkLabel(const QString& name, const QString& text, QString address, skin::Role role,
                       UrlOpener& urls, QWidget* parent)
    : QLabel(text, parent), m_address(std::move(address)), m_urls(urls) {
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    skin::setRole(this, role);
    setForegroundRole(QPalette::Link);
}

void TLinkLabel::enterEvent(QEnterEvent* event) {
    setForegroundRole(QPalette::LinkVisited);
    QLabel::enterEvent(event);
}

void TLinkLabel::leaveEvent(QEvent* event) {
    setForegroundRole(QPalette::Link);
    QLabel::leaveEvent(event);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        !m_address.trimmed().isEmpty())
        m_urls.open(QUrl(m_address.trimmed())); // whether a program took it is not checked
    QLabel::mouseReleaseEvent(event);
}

AboutBox::AboutBox(UrlOpener& urls, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form3"));
    setFixedSize(296, 363); // the whole frame
    auto* frame = new TskForm(QStringLiteral("skForm1"), this);
    frame->setFramed(true, true); // the kit's title bar and border, as the other dialogs
    frame->setCaption(QStringLiteral("Lyrevane"));
    frame->followOwner(parent);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 20, 20, 16);
    column->setSpacing(8);
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(QPixmap::fromImage(appIconImage(64)));
    column->addWidget(icon, 0, Qt::AlignHCenter);

    auto* product = new QLabel(QStringLiteral("Lyrevane"), this);
    product->setObjectName(QStringLiteral("Label1"));
    QFont productFont(QStringLiteral("黑体"));
    productFont.setPixelSize(24);
    product->setFont(productFont);
    skin::setRole(product, skin::Role::Title);
    column->addWidget(product, 0, Qt::AlignHCenter);

    auto* edition = new QLabel(QStringLiteral("终结版"), this);
    edition->setObjectName(QStringLiteral("Label2"));
    QFont editionFont(QStringLiteral("宋体"));
    editionFont.setPixelSize(16);
    edition->setFont(editionFont);
    skin::setRole(edition, skin::Role::Edition);
    column->addWidget(edition, 0, Qt::AlignHCenter);

    auto* date = new QLabel(QStringLiteral("2004.07.08"), this);
    date->setObjectName(QStringLiteral("Label3"));
    QFont dateFont(QStringLiteral("Arial"));
    dateFont.setPixelSize(11);
    date->setFont(dateFont);
    column->addWidget(date, 0, Qt::AlignHCenter);
    column->addStretch(1);

    homePageLink = new TLinkLabel(QStringLiteral("Label4"), help_links::homePage(),
                                  help_links::homePage(), skin::Role::WebLink, urls, this);
    QFont homeFont(QStringLiteral("sans-serif"));
    homeFont.setPixelSize(13);
    homeFont.setUnderline(true);
    homePageLink->setFont(homeFont);
    column->addWidget(homePageLink, 0, Qt::AlignHCenter);

    forumLink = new TLinkLabel(QStringLiteral("Label5"), QStringLiteral("登录Versefold社区"),
                               help_links::forum(), skin::Role::ForumLink, urls, this);
    QFont forumFont(QStringLiteral("宋体"));
    forumFont.setPixelSize(12);
    forumLink->setFont(forumFont);
    column->addWidget(forumLink, 0, Qt::AlignHCenter);
    column->addStretch(1);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("skButton1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    column->addWidget(ok, 0, Qt::AlignHCenter);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}
