// SPDX-License-Identifier: GPL-3.0-or-later

#include "quitguard.h"

#include "model/todostore.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{

// A signal handler may only write to a descriptor; the event loop reads the other end.
std::array<int, 2> signalPipe { -1, -1 };

void noteSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

QuitGuard::QuitGuard(TodoStore *store, QObject *parent)
    : QObject(parent)
    , m_store(store)
{
    if (::pipe2(signalPipe.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_signals = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_signals, &QSocketNotifier::activated, this, &QuitGuard::sessionEnded);
    struct sigaction action {
    };
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : { SIGTERM, SIGHUP, SIGINT })
        sigaction(signal, &action, nullptr);
}

void QuitGuard::requestQuit(QWidget *window)
{
    if (m_asking)
        return;
    // The disk may have room again by now, or the file have gone a moment ago; a save that succeeds leaves
    // nothing to ask.
    if (!m_store->allOnDisk())
        m_store->save();
    if (m_store->allOnDisk()) {
        QCoreApplication::quit();
        return;
    }
    m_asking = true;
    QMessageBox box(
        QMessageBox::Warning, tr("Quit Mirel?"), tr("Some goals are not saved."), QMessageBox::Cancel, window);
    box.setInformativeText(tr("They cannot be written: %1. Quitting now loses them.").arg(m_store->saveFailure()));
    QPushButton *quitAnyway = box.addButton(tr("Quit Anyway"), QMessageBox::DestructiveRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    m_asking = false;
    if (box.clickedButton() == quitAnyway)
        QCoreApplication::quit();
}

void QuitGuard::sessionEnded()
{
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) { }
    m_store->save();
    QCoreApplication::quit();
}
