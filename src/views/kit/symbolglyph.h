// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QWidget>

// A glyph centred in a fixed 22 × 22 frame, drawn in a colour its owner chooses: the faint square of the
// new-goal row, the plus of the empty-state row, the header's warning that the goals are not saved, its
// arrow for changes still to go to the calendar server, the circling arrow beside a goal that repeats and the
// bell beside one with a reminder.
// It takes no input.
class SymbolGlyph final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SymbolGlyph)

public:
    enum class Symbol { Square, Plus, Warning, Upload, Repeat, Bell };

    explicit SymbolGlyph(Symbol symbol, QWidget *parent = nullptr);

    Symbol symbol() const { return m_symbol; }
    void setColor(const QColor &color);
    void setSymbol(Symbol symbol);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Symbol m_symbol;
    QColor m_color;
};
