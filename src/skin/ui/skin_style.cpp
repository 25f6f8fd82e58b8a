#include "skin/ui/skin_style.h"

#include "skin/ui/look.h"
#include "skin/ui/pictures.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleFactory>
#include <QStyleOption>

namespace skin {

namespace {

pictures::State stateOf(const QStyleOption* opt) {
    pictures::State s;
    s.enabled = opt->state & QStyle::State_Enabled;
    s.hover = s.enabled && (opt->state & QStyle::State_MouseOver);
    s.down = opt->state & QStyle::State_Sunken;
    s.checked = opt->state & QStyle::State_On;
    s.focus = opt->state & QStyle::State_HasFocus;
    return s;
}

} // namespace

SkinStyle::SkinStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {
    setObjectName(QStringLiteral("LyrevaneSkin"));
}

void SkinStyle::install() {
    if (!qobject_cast<SkinStyle*>(QApplication::style())) {
        QApplication::setStyle(new SkinStyle);
        // Room for every style's pictures of a large window at scale 2, so that
        // switching among them copies rather than draws.
        QPixmapCache::setCacheLimit(std::max(QPixmapCache::cacheLimit(), 32 * 1024));
    }
}

void SkinStyle::drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p,
                              const QWidget* w) const {
    const Look& look = lookFor(w);
    const QRectF r = opt->rect;
    switch (pe) {
    case PE_PanelButtonCommand:
        pictures::button(*p, r, look, stateOf(opt));
        return;
    case PE_PanelButtonTool:
        pictures::toolButton(*p, r, look, stateOf(opt));
        return;
    case PE_IndicatorCheckBox:
        pictures::checkBox(*p, r, look, stateOf(opt));
        return;
    case PE_IndicatorRadioButton:
        pictures::radioButton(*p, r, look, stateOf(opt));
        return;
    case PE_IndicatorItemViewItemCheck: {
        pictures::State s = stateOf(opt);
        s.hover = false; // the row shows the pointer, not the box
        pictures::checkListBox(*p, r, look, s);
        return;
    }
    case PE_PanelMenu:
    case PE_FrameMenu:
        p->fillRect(opt->rect, look.menuBackground);
        p->save();
        p->setPen(look.controlBorder);
        p->drawRect(QRectF(opt->rect).adjusted(0.5, 0.5, -0.5, -0.5));
        p->restore();
        return;
    case PE_PanelMenuBar:
        pictures::menuBar(*p, r, look);
        return;
    case PE_FrameLineEdit:
    case PE_Frame:
        if (opt->state & State_Sunken || opt->state & State_Raised || pe == PE_FrameLineEdit) {
            pictures::frame(*p, r, look, opt->state & State_HasFocus);
            return;
        }
        break;
    case PE_FrameStatusBarItem:
        return; // the bar draws one line above all its panels
    case PE_FrameTabWidget:
        pictures::tabFrame(*p, r, look);
        return;
    default:
        break;
    }
    QProxyStyle::drawPrimitive(pe, opt, p, w);
}

