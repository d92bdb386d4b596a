// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QLineEdit;

// Keeps what a field hands on within the length a goal may have. Text beyond it is refused, not cut: the
// field keeps it and says why, at once and in its tooltip, until the text changes.
class GoalTextLimit final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GoalTextLimit)

public:
    // Whether the field's text becomes one goal, or one goal per line.
    enum class Goals { One, OnePerLine };
    // Owned by the field.
    GoalTextLimit(QLineEdit *field, Goals goals);

    // Whether the field's text may go on; when not, the field says why.
    bool allowsText();

private:
    void clearRefusal();

    QLineEdit *m_field = nullptr;
    Goals m_goals = Goals::One;
    bool m_isRefusing = false;
};
