#include "fontconfigwarmup.h"

#include <fontconfig/fontconfig.h>
#include <pthread.h>
#include <sched.h>

FontconfigWarmUp::FontconfigWarmUp()
    : m_loading([] {
        // Only on a processor nothing else wants: the X server's answers to the display connection must not
        // wait for it.
        const sched_param idle {};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
        FcInit();
    })
{
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
