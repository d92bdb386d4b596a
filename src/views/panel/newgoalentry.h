// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

class AddArea;
class EditSession;

// The add area's field as one edit of new goals: Return adds the goal and keeps the field open for the next one,
// and the edit ends by the person's key (Escape, or Return on an empty field) or otherwise (the focus went
// elsewhere).
class NewGoalEntry final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NewGoalEntry)

public:
    NewGoalEntry(AddArea *addArea, QObject *parent);

    bool isOpen() const;
    void begin();
    // Ends the edit without a word, for a view going away whose editors' focus loss must change nothing.
    void discard();

signals:
    void begun();
    // With its line breaks: lines pasted into the field become a goal each.
    void accepted(const QString &text);
    void ended(bool dismissedByKey);

private:
    EditSession *m_session = nullptr;
};
