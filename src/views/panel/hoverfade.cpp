// SPDX-License-Identifier: GPL-3.0-or-later

#include "hoverfade.h"

#include "views/kit/beziereasing.h"

#include <QVariantAnimation>

namespace
{

constexpr int FadeMs = 200;

} // namespace

HoverFade::HoverFade(QObject *parent)
    : QObject(parent)
    , m_animation(new QVariantAnimation(this))
{
    m_animation->setDuration(FadeMs);
    // The standard ease-out curve.
    m_animation->setEasingCurve(bezierEasing(QPointF(0, 0), QPointF(0.58, 1)));
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_fade = value.toReal();
        emit fadeChanged(m_fade);
    });
}

void HoverFade::setHovering(bool hovering)
{
    if (hovering == m_isHovering)
        return;
    m_isHovering = hovering;
    emit hoveringChanged(hovering);
    m_animation->stop();
    m_animation->setStartValue(m_fade);
    m_animation->setEndValue(hovering ? 1.0 : 0.0);
    m_animation->start();
}
