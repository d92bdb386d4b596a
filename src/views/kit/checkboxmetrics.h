// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

// The checkbox's frame and its empty square. The new-goal row draws the same square so that it lines up
// with the goals above it.
namespace CheckboxMetrics
{

constexpr int Side = 22;
// The square is the size of a 15-point symbol, centred in the frame on whole pixels so the outline stays
// sharp at a scale of 1.
constexpr qreal SquareSide = 16.0;
constexpr qreal SquareRadius = 4.0;
constexpr qreal OutlineWidth = 1.5;

} // namespace CheckboxMetrics
