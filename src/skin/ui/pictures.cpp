#include "skin/ui/pictures.h"

#include "skin/core/theme_file.h"
#include "skin/ui/look.h"

#include <QCache>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPixmapCache>

#include <cmath>
#include <optional>

namespace skin::pictures {

namespace {

QColor mix(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                            a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

QLinearGradient vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// A picture from the theme file: `frames` frames side by side, decoded once. Its
// density comes from the bitmap's header (192 dots per inch is a picture for scale 2).
struct ThemeImage {
    QImage image;
    qreal density = 1;
};

const ThemeImage* themeImage(const Look& look, const char* name) {
    if (!look.theme)
        return nullptr;
    const QByteArray bytes = look.theme->picture(QString::fromLatin1(name));
    if (bytes.isEmpty())
        return nullptr;
    static QCache<QByteArray, ThemeImage> decoded(64);
    ThemeImage* t = decoded.object(bytes);
    if (!t) {
        t = new ThemeImage;
        t->image = QImage::fromData(bytes, "BMP");
        if (!t->image.isNull()) {
            t->image = t->image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            t->density = std::clamp(qRound(t->image.dotsPerMeterX() / 3780.0), 1, 4);
        }
        decoded.insert(bytes, t);
    }
    return t->image.isNull() ? nullptr : t;
}

// Draws frame `index` of the theme's picture `name` into `r`: its corners of `margin`
// pixels (at scale 1) kept, its edges and middle stretched; a negative margin stretches
// the whole frame. False when the theme carries no such picture or its width does not
// divide into the frames: the style's own drawing stands in.
bool themeFrame(QPainter& p, const QRectF& r, const Look& look, const char* name, int frames,
                int index, qreal margin = -1) {
    const ThemeImage* t = themeImage(look, name);
    if (!t || frames < 1 || t->image.width() % frames != 0 || index < 0 || index >= frames)
        return false;
    const qreal fw = t->image.width() / frames, fh = t->image.height();
    const QRectF source(index * fw, 0, fw, fh);
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (margin < 0) {
        p.drawImage(r, t->image, source);
        p.restore();
        return true;
    }
    // Corners no larger than half the target, and leaving the frame a middle of one
    // pixel at least to stretch.
    const qreal m =
        std::min({margin, std::floor((fw - 1) / 2) / t->density,
                  std::floor((fh - 1) / 2) / t->density, r.width() / 2, r.height() / 2});
    const qreal sm = m * t->density;
    const qreal xs[] = {r.left(), r.left() + m, r.right() - m, r.right()};
    const qreal ys[] = {r.top(), r.top() + m, r.bottom() - m, r.bottom()};
    const qreal sxs[] = {source.left(), source.left() + sm, source.right() - sm, source.right()};
    const qreal sys[] = {source.top(), source.top() + sm, source.bottom() - sm, source.bottom()};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRectF to(QPointF(xs[col], ys[row]), QPointF(xs[col + 1], ys[row + 1]));
            const QRectF from(QPointF(sxs[col], sys[row]), QPointF(sxs[col + 1], sys[row + 1]));
            if (to.width() > 0 && to.height() > 0 && from.width() > 0 && from.height() > 0)
                p.drawImage(to, t->image, from);
        }
    }
    p.restore();
    return true;
}

// The frame of a two-state picture in four states: normal, under the pointer, pressed
// and disabled.
int stateFrame(State s) {
    return !s.enabled ? 3 : s.down ? 2 : s.hover ? 1 : 0;
}

// The frame of a picture in three states: normal, under the pointer and pressed.
int pressFrame(State s) {
    return s.down ? 2 : s.hover ? 1 : 0;
}

// Draws into `rect` through `draw`, mirrored across the diagonal when `mirror` is set:
// one picture serves a control lying either way (`draw` gets the rectangle as the
// picture lies).
template <class Draw> bool mirrored(QPainter& p, const QRectF& rect, bool mirror, Draw&& draw) {
    if (!mirror)
        return draw(rect);
    p.save();
    p.setTransform(QTransform(0, 1, 1, 0, 0, 0), true);
    const bool drawn = draw(QRectF(rect.top(), rect.left(), rect.height(), rect.width()));
    p.restore();
    return drawn;
}

qreal radiusFor(const Look& look) {
    switch (look.pictureStyle()) {
    case UIStyle::MacOS:
        return 4.5;
    case UIStyle::WinXP:
        return 3;
    case UIStyle::BlueGlass:
        return 5;
    default:
        return 1.5;
    }
}

QRectF half(const QRectF& r) {
    return r.adjusted(0.5, 0.5, -0.5, -0.5);
}

// What tells one look's pictures from another's: its style, theme and colours.
size_t lookKey(const Look& look) {
    return qHashMulti(
        0, int(look.style), quintptr(look.theme), look.theme ? look.theme->generation() : 0,
        look.formBackground.rgba(), look.formBorder.rgba(), look.menuBar.rgba(),
        look.menuSelectedBorder.rgba(), look.menuSelectedBackground.rgba(),
        look.controlBorder.rgba(), look.controlBackground.rgba(), look.scrollBarBackground.rgba(),
        look.toolButtonBorder.rgba(), look.toolButtonBackground.rgba(), look.toolButtonDown.rgba());
}

quint32 bits(State s) {
    return quint32(s.enabled) | quint32(s.hover) << 1 | quint32(s.down) << 2 |
           quint32(s.checked) << 3 | quint32(s.focus) << 4;
}

// Draws a picture once per look, name, size, state and device pixel ratio and copies
// it afterwards: gradients and curves over many scan lines are what a repaint spends
// most on, and a window shows the same few pictures again and again. A rectangle off
// the pixel grid, or a painter that scales or turns, draws directly. An opaque picture
// covers its whole rectangle, laid on `base`, and is kept without alpha, so that a tall
// one is copied rather than blended line by line. With `part`, only that part of the
// picture is drawn (copied, not clipped, for the same reason). A bar across the window
// (wide and low) is drawn the same way but not kept: it covers few scan lines, so drawing
// it again costs little, while keeping it holds a row of the window's width for every
// width the window has had and every state of the bar.
bool keptAfterDrawing(const QSize& size) {
    return size.height() > 32 || size.width() <= 256;
}

template <class Draw>
void cached(QPainter& p, const QRectF& r, const Look& look, const char* name, quint32 state,
            Draw&& draw, std::optional<QColor> base = std::nullopt, const QRect& part = {}) {
    const QRect ir = r.toRect();
    const qreal dpr = p.device() ? p.device()->devicePixelRatio() : 1.0;
    if (QRectF(ir) != r || ir.isEmpty() || qint64(ir.width()) * ir.height() > 4096 * 256 ||
        p.worldTransform().type() > QTransform::TxTranslate) {
        p.save();
        if (part.isValid())
            p.setClipRect(part, Qt::IntersectClip);
        if (base)
            p.fillRect(r, *base);
        draw(p, r);
        p.restore();
        return;
    }
    const QString key = QStringLiteral("lyrevane:%1:%2:%3x%4@%5:%6:%7")
                            .arg(QLatin1StringView(name))
                            .arg(lookKey(look), 0, 16)
                            .arg(ir.width())
                            .arg(ir.height())
                            .arg(dpr)
                            .arg(state)
                            .arg(base ? base->rgba() : 0u, 0, 16);
    QPixmap pm;
    if (!QPixmapCache::find(key, &pm)) {
        pm = QPixmap(QSize(qCeil(ir.width() * dpr), qCeil(ir.height() * dpr)));
        pm.setDevicePixelRatio(dpr);
        pm.fill(base ? *base : QColor(Qt::transparent));
        QPainter q(&pm);
        q.setFont(p.font());
        draw(q, QRectF(0, 0, ir.width(), ir.height()));
        q.end();
        if (keptAfterDrawing(ir.size()))
            QPixmapCache::insert(key, pm);
    }
    if (part.isValid()) {
        const QRect shown = part & ir;
        p.drawPixmap(
            QRectF(shown), pm,
            QRectF(QPointF(shown.topLeft() - ir.topLeft()) * dpr, QSizeF(shown.size()) * dpr));
    } else {
        p.drawPixmap(ir.topLeft(), pm);
    }
}

// A one-pixel line along an edge as a filled rectangle: an outline stroked round a tall
// control is rasterised line by line, a rectangle is filled at once.
void outline(QPainter& p, const QRectF& r, const QColor& c) {
    const QRect ir = r.toRect();
    p.fillRect(QRect(ir.left(), ir.top(), ir.width(), 1), c);
    p.fillRect(QRect(ir.left(), ir.bottom(), ir.width(), 1), c);
    p.fillRect(QRect(ir.left(), ir.top() + 1, 1, ir.height() - 2), c);
    p.fillRect(QRect(ir.right(), ir.top() + 1, 1, ir.height() - 2), c);
}

} // namespace

