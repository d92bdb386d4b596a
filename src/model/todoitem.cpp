#include "todoitem.h"

QDateTime lastChange(const TodoItem &item)
{
    return item.modifiedAt.isValid() ? item.modifiedAt : item.createdAt;
}

bool isTrimmable(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= 0x0009 && u <= 0x000D) || u == 0x0085)
        return true;
    // All of Zs, Zl and Zp lie in the Basic Multilingual Plane, so one UTF-16 unit decides.
    switch (c.category()) {
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

QString trimmedText(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmable(text.at(begin)))
        ++begin;
    while (end > begin && isTrimmable(text.at(end - 1)))
        --end;
    if (begin == 0 && end == text.size())
        return text;
    return text.sliced(begin, end - begin);
}

std::optional<QString> trimmedNonEmpty(const QString &text)
{
    QString trimmed = trimmedText(text);
    if (trimmed.isEmpty())
        return std::nullopt;
    return trimmed;
}
