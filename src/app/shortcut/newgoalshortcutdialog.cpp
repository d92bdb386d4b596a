// SPDX-License-Identifier: GPL-3.0-or-later

#include "newgoalshortcutdialog.h"

#include "newgoalhotkey.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

NewGoalShortcutDialog::NewGoalShortcutDialog(NewGoalHotkey *hotkey, QWidget *parent)
    : QDialog(parent)
    , m_hotkey(hotkey)
    , m_chosen(hotkey->shortcut().value_or(NewGoalShortcut::standard()))
{
    setWindowTitle(tr("New Goal Shortcut"));
    auto *layout = new QVBoxLayout(this);
    auto *explanation = new QLabel(tr("Press the keys that open a new goal from any program."), this);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    m_recorder = new QLineEdit(this);
    m_recorder->setReadOnly(true);
    m_recorder->setAlignment(Qt::AlignCenter);
    m_recorder->setAccessibleName(tr("Shortcut"));
    // Read-only fields pass keys on; the filter sees them first, Ctrl and Alt combinations included.
    m_recorder->installEventFilter(this);
    layout->addWidget(m_recorder);

    m_problem = new QLabel(this);
    m_problem->setWordWrap(true);
    layout->addWidget(m_problem);
    m_configurationLine = new QLabel(this);
    m_configurationLine->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(m_configurationLine);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    const bool writesGnomeSettings = hotkey->desktop() == NewGoalHotkey::Desktop::GnomeWayland;
    m_use = buttons->addButton(
        writesGnomeSettings ? tr("Add to GNOME's Shortcuts") : tr("Use Shortcut"), QDialogButtonBox::AcceptRole);
    m_use->setDefault(true);
    QPushButton *off = buttons->addButton(tr("&Switch Off"), QDialogButtonBox::DestructiveRole);
    connect(m_use, &QPushButton::clicked, this, &NewGoalShortcutDialog::use);
    connect(off, &QPushButton::clicked, this, &NewGoalShortcutDialog::switchOff);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    if (writesGnomeSettings) {
        auto *consent = new QLabel(tr("Mirel adds a custom shortcut to GNOME's keyboard settings that runs "
                                      "“mirel --new-goal”; your own shortcuts stay as they are."),
            this);
        consent->setWordWrap(true);
        layout->insertWidget(1, consent);
    }

    hotkey->pause();
    showState();
    m_recorder->setFocus();
}

NewGoalShortcutDialog::~NewGoalShortcutDialog() = default;

void NewGoalShortcutDialog::done(int result)
{
    if (result == QDialog::Rejected)
        m_hotkey->resume();
    QDialog::done(result);
}

bool NewGoalShortcutDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_recorder || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *press = static_cast<QKeyEvent *>(event);
    // Plain keys keep their meaning in a dialog: Tab moves on, Escape closes, Return agrees.
    if (!(press->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    if (const std::optional<NewGoalShortcut> pressed = NewGoalShortcut::fromKey(press->modifiers(), press->key())) {
        m_chosen = pressed;
        m_problem->clear();
        m_recorder->setText(pressed->text());
        if (m_hotkey->desktop() == NewGoalHotkey::Desktop::OtherWayland)
            m_configurationLine->setText(m_hotkey->configurationLine(*pressed));
    }
    return true;
}

void NewGoalShortcutDialog::showState()
{
    m_recorder->setText(m_chosen->text());
    m_problem->setText(m_hotkey->problem());
    m_problem->setVisible(!m_hotkey->problem().isEmpty());
    m_configurationLine->setText(m_hotkey->configurationLine(*m_chosen));
    m_configurationLine->setVisible(m_hotkey->desktop() == NewGoalHotkey::Desktop::OtherWayland);
}

void NewGoalShortcutDialog::use()
{
    m_hotkey->change(m_chosen);
    if (m_hotkey->isPending()) {
        // The desktop answers in a moment; the dialog waits for it rather than closing on a guess.
        m_use->setEnabled(false);
        connect(m_hotkey, &NewGoalHotkey::stateChanged, this, &NewGoalShortcutDialog::useAnswered);
        return;
    }
    useAnswered();
}

void NewGoalShortcutDialog::useAnswered()
{
    if (m_hotkey->isPending())
        return;
    disconnect(m_hotkey, &NewGoalHotkey::stateChanged, this, &NewGoalShortcutDialog::useAnswered);
    m_use->setEnabled(true);
    // Said here, where the person can choose another combination at once.
    if (m_hotkey->desktop() != NewGoalHotkey::Desktop::OtherWayland
        && (!m_hotkey->isActive() || !m_hotkey->problem().isEmpty())) {
        showState();
        return;
    }
    accept();
}

void NewGoalShortcutDialog::switchOff()
{
    m_hotkey->change(std::nullopt);
    accept();
}
