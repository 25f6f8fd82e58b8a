#include "skin/ui/theme_manager.h"

#include "skin/ui/skin_style.h"
#include "skin/ui/title_bar.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

TskFileTheme::TskFileTheme(const QString& name, QObject* owner) : QObject(owner) {
    setObjectName(name);
}

bool TskFileTheme::setThemeFile(const QString& path) {
    QString found = path;
    if (!QFileInfo(found).isFile()) {
        found = QDir(QCoreApplication::applicationDirPath()).filePath(QFileInfo(path).fileName());
        if (path.isEmpty() || !QFileInfo(found).isFile()) {
            m_error = QStringLiteral("找不到主题文件 %1").arg(path);
            return false;
        }
    }
    m_path = path;
    QFile file(found);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Cannot open file %1").arg(found);
        m_theme = {};
        return false;
    }
    if (!m_theme.read(file, &m_error))
        return false;
    m_error.clear();
    Q_EMIT themeChanged();
    return true;
}

TskForm::TskForm(const QString& name, QWidget* window, UIStyle style)
    : QObject(window), m_window(window), m_style(style) {
    setObjectName(name);
    skin::SkinStyle::install();
    apply();
}

TskForm::~TskForm() {
    skin::unregisterLook(m_window);
}

void TskForm::setUIStyle(UIStyle s) {
    m_style = s;
    apply();
}

void TskForm::setFileTheme(TskFileTheme* theme) {
    if (theme == m_theme)
        return;
    if (m_themeChanged)
        disconnect(m_themeChanged);
    m_theme = theme;
    if (theme)
        m_themeChanged = connect(theme, &TskFileTheme::themeChanged, this, &TskForm::apply);
    apply();
}

void TskForm::apply() {
    // 1. Resolve; 2. the window takes the style's colours; 3. every control inside it
    // draws from the same look, over which its own role and the user's colours lie.
    m_look = skin::Look::make(m_style, m_theme ? &m_theme->theme() : nullptr);
    skin::registerLook(m_window, &m_look);
    m_window->setPalette(m_look.palette());
    // The style's narrowest window, unless the window has a fixed width of its own.
    // Never wider than the screen, or the title bar's buttons would lie beyond it.
    if (m_window->minimumWidth() != m_window->maximumWidth()) {
        int narrowest = m_look.formMinWidth;
        if (const QScreen* screen = m_window->screen())
            narrowest = std::min(narrowest, screen->availableGeometry().width());
        m_window->setMinimumWidth(narrowest);
    }
    placeFrame();
    if (m_titleBar)
        m_titleBar->update();
    m_window->update();
    Q_EMIT styleApplied();
}

void TskForm::followOwner(const QWidget* owner) {
    const QWidget* window = owner ? owner->window() : nullptr;
    auto* ownerFrame =
        window ? window->findChild<TskForm*>(QStringLiteral("skForm1"), Qt::FindDirectChildrenOnly)
               : nullptr;
    if (!ownerFrame || ownerFrame == this)
        return;
    auto follow = [this, ownerFrame] {
        setFileTheme(ownerFrame->fileTheme());
        setUIStyle(ownerFrame->uiStyle());
    };
    follow();
    connect(ownerFrame, &TskForm::styleApplied, this, follow);
}

void TskForm::setFramed(bool reserveSpace, bool dialog) {
    if (m_titleBar)
        return;
    m_window->setWindowFlag(Qt::FramelessWindowHint, true);
    m_titleBar = new TskTitleBar(m_window, dialog);
    if (reserveSpace) {
        m_window->setContentsMargins(kEdge, kEdge + TskTitleBar::kHeight, kEdge, kEdge);
        if (!dialog) {
            for (Qt::Edges e : {Qt::Edges(Qt::LeftEdge), Qt::Edges(Qt::RightEdge),
                                Qt::Edges(Qt::TopEdge), Qt::Edges(Qt::BottomEdge),
                                Qt::TopEdge | Qt::LeftEdge, Qt::TopEdge | Qt::RightEdge,
                                Qt::BottomEdge | Qt::LeftEdge, Qt::BottomEdge | Qt::RightEdge})
                m_grips << new TskFrameGrip(m_window, e);
        }
    }
    m_window->installEventFilter(this);
    placeFrame();
}

