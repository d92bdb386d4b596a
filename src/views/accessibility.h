#pragma once

// Teaches the accessibility bridge what the panel's own widgets are: each goal's checkbox a check box with
// its checked state and a toggle action, the goals a list of items, plain text readable, and containers
// that announce only the children shown. Safe to call more than once.
void installPanelAccessibility();
