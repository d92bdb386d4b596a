// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>
#include <string>
#include <vector>

// The last value each known key of one goal object had, as far as its type fits the key: a value of another
// type, or one nested deeper, counts as none, so a repeated key has its last value and a mistyped one is missing.
// Texts are the file's UTF-8 as it stands.
struct GoalFields {
    std::optional<std::string> text, id, createdAt, modifiedAt, repeat, remindAt, remindTime, due;
    std::optional<bool> completed;
    // An integer within 64 signed bits; 2^63 and above are refused.
    std::optional<qint64> order;
};

// The goals file's top array, element by element: the fields of each object, nothing for an element that is no
// object. Nothing at all when the bytes are not one JSON array.
std::optional<std::vector<std::optional<GoalFields>>> readGoalFields(const QByteArray &bytes);
