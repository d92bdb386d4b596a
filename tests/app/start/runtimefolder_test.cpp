// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/start/runtimefolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

class RuntimeFolderTest final : public QObject
{
    Q_OBJECT

private slots:
    void chooseWhenUnset_takesOnlyAPrivateFolderOfTheUsersOwn();
};

namespace
{

QString chosen()
{
    qunsetenv("XDG_RUNTIME_DIR");
    RuntimeFolder::chooseWhenUnset();
    return qEnvironmentVariable("XDG_RUNTIME_DIR");
}

mode_t modeOf(const QString &path)
{
    struct stat info {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

} // namespace

void RuntimeFolderTest::chooseWhenUnset_takesOnlyAPrivateFolderOfTheUsersOwn()
{
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    QVERIFY(QDir().mkpath(scratch.filePath(u"tmp"_s)));
    qputenv("TMPDIR", QFile::encodeName(scratch.filePath(u"tmp"_s)));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(scratch.filePath(u"cache"_s)));
    const QString inTemp = scratch.filePath(u"tmp/mirel-runtime-%1"_s.arg(::geteuid()));

    QCOMPARE(chosen(), inTemp);
    QCOMPARE(modeOf(inTemp), mode_t(0700));
    // A folder of the user's own that others could enter is closed again.
    QVERIFY(::chmod(QFile::encodeName(inTemp).constData(), 0755) == 0);
    QCOMPARE(chosen(), inTemp);
    QCOMPARE(modeOf(inTemp), mode_t(0700));

    // A symbolic link in the shared temporary folder could lead anywhere: the cache is taken instead.
    QVERIFY(QDir(inTemp).removeRecursively());
    QVERIFY(QDir().mkpath(scratch.filePath(u"elsewhere"_s)));
    QVERIFY(QFile::link(scratch.filePath(u"elsewhere"_s), inTemp));
    QCOMPARE(chosen(), scratch.filePath(u"cache/mirel-runtime"_s));
    QCOMPARE(modeOf(scratch.filePath(u"cache/mirel-runtime"_s)), mode_t(0700));

    // A folder the session sets stays, whatever it is.
    qputenv("XDG_RUNTIME_DIR", "/run/user/elsewhere");
    RuntimeFolder::chooseWhenUnset();
    QCOMPARE(qEnvironmentVariable("XDG_RUNTIME_DIR"), u"/run/user/elsewhere"_s);
}

QTEST_APPLESS_MAIN(RuntimeFolderTest)
#include "runtimefolder_test.moc"
