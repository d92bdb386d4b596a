// SPDX-License-Identifier: GPL-3.0-or-later

#include "hierarchicalcolors.h"

#include <QWidget>

#include <algorithm>

namespace
{

// Falling opacities of the window text colour give the three label levels on any theme, light or dark.
constexpr qreal PrimaryOpacity = 0.85;
constexpr qreal SecondaryOpacity = 0.55;
constexpr qreal TertiaryOpacity = 0.3;

QColor textAt(const QPalette &palette, qreal opacity)
{
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(color.alphaF() * opacity);
    return color;
}

} // namespace

namespace HierarchicalColors
{

QColor primary(const QPalette &palette)
{
    return textAt(palette, PrimaryOpacity);
}

QColor secondary(const QPalette &palette)
{
    return textAt(palette, SecondaryOpacity);
}

QColor tertiary(const QPalette &palette)
{
    return textAt(palette, TertiaryOpacity);
}

QColor accent(const QPalette &palette)
{
    // The active group on purpose: a ticked goal keeps its colour while the panel is not the focused window.
    return palette.color(QPalette::Active, QPalette::Highlight);
}

QColor mix(const QColor &from, const QColor &to, qreal progress)
{
    const qreal t = std::clamp(progress, 0.0, 1.0);
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    const auto lerp = [t](float x, float y) { return x + (y - x) * float(t); };
    return QColor::fromRgbF(lerp(a.redF(), b.redF()), lerp(a.greenF(), b.greenF()), lerp(a.blueF(), b.blueF()),
        lerp(a.alphaF(), b.alphaF()));
}

void setForeground(QWidget *widget, QPalette::ColorRole role, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

} // namespace HierarchicalColors
