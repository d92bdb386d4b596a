// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;

// The height `widget` takes when laid out `width` wide: its height for that width where it has one, else its
// preferred height, never less than its minimum.
int widgetHeight(const QWidget *widget, int width);
