#include "AppIdentity.h"
#include "HandOverFile.h"
#include "ScriptedPrompt.h"
#include "StartUp.h"
#include "TestEnvironment.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"

#include <QDir>
#include <QLocalServer>
#include <QtTest>

namespace {

// Records which flow start-up opens, with what.
class RecordingFlows : public StartUpFlows
{
public:
    QStringList calls;
    bool acceptCreate = false;
    QString createdName;
    QStringList uploadFiles;
    ServerProfile uploadProfile;
    QStringList startedArguments;

    void runProfileEditor(RunMode mode, QNetworkAccessManager* pNam) override
    {
        QVERIFY(pNam);
        calls.append(QStringLiteral("editor %1").arg(int(mode)));
    }
    bool runCreateWizard(RunMode mode, QNetworkAccessManager* pNam, ServerProfile* pProfile) override
    {
        calls.append(QStringLiteral("create %1").arg(int(mode)));
        if (!pNam || !pProfile || !acceptCreate)
            return false;
        ProfileStore::fillRecord(*pProfile, createdName, QStringLiteral("new.host"), 5000, false, QStringLiteral("u"),
                                 QString(), false, QString(), false, true, true, true, QStringLiteral("SKIP"),
                                 QStringLiteral("/photo/from-wizard"), {});
        ProfileStore::insertProfile(*pProfile);
        return true;
    }
    void runUploadWizard(RunMode mode, QNetworkAccessManager* pNam, const QStringList& lstFiles,
                         ServerProfile* pProfile) override
    {
        QVERIFY(pNam);
        calls.append(QStringLiteral("upload %1 %2").arg(int(mode)).arg(pProfile->profname));
        uploadFiles = lstFiles;
        uploadProfile = *pProfile;
    }
    bool startSelf(const QStringList& lstArguments) override
    {
        startedArguments = lstArguments;
        return true;
    }
};

} // namespace

class TestStartUp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dispatch_data();
    void dispatch();
    void createFirstKeepsWizardRecord();
    void folderExpansion();
    void folderExpansionRejects_data();
    void folderExpansionRejects();
    void editorGuard();

private:
    static void storeProfiles(const QStringList& lstNames);
};

void TestStartUp::storeProfiles(const QStringList& lstNames)
{
    QVERIFY(AppIdentity::ensureDataFolder());
    QVERIFY(VelmDatabase::open());
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);
    for (const QString& strName : lstNames) {
        ServerProfile profile;
        ProfileStore::fillRecord(profile, strName, QStringLiteral("h"), 80, false, QStringLiteral("a"), QString(),
                                 false, QString(), false, true, true, true, QString(), QString(), {});
        ProfileStore::insertProfile(profile);
    }
    VelmDatabase::close();
}

void TestStartUp::dispatch_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("profiles");
    QTest::addColumn<bool>("fileList");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QStringList>("shown"); // kind + text of each box

    const QStringList three{"alpha", "Beta", "zeta"}; // shortcut order: zeta, alpha, Beta
    QTest::newRow("no argument") << QStringList() << three << false << QStringList{"editor 3"} << QStringList();
    QTest::newRow("abc is mode 0") << QStringList{"abc"} << three << false << QStringList{"editor 0"}
                                   << QStringList();
    QTest::newRow("2 1") << QStringList{"2", "1"} << three << true << QStringList{"upload 2 alpha"} << QStringList();
    // An index that names no profile uploads nothing.
    const QString strNoProfile = QStringLiteral("warning No profile belongs to this menu entry (profile number %1); "
                                                "it may have been deleted. Nothing was uploaded.");
    QTest::newRow("2 7 past end") << QStringList{"2", "7"} << three << true << QStringList()
                                  << QStringList{strNoProfile.arg(7)};
    QTest::newRow("2 -1") << QStringList{"2", "-1"} << three << true << QStringList() << QStringList{strNoProfile.arg(-1)};
    QTest::newRow("2 x is index 0") << QStringList{"2", "x"} << three << true << QStringList{"upload 2 zeta"}
                                    << QStringList();
    QTest::newRow("2 without FileList") << QStringList{"2", "0"} << three << false
                                        << QStringList{"upload 2 zeta"}
                                        << QStringList{"warning Please upload from a non-empty folder."};
    QTest::newRow("' 2x' 0") << QStringList{" 2x", "0"} << three << true << QStringList{"upload 2 zeta"}
                             << QStringList();
    QTest::newRow("8 1") << QStringList{"8", "1"} << three << true << QStringList{"upload 8 alpha"}
                         << QStringList();
    QTest::newRow("8 0 no profiles") << QStringList{"8", "0"} << QStringList() << false << QStringList()
                                     << QStringList{strNoProfile.arg(0)};
    QTest::newRow("1 rejected") << QStringList{"1"} << three << true << QStringList{"create 1"} << QStringList();
    QTest::newRow("7 rejected") << QStringList{"7"} << three << false << QStringList{"create 7"} << QStringList();
    QTest::newRow("6 no profiles") << QStringList{"6"} << QStringList() << false << QStringList{"create 6"}
                                   << QStringList();
    QTest::newRow("6") << QStringList{"6"} << three << false << QStringList{"upload 6 zeta"} << QStringList();
    QTest::newRow("4 relative") << QStringList{"4", "some/dir"} << three << false << QStringList{"upload 4 zeta"}
                                << QStringList();
    QTest::newRow("4 no profiles") << QStringList{"4", "/"} << QStringList() << false << QStringList{"create 4"}
                                   << QStringList();
    QTest::newRow("12") << QStringList{"12"} << three << true << QStringList() << QStringList();
    QTest::newRow("9") << QStringList{"9", "1"} << three << true << QStringList() << QStringList();
    QTest::newRow("-1") << QStringList{"-1"} << three << true << QStringList() << QStringList();
}