void TskForm::placeFrame() {
    if (!m_titleBar)
        return;
    const QRect r = m_window->rect();
    const bool maximised = m_window->isMaximized();
    const int e = m_grips.isEmpty() && m_window->contentsMargins().left() == 0 ? 0 : kEdge;
    m_titleBar->setGeometry(e, e, r.width() - 2 * e, TskTitleBar::kHeight);
    m_titleBar->raise();
    for (TskFrameGrip* g : std::as_const(m_grips)) {
        const Qt::Edges edges = g->edges();
        const int c = 12; // corners reach this far along their edges
        const int w = edges & (Qt::LeftEdge | Qt::RightEdge)
                          ? (edges & (Qt::TopEdge | Qt::BottomEdge) ? c : kEdge)
                          : r.width() - 2 * c;
        const int h = edges & (Qt::TopEdge | Qt::BottomEdge)
                          ? (edges & (Qt::LeftEdge | Qt::RightEdge) ? c : kEdge)
                          : r.height() - 2 * c;
        const int x = edges & Qt::LeftEdge ? 0 : edges & Qt::RightEdge ? r.width() - w : c;
        const int y = edges & Qt::TopEdge ? 0 : edges & Qt::BottomEdge ? r.height() - h : c;
        g->setGeometry(x, y, w, h);
        g->setVisible(!maximised);
        g->raise();
    }
    // Round upper corners where the style has them, except when maximised.
    const int round = maximised ? 0 : m_look.roundCorner;
    if (round > 0) {
        QRegion mask(r);
        for (int i = 0; i < round; ++i) {
            // The part of each corner square outside the circle of radius `round`.
            const double dy = round - i - 0.5;
            const int cut = round - int(std::sqrt(double(round) * round - dy * dy) + 0.5);
            if (cut > 0) {
                mask -= QRegion(0, i, cut, 1);
                mask -= QRegion(r.width() - cut, i, cut, 1);
            }
        }
        m_window->setMask(mask);
    } else if (!m_window->mask().isEmpty()) {
        m_window->clearMask();
    }
}

bool TskForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            placeFrame();
            break;
        case QEvent::WindowTitleChange:
        case QEvent::ActivationChange:
            m_titleBar->update();
            break;
        case QEvent::Paint: {
            // The border, in the style's colour and width, round the window's edge.
            QPainter p(m_window);
            const int w = std::clamp(m_look.formBorderWidth, 0, kEdge);
            if (w > 0 && !m_window->isMaximized()) {
                p.setPen(QPen(m_look.formBorder, w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
                p.setBrush(Qt::NoBrush);
                const qreal h = w / 2.0;
                p.drawRect(QRectF(m_window->rect()).adjusted(h, h, -h, -h));
            }
            break;
        }
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

QString TskForm::caption() const {
    return m_window->windowTitle();
}

void TskForm::setCaption(const QString& caption) {
    m_window->setWindowTitle(caption);
}

TskThemeManager::TskThemeManager(const QString& name, QWidget* form) : QObject(form), m_form(form) {
    setObjectName(name);
}

void TskThemeManager::setUIStyle(UIStyle s) {
    const bool changed = s != m_style;
    m_style = s;
    for (const QString& name : std::as_const(m_list)) {
        QObject* c = m_form->findChild<QObject*>(name);
        if (!c)
            continue;
        c->setProperty("uiStyle", int(s));
        c->setProperty("fileTheme", QVariant::fromValue<QObject*>(m_theme.data()));
    }
    if (changed)
        Q_EMIT OnUIStyleChanged();
}

void TskThemeManager::setFileTheme(TskFileTheme* theme) {
    if (theme != m_theme) {
        disconnect(m_themeGone);
        m_theme = theme;
    }
    if (theme && !m_themeGone) {
        // A removed theme leaves the manager on the fallback style; queued, so that a
        // form taking its theme down with it is not walked while it is destroyed.
        m_themeGone = connect(
            theme, &QObject::destroyed, this,
            [this] {
                m_theme = nullptr;
                setUIStyle(UIStyle::DeepBlue);
            },
            Qt::QueuedConnection);
    }
    setUIStyle(m_style);
}

void TskThemeManager::setCompList(const QStringList& names) {
    m_list = names;
    for (const QString& name : names) {
        if (QObject* c = m_form->findChild<QObject*>(name))
            connect(c, &QObject::destroyed, this, [this, name] { m_list.removeAll(name); });
    }
}