static void paint_button(QPainter& p, const QRectF& rect, const Look& look, State s) {
    if (themeFrame(p, rect, look, "ButtonImage", 4, s.checked && s.enabled ? 2 : stateFrame(s), 5))
        return;
    const QRectF r = half(rect);
    const QColor accent = look.accent();
    QColor top = Qt::white, bottom = mix(look.controlBackground, QColor(0xC0, 0xC0, 0xC0), 0.25);
    if (look.pictureStyle() == UIStyle::BlueGlass) {
        top = mix(Qt::white, accent, 0.08);
        bottom = mix(Qt::white, accent, 0.32);
    } else if (look.pictureStyle() == UIStyle::Protein) {
        bottom = mix(Qt::white, look.controlBackground, 0.6);
    }
    if (s.hover) {
        top = mix(top, accent, 0.10);
        bottom = mix(bottom, accent, 0.22);
    }
    if (s.down || s.checked) {
        std::swap(top, bottom);
        bottom = mix(bottom, accent, 0.15);
    }
    if (!s.enabled) {
        top = bottom = look.controlBackground;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal radius = radiusFor(look);
    p.setBrush(vertical(r, top, bottom));
    QColor border = s.focus || s.hover ? mix(look.controlBorder, accent, 0.7) : look.controlBorder;
    if (!s.enabled)
        border = mix(border, look.controlBackground, 0.5);
    p.setPen(QPen(border, 1));
    p.drawRoundedRect(r, radius, radius);
    if (look.pictureStyle() == UIStyle::BlueGlass && s.enabled) {
        // The glass: a soft highlight over the upper half.
        QRectF gloss = r.adjusted(1.5, 1.5, -1.5, -r.height() / 2);
        p.setPen(Qt::NoPen);
        p.setBrush(vertical(gloss, QColor(255, 255, 255, 170), QColor(255, 255, 255, 40)));
        p.drawRoundedRect(gloss, radius - 1, radius - 1);
    }
    p.restore();
}

void button(QPainter& p, const QRectF& rect, const Look& look, State s) {
    cached(p, rect, look, "button", bits(s),
           [&](QPainter& q, const QRectF& r2) { paint_button(q, r2, look, s); });
}

void toolButton(QPainter& p, const QRectF& rect, const Look& look, State s) {
    if (!s.hover && !s.down && !s.checked)
        return; // flat until the pointer is on it
    const QRectF r = half(rect);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(look.toolButtonBorder, 1));
    p.setBrush(s.down || s.checked ? look.toolButtonDown : look.toolButtonBackground);
    p.drawRoundedRect(r, 2, 2);
    p.restore();
}

