// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/undohistory.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

class PanelSettings;

// The panel's title, kept in the "title" preference. While none was stored it reads "Today's Goals"; that
// fallback is never written by merely showing it.
class PanelTitle final
{
    Q_DECLARE_TR_FUNCTIONS(PanelTitle)

public:
    explicit PanelTitle(PanelSettings *settings);

    QString text() const;
    // Stores the title at once, so that a crash right after still keeps it.
    void rename(const QString &title);
    // The stored title, or nothing while the fallback shows.
    std::optional<QString> stored() const;
    // Back to a stored title, or to none, which brings back the fallback.
    void restore(const std::optional<QString> &title);

private:
    PanelSettings *m_settings = nullptr;
};

// A rename of the panel as a step of the undo history.
class RenameTitle final : public UndoStep
{
    Q_DECLARE_TR_FUNCTIONS(RenameTitle)

public:
    RenameTitle(PanelTitle *title, QString newTitle);

    QString text() const override;
    bool redo() override;
    bool undo() override;

private:
    PanelTitle *m_title = nullptr;
    QString m_newTitle;
    std::optional<QString> m_oldTitle;
    bool m_hasRun = false;
};
