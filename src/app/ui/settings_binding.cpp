#include "app/ui/settings_binding.h"

#include "app/ui/centre_panes.h"
#include "base/core/gbk.h"
#include "base/core/settings_file.h"
#include "skin/ui/skinned.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QTextEdit>
#include <algorithm>

namespace settings {

namespace {

QString sectionOf(const Key& key) {
    return QString::fromLatin1(key.section);
}
QString nameOf(const Key& key) {
    return QString::fromLatin1(key.name);
}

// A font name longer than 31 bytes is cut to 31 bytes, never inside a character.
QString fontName(const QString& name) {
    const QByteArray bytes = gbk::encode(name);
    return bytes.size() <= 31 ? name : gbk::decode(gbk::truncated(bytes, 31));
}

void setChecked(QObject* target, bool checked) {
    if (auto* radio = qobject_cast<TskRadioButton*>(target))
        radio->setSkChecked(checked); // runs its click handler when it becomes checked
    else if (auto* box = qobject_cast<TskCheckBox*>(target))
        box->setSkChecked(checked); // runs its click handler on a change
    else if (auto* action = qobject_cast<QAction*>(target))
        action->setChecked(checked); // a menu check runs nothing
}

bool isChecked(QObject* source) {
    if (auto* button = qobject_cast<QAbstractButton*>(source))
        return button->isChecked();
    if (auto* action = qobject_cast<QAction*>(source))
        return action->isChecked();
    return false;
}

void setItemIndex(QObject* target, int index) {
    if (auto* list = qobject_cast<QListWidget*>(target)) {
        QSignalBlocker quiet(list); // restoring a selection reloads nothing
        list->setCurrentRow(index >= 0 && index < list->count() ? index : -1);
        if (list->currentRow() < 0)
            list->clearSelection();
    } else if (auto* combo = qobject_cast<QComboBox*>(target)) {
        QSignalBlocker quiet(combo);
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    }
}

int itemIndex(QObject* source) {
    if (auto* list = qobject_cast<QListWidget*>(source))
        return list->currentRow();
    if (auto* combo = qobject_cast<QComboBox*>(source))
        return combo->currentIndex();
    return -1;
}

void setText(QObject* target, const QString& text) {
    if (auto* memo = qobject_cast<QPlainTextEdit*>(target))
        memo->setPlainText(text);
    else if (auto* panel = qobject_cast<TskPanel*>(target))
        panel->setCaption(text);
}

QString text(QObject* source) {
    if (auto* memo = qobject_cast<QPlainTextEdit*>(source))
        return memo->toPlainText();
    if (auto* panel = qobject_cast<TskPanel*>(source))
        return panel->caption();
    return {};
}

// A window's restored size, never larger than the screen it opens on, and the window
// moved back onto that screen: a size stored on a larger screen (or written by hand)
// would put its title bar's buttons out of reach.
void fitToScreen(QWidget* w) {
    if (!w->isWindow() || !w->screen())
        return;
    const QRect room = w->screen()->availableGeometry();
    const QSize size = w->size().boundedTo(room.size()).expandedTo(QSize(1, 1));
    if (size != w->size())
        w->resize(size);
    QRect frame(w->pos(), size);
    frame.moveLeft(std::clamp(frame.left(), room.left(), room.right() - size.width() + 1));
    frame.moveTop(std::clamp(frame.top(), room.top(), room.bottom() - size.height() + 1));
    if (frame.topLeft() != w->pos())
        w->move(frame.topLeft());
}

QObject* find(QWidget* form, const QString& name) {
    if (form->objectName() == name)
        return form;
    return form->findChild<QObject*>(name);
}

// Reads `key` and applies it to each of its targets on `form`.
void apply(QWidget* form, const Key& key, const SettingsFile& file) {
    const QString section = sectionOf(key), name = nameOf(key);
    QString s;
    qint32 n = 0;
    switch (key.type) {
    case Type::String:
        s = file.readString(section, name);
        break;
    case Type::Integer:
        n = file.readInteger(section, name, key.fallback);
        break;
    case Type::Boolean:
        n = file.readBool(section, name, key.fallback != 0);
        break;
    }
    for (const QString& targetName : key.targets) {
        QObject* target = find(form, targetName);
        auto* w = qobject_cast<QWidget*>(target);
        if (!target)
            continue;
        switch (key.holds) {
        case Holds::FontName:
            if (w && !s.isEmpty()) {
                QFont f = w->font();
                f.setFamily(fontName(s));
                w->setFont(f);
            }
            break;
        case Holds::FontSize:
            if (w && n > 0) {
                QFont f = w->font();
                f.setPointSize(n);
                w->setFont(f);
            }
            break;
        case Holds::FontColor:
            if (w)
                skin::setFontColour(w, n);
            break;
        case Holds::Background:
            if (w)
                skin::setBackground(w, n);
            break;
        case Holds::ItemIndex:
            setItemIndex(target, n);
            break;
        case Holds::TabIndex:
            target->setProperty("tabIndex", n);
            break;
        case Holds::Visible:
            if (w)
                w->setVisible(n != 0);
            break;
        case Holds::CentrePane:
            if (auto* centre = form->findChild<CentrePanes*>())
                centre->restoreShown(target, n != 0);
            break;
        case Holds::Enabled:
            if (w)
                w->setEnabled(n != 0);
            break;
        case Holds::Caption:
        case Holds::Text:
            setText(target, s);
            break;
        case Holds::Height:
            if (w) {
                w->resize(w->width(), n);
                fitToScreen(w);
            }
            break;
        case Holds::Width:
            if (w) {
                w->resize(n, w->height());
                fitToScreen(w);
            }
            break;
        case Holds::Protection:
            if (auto* doc = qobject_cast<QTextEdit*>(target))
                doc->setReadOnly(n != 0);
            else
                setChecked(target, n != 0);
            break;
        case Holds::Checked:
            setChecked(target, n != 0);
            break;
        case Holds::Pinned:
            target->setProperty("pinned", n != 0);
            break;
        }
    }
}

// Writes the value `key` holds in its source control.
void write(QWidget* form, const Key& key, SettingsFile& file) {
    const QString section = sectionOf(key), name = nameOf(key);
    QObject* source = find(form, key.source.isEmpty() ? key.targets.first() : key.source);
    auto* w = qobject_cast<QWidget*>(source);
    if (!source)
        return;
    switch (key.holds) {
    case Holds::FontName:
        file.writeString(section, name, w ? w->font().family() : QString());
        break;
    case Holds::FontSize:
        file.writeInteger(section, name, w ? w->font().pointSize() : key.fallback);
        break;
    case Holds::FontColor:
        file.writeInteger(section, name, w ? skin::fontColour(w) : 0);
        break;
    case Holds::Background:
        file.writeInteger(section, name, w ? skin::background(w) : kWindowColour);
        break;
    case Holds::ItemIndex:
        file.writeInteger(section, name, itemIndex(source));
        break;
    case Holds::TabIndex:
        file.writeInteger(section, name, source->property("tabIndex").toInt());
        break;
    case Holds::Visible:
    case Holds::CentrePane:
        file.writeBool(section, name, w && !w->isHidden());
        break;
    case Holds::Enabled:
        file.writeBool(section, name, w && !w->testAttribute(Qt::WA_Disabled));
        break;
    case Holds::Caption:
    case Holds::Text:
        file.writeString(section, name, text(source));
        break;
    case Holds::Height:
        file.writeInteger(section, name,
                          w->isMaximized() && w->normalGeometry().isValid()
                              ? w->normalGeometry().height()
                              : w->height());
        break;
    case Holds::Width:
        file.writeInteger(section, name,
                          w->isMaximized() && w->normalGeometry().isValid()
                              ? w->normalGeometry().width()
                              : w->width());
        break;
    case Holds::Protection: {
        auto* doc = qobject_cast<QTextEdit*>(source);
        file.writeBool(section, name, doc && doc->isReadOnly());
        break;
    }
    case Holds::Checked:
        file.writeBool(section, name, isChecked(source));
        break;
    case Holds::Pinned:
        file.writeBool(section, name, source->property("pinned").toBool());
        break;
    }
}

} // namespace

void applyAll(QWidget* form, const SettingsFile& file) {
    for (const Key& key : mainWindowKeys()) {
        if (key.read)
            apply(form, key, file);
    }
}

void writeAll(QWidget* form, SettingsFile& file) {
    file.beginBatch();
    try {
        for (const Key& key : mainWindowKeys()) {
            if (key.written)
                write(form, key, file);
        }
    } catch (...) {
        file.abandonBatch();
        throw;
    }
    file.commitBatch();
}

} // namespace settings