void TestStartUp::dispatch()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, profiles);
    QFETCH(bool, fileList);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, shown);

    TestEnvironment env;
    storeProfiles(profiles);
    if (fileList)
        QVERIFY(TestFiles::writeBytes(AppIdentity::dataFilePath(QStringLiteral("FileList")),
                                      TestFiles::utf16le(QStringLiteral("2\n/a/one.jpg\n/a/two.mp4\n"))));
    ScriptedPrompt prompt;
    RecordingFlows flows;
    StartUp startUp(&prompt, &flows);
    QCOMPARE(startUp.run(QStringList{QStringLiteral("pictarium-uploader")} + arguments), 0);
    QCOMPARE(flows.calls, calls);

    QStringList lstShown;
    for (const ScriptedPrompt::Shown& item : std::as_const(prompt.shown))
        lstShown.append(item.kind + QLatin1Char(' ') + item.text);
    QCOMPARE(lstShown, shown);

    const bool blHandOver = calls.size() == 1 && (calls.at(0).startsWith(QLatin1String("upload 2")) ||
                                                  calls.at(0).startsWith(QLatin1String("upload 1")));
    if (blHandOver && fileList)
        QCOMPARE(flows.uploadFiles, QStringList({"/a/one.jpg", "/a/two.mp4"}));
    else
        QVERIFY(flows.uploadFiles.isEmpty());
    if (!calls.isEmpty() && calls.at(0).startsWith(QLatin1String("upload")))
        QCOMPARE(flows.uploadProfile.baseUrl, QStringLiteral("http://h:80"));

    // The shortcut list is rewritten at the end of every run.
    QFile::remove(ProfileStore::shortcutListPath());
    RecordingFlows again;
    StartUp second(&prompt, &again);
    second.run(QStringList{QStringLiteral("pictarium-uploader"), QStringLiteral("12")});
    QCOMPARE(TestFiles::readBytes(ProfileStore::shortcutListPath()).left(2),
             TestFiles::utf16le(QString::number(profiles.size())));
}

