#include "skin/ui/skinned.h"

#include <QEvent>
#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

namespace skin {

namespace {
int g_designDepth = 0;
const char* kFontColour = "lyrevaneFontColour";
const char* kBackground = "lyrevaneBackground";
} // namespace

DesignScope::DesignScope() {
    ++g_designDepth;
}
DesignScope::~DesignScope() {
    --g_designDepth;
}
bool DesignScope::active() {
    return g_designDepth > 0;
}

QColor colourFromNumber(qint32 number) {
    auto n = static_cast<quint32>(number);
    if (n & 0x80000000u) {
        // The system colours the program uses; others fall back to the window text.
        QPalette p;
        switch (n & 0xFF) {
        case 5:
            return p.color(QPalette::Base); // window background
        case 8:
            return p.color(QPalette::Text); // window text
        case 15:
            return p.color(QPalette::Button); // button face
        case 13:
            return p.color(QPalette::Highlight);
        case 14:
            return p.color(QPalette::HighlightedText);
        default:
            return p.color(QPalette::WindowText);
        }
    }
    return QColor(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF));
}

void setFontColour(QWidget* w, qint32 number) {
    w->setProperty(kFontColour, number);
    QPalette p = w->palette();
    QColor c = colourFromNumber(number);
    p.setColor(QPalette::Text, c);
    p.setColor(QPalette::WindowText, c);
    w->setPalette(p);
}

qint32 fontColour(const QWidget* w) {
    QVariant v = w->property(kFontColour);
    return v.isValid() ? v.toInt() : 0;
}

void setBackground(QWidget* w, qint32 number) {
    w->setProperty(kBackground, number);
    QPalette p = w->palette();
    p.setColor(QPalette::Base, colourFromNumber(number));
    w->setPalette(p);
}

qint32 background(const QWidget* w) {
    QVariant v = w->property(kBackground);
    return v.isValid() ? v.toInt() : qint32(0x80000005u);
}

} // namespace skin

TskPanel::TskPanel(const QString& name, QWidget* parent, const QString& caption, bool captionStrip)
    : QFrame(parent) {
    setObjectName(name);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    if (captionStrip) {
        m_strip = new QWidget(this);
        m_strip->setObjectName(name + QStringLiteral("_caption"));
        m_strip->setAutoFillBackground(true);
        m_strip->setFixedHeight(20);
        auto* row = new QHBoxLayout(m_strip);
        row->setContentsMargins(4, 0, 2, 0);
        row->setSpacing(2);
        m_label = new QLabel(caption, m_strip);
        row->addWidget(m_label);
        row->addStretch(1);
        m_strip->installEventFilter(this);
        m_label->installEventFilter(this);
        outer->addWidget(m_strip);
    }
    m_body = new QVBoxLayout;
    m_body->setContentsMargins(0, 0, 0, 0);
    m_body->setSpacing(0);
    outer->addLayout(m_body, 1);
}

QString TskPanel::caption() const {
    return m_label ? m_label->text() : QString();
}

void TskPanel::setCaption(const QString& caption) {
    if (m_label)
        m_label->setText(caption);
}

bool TskPanel::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_strip || watched == m_label) && event->type() == QEvent::MouseButtonRelease)
        Q_EMIT captionClicked();
    return QFrame::eventFilter(watched, event);
}

TskCheckBox::TskCheckBox(const QString& name, const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent) {
    setObjectName(name);
}

void TskCheckBox::setSkChecked(bool checked) {
    if (checked == isChecked())
        return;
    setChecked(checked);
    update();
    if (!skin::DesignScope::active())
        Q_EMIT onClick();
}

void TskCheckBox::nextCheckState() {
    setSkChecked(!isChecked());
}

TskRadioButton::TskRadioButton(const QString& name, const QString& caption, QWidget* parent,
                               int groupIndex)
    : QRadioButton(caption, parent), m_group(groupIndex) {
    setObjectName(name);
    setAutoExclusive(false); // siblings are cleared by the Checked rule itself
}

void TskRadioButton::setSkChecked(bool checked) {
    if (checked == isChecked())
        return;
    setChecked(checked);
    update();
    if (!checked)
        return;
    if (QWidget* parent = parentWidget()) {
        for (auto* other : parent->findChildren<TskRadioButton*>(Qt::FindDirectChildrenOnly)) {
            if (other != this && other->m_group == m_group && other->isChecked())
                other->setChecked(false);
        }
    }
    if (!skin::DesignScope::active())
        Q_EMIT onClick();
}

void TskRadioButton::nextCheckState() {
    if (!isChecked())
        setSkChecked(true);
}

TskSideChannel::TskSideChannel(const QString& name, QWidget* parent) : QFrame(parent) {
    setObjectName(name);
}

TskForm::TskForm(const QString& name, QWidget* window) : QObject(window), m_window(window) {
    setObjectName(name);
}

void TskForm::setUIStyle(UIStyle s) {
    m_style = s;
    UIStyle resolved = style::resolve(s, false);
    QPalette p = m_window->palette();
    p.setColor(QPalette::Window,
               skin::colourFromNumber(*style::value(resolved, u"FormBackgroundColor")));
    m_window->setPalette(p);
    m_window->update();
}

QString TskForm::caption() const {
    return m_window->windowTitle();
}

void TskForm::setCaption(const QString& caption) {
    m_window->setWindowTitle(caption);
}

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

#include <QTabBar>

TskTabControl::TskTabControl(const QString& name, QWidget* parent)
    : QWidget(parent), m_bar(new QTabBar(this)) {
    setObjectName(name);
    m_bar->setObjectName(name + QStringLiteral("Tabs"));
    connect(m_bar, &QTabBar::currentChanged, this, &TskTabControl::tabChanged);
}

int TskTabControl::tabIndex() const {
    return m_bar->currentIndex();
}

void TskTabControl::setTabIndex(int index) {
    if (index >= 0 && index < m_bar->count())
        m_bar->setCurrentIndex(index);
}

TskSpinEdit::TskSpinEdit(const QString& name, int minimum, int maximum, QWidget* parent)
    : QSpinBox(parent), m_min(minimum), m_max(maximum) {
    setObjectName(name);
    setRange(0, 999); // what may be typed; the buttons keep to minimum … maximum
    setValue(minimum);
}

void TskSpinEdit::stepBy(int steps) {
    setValue(std::clamp(value() + steps, m_min, m_max));
}

void TskSpinEdit::focusOutEvent(QFocusEvent* event) {
    QSpinBox::focusOutEvent(event);
    if (value() < m_min || value() > m_max)
        setValue(std::clamp(value(), m_min, m_max));
}
