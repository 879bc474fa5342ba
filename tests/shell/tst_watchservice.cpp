// The per-profile watcher: the unit instance name, the user service commands (a recording
// systemctl first on the PATH) and the autostart entry where no user service manager runs.

#include "ScriptedPrompt.h"
#include "TestEnvironment.h"
#include "VelmLocale.h"
#include "WatchService.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <csignal>

namespace {

void writeScript(const QString& strPath, const QByteArray& baBody)
{
    QVERIFY(TestFiles::writeBytes(strPath, "#!/bin/sh\n" + baBody));
    QVERIFY(QFile::setPermissions(strPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

} // namespace

class TstWatchService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void escapeName_data();
    void escapeName();
    void userService_data();
    void userService();
    void autostart_data();
    void autostart();

private:
    QString calls() const { return QString::fromUtf8(TestFiles::readBytes(m_pEnv->root() + "/calls")); }

    std::unique_ptr<TestEnvironment> m_pEnv;
};

void TstWatchService::init()
{
    m_pEnv = std::make_unique<TestEnvironment>();
    VelmLocale::fillMessageTable();
    const QString strBin = m_pEnv->root() + QLatin1String("/bin");
    const QByteArray baRoot = QFile::encodeName(m_pEnv->root());
    // systemctl: says "running" while SYSTEMCTL_FAIL is unset, fails loudly otherwise.
    writeScript(strBin + "/systemctl", "echo \"$*\" >> '" + baRoot + "/calls'\n"
                                       "[ \"$2\" = is-system-running ] && { echo running; exit 0; }\n"
                                       "[ -n \"$SYSTEMCTL_FAIL\" ] && { echo \"$SYSTEMCTL_FAIL\" >&2; exit 1; }\n"
                                       "exit 0\n");
    // The watcher: tells its arguments, then waits to be ended.
    writeScript(strBin + "/pictarium-cli", "for a; do echo \"$a\"; done > '" + baRoot + "/watcher'\n"
                                           "trap 'kill $!; exit 0' TERM\nsleep 30 & wait\n");
    qputenv("PATH", QFile::encodeName(strBin) + ':' + qgetenv("PATH"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_pEnv->runtimeDir()));
    qunsetenv("SYSTEMCTL_FAIL");
}

void TstWatchService::escapeName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "home";
    QTest::newRow("space and slash") << "Living room/2";
    QTest::newRow("non-ASCII") << "Fotos für Zoë";
    QTest::newRow("leading dot, dash, backslash") << ".hidden-a\\b_c:d.e";
}

// Escaped as the systemd tool escapes it.
void TstWatchService::escapeName()
{
    QFETCH(QString, name);
    const QString strTool = QStandardPaths::findExecutable(QStringLiteral("systemd-escape"));
    if (strTool.isEmpty())
        QSKIP("systemd-escape is missing: run scripts/install-deps.sh");
    QProcess process;
    process.start(strTool, {QStringLiteral("--"), name});
    QVERIFY(process.waitForFinished());
    QCOMPARE(WatchService::escapeName(name), QString::fromUtf8(process.readAllStandardOutput()).trimmed());
    QCOMPARE(WatchService::unitName(name), "pictarium-watch@" + WatchService::escapeName(name) + ".service");
}

void TstWatchService::userService_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("failure"); // what systemctl says when it fails
    QTest::newRow("awkward name") << "Living room/2" << "";
    QTest::newRow("systemctl fails") << "Fotos für Zoë" << "Failed to enable unit: no such thing";
}

// With a user service manager: enable --now and disable --now of the instance; a failure is told
// with systemctl's own words.
void TstWatchService::userService()
{
    QFETCH(QString, name);
    QFETCH(QString, failure);
    QVERIFY(QDir().mkpath(m_pEnv->runtimeDir() + "/systemd"));
    if (!failure.isEmpty())
        qputenv("SYSTEMCTL_FAIL", failure.toUtf8());
    ScriptedPrompt prompt;
    QVERIFY(WatchService::userManagerRuns());
    QFile::remove(m_pEnv->root() + "/calls");
    QCOMPARE(WatchService::enable(name, &prompt), failure.isEmpty());
    QCOMPARE(WatchService::disable(name, &prompt), failure.isEmpty());
    const QString strUnit = WatchService::unitName(name);
    QCOMPARE(calls(), QStringLiteral("--user is-system-running\n--user enable --now %1\n"
                                     "--user is-system-running\n--user disable --now %1\n")
                          .arg(strUnit));
    QCOMPARE(prompt.shown.size(), failure.isEmpty() ? 0 : 2);
    for (const ScriptedPrompt::Shown& shown : prompt.shown)
        QCOMPARE(shown.text, VelmLocale::message("watch_tool_failed").arg(failure));
    QVERIFY(!QFile::exists(WatchService::autostartPath(name)));
}

void TstWatchService::autostart_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("awkward name") << "Living room/2";
    QTest::newRow("quotes, dollar, percent") << "Zoë's \"$HOME\" 100%";
}

// Without a user service manager: an autostart entry whose Exec is the watcher's command, and the
// watcher started at once; off removes the entry and ends the watcher.
void TstWatchService::autostart()
{
    QFETCH(QString, name);
    ScriptedPrompt prompt;
    QVERIFY(!WatchService::userManagerRuns());
    QVERIFY(WatchService::enable(name, &prompt));
    const QString strEntry = WatchService::autostartPath(name);
    QCOMPARE(strEntry, m_pEnv->configHome() + "/autostart/pictarium-watch-" + WatchService::escapeName(name) + ".desktop");
    // The Exec line as a session would read it: string escapes, then quoting as in a shell.
    QString strExec;
    for (const QString& strLine : QString::fromUtf8(TestFiles::readBytes(strEntry)).split('\n'))
        if (strLine.startsWith("Exec="))
            strExec = strLine.mid(5).replace("\\\\", "\\").replace("%%", "%");
    QProcess shell;
    shell.start("sh", {"-c", "eval \"set -- $1\"; for a; do echo \"$a\"; done", "sh", strExec});
    QVERIFY(shell.waitForFinished());
    const QStringList lstCommand = WatchService::watchCommand(name);
    QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()), lstCommand.join('\n') + '\n');
    QCOMPARE(lstCommand.first(), QStandardPaths::findExecutable("pictarium-cli"));
    const QString strStarted = m_pEnv->root() + "/watcher";
    QTRY_COMPARE(QString::fromUtf8(TestFiles::readBytes(strStarted)), lstCommand.mid(1).join('\n') + '\n');

    QVERIFY(WatchService::disable(name, &prompt));
    QVERIFY(!QFile::exists(strEntry));
    QFile::remove(strStarted);
    // Ended: turning it on again starts a new one.
    QVERIFY(WatchService::enable(name, &prompt));
    QTRY_VERIFY(QFile::exists(strStarted));
    QVERIFY(WatchService::disable(name, &prompt));
    QVERIFY(prompt.shown.isEmpty());
    QVERIFY(calls().isEmpty());
}

QTEST_GUILESS_MAIN(TstWatchService)
#include "tst_watchservice.moc"
