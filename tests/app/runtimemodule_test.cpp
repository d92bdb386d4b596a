// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/intake/intakemodule.h"
#include "app/runtimemodule.h"
#include "app/shortcut/portalshortcutmodule.h"

#include <QTest>

using namespace Qt::StringLiterals;

class RuntimeModuleTest final : public QObject
{
    Q_OBJECT

private slots:
    void load_givesThePluginsInterfaceAndSaysWhyNot();
};

void RuntimeModuleTest::load_givesThePluginsInterfaceAndSaysWhyNot()
{
    // An absolute path stands for the installed place: nothing of that name lies beside the test.
    const QString portal = QStringLiteral(MIREL_PORTAL_MODULE);
    QString error;
    QVERIFY(RuntimeModule::load<PortalShortcutModule>(u"libnone.so"_s, portal, &error));
    QVERIFY(error.isEmpty());

    QVERIFY(!RuntimeModule::load<IntakeModule>(u"libnone.so"_s, portal, &error));
    QVERIFY2(error.contains(u"is not the one expected"_s), qPrintable(error));

    // A shared library that is no plugin.
    error.clear();
    QVERIFY(!RuntimeModule::load<IntakeModule>(u"libnone.so"_s, QStringLiteral(MIREL_MODEL_LIBRARY), &error));
    QVERIFY2(!error.isEmpty(), "no reason given");

    QVERIFY(!RuntimeModule::load<IntakeModule>(u"libnone.so"_s, u"/nowhere/libnone.so"_s, &error));
    QCOMPARE(error, u"the module /nowhere/libnone.so is missing"_s);
}

QTEST_GUILESS_MAIN(RuntimeModuleTest)
#include "runtimemodule_test.moc"
