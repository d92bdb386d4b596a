// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

// One in-place edit, from its start to the first of its endings. Return, the field losing the focus and the
// window losing key status can all arrive for one edit: only the first ending counts.
class EditSession final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EditSession)

public:
    // Committed, taking any text left, or cancelled: by Escape, or by Return on a blank field.
    enum class Ending { Committed, Cancelled };
    using QObject::QObject;

    bool isOpen() const { return m_isOpen; }

    // Starting again while open shows the start afresh.
    void begin();
    // Ends the edit, taking its text when it holds any.
    void commit(const QString &text);
    // Takes non-blank text and stays open for the next one; blank text ends the edit.
    void commitAndContinue(const QString &text);
    void cancel();
    // Ends the edit without a word, for a view going away whose editors' focus loss must change nothing.
    void discard() { m_isOpen = false; }

signals:
    void begun();
    // The edit's text as typed or pasted, line breaks and all, holding more than whitespace and control
    // characters: what keeps it (the goals, the title) cleans it, once.
    void accepted(const QString &text);
    void ended(EditSession::Ending ending);

private:
    bool m_isOpen = false;
};
