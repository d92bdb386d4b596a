// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/start/commandline.h"
#include "app/start/translations.h"
#include "model/panelsettings.h"
#include "views/header/paneltitle.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <map>
#include <set>

using namespace Qt::StringLiterals;

namespace
{

const QString SourceFolder = QStringLiteral(QT_TESTCASE_SOURCEDIR "/../../src");
const QString GermanFile = QStringLiteral(QT_TESTCASE_SOURCEDIR "/../../translations/mirel_de.ts");

struct Message {
    QStringList translations;
    bool finished = true;
};
using Messages = std::map<std::pair<QString, QString>, Message>;

// Each message of a .ts file by its context and source text.
Messages messagesIn(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Messages messages;
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            message = {};
        } else if (xml.name() == u"source") {
            source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            const QStringView type = xml.attributes().value(QStringLiteral("type"));
            message.finished = type.isEmpty();
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            // The forms of a numerus message come as one text, the first form first.
            message.translations = { text };
            messages[{ context, source }] = message;
        } else if (xml.name() == u"numerusform") {
            messages[{ context, source }].translations.append(xml.readElementText());
        }
    }
    return messages;
}

std::set<QString> placeholdersIn(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%(L?[0-9]+|n)"));
    std::set<QString> found;
    for (const QRegularExpressionMatch &match : placeholder.globalMatch(text))
        found.insert(match.captured());
    return found;
}

} // namespace

class TranslationsTest final : public QObject
{
    Q_OBJECT

private slots:
    void firstLanguageSpokenThatIsTranslated_isUsed();
    void everyTextOfTheProgram_hasAFinishedGermanTranslationWithItsPlaceholders();
};

void TranslationsTest::firstLanguageSpokenThatIsTranslated_isUsed()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QSettings defaults(folder.filePath(u"preferences.ini"_s), QSettings::IniFormat);
    PanelSettings settings(&defaults);
    {
        // English first: German, though available, is not used.
        const Translations preferEnglish({ u"en-GB"_s, u"de-DE"_s });
        QCOMPARE(preferEnglish.language(), QString());
        QCOMPARE(PanelTitle(&settings).text(), u"Today's Goals"_s);
    }
    {
        const Translations german({ u"fr-FR"_s, u"de-AT"_s, u"en-US"_s });
        QCOMPARE(german.language(), u"de"_s);
        QCOMPARE(PanelTitle(&settings).text(), u"Heutige Ziele"_s);
        QCOMPARE(CommandLine::helpText().section(u'\n', 0, 0), u"Aufruf: mirel [SCHALTER ...]"_s);
    }
    // The default title was only shown, never stored, so it follows the language.
    QVERIFY(!defaults.contains(u"title"_s));
}

void TranslationsTest::everyTextOfTheProgram_hasAFinishedGermanTranslationWithItsPlaceholders()
{
    const QString lupdate = QStringLiteral("/usr/lib/qt6/bin/lupdate");
    if (!QFile::exists(lupdate))
        QSKIP("lupdate is not installed (qt6-l10n-tools, scripts/deps.sh)");
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    // The texts as the code has them now, whatever the committed file says.
    const QString fresh = folder.filePath(u"fresh.ts"_s);
    QProcess scan;
    scan.start(lupdate, { u"-silent"_s, SourceFolder, u"-ts"_s, fresh });
    QVERIFY(scan.waitForFinished(60'000) && scan.exitCode() == 0);

    const Messages german = messagesIn(GermanFile);
    const Messages inCode = messagesIn(fresh);
    QVERIFY(!inCode.empty());
    QStringList faults;
    for (const auto &[key, unused] : inCode) {
        const auto [context, source] = key;
        const auto found = german.find(key);
        if (found == german.end() || !found->second.finished) {
            faults.append(u"%1: \"%2\" has no finished translation"_s.arg(context, source));
            continue;
        }
        for (const QString &translation : found->second.translations) {
            if (translation.isEmpty() || placeholdersIn(translation) != placeholdersIn(source))
                faults.append(u"%1: \"%2\" is translated as \"%3\""_s.arg(context, source, translation));
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

QTEST_MAIN(TranslationsTest)
#include "translations_test.moc"
