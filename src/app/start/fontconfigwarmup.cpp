// SPDX-License-Identifier: GPL-3.0-or-later

#include "fontconfigwarmup.h"

#include <fontconfig/fontconfig.h>
#include <malloc.h>

#include <system_error>

FontconfigWarmUp::FontconfigWarmUp()
{
    try {
        // At the process's own priority: the start waits for it, and on a busy processor a thread of lower
        // priority would hold the first frame back for as long as the processor stays busy.
        m_loading = std::thread([] {
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
