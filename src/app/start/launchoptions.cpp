// SPDX-License-Identifier: GPL-3.0-or-later

#include "launchoptions.h"

LaunchOptions LaunchOptions::fromArguments(const QStringList &arguments, const QString &uiTestGoals)
{
    LaunchOptions options;
    options.uiTesting = arguments.contains(QStringView(UiTestingArgument));
    options.screenshotBackdrop = arguments.contains(QStringView(ScreenshotBackdropArgument));
    if (options.uiTesting)
        options.uiTestGoals = uiTestGoals;
    return options;
}
