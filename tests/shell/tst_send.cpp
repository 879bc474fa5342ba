// The hand-over starter the file managers' menus run: the list it writes, byte for byte, and
// the program it starts, here a stand-in that records its arguments.

#include "HandOverFile.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

class TestSend : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void handOver_data();
    void handOver();

private:
    QTemporaryDir m_bin; // the starter and a stand-in program beside it
};

void TestSend::initTestCase()
{
    QVERIFY(m_bin.isValid());
    const QString strBuilt = QFileInfo(QStringLiteral(PICTARIUM_UPLOADER_BIN)).absolutePath() + "/pictarium-send";
    QVERIFY2(QFile::copy(strBuilt, m_bin.filePath("pictarium-send")), qPrintable(strBuilt));
    QVERIFY(TestFiles::writeBytes(m_bin.filePath("pictarium-uploader"),
                                  "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$PICTARIUM_TEST_ARGS\"\n"));
    QVERIFY(QFile::setPermissions(m_bin.filePath("pictarium-uploader"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

void TestSend::handOver_data()
{
    QTest::addColumn<QStringList>("args");    // after the program name; {cwd} is the working folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("started"); // the program's arguments; empty: not started
    QTest::addColumn<QStringList>("listed");  // the hand-over list; empty: not written
    QTest::addColumn<QString>("message");     // part of the message on standard error

    const QString strPhoto = QString::fromUtf8("/home/anna/Fotos/Überfahrt 2013/IMG 0001 ☀.JPG");
    QTest::newRow("profile 1, absolute, relative, URL")
        << QStringList{"2", "1", strPhoto, "a b.jpg", "./sub/../c.mp4", "file:///srv/Ferien%20%C3%A9t%C3%A9/x.jpg"}
        << 0 << QStringList{"2", "1"}
        << QStringList{strPhoto, "{cwd}/a b.jpg", "{cwd}/c.mp4", QString::fromUtf8("/srv/Ferien été/x.jpg")}
        << QString();
    QTest::newRow("new profile") << QStringList{"1", "/p/x.jpg"} << 0 << QStringList{"1"} << QStringList{"/p/x.jpg"}
                                 << QString();
    QTest::newRow("line break left out, the rest goes")
        << QStringList{"2", "0", "/p/two\nlines.jpg", "/p/ok.jpg", "/p/cr\r.jpg"} << 0 << QStringList{"2", "0"}
        << QStringList{"/p/ok.jpg"} << QString::fromUtf8("/p/two↵lines.jpg\n/p/cr↵.jpg");
    QTest::newRow("nothing listable") << QStringList{"2", "0", "/p/a\nb"} << 1 << QStringList() << QStringList()
                                      << QString::fromUtf8("/p/a↵b");
    QTest::newRow("remote URL") << QStringList{"1", "sftp://nas/x.jpg"} << 1 << QStringList() << QStringList()
                                << QStringLiteral("sftp://nas/x.jpg");
    QTest::newRow("file URL, no host") << QStringList{"1", "file:///x"} << 0 << QStringList{"1"} << QStringList{"/x"}
                                       << QString();
    QTest::newRow("file URL, localhost") << QStringList{"1", "file://localhost/x"} << 0 << QStringList{"1"}
                                         << QStringList{"/x"} << QString();
    QTest::newRow("file URL, LOCALHOST") << QStringList{"1", "file://LOCALHOST/x"} << 0 << QStringList{"1"}
                                         << QStringList{"/x"} << QString();
    QTest::newRow("file URL of another host left out, the rest goes")
        << QStringList{"2", "0", "file://otherhost/x", "file:///y"} << 0 << QStringList{"2", "0"}
        << QStringList{"/y"} << QStringLiteral("file://otherhost/x");
    QTest::newRow("file URL, percent-encoded name")
        << QStringList{"1", "file://localhost/p/50%25%20%23off%C3%A9.jpg"} << 0 << QStringList{"1"}
        << QStringList{QString::fromUtf8("/p/50% #offé.jpg")} << QString();
    QTest::newRow("manage profiles") << QStringList{"3"} << 0 << QStringList{"3"} << QStringList() << QString();
    QTest::newRow("upload from profile 2, no list") << QStringList{"8", "2"} << 0 << QStringList{"8", "2"}
                                                    << QStringList() << QString();
    QTest::newRow("folder") << QStringList{"4", "Bilder/2013"} << 0 << QStringList{"4", "{cwd}/Bilder/2013"}
                            << QStringList() << QString();
    QTest::newRow("no mode") << QStringList() << 2 << QStringList() << QStringList() << QStringLiteral("run mode");
    QTest::newRow("mode not a number") << QStringList{"x"} << 2 << QStringList() << QStringList()
                                       << QStringLiteral("run mode");
    QTest::newRow("index missing") << QStringList{"2", "/p/x.jpg"} << 2 << QStringList() << QStringList()
                                   << QStringLiteral("index");
    QTest::newRow("paths where none go") << QStringList{"3", "/p/x.jpg"} << 2 << QStringList() << QStringList()
                                         << QStringLiteral("no paths");
}

void TestSend::handOver()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QStringList, started);
    QFETCH(QStringList, listed);
    QFETCH(QString, message);

    TestEnvironment env;
    const QString strCwd = env.root() + QLatin1String("/wd");
    QVERIFY(QDir().mkpath(strCwd));
    const QString strArgsFile = env.root() + QLatin1String("/started");
    QProcessEnvironment pe = env.processEnvironment();
    pe.insert(QStringLiteral("PICTARIUM_TEST_ARGS"), strArgsFile);
    pe.remove(QStringLiteral("DISPLAY"));
    pe.remove(QStringLiteral("WAYLAND_DISPLAY"));
    QProcess send;
    send.setProcessEnvironment(pe);
    send.setWorkingDirectory(strCwd);
    send.start(m_bin.filePath("pictarium-send"), args);
    QVERIFY(send.waitForFinished(30000));
    const QString strErr = QString::fromUtf8(send.readAllStandardError());
    QCOMPARE(send.exitCode(), exitCode);
    QVERIFY2(strErr.contains(message), qPrintable(strErr));

    // The list: count line, one absolute path per line, UTF-16 LE without a byte-order mark.
    const QString strList = env.dataHome() + QLatin1String("/Velmora/Pictarium Uploader/FileList");
    QString strExpected;
    if (!listed.isEmpty())
        strExpected = QString::number(listed.size()) + QLatin1Char('\n') +
                      listed.join(QLatin1Char('\n')).replace(QLatin1String("{cwd}"), strCwd) + QLatin1Char('\n');
    QCOMPARE(TestFiles::readBytes(strList), TestFiles::utf16le(strExpected));

    // The stand-in is started detached: wait for what it writes.
    QStringList lstStarted;
    if (!started.isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(strArgsFile).size() > 0, 10000);
        lstStarted = QString::fromUtf8(TestFiles::readBytes(strArgsFile)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    } else {
        QTest::qWait(200);
        QVERIFY(!QFile::exists(strArgsFile));
    }
    QCOMPARE(lstStarted, QStringList(started).replaceInStrings(QLatin1String("{cwd}"), strCwd));
}

QTEST_GUILESS_MAIN(TestSend)
#include "tst_send.moc"
