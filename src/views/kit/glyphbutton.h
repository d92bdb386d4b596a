// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractButton>

// A 22 × 22 glyph button with the hover-label look: secondary glyph when idle, primary on hover, and a
// rounded background at 0.08 while hovered or 0.14 while pressed. Hover is tracked over the whole square.
class GlyphButton final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GlyphButton)

public:
    enum class Glyph { Plus, XMark };

    // `glyphPointSize` is the size of the glyph's font equivalent (12 for the add button, 10 for delete).
    GlyphButton(Glyph glyph, qreal glyphPointSize, QWidget *parent = nullptr);

    bool isHovered() const { return m_hovered; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void setHovered(bool hovered);

    Glyph m_glyph;
    qreal m_glyphPointSize;
    bool m_hovered = false;
    bool m_pressed = false;
    bool m_showsFocusRing = false;
};
