#pragma once

#include <QCoreApplication>
#include <QString>

class QSettings;

// The panel's title, kept in the "title" preference. While none was stored it reads "Today's Goals"; that
// fallback is never written by merely showing it.
class PanelTitle final
{
    Q_DECLARE_TR_FUNCTIONS(PanelTitle)

public:
    // Without preferences the title is the fallback and renaming keeps nothing.
    explicit PanelTitle(QSettings *defaults);

    QString text() const;
    // Stores the title at once, so that a crash right after still keeps it.
    void rename(const QString &title);

private:
    QSettings *m_defaults = nullptr;
};
