#include "model/goalsfile.h"

#include <QRegularExpression>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

TodoItem goal(const QString &id, const QString &text, bool completed, qint64 order, const QString &createdAt)
{
    TodoItem item;
    item.id = QUuid::fromString(id);
    item.text = text;
    item.completed = completed;
    item.order = order;
    item.createdAt = QDateTime::fromString(createdAt, Qt::ISODateWithMs);
    return item;
}

// One element with the given values written verbatim, so a table row can spoil exactly one of them.
QByteArray element(const QByteArray &id, const QByteArray &text, const QByteArray &completed, const QByteArray &order,
                   const QByteArray &createdAt)
{
    return R"({"id":)" + id + R"(,"text":)" + text + R"(,"completed":)" + completed + R"(,"order":)" + order
        + R"(,"createdAt":)" + createdAt + "}";
}

QByteArray validElementWith(const char *key, const QByteArray &value)
{
    const QByteArray key_(key);
    return element(key_ == "id" ? value : R"("6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917")",
                   key_ == "text" ? value : R"("Send the invoice")", key_ == "completed" ? value : "true",
                   key_ == "order" ? value : "0", key_ == "createdAt" ? value : R"("2026-03-02T08:15:00Z")");
}

} // namespace

class GoalsFileTest final : public QObject {
    Q_OBJECT

private slots:
    void encode_writesTheCompactForm();
    void encode_writesEmptyListAsEmptyArray();
    void encode_escapesOnlyWhatJsonRequires_data();
    void encode_escapesOnlyWhatJsonRequires();
    void encode_refusesDatesOutsideFourDigitYears_data();
    void encode_refusesDatesOutsideFourDigitYears();
    void roundTrip_keepsText_data();
    void roundTrip_keepsText();
    void roundTrip_keepsExtremeOrders_data();
    void roundTrip_keepsExtremeOrders();
    void roundTrip_dropsSubSecondsTowardThePast_data();
    void roundTrip_dropsSubSecondsTowardThePast();
    void decode_acceptsAnyValidJson_data();
    void decode_acceptsAnyValidJson();
    void decode_readsDateOffsets_data();
    void decode_readsDateOffsets();
    void decode_rejectsWholeFile_data();
    void decode_rejectsWholeFile();
    void decode_keepsFileOrderAndDuplicates();
    void trimmedNonEmpty_trimsOuterWhitespaceOnly_data();
    void trimmedNonEmpty_trimsOuterWhitespaceOnly();
};

void GoalsFileTest::encode_writesTheCompactForm()
{
    const QList<TodoItem> todos = {
        goal(u"6b1e2c44-0a7f-4d2b-9e3a-5c81f0d2a917"_s, u"Send the invoice"_s, true, 0, u"2026-03-02T08:15:00Z"_s),
        goal(u"D04A9F3B-71C2-4E58-8B6D-2F93A1C0E745"_s, u"Call the plumber"_s, false, 1,
             u"2026-03-02T10:16:41.750+02:00"_s),
    };
    const QByteArray expected = R"([{"id":"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917","text":"Send the invoice",)"
                                R"("completed":true,"order":0,"createdAt":"2026-03-02T08:15:00Z"},)"
                                R"({"id":"D04A9F3B-71C2-4E58-8B6D-2F93A1C0E745","text":"Call the plumber",)"
                                R"("completed":false,"order":1,"createdAt":"2026-03-02T08:16:41Z"}])";
    QCOMPARE(GoalsFile::encode(todos).value_or("failed"), expected);
}

void GoalsFileTest::encode_writesEmptyListAsEmptyArray()
{
    QCOMPARE(GoalsFile::encode({}).value_or("failed"), "[]");
}

void GoalsFileTest::encode_escapesOnlyWhatJsonRequires_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("quote") << u"say \"hi\""_s << R"("say \"hi\"")"_ba;
    QTest::newRow("backslash") << u"C:\\dir"_s << R"("C:\\dir")"_ba;
    QTest::newRow("slash stays") << u"a/b"_s << R"("a/b")"_ba;
    QTest::newRow("short escapes") << u"\b\f\n\r\t"_s << R"("\b\f\n\r\t")"_ba;
    QTest::newRow("other controls") << u"\x01\x1f"_s << R"("\u0001\u001f")"_ba;
    QTest::newRow("nul") << QString(QChar(0)) << R"("\u0000")"_ba;
    QTest::newRow("delete stays raw") << u"\x7f"_s << "\"\x7f\""_ba;
    QTest::newRow("non-ASCII raw UTF-8") << u"Café ☕ 😀"_s << "\"Caf\xc3\xa9 \xe2\x98\x95 \xf0\x9f\x98\x80\""_ba;
    QTest::newRow("line separator raw") << u"a\u2028b"_s << "\"a\xe2\x80\xa8" "b\""_ba;
}

