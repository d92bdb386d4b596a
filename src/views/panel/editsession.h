// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <optional>

// One in-place edit, from its start to the first of its endings. Return, the field losing the focus and the
// window losing key status can all arrive for one edit: only the first ending counts.
class EditSession final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EditSession)

public:
    // What becomes of the line breaks in an edit's text, pasted there: spaces join the lines, or they are
    // kept for the lines to become one item each.
    enum class Lines { Joined, Kept };
    // Committed, taking any text left, or cancelled: by Escape, or by Return on a blank field.
    enum class Ending { Committed, Cancelled };
    explicit EditSession(Lines lines, QObject *parent = nullptr);

    bool isOpen() const { return m_isOpen; }

    // Starting again while open shows the start afresh.
    void begin();
    // Ends the edit, taking its text when any is left after trimming.
    void commit(const QString &text);
    // Takes non-blank text and stays open for the next one; blank text ends the edit.
    void commitAndContinue(const QString &text);
    void cancel();
    // Ends the edit without a word, for a view going away whose editors' focus loss must change nothing.
    void discard() { m_isOpen = false; }

signals:
    void begun();
    // The edit's text, trimmed and never empty; with Lines::Kept, text of several lines comes untrimmed,
    // line breaks and all, and at least one of its lines holds more than whitespace.
    void accepted(const QString &text);
    void ended(EditSession::Ending ending);

private:
    std::optional<QString> keptText(const QString &text) const;

    Lines m_lines = Lines::Joined;
    bool m_isOpen = false;
};
