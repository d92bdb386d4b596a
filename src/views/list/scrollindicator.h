// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class QAbstractScrollArea;
class QTimer;
class QVariantAnimation;

// Where a long list is: a thin rounded thumb drawn over the right edge of its viewport, shown while the list
// scrolls and while the pointer is over it, faded out otherwise. It takes no clicks and no room from the
// rows; the wheel, the touchpad and the keys do the scrolling.
class ScrollIndicator final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScrollIndicator)

public:
    // Drawn over `area`'s viewport, following its vertical scroll bar.
    explicit ScrollIndicator(QAbstractScrollArea *area);

    // Whether it is showing or fading in; false while hidden or fading out.
    bool isShowing() const { return m_isShowing; }
    qreal opacity() const { return m_opacity; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void scrolled();
    void updateShowing();
    void fitToViewport();

    QAbstractScrollArea *m_area = nullptr;
    // Known from the start: the viewport still sends events from its destructor, after the area has stopped
    // being one.
    const QWidget *m_viewport = nullptr;
    QTimer *m_scrollLinger = nullptr;
    QVariantAnimation *m_fade = nullptr;
    bool m_isPointerOver = false;
    bool m_isShowing = false;
    qreal m_opacity = 0.0;
};