void GoalsFileTest::encode_escapesOnlyWhatJsonRequires()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, written);

    TodoItem item = goal(u"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917"_s, text, false, 0, u"2026-03-02T08:15:00Z"_s);
    const QByteArray bytes = GoalsFile::encode({item}).value_or("failed");
    QVERIFY2(bytes.contains(R"("text":)" + written + ","), bytes.constData());
}

void GoalsFileTest::encode_refusesDatesOutsideFourDigitYears_data()
{
    QTest::addColumn<QDateTime>("createdAt");

    QTest::newRow("invalid") << QDateTime();
    QTest::newRow("year 10000") << QDateTime(QDate(10000, 1, 1), QTime(0, 0), Qt::UTC);
    QTest::newRow("before year 1") << QDateTime(QDate(-1, 12, 31), QTime(23, 59), Qt::UTC);
}

void GoalsFileTest::encode_refusesDatesOutsideFourDigitYears()
{
    QFETCH(QDateTime, createdAt);

    TodoItem item = goal(u"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917"_s, u"x"_s, false, 0, u"2026-03-02T08:15:00Z"_s);
    item.createdAt = createdAt;
    QVERIFY(!GoalsFile::encode({item}));
}

void GoalsFileTest::roundTrip_keepsText_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QString();
    QTest::newRow("quotes and backslashes") << u"\"\\\"\\\\ \\u0041 \\n"_s;
    QTest::newRow("controls") << u"line\nnext\ttab\r\x01\x1b"_s;
    QTest::newRow("accents") << u"Crème brûlée für Æsa"_s;
    QTest::newRow("other scripts") << u"買い物 покупки خرید"_s;
    QTest::newRow("astral plane") << u"𝄞 🎉 👩‍👩‍👧"_s;
    QTest::newRow("separators") << u" \u00a0\u2028\u2029\u0085 "_s;
    QTest::newRow("long") << QString(20000, u'x');
}

void GoalsFileTest::roundTrip_keepsText()
{
    QFETCH(QString, text);

    const TodoItem item = goal(u"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917"_s, text, true, 3, u"2026-03-02T08:15:00Z"_s);
    const auto bytes = GoalsFile::encode({item});
    QVERIFY(bytes);
    QVERIFY(!bytes->startsWith("\xef\xbb\xbf"));
    QVERIFY(!bytes->endsWith('\n'));
    const auto decoded = GoalsFile::decode(*bytes);
    QVERIFY(decoded);
    QCOMPARE(decoded->size(), 1);
    QCOMPARE(decoded->at(0).text, text);
    QCOMPARE(decoded->at(0).id, item.id);
    QCOMPARE(decoded->at(0).completed, true);
    QCOMPARE(decoded->at(0).order, qint64(3));
    QCOMPARE(decoded->at(0).createdAt, item.createdAt);
}

void GoalsFileTest::roundTrip_keepsExtremeOrders_data()
{
    QTest::addColumn<qint64>("order");

    QTest::newRow("largest") << std::numeric_limits<qint64>::max();
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min();
    QTest::newRow("minus one") << qint64(-1);
    QTest::newRow("beyond double precision") << qint64(9007199254740993);
}

void GoalsFileTest::roundTrip_keepsExtremeOrders()
{
    QFETCH(qint64, order);

    const TodoItem item = goal(u"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917"_s, u"x"_s, false, order, u"2026-03-02T08:15:00Z"_s);
    const auto bytes = GoalsFile::encode({item});
    QVERIFY(bytes);
    QVERIFY(bytes->contains(",\"order\":" + QByteArray::number(order) + ","));
    const auto decoded = GoalsFile::decode(*bytes);
    QVERIFY(decoded);
    QCOMPARE(decoded->at(0).order, order);
}

void GoalsFileTest::roundTrip_dropsSubSecondsTowardThePast_data()
{
    QTest::addColumn<QString>("createdAt");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("fraction") << u"2026-03-02T08:15:00.999Z"_s << "2026-03-02T08:15:00Z"_ba;
    QTest::newRow("before 1970") << u"1969-12-31T23:59:59.500Z"_s << "1969-12-31T23:59:59Z"_ba;
    QTest::newRow("offset crosses midnight") << u"2026-01-01T01:30:00+02:00"_s << "2025-12-31T23:30:00Z"_ba;
    QTest::newRow("leap day") << u"2024-02-29T12:00:00Z"_s << "2024-02-29T12:00:00Z"_ba;
    QTest::newRow("first year") << u"0001-01-01T00:00:00Z"_s << "0001-01-01T00:00:00Z"_ba;
    QTest::newRow("last second") << u"9999-12-31T23:59:59.999Z"_s << "9999-12-31T23:59:59Z"_ba;
}

