// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

// The one place that maps the panel's colour roles onto the application palette, so light and dark
// themes both work: text colour at falling opacities, and the palette's highlight as the accent.
namespace HierarchicalColors
{

QColor primary(const QPalette &palette);
QColor secondary(const QPalette &palette);
QColor tertiary(const QPalette &palette);
QColor accent(const QPalette &palette);

// Linear blend used by the hover fade: progress 0 gives `from`, 1 gives `to`.
QColor mix(const QColor &from, const QColor &to, qreal progress);

// Gives the widget's own palette that colour for the role, leaving the rest as it inherits it.
void setForeground(QWidget *widget, QPalette::ColorRole role, const QColor &color);

} // namespace HierarchicalColors