// What a check box and a radio button share: the theme's picture when it has one
// (nothing is left to draw then), else the indicator's square, with the painter saved,
// antialiased and holding the border pen, tinted towards the accent under the pointer.
static std::optional<QRectF> indicator(QPainter& p, const QRectF& rect, const Look& look, State s,
                                       const char* themePicture) {
    if (themeFrame(p, rect, look, themePicture, 8, (s.checked ? 4 : 0) + stateFrame(s)))
        return std::nullopt;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(s.hover ? mix(look.controlBorder, look.accent(), 0.7) : look.controlBorder, 1));
    return half(rect);
}

static void paint_checkBox(QPainter& p, const QRectF& rect, const Look& look, State s) {
    const std::optional<QRectF> square = indicator(p, rect, look, s, "CheckBoxImage");
    if (!square)
        return;
    const QRectF r = *square;
    const QColor accent = look.accent();
    p.setBrush(s.enabled ? vertical(r, mix(Qt::white, look.controlBackground, s.down ? 0.8 : 0.1),
                                    mix(Qt::white, look.controlBackground, 0.6))
                         : QBrush(look.controlBackground));
    p.drawRoundedRect(r, 2, 2);
    if (s.checked) {
        QPainterPath tick;
        tick.moveTo(r.left() + r.width() * 0.22, r.top() + r.height() * 0.52);
        tick.lineTo(r.left() + r.width() * 0.42, r.top() + r.height() * 0.74);
        tick.lineTo(r.left() + r.width() * 0.80, r.top() + r.height() * 0.26);
        p.setBrush(Qt::NoBrush);
        const QColor mark =
            look.pictureStyle() == UIStyle::WinXP ? QColor(0x21, 0xA1, 0x21) : accent.darker(115);
        p.setPen(QPen(s.enabled ? mark : QColor(0x8C, 0x8C, 0x8C), qMax(1.6, r.width() / 7),
                      Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(tick);
    }
    p.restore();
}

void checkBox(QPainter& p, const QRectF& rect, const Look& look, State s) {
    cached(p, rect, look, "checkBox", bits(s),
           [&](QPainter& q, const QRectF& r2) { paint_checkBox(q, r2, look, s); });
}

static void paint_radioButton(QPainter& p, const QRectF& rect, const Look& look, State s) {
    const std::optional<QRectF> square = indicator(p, rect, look, s, "RadioButtonImage");
    if (!square)
        return;
    const QRectF r = *square;
    const QColor accent = look.accent();
    p.setBrush(vertical(r, Qt::white, mix(Qt::white, look.controlBackground, 0.6)));
    p.drawEllipse(r);
    if (s.checked) {
        const qreal d = r.width() * 0.46;
        QRectF dot(r.center().x() - d / 2, r.center().y() - d / 2, d, d);
        p.setPen(Qt::NoPen);
        p.setBrush(s.enabled ? accent.darker(110) : QColor(0x8C, 0x8C, 0x8C));
        p.drawEllipse(dot);
    }
    p.restore();
}

void radioButton(QPainter& p, const QRectF& rect, const Look& look, State s) {
    cached(p, rect, look, "radioButton", bits(s),
           [&](QPainter& q, const QRectF& r2) { paint_radioButton(q, r2, look, s); });
}

static void paint_menuBar(QPainter& p, const QRectF& r, const Look& look) {
    if (look.pictureStyle() == UIStyle::MacOS) {
        p.fillRect(r, vertical(r, QColor(0xF6, 0xF6, 0xF6), QColor(0xDC, 0xDC, 0xDC)));
        p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), QColor(0xB4, 0xB4, 0xB4));
        return;
    }
    p.fillRect(r, look.menuBar);
}