void GoalsFileTest::roundTrip_dropsSubSecondsTowardThePast()
{
    QFETCH(QString, createdAt);
    QFETCH(QByteArray, written);

    const TodoItem item = goal(u"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917"_s, u"x"_s, false, 0, createdAt);
    QVERIFY(item.createdAt.isValid());
    const auto bytes = GoalsFile::encode({item});
    QVERIFY(bytes);
    QVERIFY2(bytes->contains("\"createdAt\":\"" + written + "\""), bytes->constData());
    const auto decoded = GoalsFile::decode(*bytes);
    QVERIFY(decoded);
    QCOMPARE(decoded->at(0).createdAt.toString(Qt::ISODateWithMs).toLatin1(),
             QByteArray(written).insert(19, ".000"));
}

void GoalsFileTest::decode_acceptsAnyValidJson_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");

    QTest::newRow("canonical") << "[" + validElementWith("text", R"("Send the invoice")") + "]" << u"Send the invoice"_s;
    QTest::newRow("escaped slash") << "[" + validElementWith("text", R"("a\/b")") + "]" << u"a/b"_s;
    QTest::newRow("unicode escapes") << "[" + validElementWith("text", R"("caf\u00E9 \ud83d\ude00")") + "]"
                                     << u"café 😀"_s;
    QTest::newRow("escaped nul") << "[" + validElementWith("text", R"("a\u0000b")") + "]" << u"a"_s + QChar(0) + u"b"_s;
    QTest::newRow("whitespace everywhere")
        << " \r\n[ \t{ \"text\" : \"x\" ,\n\"id\":\"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917\", \"completed\" : true,"
           " \"order\" : 0 , \"createdAt\" : \"2026-03-02T08:15:00Z\" } ] \n"_ba
        << u"x"_s;
    QTest::newRow("any key order and extra keys")
        << R"([{"createdAt":"2026-03-02T08:15:00Z","extra":{"nested":[1,{"id":5}]},"order":7,"completed":false,)"
           R"("text":"y","id":"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917","more":null}])"_ba
        << u"y"_s;
    QTest::newRow("lower-case id") << "[" + validElementWith("id", R"("6b1e2c44-0a7f-4d2b-9e3a-5c81f0d2a917")") + "]"
                                   << u"Send the invoice"_s;
    QTest::newRow("negative zero order") << "[" + validElementWith("order", "-0") + "]" << u"Send the invoice"_s;
}

void GoalsFileTest::decode_acceptsAnyValidJson()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, text);

    const auto decoded = GoalsFile::decode(file);
    QVERIFY(decoded);
    QCOMPARE(decoded->size(), 1);
    QCOMPARE(decoded->at(0).text, text);
    QCOMPARE(decoded->at(0).id, QUuid::fromString(u"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917"_s));

    // What was read in any form is written back in the one canonical form, extra keys gone.
    const QByteArray rewritten = GoalsFile::encode(*decoded).value_or("failed");
    static const QRegularExpression canonical(
        uR"(^\[\{"id":"6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917","text":"[^"]*","completed":(true|false),)"
        uR"("order":-?[0-9]+,"createdAt":"[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z"\}\]$)"_s);
    QVERIFY2(canonical.match(QString::fromUtf8(rewritten)).hasMatch(), rewritten.constData());
}

void GoalsFileTest::decode_readsDateOffsets_data()
{
    QTest::addColumn<QByteArray>("createdAt");
    QTest::addColumn<QDateTime>("instant");

    const QDateTime eight = QDateTime(QDate(2026, 3, 2), QTime(8, 15), Qt::UTC);
    QTest::newRow("Z") << "2026-03-02T08:15:00Z"_ba << eight;
    QTest::newRow("lower-case designators") << "2026-03-02t08:15:00z"_ba << eight;
    QTest::newRow("positive offset") << "2026-03-02T10:15:00+02:00"_ba << eight;
    QTest::newRow("negative offset") << "2026-03-02T03:45:00-04:30"_ba << eight;
    QTest::newRow("zero offset") << "2026-03-02T08:15:00+00:00"_ba << eight;
    QTest::newRow("fraction") << "2026-03-02T08:15:00.25Z"_ba << eight.addMSecs(250);
    QTest::newRow("long fraction") << "2026-03-02T08:15:00.123456789Z"_ba << eight.addMSecs(123);
}

void GoalsFileTest::decode_readsDateOffsets()
{
    QFETCH(QByteArray, createdAt);
    QFETCH(QDateTime, instant);

    const auto decoded = GoalsFile::decode("[" + validElementWith("createdAt", '"' + createdAt + '"') + "]");
    QVERIFY(decoded);
    QCOMPARE(decoded->at(0).createdAt.toMSecsSinceEpoch(), instant.toMSecsSinceEpoch());
}

