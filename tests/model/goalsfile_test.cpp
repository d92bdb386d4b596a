// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/goalsfile.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

// The two goals of the file's example, in the one form the file is written in.
const QByteArray Canonical = R"([{"id":"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917","text":"Send the invoice",)"
                             R"("completed":true,"order":0,"createdAt":"2026-03-02T08:15:00Z"},)"
                             R"({"id":"D04A9F3B-71C2-4E58-8B6D-2F93A1C0E745","text":"Call the plumber",)"
                             R"("completed":false,"order":1,"createdAt":"2026-03-02T08:16:41Z"}])"_ba;

TodoItem goal(const QString &id, const QString &text, bool completed, qint64 order, const QDateTime &createdAt)
{
    return { QUuid::fromString(id), text, completed, order, createdAt, {}, {} };
}

// One canonical goal object whose value for `key` is written verbatim, so a table row can vary just that one.
QByteArray element(const QByteArray &key, const QByteArray &value)
{
    const auto pick = [&](const char *name, const QByteArray &canonical) { return key == name ? value : canonical; };
    return R"({"id":)" + pick("id", R"("6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917")") + R"(,"text":)"
        + pick("text", R"("Send the invoice")") + R"(,"completed":)" + pick("completed", "true") + R"(,"order":)"
        + pick("order", "0") + R"(,"createdAt":)" + pick("createdAt", R"("2026-03-02T08:15:00Z")") + "}";
}

} // namespace

class GoalsFileTest final : public QObject
{
    Q_OBJECT

private slots:
    void encode_keepsTheBytesOfEarlierFilesOrWritesNothing();
    void decode_acceptsAnyValidJsonAndRewritesItCanonically();
    void value_isReadAndWrittenBack_data();
    void value_isReadAndWrittenBack();
    void decode_rejectsWholeFile_data();
    void decode_rejectsWholeFile();
};

void GoalsFileTest::encode_keepsTheBytesOfEarlierFilesOrWritesNothing()
{
    // What the previous writer made of values that only memory holds: a leading U+FEFF, a lone surrogate
    // (written as '?'), controls, DEL and a line separator; a local time with milliseconds; an offset before 1970;
    // the nil id, the extreme orders and the first and last storable seconds.
    const QByteArray earlier = R"([{"id":"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917","text":")"
                               "\xef\xbb\xbf?\\u0001\\u001f\x7f\\\"\\\\/\\t\xe2\x80\xa8 caf\xc3\xa9"
                               R"(","completed":true,"order":0,"createdAt":"2026-03-02T08:15:00Z"},)"
                               R"({"id":"00000000-0000-0000-0000-000000000000","text":"","completed":false,)"
                               R"("order":-9223372036854775808,"createdAt":"1969-12-31T23:59:59Z"},)"
                               R"({"id":"D04A9F3B-71C2-4E58-8B6D-2F93A1C0E745","text":"x","completed":false,)"
                               R"("order":9223372036854775807,"createdAt":"0001-01-01T00:00:00Z"},)"
                               R"({"id":"D04A9F3B-71C2-4E58-8B6D-2F93A1C0E746","text":"y","completed":true,"order":7,)"
                               R"("createdAt":"9999-12-31T23:59:59Z"}])"_ba;
    const QList<TodoItem> todos = {
        goal(u"6b1e2c44-0a7f-4d2b-9e3a-5c81f0d2a917"_s,
            u"\uFEFF"_s + QChar(0xD83D) + u"\x01\x1f\x7f\"\\/\t\u2028 caf\u00e9"_s, true, 0,
            QDateTime::fromMSecsSinceEpoch(1772439300750, Qt::LocalTime)),
        { QUuid(), QString(), false, std::numeric_limits<qint64>::min(),
            QDateTime::fromMSecsSinceEpoch(-1, Qt::OffsetFromUTC, -14 * 3600), {}, {} },
        goal(u"D04A9F3B-71C2-4E58-8B6D-2F93A1C0E745"_s, u"x"_s, false, std::numeric_limits<qint64>::max(),
            QDateTime(QDate(1, 1, 1), QTime(0, 0, 0, 999), Qt::UTC)),
        goal(u"D04A9F3B-71C2-4E58-8B6D-2F93A1C0E746"_s, u"y"_s, true, 7,
            QDateTime(QDate(10000, 1, 1), QTime(13, 59, 59, 999), Qt::OffsetFromUTC, 14 * 3600)),
    };
    QCOMPARE(GoalsFile::encode(todos).value_or("failed"), earlier);
    QCOMPARE(GoalsFile::encode({}).value_or("failed"), "[]");

    // Nothing for a date outside four-digit years: it could not be read back, and an unreadable file loses
    // every goal in it.
    for (const QDateTime &createdAt : { QDateTime(), QDateTime(QDate(10000, 1, 1), QTime(0, 0), Qt::UTC),
             QDateTime(QDate(-1, 12, 31), QTime(23, 59), Qt::UTC) }) {
        const TodoItem item = goal(u"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917"_s, u"x"_s, false, 0, createdAt);
        QVERIFY2(!GoalsFile::encode({ item }), qPrintable(createdAt.toString(Qt::ISODate)));
    }
}