void SkinStyle::drawControl(ControlElement ce, const QStyleOption* opt, QPainter* p,
                            const QWidget* w) const {
    const Look& look = lookFor(w);
    switch (ce) {
    case CE_MenuBarEmptyArea: {
        // The bar leaves a region between its items; each of its rectangles is copied
        // from the bar's picture in turn, which a clip of many rectangles would turn
        // into blending line by line.
        const QRegion area = p->hasClipping() ? p->clipRegion() & opt->rect : QRegion(opt->rect);
        p->save();
        p->setClipping(false);
        for (const QRect& part : area)
            pictures::menuBar(*p, opt->rect, look, part);
        p->restore();
        return;
    }
    case CE_MenuBarItem:
        if (auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(opt)) {
            pictures::menuBar(*p, w ? QRectF(w->rect()) : QRectF(opt->rect), look, opt->rect);
            const bool active = (opt->state & State_Selected) && (opt->state & State_Enabled);
            if (active)
                pictures::menuSelection(*p, QRectF(opt->rect).adjusted(1, 1, -1, -1), look);
            p->save();
            p->setPen(active ? look.menuSelectedFont : look.menuFont);
            const int flags = Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine |
                              (styleHint(SH_UnderlineShortcut, opt, w) ? 0 : Qt::TextHideMnemonic);
            p->drawText(opt->rect, flags, item->text);
            p->restore();
            return;
        }
        break;
    case CE_MenuItem:
        if (auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(opt)) {
            QStyleOptionMenuItem o(*item);
            o.palette.setColor(QPalette::Window, look.menuBackground);
            o.palette.setColor(QPalette::Base, look.menuBackground);
            o.palette.setColor(QPalette::Button, look.menuBackground);
            o.palette.setColor(QPalette::Text, look.menuFont);
            o.palette.setColor(QPalette::WindowText, look.menuFont);
            o.palette.setColor(QPalette::ButtonText, look.menuFont);
            o.palette.setColor(QPalette::Highlight, look.menuSelectedBackground);
            o.palette.setColor(QPalette::HighlightedText, look.menuSelectedFont);
            p->fillRect(opt->rect, look.menuBackground);
            if ((opt->state & State_Selected) &&
                item->menuItemType != QStyleOptionMenuItem::Separator &&
                (opt->state & State_Enabled)) {
                pictures::menuSelection(*p, QRectF(opt->rect).adjusted(2, 0, -2, 0), look);
                o.state &= ~State_Selected; // drawn already; the base only writes the text
                o.palette.setColor(QPalette::Text, look.menuSelectedFont);
                o.palette.setColor(QPalette::WindowText, look.menuSelectedFont);
                o.palette.setColor(QPalette::ButtonText, look.menuSelectedFont);
            }
            QProxyStyle::drawControl(ce, &o, p, w);
            return;
        }
        break;
    case CE_TabBarTabShape:
        if (auto* t = qstyleoption_cast<const QStyleOptionTab*>(opt)) {
            pictures::State s = stateOf(opt);
            s.checked = t->state & State_Selected;
            QRectF r = t->rect;
            if (!s.checked)
                r.adjust(0, 2, 0, 0);
            pictures::tab(*p, r, look, s);
            return;
        }
        break;
    case CE_ToolBar: {
        // A light line above and a soft one below, filled rather than stroked.
        const QRect r = opt->rect;
        p->fillRect(QRect(r.left(), r.top(), r.width(), 1), QColor(255, 255, 255, 150));
        p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), QColor(0, 0, 0, 40));
        return;
    }
    case CE_ProgressBarGroove:
        if (pictures::progressBar(*p, opt->rect, look, false))
            return;
        break;
    case CE_ProgressBarContents:
        if (auto* bar = qstyleoption_cast<const QStyleOptionProgressBar*>(opt);
            bar && bar->maximum > bar->minimum) {
            // The filled part, from the start of the bar; a busy bar is the base style's.
            const qreal done =
                qreal(std::clamp(bar->progress, bar->minimum, bar->maximum) - bar->minimum) /
                (qreal(bar->maximum) - bar->minimum);
            const bool horizontal = bar->state & State_Horizontal;
            QRect r = bar->rect;
            if (horizontal) {
                const int length = qRound(r.width() * done);
                r = bar->invertedAppearance != (bar->direction == Qt::RightToLeft)
                        ? QRect(r.right() - length + 1, r.top(), length, r.height())
                        : QRect(r.left(), r.top(), length, r.height());
            } else {
                const int length = qRound(r.height() * done);
                r = bar->invertedAppearance
                        ? QRect(r.left(), r.top(), r.width(), length)
                        : QRect(r.left(), r.bottom() - length + 1, r.width(), length);
            }
            if (r.isEmpty() || pictures::progressBar(*p, r, look, true))
                return;
        }
        break;
    case CE_ScrollBarSlider:
        pictures::scrollSlider(*p, opt->rect, look, opt->state & State_Horizontal, stateOf(opt));
        return;
    case CE_ScrollBarAddLine:
    case CE_ScrollBarSubLine: {
        const bool horizontal = opt->state & State_Horizontal;
        const bool add = ce == CE_ScrollBarAddLine;
        pictures::scrollArrow(*p, opt->rect, look, horizontal ? (add ? 3 : 2) : (add ? 1 : 0),
                              stateOf(opt));
        return;
    }
    case CE_ScrollBarAddPage:
    case CE_ScrollBarSubPage:
        pictures::scrollGroove(*p, opt->rect, look, opt->state & State_Horizontal);
        return;
    default:
        break;
    }
    QProxyStyle::drawControl(ce, opt, p, w);
}

