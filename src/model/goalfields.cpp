// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalfields.h"

#include <nlohmann/json.hpp>

#include <limits>
#include <string_view>
#include <utility>

namespace
{

using Json = nlohmann::json;

// The keys a goal's fields are read from: a text into its field, or one of the two values of other types.
enum class Kind { Text, Completed, Order };
struct Key {
    std::string_view name;
    Kind kind;
    std::optional<std::string> GoalFields::*text = nullptr;
};
constexpr Key Keys[] = { { "text", Kind::Text, &GoalFields::text }, { "id", Kind::Text, &GoalFields::id },
    { "completed", Kind::Completed }, { "order", Kind::Order }, { "createdAt", Kind::Text, &GoalFields::createdAt },
    { "modifiedAt", Kind::Text, &GoalFields::modifiedAt }, { "repeat", Kind::Text, &GoalFields::repeat },
    { "remindAt", Kind::Text, &GoalFields::remindAt }, { "remindTime", Kind::Text, &GoalFields::remindTime },
    { "due", Kind::Text, &GoalFields::due } };

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
        if (!isKey(Kind::Completed))
            return mistyped();
        m_fields.completed = value;
        return scalar();
    }
    bool number_integer(Json::number_integer_t value)
    {
        if (!isKey(Kind::Order))
            return mistyped();
        m_fields.order = value;
        return scalar();
    }
    bool number_unsigned(Json::number_unsigned_t value)
    {
        if (!isKey(Kind::Order) || value > quint64(std::numeric_limits<qint64>::max()))
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
            m_key = keyNamed(name);
        return true;
    }
    bool end_object()
    {
        if (m_depth == 2)
            elements.push_back(std::move(m_fields));
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
    static const Key *keyNamed(std::string_view name)
    {
        for (const Key &key : Keys) {
            if (key.name == name)
                return &key;
        }
        return nullptr;
    }

    bool isKey(Kind kind) const { return m_key && m_key->kind == kind; }
    std::optional<std::string> *textField() { return m_key && m_key->text ? &(m_fields.*(m_key->text)) : nullptr; }

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
        else if (isKey(Kind::Completed))
            m_fields.completed.reset();
        else if (isKey(Kind::Order))
            m_fields.order.reset();
    }

    // A value has been read at the current depth: a field's value ends its key, an element that is no object is
    // no goal.
    bool scalar()
    {
        if (m_depth == 1)
            elements.push_back(std::nullopt);
        else if (m_depth == 2)
            m_key = nullptr;
        return true;
    }

    bool open()
    {
        // A field whose value is nested is no field; its insides are only counted, to find its end.
        if (m_depth == 2) {
            dropField();
            m_key = nullptr;
        }
        ++m_depth;
        return true;
    }

    bool close()
    {
        --m_depth;
        return true;
    }

    GoalFields m_fields;
    // The key whose value comes next; only ever set inside a goal object, at depth 2.
    const Key *m_key = nullptr;
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