void GoalsFileTest::decode_acceptsAnyValidJsonAndRewritesItCanonically()
{
    // Whitespace everywhere, keys in any order, extra keys, lower-case digits and designators, an offset.
    const QByteArray edited
        = " \r\n[ \t{ \"text\" : \"Send the invoice\" ,\n\"id\":\"6b1e2c44-0a7f-4d2b-9e3a-5c81f0d2a917\", \"completed\""
          " : true, \"extra\":{\"nested\":[1,{\"id\":5}]}, \"order\" : -0 , \"createdAt\" : \"2026-03-02t08:15:00z\" } "
          ","
          R"({"createdAt":"2026-03-02T10:16:41.750+02:00","order":1,"completed":false,"text":"Call the plumber",)"
          R"("id":"D04A9F3B-71C2-4E58-8B6D-2F93A1C0E745","more":null}] )"
          "\n"_ba;
    const auto decoded = GoalsFile::decode(edited);
    QVERIFY(decoded);
    QCOMPARE(decoded->size(), 2);
    // Sub-seconds are kept in memory; only writing drops them.
    QCOMPARE(decoded->at(1).createdAt, QDateTime(QDate(2026, 3, 2), QTime(8, 16, 41, 750), Qt::UTC));
    QCOMPARE(GoalsFile::encode(*decoded).value_or("failed"), Canonical);
}

void GoalsFileTest::value_isReadAndWrittenBack_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<QByteArray>("written");

    const auto same = [](const char *tag, const char *key, const QByteArray &value) {
        QTest::newRow(tag) << QByteArray(key) << value << value;
    };
    const auto changed = [](const char *tag, const char *key, const QByteArray &read, const QByteArray &written) {
        QTest::newRow(tag) << QByteArray(key) << read << written;
    };

    // Only the quote, the backslash and the control characters are escaped; all else is raw UTF-8.
    same("escapes, slash, controls and nul", "text",
        R"("\"\\\"\\\\ \\u0041 \\n a/b \b\f\n\r\t a\u0000b\u0001\u001f\u001b")");
    same("delete, non-ASCII and separators raw", "text",
        "\"\x7f Caf\xc3\xa9 \xe2\x98\x95 \xf0\x9f\x98\x80 \xc2\xa0\xe2\x80\xa8\xe2\x80\xa9\xc2\x85 \"");
    same("leading byte-order mark", "text", "\"\xef\xbb\xbfx\"");
    changed("unicode escapes", "text", R"("caf\u00E9 \ud83d\ude00")", "\"caf\xc3\xa9 \xf0\x9f\x98\x80\"");

    // A repeated key takes its last value, and a mistyped earlier one never reaches another field.
    changed("repeated key", "completed", R"(false,"order":true)", "false");

    same("largest order", "order", "9223372036854775807");
    same("smallest order", "order", "-9223372036854775808");
    same("order beyond double precision", "order", "9007199254740993");

    // Dates are written in UTC to the whole second, cut toward the past.
    changed("negative offset", "createdAt", R"("2026-03-02T03:45:00-04:30")", R"("2026-03-02T08:15:00Z")");
    changed("long fraction", "createdAt", R"("2026-03-02T08:15:00.123456789Z")", R"("2026-03-02T08:15:00Z")");
    changed("fraction before 1970", "createdAt", R"("1969-12-31T23:59:59.500Z")", R"("1969-12-31T23:59:59Z")");
    changed("last second", "createdAt", R"("9999-12-31T23:59:59.999Z")", R"("9999-12-31T23:59:59Z")");
    same("leap day", "createdAt", R"("2024-02-29T12:00:00Z")");
    same("first second", "createdAt", R"("0001-01-01T00:00:00Z")");
}

