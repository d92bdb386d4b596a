// SPDX-License-Identifier: GPL-3.0-or-later

#include "commandlineswitches.h"

using namespace Qt::StringLiterals;

namespace CommandLineSwitches
{

const Declared &declared(Switch id)
{
    return Switches[int(id)];
}

QString spelled(Switch id)
{
    return u"--"_s + declared(id).name.toString();
}

std::optional<Switch> switchNamed(QStringView name)
{
    const auto named = std::find_if(std::begin(Switches), std::end(Switches),
        [name](const Declared &each) { return each.name == name || (!name.isEmpty() && each.shortName == name); });
    return named == std::end(Switches) ? std::nullopt : std::optional(Switch(named - std::begin(Switches)));
}

} // namespace CommandLineSwitches