void menuBar(QPainter& p, const QRectF& r, const Look& look, const QRect& part) {
    cached(
        p, r, look, "menuBar", 0,
        [&](QPainter& q, const QRectF& r2) { paint_menuBar(q, r2, look); }, look.menuBar, part);
}

static void paint_menuSelection(QPainter& p, const QRectF& rect, const Look& look) {
    const QRectF r = half(rect);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (look.pictureStyle() == UIStyle::MacOS) {
        p.setPen(Qt::NoPen);
        p.setBrush(vertical(r, look.accent().lighter(125), look.accent()));
    } else {
        p.setPen(QPen(look.menuSelectedBorder, 1));
        p.setBrush(look.menuSelectedBackground);
    }
    p.drawRoundedRect(r, 2, 2);
    p.restore();
}

void menuSelection(QPainter& p, const QRectF& rect, const Look& look) {
    cached(p, rect, look, "menuSelection", 0,
           [&](QPainter& q, const QRectF& r2) { paint_menuSelection(q, r2, look); });
}

// The theme's title bar: its left and right ends at their own width, the client picture
// stretched between them; each has an active and an inactive frame.
static bool themeTitleBar(QPainter& p, const QRectF& r, const Look& look, bool active) {
    const ThemeImage* client = themeImage(look, "TitleBarClientImage");
    if (!client)
        return false;
    const int frame = active ? 0 : 1;
    auto endWidth = [&](const char* name) {
        const ThemeImage* t = themeImage(look, name);
        return t && t->image.width() % 2 == 0
                   ? std::min(t->image.width() / 2 / t->density, r.width() / 3)
                   : 0.0;
    };
    const qreal left = endWidth("TitleBarLeftImage"), right = endWidth("TitleBarRightImage");
    if (!themeFrame(p, r.adjusted(left, 0, -right, 0), look, "TitleBarClientImage", 2, frame))
        return false;
    if (left > 0)
        themeFrame(p, QRectF(r.left(), r.top(), left, r.height()), look, "TitleBarLeftImage", 2,
                   frame);
    if (right > 0)
        themeFrame(p, QRectF(r.right() - right, r.top(), right, r.height()), look,
                   "TitleBarRightImage", 2, frame);
    return true;
}

static void paint_titleBar(QPainter& p, const QRectF& r, const Look& look, bool active) {
    if (themeTitleBar(p, r, look, active))
        return;
    const QColor accent = look.accent();
    QColor top, bottom;
    switch (look.pictureStyle()) {
    case UIStyle::MacOS:
        top = QColor(0xF4, 0xF4, 0xF4);
        bottom = QColor(0xCC, 0xCC, 0xCC);
        break;
    case UIStyle::WinXP:
        top = mix(look.formBorder, Qt::white, 0.35);
        bottom = look.formBorder;
        break;
    case UIStyle::Protein:
        top = Qt::white;
        bottom = mix(Qt::white, accent, 0.12);
        break;
    case UIStyle::BlueGlass:
        top = mix(Qt::white, accent, 0.25);
        bottom = mix(Qt::white, accent, 0.55);
        break;
    default:
        top = accent.lighter(130);
        bottom = accent.darker(150);
        break;
    }
    if (!active) {
        top = mix(top, QColor(0xD8, 0xD8, 0xD8), 0.55);
        bottom = mix(bottom, QColor(0xC0, 0xC0, 0xC0), 0.55);
    }
    p.fillRect(r, vertical(r, top, bottom));
    if (look.pictureStyle() == UIStyle::BlueGlass) {
        const QRectF gloss(r.left(), r.top(), r.width(), r.height() / 2);
        p.fillRect(gloss, vertical(gloss, QColor(255, 255, 255, 150), QColor(255, 255, 255, 30)));
    }
    if (look.pictureStyle() == UIStyle::Protein)
        p.fillRect(QRectF(r.left(), r.bottom() - 2, r.width(), 2), accent);
}