void SkinStyle::drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                                   const QWidget* w) const {
    if (cc == CC_ScrollBar) {
        // Drawn part by part through drawControl, as the common style does.
        if (auto* sb = qstyleoption_cast<const QStyleOptionSlider*>(opt)) {
            QStyleOptionSlider o(*sb);
            const QStyle::SubControl parts[] = {SC_ScrollBarSubPage, SC_ScrollBarAddPage,
                                                SC_ScrollBarSubLine, SC_ScrollBarAddLine,
                                                SC_ScrollBarSlider};
            const QStyle::ControlElement elements[] = {CE_ScrollBarSubPage, CE_ScrollBarAddPage,
                                                       CE_ScrollBarSubLine, CE_ScrollBarAddLine,
                                                       CE_ScrollBarSlider};
            for (int i = 0; i < 5; ++i) {
                o.rect = subControlRect(cc, sb, parts[i], w);
                if (!o.rect.isValid())
                    continue;
                o.state = sb->state;
                o.state &= ~(State_Sunken | State_MouseOver);
                if (sb->activeSubControls & parts[i]) {
                    if (sb->state & State_Sunken)
                        o.state |= State_Sunken;
                    if (sb->state & State_MouseOver)
                        o.state |= State_MouseOver;
                }
                drawControl(elements[i], &o, p, w);
            }
            return;
        }
    }
    if (cc == CC_Slider) {
        if (auto* sl = qstyleoption_cast<const QStyleOptionSlider*>(opt)) {
            const Look& look = lookFor(w);
            const bool horizontal = sl->orientation == Qt::Horizontal;
            const QRect groove = subControlRect(cc, sl, SC_SliderGroove, w);
            const QRect handle = subControlRect(cc, sl, SC_SliderHandle, w);
            pictures::State s = stateOf(opt);
            s.hover = s.hover && (sl->activeSubControls & SC_SliderHandle);
            s.down = s.down && (sl->activeSubControls & SC_SliderHandle);
            // From the theme's pictures when it carries the groove (a missing handle
            // picture leaves the handle to the base), else all by the base.
            if (pictures::trackBarGroove(*p, groove, look, horizontal)) {
                if (!pictures::trackBarHandle(*p, handle, look, horizontal, s)) {
                    QStyleOptionSlider o(*sl);
                    o.subControls = SC_SliderHandle;
                    QProxyStyle::drawComplexControl(cc, &o, p, w);
                }
                return;
            }
        }
    }
    QProxyStyle::drawComplexControl(cc, opt, p, w);
}

int SkinStyle::pixelMetric(PixelMetric pm, const QStyleOption* opt, const QWidget* w) const {
    switch (pm) {
    case PM_ScrollBarExtent:
        return 16;
    case PM_ScrollBarSliderMin:
        return 20;
    default:
        return QProxyStyle::pixelMetric(pm, opt, w);
    }
}

int SkinStyle::styleHint(StyleHint sh, const QStyleOption* opt, const QWidget* w,
                         QStyleHintReturn* ret) const {
    if (sh == SH_ScrollBar_Transient)
        return 0;
    return QProxyStyle::styleHint(sh, opt, w, ret);
}

} // namespace skin
