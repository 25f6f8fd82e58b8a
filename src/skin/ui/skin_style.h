#pragma once
// The one style mechanism: an application-wide proxy style that draws every control
// from the look of the window it sits in (its frame's UI style or theme file). Metrics
// are the base style's and the same in every look; colours come from the window's
// palette, which the frame sets and controls layer their own roles over.

#include <QProxyStyle>

namespace skin {

class SkinStyle : public QProxyStyle {
    Q_OBJECT
  public:
    SkinStyle();

    // Makes the skin style the application's style, once.
    static void install();

    void drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p,
                       const QWidget* w = nullptr) const override;
    void drawControl(ControlElement ce, const QStyleOption* opt, QPainter* p,
                     const QWidget* w = nullptr) const override;
    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                            const QWidget* w = nullptr) const override;
    int pixelMetric(PixelMetric pm, const QStyleOption* opt = nullptr,
                    const QWidget* w = nullptr) const override;
    int styleHint(StyleHint sh, const QStyleOption* opt = nullptr, const QWidget* w = nullptr,
                  QStyleHintReturn* ret = nullptr) const override;
};

} // namespace skin
