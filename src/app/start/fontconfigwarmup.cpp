// SPDX-License-Identifier: GPL-3.0-or-later

#include "fontconfigwarmup.h"

#include <fontconfig/fontconfig.h>
#include <malloc.h>
#include <pthread.h>
#include <sched.h>

#include <system_error>

FontconfigWarmUp::FontconfigWarmUp()
{
    try {
        m_loading = std::thread([] {
            // Only on a processor nothing else wants: the X server's answers to the display connection must
            // not wait for it.
            const sched_param idle {};
            pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
            FcInit();
            // The configuration was parsed in this thread's own allocation arena, which no other thread uses
            // before the first frame; what the parse freed would stay resident there until the end.
            malloc_trim(0);
        });
    } catch (const std::system_error &) {
        // Out of threads: the toolkit loads the configuration itself when it first needs a font.
    }
}

FontconfigWarmUp::~FontconfigWarmUp()
{
    wait();
}

void FontconfigWarmUp::wait()
{
    if (m_loading.joinable())
        m_loading.join();
}
