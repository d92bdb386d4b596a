// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalfields.h"

#include <nlohmann/json.hpp>

#include <limits>
#include <string_view>
#include <utility>

namespace
{

using Json = nlohmann::json;

// The parser's events straight into fields, without the document: building it took longer than the lexing (a
// map per goal, a string per key), and a file of a few megabytes of brackets is only counted through, never
// built up.
class FieldsReader final
{
public:
    std::vector<std::optional<GoalFields>> elements;
    bool isArray = false;

    bool null() { return mistyped(); }
    bool boolean(bool value)
    {
        if (m_field != Field::Completed)
            return mistyped();
        m_fields.completed = value;
        return scalar();
    }
    bool number_integer(Json::number_integer_t value)
    {
        if (m_field != Field::Order)
            return mistyped();
        m_fields.order = value;
        return scalar();
    }
    bool number_unsigned(Json::number_unsigned_t value)
    {
        if (m_field != Field::Order || value > quint64(std::numeric_limits<qint64>::max()))
            return mistyped();
        m_fields.order = qint64(value);
        return scalar();
    }
    bool number_float(Json::number_float_t, const std::string &) { return mistyped(); }
    bool string(std::string &value)
    {
        std::optional<std::string> *text = textField();
        if (!text)
            return mistyped();
        *text = value;
        return scalar();
    }
    bool binary(Json::binary_t &) { return mistyped(); }
    bool start_object(std::size_t)
    {
        if (m_depth == 1)
            m_fields = {};
        return open();
    }
    bool key(std::string &name)
    {
        if (m_depth == 2)
            m_field = fieldNamed(name);
        return true;
    }
    bool end_object()
    {
        if (m_depth == 2)
            elements.push_back(m_fields);
        return close();
    }
    bool start_array(std::size_t)
    {
        if (m_depth == 0)
            isArray = true;
        return open();
    }
    bool end_array()
    {
        if (m_depth == 2)
            elements.push_back(std::nullopt);
        return close();
    }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) { return false; }

private:
    enum class Field { Other, Text, Id, Completed, Order, CreatedAt, ModifiedAt, Repeat, RemindAt, RemindTime, Due };

    static Field fieldNamed(std::string_view name)
    {
        static constexpr std::pair<std::string_view, Field> Names[] = { { "text", Field::Text }, { "id", Field::Id },
            { "completed", Field::Completed }, { "order", Field::Order }, { "createdAt", Field::CreatedAt },
            { "modifiedAt", Field::ModifiedAt }, { "repeat", Field::Repeat }, { "remindAt", Field::RemindAt },
            { "remindTime", Field::RemindTime }, { "due", Field::Due } };
        for (const auto &[spelled, field] : Names) {
            if (name == spelled)
                return field;
        }
        return Field::Other;
    }

    std::optional<std::string> *textField()
    {
        switch (m_field) {
        case Field::Text:
            return &m_fields.text;
        case Field::Id:
            return &m_fields.id;
        case Field::CreatedAt:
            return &m_fields.createdAt;
        case Field::ModifiedAt:
            return &m_fields.modifiedAt;
        case Field::Repeat:
            return &m_fields.repeat;
        case Field::RemindAt:
            return &m_fields.remindAt;
        case Field::RemindTime:
            return &m_fields.remindTime;
        case Field::Due:
            return &m_fields.due;
        case Field::Other:
        case Field::Completed:
        case Field::Order:
            return nullptr;
        }
        return nullptr;
    }

    // The field's value is not of its type: the key counts as missing, whatever an earlier spelling held.
    bool mistyped()
    {
        dropField();
        return scalar();
    }

    void dropField()
    {
        if (std::optional<std::string> *text = textField())
            text->reset();
        else if (m_field == Field::Completed)
            m_fields.completed.reset();
        else if (m_field == Field::Order)
            m_fields.order.reset();
    }

    // A value has been read at the current depth: a field's value ends its key, an element that is no object is
    // no goal.
    bool scalar()
    {
        if (m_depth == 1)
            elements.push_back(std::nullopt);
        else if (m_depth == 2)
            m_field = Field::Other;
        return true;
    }

    bool open()
    {
        // A field whose value is nested is no field; its insides are only counted, to find its end.
        if (m_depth == 2) {
            dropField();
            m_field = Field::Other;
        }
        ++m_depth;
        return true;
    }

    bool close()
    {
        --m_depth;
        if (m_depth == 2)
            m_field = Field::Other;
        return true;
    }

    GoalFields m_fields;
    // The key whose value comes next; only ever another than Other inside a goal object, at depth 2.
    Field m_field = Field::Other;
    // 0 outside the document, 1 inside the top array, 2 inside one of its elements, deeper inside their values.
    int m_depth = 0;
};

} // namespace

std::optional<std::vector<std::optional<GoalFields>>> readGoalFields(const QByteArray &bytes)
{
    FieldsReader reader;
    if (!Json::sax_parse(bytes.cbegin(), bytes.cend(), &reader) || !reader.isArray)
        return std::nullopt;
    return std::move(reader.elements);
}
