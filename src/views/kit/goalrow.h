// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class QHBoxLayout;

// The container of one row: children in a line 8 apart, 6 side insets, at least 28 tall, and a faint rounded
// highlight behind the whole row when highlighted. Children that cannot grow as tall as the row are centred
// vertically; those that can fill its height. The row sets no font: it inherits the application font, which
// is the body style, and so follows it when it changes.
class GoalRow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GoalRow)

public:
    // A row of one line.
    static constexpr int MinimumHeight = 28;

    explicit GoalRow(QWidget *parent = nullptr);

    // The row's children are added here by the view that builds the row.
    QHBoxLayout *contentLayout() const { return m_layout; }

    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);
    // 0..1, driven by the panel's hover fade; the highlight is drawn at its full strength times this.
    void setHighlightFade(qreal fade);

    // Never less than the minimum row height, also when asked directly rather than through a layout.
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QHBoxLayout *m_layout = nullptr;
    bool m_highlighted = false;
    qreal m_highlightFade = 1.0;
};