void titleBar(QPainter& p, const QRectF& r, const Look& look, bool active) {
    cached(
        p, r, look, "titleBar", quint32(active),
        [&](QPainter& q, const QRectF& r2) { paint_titleBar(q, r2, look, active); },
        look.formBackground);
}

QColor titleText(const Look& look, bool active) {
    if (const ThemeImage* t = themeImage(look, "TitleBarClientImage");
        t && t->image.width() % 2 == 0) {
        // Dark text on a light picture, white on a dark one.
        const QImage& i = t->image;
        const QColor c = i.pixelColor((active ? 0 : i.width() / 2) + i.width() / 4, i.height() / 2);
        const bool light = c.lightness() > 140;
        return light ? (active ? QColor(0x20, 0x20, 0x20) : QColor(0x70, 0x70, 0x70))
                     : (active ? QColor(Qt::white) : QColor(0xF0, 0xF0, 0xF0));
    }
    switch (look.pictureStyle()) {
    case UIStyle::WinXP:
    case UIStyle::DeepBlue:
        return active ? Qt::white : QColor(0xF0, 0xF0, 0xF0);
    default:
        return active ? QColor(0x20, 0x20, 0x20) : QColor(0x70, 0x70, 0x70);
    }
}

static void paint_titleButton(QPainter& p, const QRectF& rect, const Look& look, TitleButton which,
                              State s) {
    // Three frames (normal, under the pointer, pressed) for each of minimise, maximise,
    // restore and close.
    if (themeFrame(p, rect, look, "TitleBarButtonImage", 12, int(which) * 3 + pressFrame(s)))
        return;
    const QRectF r = half(rect);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const bool close = which == TitleButton::Close;
    const bool dark =
        look.pictureStyle() == UIStyle::WinXP || look.pictureStyle() == UIStyle::DeepBlue;
    QColor face = close ? QColor(0xD9, 0x4B, 0x3C) : look.accent();
    if (look.pictureStyle() == UIStyle::MacOS && !close)
        face = QColor(0x9A, 0x9A, 0x9A);
    if (!look.titleButtonTransparent || s.hover || s.down) {
        QColor top = face.lighter(s.hover ? 150 : 135), bottom = s.down ? face.darker(120) : face;
        p.setPen(QPen(dark ? QColor(255, 255, 255, 160) : face.darker(140), 1));
        p.setBrush(vertical(r, top, bottom));
        if (look.pictureStyle() == UIStyle::MacOS)
            p.drawEllipse(r);
        else
            p.drawRoundedRect(r, 3, 3);
    }
    const bool onFace = !look.titleButtonTransparent || s.hover || s.down;
    p.setPen(
        QPen(onFace ? QColor(Qt::white) : titleText(look, true), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF g =
        r.adjusted(r.width() * 0.3, r.height() * 0.3, -r.width() * 0.3, -r.height() * 0.3);
    switch (which) {
    case TitleButton::Minimise:
        p.drawLine(QPointF(g.left(), g.bottom()), QPointF(g.right(), g.bottom()));
        break;
    case TitleButton::Maximise:
        p.drawRect(g);
        break;
    case TitleButton::Restore:
        p.drawRect(g.adjusted(0, g.height() * 0.3, -g.width() * 0.3, 0));
        p.drawLine(QPointF(g.left() + g.width() * 0.3, g.top()), g.topRight());
        p.drawLine(g.topRight(), QPointF(g.right(), g.bottom() - g.height() * 0.3));
        break;
    case TitleButton::Close:
        p.drawLine(g.topLeft(), g.bottomRight());
        p.drawLine(g.topRight(), g.bottomLeft());
        break;
    }
    p.restore();
}

void titleButton(QPainter& p, const QRectF& rect, const Look& look, TitleButton which, State s) {
    cached(p, rect, look, "titleButton", bits(s) | quint32(which) << 8,
           [&](QPainter& q, const QRectF& r2) { paint_titleButton(q, r2, look, which, s); });
}

void scrollGroove(QPainter& p, const QRectF& r, const Look& look, bool horizontal) {
    p.fillRect(r, look.scrollBarBackground);
    const QColor line = mix(look.scrollBarBackground, look.controlBorder, 0.35);
    if (horizontal)
        p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), line);
    else
        p.fillRect(QRectF(r.left(), r.top(), 1, r.height()), line);
}

