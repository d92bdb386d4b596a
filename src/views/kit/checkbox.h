// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractButton>

class QPainter;
class QVariantAnimation;

// The 22 × 22 completion glyph: an empty rounded square, or a filled one with a check mark in the
// accent colour. The whole square takes clicks; the owner connects clicked().
class Checkbox final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Checkbox)

public:
    explicit Checkbox(QWidget *parent = nullptr);

    bool isCompleted() const { return m_completed; }
    // With `animated` the glyph swap is a short cross-fade; otherwise it changes at once.
    void setCompleted(bool completed, bool animated = false);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QVariantAnimation *swap();
    void paintGlyph(QPainter &painter, bool completed, qreal opacity, qreal scale) const;

    bool m_completed = false;
    qreal m_swapProgress = 1.0;
    bool m_showsFocusRing = false;
    QVariantAnimation *m_swap = nullptr;
};
