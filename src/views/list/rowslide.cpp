// SPDX-License-Identifier: GPL-3.0-or-later

#include "rowslide.h"

#include <QEasingCurve>
#include <QVariantAnimation>

#include <cmath>

namespace
{

// The list spring: response 0.2 s, damping fraction 0.85. It has settled well within this time.
constexpr qreal SpringResponse = 0.2;
constexpr qreal SpringDamping = 0.85;
constexpr int SpringDurationMs = 350;

// The damped spring's position at `progress` of the animation, 0 at the start and 1 at rest.
qreal listSpring(qreal progress)
{
    const qreal omega = 2 * M_PI / SpringResponse;
    const qreal dampedOmega = omega * std::sqrt(1 - SpringDamping * SpringDamping);
    const qreal t = progress * SpringDurationMs / 1000.0;
    const qreal decay = std::exp(-SpringDamping * omega * t);
    return 1 - decay * (std::cos(dampedOmega * t) + SpringDamping * omega / dampedOmega * std::sin(dampedOmega * t));
}

} // namespace

RowSlide::RowSlide(QObject *parent)
    : QObject(parent)
{
}

QVariantAnimation *RowSlide::animation()
{
    // Made for the first slide: giving it the spring samples the curve, and the spring's exp and sin pull pages
    // of the maths library into a start that slides nothing.
    if (!m_animation) {
        m_animation = new QVariantAnimation(this);
        QEasingCurve spring;
        spring.setCustomType(listSpring);
        m_animation->setEasingCurve(spring);
        m_animation->setDuration(SpringDurationMs);
        m_animation->setStartValue(0.0);
        m_animation->setEndValue(1.0);
        connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
            m_progress = value.toReal();
            emit offsetsChanged();
        });
    }
    return m_animation;
}

void RowSlide::setStart(const QUuid &id, int y)
{
    m_start.insert(id, y);
}

void RowSlide::start(const QHash<QUuid, int> &tops)
{
    if (m_animation)
        m_animation->stop();
    m_distance.clear();
    for (auto it = m_start.cbegin(); it != m_start.cend(); ++it) {
        const auto top = tops.constFind(it.key());
        if (top != tops.cend() && it.value() != *top)
            m_distance.insert(it.key(), it.value() - *top);
    }
    m_start.clear();
    m_progress = m_distance.isEmpty() ? 1.0 : 0.0;
    if (!m_distance.isEmpty())
        animation()->start();
}

int RowSlide::offset(const QUuid &id) const
{
    return int(std::lround(m_distance.value(id) * (1 - m_progress)));
}
