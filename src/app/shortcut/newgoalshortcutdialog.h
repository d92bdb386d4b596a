// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/newgoalshortcut.h"

#include <QDialog>

#include <optional>

class NewGoalHotkey;
class QLabel;
class QLineEdit;
class QPushButton;

// Shows the new-goal shortcut and takes another one the person presses, or switches it off. A combination
// that cannot be taken keeps the dialog open, saying why; where the desktop's own settings are written, the
// dialog says so before the person agrees.
class NewGoalShortcutDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NewGoalShortcutDialog)

public:
    NewGoalShortcutDialog(NewGoalHotkey *hotkey, QWidget *parent = nullptr);
    ~NewGoalShortcutDialog() override;

    QLineEdit *recorder() const { return m_recorder; }

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showState();
    void use();
    void useAnswered();
    void switchOff();

    NewGoalHotkey *m_hotkey = nullptr;
    std::optional<NewGoalShortcut> m_chosen;
    QLineEdit *m_recorder = nullptr;
    QLabel *m_problem = nullptr;
    QLabel *m_configurationLine = nullptr;
    QPushButton *m_use = nullptr;
};