static void paint_scrollSlider(QPainter& p, const QRectF& rect, const Look& look, bool horizontal,
                               State s) {
    // The picture is drawn for a vertical slider; a horizontal one is its mirror.
    if (mirrored(p, rect, horizontal, [&](const QRectF& r) {
            return themeFrame(p, r, look, "ScrollBarSliderImage", 3, std::min(stateFrame(s), 2), 8);
        }))
        return;
    const QRectF r = half(rect.adjusted(2, 2, -2, -2));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QColor a = look.pictureStyle() == UIStyle::MacOS || look.pictureStyle() == UIStyle::BlueGlass
                   ? mix(look.accent(), Qt::white, 0.35)
                   : mix(look.controlBackground, look.controlBorder, 0.3);
    if (s.hover || s.down)
        a = a.darker(112);
    QLinearGradient g =
        horizontal ? vertical(r, a.lighter(135), a) : QLinearGradient(r.topLeft(), r.topRight());
    if (!horizontal) {
        g.setColorAt(0, a.lighter(135));
        g.setColorAt(1, a);
    }
    p.setBrush(g);
    p.setPen(QPen(a.darker(125), 1));
    const qreal radius = std::min(r.width(), r.height()) / 2;
    p.drawRoundedRect(r, radius, radius);
    p.restore();
}

void scrollSlider(QPainter& p, const QRectF& rect, const Look& look, bool horizontal, State s) {
    cached(
        p, rect, look, "scrollSlider", bits(s) | quint32(horizontal) << 8,
        [&](QPainter& q, const QRectF& r2) {
            scrollGroove(q, r2, look, horizontal);
            paint_scrollSlider(q, r2, look, horizontal, s);
        },
        look.scrollBarBackground);
}

static void paint_scrollArrow(QPainter& p, const QRectF& rect, const Look& look, int direction,
                              State s) {
    // Three frames (normal, under the pointer, pressed) for each of up, down, left, right.
    if (themeFrame(p, rect, look, "ScrollBarButtonImage", 12, direction * 3 + pressFrame(s)))
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (s.hover || s.down)
        p.fillRect(rect, mix(look.scrollBarBackground, look.accent(), s.down ? 0.3 : 0.15));
    const QPointF c = rect.center();
    const qreal h = std::min(rect.width(), rect.height()) * 0.22;
    QPolygonF tri;
    switch (direction) {
    case 0: // up
        tri << QPointF(c.x() - h, c.y() + h / 2) << QPointF(c.x() + h, c.y() + h / 2)
            << QPointF(c.x(), c.y() - h / 2 - 1);
        break;
    case 1: // down
        tri << QPointF(c.x() - h, c.y() - h / 2) << QPointF(c.x() + h, c.y() - h / 2)
            << QPointF(c.x(), c.y() + h / 2 + 1);
        break;
    case 2: // left
        tri << QPointF(c.x() + h / 2, c.y() - h) << QPointF(c.x() + h / 2, c.y() + h)
            << QPointF(c.x() - h / 2 - 1, c.y());
        break;
    default: // right
        tri << QPointF(c.x() - h / 2, c.y() - h) << QPointF(c.x() - h / 2, c.y() + h)
            << QPointF(c.x() + h / 2 + 1, c.y());
        break;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(s.enabled ? QColor(0x50, 0x50, 0x50) : QColor(0xA8, 0xA8, 0xA8));
    p.drawPolygon(tri);
    p.restore();
}

void scrollArrow(QPainter& p, const QRectF& rect, const Look& look, int direction, State s) {
    cached(
        p, rect, look, "scrollArrow", bits(s) | quint32(direction) << 8,
        [&](QPainter& q, const QRectF& r2) {
            scrollGroove(q, r2, look, direction >= 2);
            paint_scrollArrow(q, r2, look, direction, s);
        },
        look.scrollBarBackground);
}

static void paint_tab(QPainter& p, const QRectF& rect, const Look& look, State s) {
    if (themeFrame(p, rect, look, "TabControlTabImage", 3, s.checked ? 2 : s.hover ? 1 : 0, 5))
        return;
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, s.checked ? 1 : -0.5);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    const qreal rad = 3;
    path.moveTo(r.bottomLeft());
    path.lineTo(r.left(), r.top() + rad);
    path.quadTo(r.topLeft(), QPointF(r.left() + rad, r.top()));
    path.lineTo(r.right() - rad, r.top());
    path.quadTo(r.topRight(), QPointF(r.right(), r.top() + rad));
    path.lineTo(r.bottomRight());
    QColor top =
        s.checked ? Qt::white : mix(look.controlBackground, Qt::white, s.hover ? 0.6 : 0.2);
    QColor bottom = s.checked ? Qt::white : mix(look.controlBackground, look.controlBorder, 0.12);
    p.setBrush(vertical(r, top, bottom));
    p.setPen(QPen(look.controlBorder, 1));
    p.drawPath(path);
    if (s.checked) {
        p.setPen(Qt::NoPen);
        p.setBrush(look.accent());
        p.drawRect(QRectF(r.left() + 1, r.top(), r.width() - 2, 2.5));
    }
    p.restore();
}

