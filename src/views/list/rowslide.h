// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QObject>
#include <QUuid>

class QVariantAnimation;

// Slides the rows that changed place in an animated change from where they were drawn to their new tops, on
// the list spring.
class RowSlide final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RowSlide)

public:
    explicit RowSlide(QObject *parent = nullptr);

    // Where the goal's row was drawn before the change.
    void setStart(const QUuid &id, int y);
    // Stops any slide under way and starts one for the rows given a start whose top in `tops` differs from it.
    void start(const QHash<QUuid, int> &tops);
    // How far the goal's row is drawn from its top at this moment of the slide.
    int offset(const QUuid &id) const;

signals:
    void offsetsChanged();

private:
    QVariantAnimation *animation();

    QVariantAnimation *m_animation = nullptr;
    QHash<QUuid, int> m_start;
    QHash<QUuid, int> m_distance;
    qreal m_progress = 1.0;
};