void GoalsFileTest::decode_rejectsWholeFile_data()
{
    QTest::addColumn<QByteArray>("file");

    const QByteArray good = validElementWith("text", R"("fine")");
    const auto withOne = [&good](const char *key, const QByteArray &value) {
        return "[" + good + "," + validElementWith(key, value) + "]";
    };

    QTest::newRow("empty input") << QByteArray();
    QTest::newRow("malformed") << "[" + good;
    QTest::newRow("trailing garbage") << "[]x"_ba;
    QTest::newRow("two documents") << "[][]"_ba;
    QTest::newRow("single object") << good;
    QTest::newRow("top-level string") << R"("[]")"_ba;
    QTest::newRow("element not an object") << "[" + good + ",1]";
    QTest::newRow("nested array") << "[[" + good + "]]";
    QTest::newRow("missing createdAt") << "[" + good + R"(,{"id":"D04A9F3B-71C2-4E58-8B6D-2F93A1C0E745","text":"x",)"
                                                       R"("completed":false,"order":1}])";
    QTest::newRow("null text") << withOne("text", "null");
    QTest::newRow("number text") << withOne("text", "5");
    QTest::newRow("string completed") << withOne("completed", R"("true")");
    QTest::newRow("number completed") << withOne("completed", "1");
    QTest::newRow("fraction order") << withOne("order", "1.5");
    QTest::newRow("integral fraction order") << withOne("order", "1.0");
    QTest::newRow("exponent order") << withOne("order", "1e2");
    QTest::newRow("string order") << withOne("order", R"("1")");
    QTest::newRow("order 2^63") << withOne("order", "9223372036854775808");
    QTest::newRow("order below -2^63") << withOne("order", "-9223372036854775809");
    QTest::newRow("order beyond 64 bits") << withOne("order", "123456789012345678901234567890");
    QTest::newRow("object order") << withOne("order", R"({"value":1})");
    QTest::newRow("id with braces") << withOne("id", R"("{6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A917}")");
    QTest::newRow("id without hyphens") << withOne("id", R"("6B1E2C440A7F4D2B9E3A5C81F0D2A917")");
    QTest::newRow("id not hex") << withOne("id", R"("6B1E2C44-0A7F-4D2B-9E3A-5C81F0D2A91G")");
    QTest::newRow("id hyphen moved") << withOne("id", R"("6B1E2C4-40A7F-4D2B-9E3A-5C81F0D2A917")");
    QTest::newRow("date without designator") << withOne("createdAt", R"("2026-03-02T08:15:00")");
    QTest::newRow("date only") << withOne("createdAt", R"("2026-03-02")");
    QTest::newRow("date with space") << withOne("createdAt", R"("2026-03-02 08:15:00Z")");
    QTest::newRow("date offset without colon") << withOne("createdAt", R"("2026-03-02T08:15:00+0200")");
    QTest::newRow("date empty fraction") << withOne("createdAt", R"("2026-03-02T08:15:00.Z")");
    QTest::newRow("date February 30") << withOne("createdAt", R"("2026-02-30T08:15:00Z")");
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

void GoalsFileTest::decode_keepsFileOrderAndDuplicates()
{
    const QByteArray same = validElementWith("order", "5");
    const auto decoded = GoalsFile::decode("[" + same + "," + validElementWith("order", "-2") + "," + same + "]");
    QVERIFY(decoded);
    QCOMPARE(decoded->size(), 3);
    QCOMPARE(decoded->at(0).order, qint64(5));
    QCOMPARE(decoded->at(1).order, qint64(-2));
    QCOMPARE(decoded->at(2).id, decoded->at(0).id);
}

void GoalsFileTest::trimmedNonEmpty_trimsOuterWhitespaceOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::addColumn<bool>("present");

    QTest::newRow("spaces and newline") << u"  Buy milk \n"_s << u"Buy milk"_s << true;
    QTest::newRow("inner spaces stay") << u"Buy  milk"_s << u"Buy  milk"_s << true;
    QTest::newRow("only blanks") << u" \t\n \r\n"_s << QString() << false;
    QTest::newRow("empty") << QString() << QString() << false;
    QTest::newRow("unicode spaces") << u"\u00a0\u3000\u2028\u2029\u0085\u000b\u000cx\u202f"_s << u"x"_s << true;
    QTest::newRow("zero-width space is not whitespace") << u"\u200bx\u200b"_s << u"\u200bx\u200b"_s << true;
    QTest::newRow("byte-order mark is not whitespace") << u"\ufeffx"_s << u"\ufeffx"_s << true;
}

void GoalsFileTest::trimmedNonEmpty_trimsOuterWhitespaceOnly()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QFETCH(bool, present);

    const std::optional<QString> result = trimmedNonEmpty(text);
    QCOMPARE(result.has_value(), present);
    if (present)
        QCOMPARE(*result, trimmed);
}

QTEST_APPLESS_MAIN(GoalsFileTest)

#include "goalsfile_test.moc"