void tab(QPainter& p, const QRectF& rect, const Look& look, State s) {
    cached(p, rect, look, "tab", bits(s),
           [&](QPainter& q, const QRectF& r2) { paint_tab(q, r2, look, s); });
}

void frame(QPainter& p, const QRectF& rect, const Look& look, bool focus) {
    outline(p, rect, focus ? mix(look.controlBorder, look.accent(), 0.8) : look.controlBorder);
}

void checkListBox(QPainter& p, const QRectF& rect, const Look& look, State s) {
    if (!themeFrame(p, rect, look, "CheckListBoxImage", 8, (s.checked ? 4 : 0) + stateFrame(s)))
        checkBox(p, rect, look, s);
}

bool progressBar(QPainter& p, const QRectF& rect, const Look& look, bool filled) {
    return themeFrame(p, rect, look, "ProgressBarImage", 2, filled ? 1 : 0, 4);
}

bool trackBarGroove(QPainter& p, const QRectF& rect, const Look& look, bool horizontal) {
    // The picture is drawn for a horizontal groove; a vertical one is its mirror.
    return mirrored(p, rect, !horizontal, [&](const QRectF& r) {
        return themeFrame(p, r, look, "TrackBarBarImage", 1, 0, 3);
    });
}

bool trackBarHandle(QPainter& p, const QRectF& rect, const Look& look, bool horizontal, State s) {
    const int frame = pressFrame(s);
    return themeFrame(p, rect, look, horizontal ? "TrackBarSliderImage" : "TrackBarSliderVImage", 3,
                      frame);
}

void tabFrame(QPainter& p, const QRectF& rect, const Look& look) {
    if (!themeFrame(p, rect, look, "TabControlBarImage", 1, 0, 4))
        frame(p, rect, look, false);
}

static void paint_captionStrip(QPainter& p, const QRectF& r, const Look& look) {
    const QColor base = look.formBackground;
    p.fillRect(r, vertical(r, mix(base, Qt::white, 0.55), mix(base, look.accent(), 0.06)));
    p.fillRect(QRectF(r.left(), r.bottom() - 0.5, r.width(), 1),
               mix(base, look.controlBorder, 0.35));
}

void captionStrip(QPainter& p, const QRectF& r, const Look& look) {
    cached(
        p, r, look, "captionStrip", 0,
        [&](QPainter& q, const QRectF& r2) { paint_captionStrip(q, r2, look); },
        look.formBackground);
}

static void paint_sideChannelBar(QPainter& p, const QRectF& r, const Look& look) {
    if (themeFrame(p, r, look, "SideChannelBarImage", 1, 0))
        return;
    QColor top, bottom;
    const QColor accent = look.accent();
    switch (look.pictureStyle()) {
    case UIStyle::MacOS:
        top = QColor(0xF2, 0xF2, 0xF2);
        bottom = QColor(0xD0, 0xD0, 0xD0);
        break;
    case UIStyle::Protein:
        top = Qt::white;
        bottom = mix(Qt::white, accent, 0.18);
        break;
    default:
        top = mix(Qt::white, accent, 0.35);
        bottom = mix(Qt::white, accent, 0.7);
        break;
    }
    p.fillRect(r, vertical(r, top, bottom));
}

void sideChannelBar(QPainter& p, const QRectF& r, const Look& look) {
    cached(
        p, r, look, "sideChannelBar", 0,
        [&](QPainter& q, const QRectF& r2) { paint_sideChannelBar(q, r2, look); },
        look.formBackground);
}

