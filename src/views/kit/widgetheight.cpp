// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgetheight.h"

#include <QWidget>

#include <algorithm>

int widgetHeight(const QWidget *widget, int width)
{
    int height = widget->hasHeightForWidth() ? widget->heightForWidth(width) : -1;
    if (height < 0)
        height = widget->sizeHint().height();
    return std::max(height, widget->minimumHeight());
}
