// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAccessible>

class QWidget;

// Teaches the accessibility bridge what the panel's own widgets are: each goal's checkbox a check box with
// its checked state and a toggle action, the goals a list of items, plain text readable, and containers
// that announce only the children shown. Safe to call more than once.
void installPanelAccessibility();

// Whether a container announces one of its children shown.
using AnnouncedChild = bool (*)(const QWidget *child);

// The accessible face of a container that announces only its children shown and, when `announced` is given,
// accepted by it; for factories of widgets outside these views.
QAccessibleInterface *shownChildrenAccessible(
    QWidget *widget, QAccessible::Role role, AnnouncedChild announced = nullptr);