void sideChannelHandle(QPainter& p, const QRectF& r, const Look& look, bool pointsRight) {
    if (themeFrame(p, r, look, "SideChannelHandleImage", 2, pointsRight ? 1 : 0))
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(mix(look.accent(), Qt::white, 0.15));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    const QPointF c = r.center();
    const qreal h = std::min<qreal>(r.width() * 0.3, 3);
    QPolygonF tri;
    if (pointsRight)
        tri << QPointF(c.x() - h / 2, c.y() - h) << QPointF(c.x() - h / 2, c.y() + h)
            << QPointF(c.x() + h / 2 + 0.5, c.y());
    else
        tri << QPointF(c.x() + h / 2, c.y() - h) << QPointF(c.x() + h / 2, c.y() + h)
            << QPointF(c.x() - h / 2 - 0.5, c.y());
    p.setBrush(Qt::white);
    p.drawPolygon(tri);
    p.restore();
}

void pin(QPainter& p, const QRectF& r, const Look& look, bool pinned) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(r.center());
    if (pinned)
        p.rotate(90); // the picture turned a quarter while the channel is pinned
    const qreal s = std::min(r.width(), r.height()) / 16.0;
    p.scale(s, s);
    const QColor ink =
        look.pictureStyle() == UIStyle::DeepBlue || look.pictureStyle() == UIStyle::WinXP
            ? QColor(0x20, 0x20, 0x40)
            : QColor(0x30, 0x30, 0x30);
    p.setPen(QPen(ink, 1.2));
    p.setBrush(mix(look.accent(), Qt::white, 0.45));
    // A drawing pin seen from the side, its needle to the left.
    p.drawRect(QRectF(-1, -3.5, 5, 7));
    p.drawLine(QPointF(4, -5), QPointF(4, 5));
    p.drawLine(QPointF(-1, 0), QPointF(-7, 0));
    p.restore();
}

static void paint_noticeBackground(QPainter& p, const QRectF& r, const Look& look) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor accent = look.accent();
    p.fillRect(r, vertical(r, mix(Qt::white, accent, 0.10), Qt::white));
    const QRectF band(r.left(), r.top(), r.width(), 26);
    p.fillRect(band, vertical(band, mix(Qt::white, accent, 0.45), mix(Qt::white, accent, 0.25)));
    p.setPen(QPen(accent.darker(110), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(half(r));
    // The close mark, over x 162 to 175, y 6 to 19 of the 181 × 116 picture.
    const QRectF close(r.left() + 162, r.top() + 6, 13, 13);
    p.setPen(QPen(accent.darker(140), 1));
    p.setBrush(QColor(255, 255, 255, 180));
    p.drawRoundedRect(close.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    p.setPen(QPen(accent.darker(160), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(close.topLeft() + QPointF(3.5, 3.5), close.bottomRight() - QPointF(3.5, 3.5));
    p.drawLine(close.topRight() + QPointF(-3.5, 3.5), close.bottomLeft() + QPointF(3.5, -3.5));
    p.restore();
}

void noticeBackground(QPainter& p, const QRectF& r, const Look& look) {
    cached(
        p, r, look, "noticeBackground", 0,
        [&](QPainter& q, const QRectF& r2) { paint_noticeBackground(q, r2, look); },
        QColor(Qt::white));
}

void messageIcon(QPainter& p, const QRectF& rect, int kind) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect.adjusted(3, 3, -3, -3);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(int(r.height() * 0.62));
    p.setFont(f);
    QString mark;
    switch (kind) {
    case 1: { // warning: a yellow triangle
        QPolygonF tri{{r.center().x(), r.top()}, r.bottomRight(), r.bottomLeft()};
        p.setPen(QPen(QColor(0x9C, 0x6B, 0x00), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(vertical(r, QColor(0xFF, 0xE0, 0x6A), QColor(0xF5, 0xB8, 0x1F)));
        p.drawPolygon(tri);
        p.setPen(QColor(0x30, 0x20, 0x00));
        p.drawText(r.adjusted(0, r.height() * 0.22, 0, 0), Qt::AlignCenter, QStringLiteral("!"));
        p.restore();
        return;
    }
    case 2:
        p.setBrush(vertical(r, QColor(0xF0, 0x60, 0x50), QColor(0xC0, 0x20, 0x18)));
        p.setPen(QPen(QColor(0x90, 0x10, 0x10), 1.5));
        mark = QStringLiteral("×");
        break;
    case 3:
        p.setBrush(vertical(r, QColor(0x6E, 0xA8, 0xF0), QColor(0x22, 0x5C, 0xC0)));
        p.setPen(QPen(QColor(0x18, 0x40, 0x90), 1.5));
        mark = QStringLiteral("i");
        break;
    default:
        p.setBrush(vertical(r, QColor(0x74, 0xC0, 0x74), QColor(0x2A, 0x88, 0x3A)));
        p.setPen(QPen(QColor(0x1C, 0x60, 0x28), 1.5));
        mark = QStringLiteral("?");
        break;
    }
    p.drawEllipse(r);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, mark);
    p.restore();
}

} // namespace skin::pictures
