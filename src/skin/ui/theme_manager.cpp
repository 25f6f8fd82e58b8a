#include "skin/ui/theme_manager.h"

#include "skin/ui/skin_style.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

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
    m_window->setMinimumWidth(std::max(m_window->minimumWidth(), m_look.formMinWidth));
    m_window->update();
    Q_EMIT styleApplied();
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
