// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractButton>

class GoalRow;
class QLabel;
class SymbolGlyph;

// The row "Add today's first goal" shown while the list is empty: a plain button (only its label is drawn)
// whose whole rectangle, empty space included, takes the click.
class EmptyStateRow final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EmptyStateRow)

public:
    explicit EmptyStateRow(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyColors();

    GoalRow *m_row = nullptr;
    SymbolGlyph *m_plus = nullptr;
    QLabel *m_label = nullptr;
};
