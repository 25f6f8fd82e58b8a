#include "app/ui/splash_window.h"

#include "base/core/clock.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

SplashWindow::SplashWindow(Clock& clock, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Dialog) {
    setObjectName(QStringLiteral("Form17"));
    setFixedSize(444, 255);
    if (QScreen* screen = QGuiApplication::primaryScreen()) // centred on the screen
        move(screen->geometry().center() - rect().center());
    // One shot: it stops itself and closes the window.
    ClockTimer* timer = clock.startTimer(2000, false, this, [this] { accept(); });
    timer->setObjectName(QStringLiteral("Timer1"));
}

void SplashWindow::mousePressEvent(QMouseEvent*) {
    accept();
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0x10, 0x24, 0x5c));
    p.setPen(QColor(0x7f, 0x9c, 0xd8));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    // The program's icon: a seal-like square with the first character of the product.
    QRect icon(36, 78, 96, 96);
    p.fillRect(icon, QColor(0xb0, 0x20, 0x20));
    QFont seal(QStringLiteral("宋体"));
    seal.setPixelSize(64);
    p.setFont(seal);
    p.setPen(Qt::white);
    p.drawText(icon, Qt::AlignCenter, QStringLiteral("词"));
    QFont name(QStringLiteral("宋体"));
    name.setPixelSize(35);
    p.setFont(name);
    p.drawText(QRect(150, 80, 280, 50), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Lyrevane"));
    QFont edition(QStringLiteral("宋体"));
    edition.setPixelSize(24);
    p.setFont(edition);
    p.drawText(QRect(150, 130, 280, 40), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("终结版"));
    if (!m_painted) {
        m_painted = true;
        // Queued: the picture is flushed to the screen when this handler returns.
        QMetaObject::invokeMethod(this, &SplashWindow::shown, Qt::QueuedConnection);
    }
}

void AfterSplashModals::waitForSplash(const QDialog* asking) {
    if (!m_splash || asking == m_splash || !m_splash->isVisible())
        return;
    QEventLoop wait;
    QObject::connect(m_splash, &QDialog::finished, &wait, &QEventLoop::quit);
    QObject::connect(m_splash, &QObject::destroyed, &wait, &QEventLoop::quit);
    wait.exec();
}

int AfterSplashModals::exec(QDialog& dialog) {
    waitForSplash(&dialog);
    return m_inner.exec(dialog);
}

void AfterSplashModals::showError(QWidget* parent, const QString& message) {
    waitForSplash(nullptr);
    m_inner.showError(parent, message);
}

void AfterSplashModals::showMessage(QWidget* parent, const QString& message) {
    waitForSplash(nullptr);
    m_inner.showMessage(parent, message);
}