void TestStartUp::createFirstKeepsWizardRecord()
{
    struct Case
    {
        QStringList arguments;
        QStringList calls;
    };
    for (const Case& testCase : {Case{{"6"}, {"create 6", "upload 6 fresh"}},
                                 Case{{"1"}, {"create 1", "upload 1 fresh"}},
                                 Case{{"7"}, {"create 7"}}}) {
        TestEnvironment env;
        ScriptedPrompt prompt;
        RecordingFlows flows;
        flows.acceptCreate = true;
        flows.createdName = QStringLiteral("fresh");
        StartUp startUp(&prompt, &flows);
        QCOMPARE(startUp.run(QStringList{QStringLiteral("x")} + testCase.arguments), 0);
        QCOMPARE(flows.calls, testCase.calls);
        if (testCase.calls.size() == 2) {
            // The record is the wizard's, not reloaded: the stored row says "/photo" nowhere.
            QCOMPARE(flows.uploadProfile.serverdst, QStringLiteral("/photo/from-wizard"));
            QCOMPARE(flows.uploadProfile.duphandler, QStringLiteral("SKIP"));
        }
        // Mode 1 reads the hand-over list; it is missing here, so the warning shows.
        QCOMPARE(prompt.shown.size(), testCase.arguments.at(0) == QLatin1String("1") ? 1 : 0);
    }

    TestEnvironment env;
    ScriptedPrompt prompt;
    RecordingFlows flows;
    StartUp startUp(&prompt, &flows);
    QCOMPARE(startUp.run({QStringLiteral("x"), QStringLiteral("5"), QStringLiteral("ignored")}), 0);
    QCOMPARE(flows.startedArguments, QStringList{QStringLiteral("6")});
    QVERIFY(flows.calls.isEmpty());
}

void TestStartUp::folderExpansion()
{
    TestEnvironment env;
    const QString strRoot = env.root() + QLatin1String("/tree");
    const QStringList lstFiles{"b.jpg", "A.png", "c.txt", "sub2/z.jpg", "Sub1/y.jpg", "Sub1/deep/x.mov",
                               QString::fromUtf8("\xc3\x9c" "ber/\xc3\xa4.jpg")};
    for (const QString& strFile : lstFiles)
        QVERIFY(TestFiles::writeBytes(strRoot + QLatin1Char('/') + strFile, "x"));
    QVERIFY(TestFiles::writeBytes(strRoot + QLatin1String("/.hidden.jpg"), "x"));
    QVERIFY(TestFiles::writeBytes(strRoot + QLatin1String("/.hiddendir/in.jpg"), "x"));
    QVERIFY(TestFiles::writeBytes(env.root() + QLatin1String("/outside/o.jpg"), "x"));
    QVERIFY(QFile::link(env.root() + QLatin1String("/outside"), strRoot + QLatin1String("/linkdir")));
    QVERIFY(QFile::link(env.root() + QLatin1String("/outside/o.jpg"), strRoot + QLatin1String("/link.jpg")));
    QVERIFY(QDir().mkpath(strRoot + QLatin1String("/empty")));

    const QStringList lstExpected{"Sub1/deep/x.mov", "Sub1/y.jpg", "sub2/z.jpg",
                                  QString::fromUtf8("\xc3\x9c" "ber/\xc3\xa4.jpg"), "A.png", "b.jpg", "c.txt"};
    QStringList lstAbsolute;
    for (const QString& strFile : lstExpected)
        lstAbsolute.append(strRoot + QLatin1Char('/') + strFile);
    QCOMPARE(StartUpRules::expandFolder(strRoot), lstAbsolute);
    QCOMPARE(StartUpRules::expandFolder(strRoot + QLatin1Char('/')), lstAbsolute);
}

void TestStartUp::folderExpansionRejects_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("relative") << "tree";
    QTest::newRow("missing") << "/no/such/folder/anywhere";
    QTest::newRow("a file") << "FILE";
    QTest::newRow("empty") << "";
}

void TestStartUp::folderExpansionRejects()
{
    QFETCH(QString, path);
    TestEnvironment env;
    QVERIFY(TestFiles::writeBytes(env.root() + QLatin1String("/file.jpg"), "x"));
    QDir::setCurrent(env.root());
    if (path == QLatin1String("FILE"))
        path = env.root() + QLatin1String("/file.jpg");
    QVERIFY(StartUpRules::expandFolder(path).isEmpty());
}

void TestStartUp::editorGuard()
{
    TestEnvironment env;
    QVERIFY(ProfileEditorGuard::serverName().startsWith(QLatin1String("OpenProfileEditor-")));
    {
        ProfileEditorGuard first;
        QVERIFY(first.acquire());
        ProfileEditorGuard second;
        QVERIFY(!second.acquire());
    }
    // A socket file left behind by an instance that died is taken over.
    const QString strPath = env.tempDir() + QLatin1Char('/') + ProfileEditorGuard::serverName();
    QVERIFY(TestFiles::writeBytes(strPath, QByteArray()));
    ProfileEditorGuard third;
    QVERIFY(third.acquire());
}

QTEST_GUILESS_MAIN(TestStartUp)
#include "tst_startup.moc"
