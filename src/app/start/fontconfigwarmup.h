// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <thread>

// Loads the font configuration on a thread of its own while the application connects to the display.
// Reading the configuration files and font caches is the largest single cost before the first frame and
// needs no display; the toolkit's own loading later finds the configuration in place.
class FontconfigWarmUp final
{
    Q_DISABLE_COPY_MOVE(FontconfigWarmUp)

public:
    FontconfigWarmUp();
    ~FontconfigWarmUp();

    // Returns once the configuration is loaded. Called before the first font is used: the toolkit would
    // otherwise load a second configuration beside this one.
    void wait();

private:
    std::thread m_loading;
};
