// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

// A fixed gradient over the whole main screen behind the panel, so that every screenshot shows the panel
// over the same background. Clicks pass through it and it never takes the focus.
class ScreenshotBackdrop final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScreenshotBackdrop)

public:
    explicit ScreenshotBackdrop(const QRect &screenGeometry, QWidget *parent = nullptr);

    void orderFront();
    // Makes the window manager keep the panel, not yet shown, above the backdrop.
    void keepBeneath(QWindow *panel) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_ownWindowGroup = false;
};
