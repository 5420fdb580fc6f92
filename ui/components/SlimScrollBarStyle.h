// A scroll bar drawn as a slim indicator: 8 points wide, no arrow buttons, a
// rounded thumb in the tertiary colour (secondary while dragged) on no
// track. Set on one scroll bar; the rest of the style is the application's.
#pragma once

#include <QProxyStyle>

namespace orbistat::ui {

class SlimScrollBarStyle : public QProxyStyle {
    Q_OBJECT
public:
    static constexpr int extent = 8;
    static constexpr int minimumThumb = 24;

    SlimScrollBarStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr, const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget = nullptr) const override;
    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex* option, const QPoint& point,
                                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

} // namespace orbistat::ui
