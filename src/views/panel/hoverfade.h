// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QVariantAnimation;

// Whether the pointer is over the panel, and the eased 0..1 fade that follows it. What takes clicks changes
// at once through hoveringChanged; only the look fades.
class HoverFade final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HoverFade)

public:
    explicit HoverFade(QObject *parent = nullptr);

    bool isHovering() const { return m_isHovering; }
    void setHovering(bool hovering);

signals:
    void hoveringChanged(bool hovering);
    void fadeChanged(qreal fade);

private:
    QVariantAnimation *m_animation = nullptr;
    bool m_isHovering = false;
    qreal m_fade = 0.0;
};