void GoalsFileTest::value_isReadAndWrittenBack()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, read);
    QFETCH(QByteArray, written);

    const auto decoded = GoalsFile::decode("[" + element(key, read) + "]");
    QVERIFY(decoded);
    QCOMPARE(GoalsFile::encode(*decoded).value_or("failed"), "[" + element(key, written) + "]");
}

void GoalsFileTest::decode_rejectsWholeFile_data()
{
    QTest::addColumn<QByteArray>("file");

    const QByteArray good = element("text", R"("fine")");
    const auto withOne
        = [&good](const char *key, const QByteArray &value) { return "[" + good + "," + element(key, value) + "]"; };

    QTest::newRow("trailing garbage") << "[]x"_ba;
    QTest::newRow("element not an object") << "[" + good + ",1]";
    QTest::newRow("missing createdAt") << "[" + good
            + R"(,{"id":"D04A9F3B-71C2-4E58-8B6D-2F93A1C0E745","text":"x",)"
              R"("completed":false,"order":1}])";
    QTest::newRow("null text") << withOne("text", "null");
    QTest::newRow("number completed") << withOne("completed", "1");
    QTest::newRow("integral fraction order") << withOne("order", "1.0");
    QTest::newRow("string order") << withOne("order", R"("1")");
    QTest::newRow("order 2^63") << withOne("order", "9223372036854775808");
    // The last of a repeated key counts, even when it is no value of the key's type.
    QTest::newRow("repeated order, the last 2^64 - 1") << withOne("order", R"(1,"order":18446744073709551615)");
    QTest::newRow("repeated text, the last nested") << withOne("text", R"("a","text":["b"])");
    QTest::newRow("nested element") << "[" + good + ",[" + good + "]]";
    QTest::newRow("id with braces") << withOne("id", R"("{6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917}")");
    QTest::newRow("id not hex") << withOne("id", R"("6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A91G")");
    QTest::newRow("id hyphen moved") << withOne("id", R"("6B1E2C4-40A7F-4D2B-9E3A-5C81F0D2A917")");
    QTest::newRow("date without designator") << withOne("createdAt", R"("2026-03-02T08:15:00")");
    QTest::newRow("date offset without colon") << withOne("createdAt", R"("2026-03-02T08:15:00+0200")");
    QTest::newRow("date empty fraction") << withOne("createdAt", R"("2026-03-02T08:15:00.Z")");
    QTest::newRow("date February 29 of 2100") << withOne("createdAt", R"("2100-02-29T08:15:00Z")");
    QTest::newRow("date hour 24") << withOne("createdAt", R"("2026-03-02T24:00:00Z")");
    QTest::newRow("date year 0") << withOne("createdAt", R"("0000-03-02T08:15:00Z")");
    QTest::newRow("date leaves year 1") << withOne("createdAt", R"("0001-01-01T00:30:00+01:00")");
    QTest::newRow("date leaves year 9999") << withOne("createdAt", R"("9999-12-31T23:30:00-01:00")");
    QTest::newRow("date trailing text") << withOne("createdAt", R"("2026-03-02T08:15:00Z ")");
    QTest::newRow("invalid UTF-8") << withOne("text", "\"caf\xc3\"");
    QTest::newRow("overlong UTF-8") << withOne("text", "\"\xc0\xaf\"");
    QTest::newRow("lone surrogate escape") << withOne("text", R"("\ud800")");
    QTest::newRow("raw control character") << withOne("text", "\"a\nb\"");
}

void GoalsFileTest::decode_rejectsWholeFile()
{
    QFETCH(QByteArray, file);

    QVERIFY(!GoalsFile::decode(file));
}

QTEST_APPLESS_MAIN(GoalsFileTest)

#include "goalsfile_test.moc"
