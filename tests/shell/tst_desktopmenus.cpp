#include "AppIdentity.h"
#include "DesktopMenus.h"
#include "TestEnvironment.h"
#include "VelmLocale.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"

#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

// Each menu entry as the file manager would show and run it: label, then the arguments the
// stand-in starter received.
using Menu = QList<std::pair<QString, QStringList>>;

namespace {

QString title()
{
    return VelmLocale::message("cxt_menu");
}

// The label GTK shows for a mnemonic text.
QString mnemonicText(const QString& strText)
{
    QString strOut;
    for (qsizetype i = 0; i < strText.size(); ++i)
        strOut += strText.at(i) == u'_' && i + 1 < strText.size() ? strText.at(++i) : strText.at(i);
    return strOut;
}

// A key file as groups of keys; false on any line or escape the format does not allow.
bool readKeyFile(const QString& strPath, QMap<QString, QMap<QString, QString>>& groups)
{
    QString strGroup;
    for (const QString& strLine : QString::fromUtf8(TestFiles::readBytes(strPath)).split(u'\n', Qt::SkipEmptyParts)) {
        if (strLine.startsWith(u'[') && strLine.endsWith(u']')) {
            strGroup = strLine.mid(1, strLine.size() - 2);
            continue;
        }
        const qsizetype iEq = strLine.indexOf(u'=');
        if (iEq <= 0 || strGroup.isEmpty() || groups[strGroup].contains(strLine.left(iEq)))
            return false;
        QString strValue;
        for (qsizetype i = iEq + 1; i < strLine.size(); ++i) {
            if (strLine.at(i) != u'\\') {
                strValue += strLine.at(i);
                continue;
            }
            const int iCode = QStringLiteral("s\\ntr").indexOf(strLine.mid(++i, 1));
            if (iCode < 0)
                return false;
            strValue += QStringLiteral(" \\\n\t\r").at(iCode);
        }
        groups[strGroup].insert(strLine.left(iEq), strValue);
    }
    return true;
}

// Desktop Entry Exec: quoting, reserved characters, then field codes; %F becomes the files.
QStringList desktopExec(const QString& strExec, const QStringList& lstFiles)
{
    QList<std::pair<QString, bool>> lstRaw; // argument, was quoted
    bool blQuoted = false, blInArg = false;
    for (qsizetype i = 0; i < strExec.size(); ++i) {
        const QChar c = strExec.at(i);
        if (blQuoted && c == u'\\') {
            if (!QStringLiteral("\"`$\\").contains(strExec.mid(++i, 1)))
                return {QStringLiteral("<bad escape>")};
            lstRaw.last().first += strExec.at(i);
        } else if (c == u'"') {
            if (!blInArg)
                lstRaw.append({QString(), true});
            blQuoted = !blQuoted;
            blInArg = true;
        } else if (blQuoted) {
            lstRaw.last().first += c;
        } else if (c == u' ') {
            blInArg = false;
        } else if (QStringLiteral("\t\n'\\><~|&;$*?#()`").contains(c)) {
            return {QStringLiteral("<unquoted reserved character>")};
        } else {
            if (!blInArg)
                lstRaw.append({QString(), false});
            lstRaw.last().first += c;
            blInArg = true;
        }
    }
    QStringList lstArgs;
    for (const auto& [strArg, blWasQuoted] : lstRaw) {
        if (strArg == QLatin1String("%F") && !blWasQuoted) {
            lstArgs += lstFiles;
            continue;
        }
        QString strOut;
        for (qsizetype i = 0; i < strArg.size(); ++i) {
            if (strArg.at(i) == u'%' && strArg.mid(++i, 1) != QLatin1String("%"))
                return {QStringLiteral("<field code %1>").arg(strArg.mid(i - 1, 2))};
            strOut += strArg.at(i);
        }
        lstArgs += strOut;
    }
    return blQuoted ? QStringList{QStringLiteral("<open quote>")} : lstArgs;
}

QString singleQuoted(const QString& strText)
{
    return u'\'' + QString(strText).replace(u'\'', QLatin1String("'\\''")) + u'\'';
}

} // namespace

class TestDesktopMenus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void menusFollowProfileStore();
    void awkwardNames_data();
    void awkwardNames();
    void userFilesSurvive_data();
    void userFilesSurvive();
    void filesLeftAlone();
    void thunarSpliceIsStable_data();
    void thunarSpliceIsStable();

private:
    QString makeStandIn(const QString& strDirName);
    QStringList run(const QString& strProgram, const QStringList& lstArgs);
    Menu nautilusMenu();
    Menu dolphinMenu();
    Menu thunarMenu();
    Menu nemoMenu();
    void compareAll(const QStringList& lstLabels, const QStringList& lstScriptNames = {});
    QString ucaPath() const { return m_pEnv->configHome() + QLatin1String("/Thunar/uca.xml"); }

    std::unique_ptr<TestEnvironment> m_pEnv;
    QByteArray m_baPath;
    QString m_strPhotos;
    QStringList m_lstFiles;
};

void TestDesktopMenus::init()
{
    m_pEnv = std::make_unique<TestEnvironment>();
    m_baPath = qgetenv("PATH");
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_pEnv->root() + QLatin1String("/etc-xdg")));
    m_strPhotos = m_pEnv->root() + QLatin1String("/photos ü");
    m_lstFiles = {m_strPhotos + QLatin1String("/file one.jpg"), m_strPhotos + QLatin1String("/it's $x.png")};
    QVERIFY(QDir().mkpath(m_strPhotos));
}

void TestDesktopMenus::cleanup()
{
    qputenv("PATH", m_baPath);
    qunsetenv("XDG_CONFIG_DIRS");
    m_pEnv.reset();
}

// Stands in for pictarium-send: records its arguments, one a line.
QString TestDesktopMenus::makeStandIn(const QString& strDirName)
{
    const QString strPath = m_pEnv->root() + u'/' + strDirName + QLatin1String("/pictarium-send");
    TestFiles::writeBytes(strPath, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$PICTARIUM_TEST_RECORD\"\n");
    QFile::setPermissions(strPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return strPath;
}

QStringList TestDesktopMenus::run(const QString& strProgram, const QStringList& lstArgs)
{
    const QString strRecord = m_pEnv->root() + QLatin1String("/record");
    QFile::remove(strRecord);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PICTARIUM_TEST_RECORD"), strRecord);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(m_strPhotos);
    process.start(strProgram, lstArgs);
    if (!process.waitForFinished() || process.exitCode() != 0)
        return {QLatin1String("<failed> ") + QString::fromUtf8(process.readAllStandardError())};
    return QString::fromUtf8(TestFiles::readBytes(strRecord)).split(u'\n', Qt::SkipEmptyParts);
}

// Nautilus lists the executable files of the folder; a script gets file names relative to
// the folder shown, its working directory.
Menu TestDesktopMenus::nautilusMenu()
{
    Menu menu;
    const QString strFolder = m_pEnv->dataHome() + QLatin1String("/nautilus/scripts/") + title();
    for (const QFileInfo& info : QDir(strFolder).entryInfoList(QDir::Files | QDir::Hidden)) {
        if (info.isExecutable())
            menu.append({info.fileName(), run(info.filePath(), {QStringLiteral("file one.jpg")})});
    }
    return menu;
}

Menu TestDesktopMenus::dolphinMenu()
{
    QMap<QString, QMap<QString, QString>> groups;
    const QString strPath = m_pEnv->dataHome() + QLatin1String("/kio/servicemenus/pictarium-uploader.desktop");
    if (!readKeyFile(strPath, groups) || !QFileInfo(strPath).isExecutable())
        return {{QStringLiteral("<unreadable or not executable>"), {}}};
    const QMap<QString, QString> entry = groups.value(QStringLiteral("Desktop Entry"));
    if (entry.value(QStringLiteral("Type")) != QLatin1String("Service") ||
        entry.value(QStringLiteral("X-KDE-Submenu")) != title())
        return {{QStringLiteral("<desktop entry>"), {}}};
    Menu menu;
    for (const QString& strId : entry.value(QStringLiteral("Actions")).split(u';', Qt::SkipEmptyParts)) {
        const QMap<QString, QString> action = groups.value(QLatin1String("Desktop Action ") + strId);
        const QStringList lstArgv = desktopExec(action.value(QStringLiteral("Exec")), m_lstFiles);
        menu.append({action.value(QStringLiteral("Name")), run(lstArgv.value(0), lstArgv.mid(1))});
    }
    return menu;
}

// Thunar replaces % codes (%F by single-quoted paths, %% by %) and runs /bin/sh -c.
Menu TestDesktopMenus::thunarMenu()
{
    Menu menu;
    // GLib's parser, unlike XML readers, takes the declaration older Thunar wrote.
    QXmlStreamReader reader(
        TestFiles::readBytes(ucaPath()).replace("encoding=\"UTF-8\" version=\"1.0\"", "version=\"1.0\""));
    QMap<QString, QString> action;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("action"))
            action.clear();
        else if (reader.isStartElement() && reader.name() != QLatin1String("actions"))
            action.insert(reader.name().toString(), reader.readElementText());
        if (!reader.isEndElement() || reader.name() != QLatin1String("action") ||
            !action.value(QStringLiteral("unique-id")).startsWith(QLatin1String("pictarium-uploader-")))
            continue;
        QStringList lstQuoted;
        for (const QString& strFile : m_lstFiles)
            lstQuoted += singleQuoted(strFile);
        const QString strCommand = action.value(QStringLiteral("command"));
        QString strLine;
        for (qsizetype i = 0; i < strCommand.size(); ++i) {
            const QString strCode = strCommand.at(i) == u'%' ? strCommand.mid(++i, 1) : QString();
            strLine += strCode.isEmpty()               ? QString(strCommand.at(i))
                       : strCode == QLatin1String("F") ? lstQuoted.join(u' ')
                       : strCode == QLatin1String("%") ? QStringLiteral("%")
                                                       : QStringLiteral("<code>");
        }
        const bool blAllTypes =
            action.contains(QStringLiteral("directories")) && action.contains(QStringLiteral("image-files")) &&
            action.contains(QStringLiteral("video-files")) && action.contains(QStringLiteral("other-files"));
        const bool blSubmenu = mnemonicText(action.value(QStringLiteral("submenu"))) == title();
        menu.append({mnemonicText(action.value(QStringLiteral("name"))) + (blAllTypes && blSubmenu ? "" : "<flags>"),
                     run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), strLine})});
    }
    if (reader.hasError())
        menu.append({QLatin1String("<xml> ") + reader.errorString(), {}});
    return menu;
}

// Nemo replaces tokens up to the first % that is none, then parses the line with GLib's
// shell rules; /bin/sh reads the quoting used here the same way and is stricter.
Menu TestDesktopMenus::nemoMenu()
{
    Menu menu;
    const QString strFolder = m_pEnv->dataHome() + QLatin1String("/nemo/actions/");
    for (const QString& strName : QDir(strFolder).entryList({QStringLiteral("pictarium-uploader-*.nemo_action")})) {
        QMap<QString, QMap<QString, QString>> groups;
        if (!readKeyFile(strFolder + strName, groups))
            return {{QStringLiteral("<unreadable>"), {}}};
        const QMap<QString, QString> action = groups.value(QStringLiteral("Nemo Action"));
        QString strLabel = action.value(QStringLiteral("Name"));
        if (strLabel.contains(QRegularExpression(QStringLiteral("%[A-Za-z]"))))
            strLabel = QLatin1String("<token> ") + strLabel;
        strLabel = mnemonicText(strLabel.remove(QChar(0x2060)));
        QString strExec = action.value(QStringLiteral("Exec"));
        const qsizetype iPercent = strExec.indexOf(u'%');
        if (iPercent >= 0 && strExec.mid(iPercent, 2) == QLatin1String("%F")) {
            QStringList lstQuoted;
            for (const QString& strFile : m_lstFiles)
                lstQuoted += u'"' +
                             QString(strFile).replace(QRegularExpression(QStringLiteral("([\\\\\"$`])")),
                                                      QStringLiteral("\\\\1")) +
                             u'"';
            if (action.value(QStringLiteral("Quote")) != QLatin1String("double"))
                lstQuoted = m_lstFiles;
            strExec.replace(iPercent, 2, lstQuoted.join(u' '));
        }
        const QString strPrefix = title() + QLatin1String(": ");
        menu.append({strLabel.startsWith(strPrefix) ? strLabel.mid(strPrefix.size()) : strLabel,
                     run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QLatin1String("exec ") + strExec})});
    }
    return menu;
}

// All four menus: the profiles at their positions, then "create" and "manage".
void TestDesktopMenus::compareAll(const QStringList& lstLabels, const QStringList& lstScriptNames)
{
    auto expected = [&lstLabels](const QStringList& lstNames, const QStringList& lstFiles) {
        Menu menu;
        for (int i = 0; i < lstLabels.size(); ++i)
            menu.append({lstNames.value(i).isEmpty() ? lstLabels.at(i) : lstNames.at(i),
                         QStringList{QStringLiteral("2"), QString::number(i)} + lstFiles});
        menu.append({VelmLocale::message("cxt_new_profile"), QStringList{QStringLiteral("1")} + lstFiles});
        menu.append({VelmLocale::message("cxt_manage_profile"), {QStringLiteral("3")}});
        std::sort(menu.begin(), menu.end());
        return menu;
    };
    auto sorted = [](Menu menu) {
        std::sort(menu.begin(), menu.end());
        return menu;
    };
    QCOMPARE(sorted(nautilusMenu()), expected(lstScriptNames, {QStringLiteral("file one.jpg")}));
    QCOMPARE(sorted(dolphinMenu()), expected({}, m_lstFiles));
    QCOMPARE(sorted(thunarMenu()), expected({}, m_lstFiles));
    QCOMPARE(sorted(nemoMenu()), expected({}, m_lstFiles));
}

void TestDesktopMenus::menusFollowProfileStore()
{
    QVERIFY(AppIdentity::ensureDataFolder());
    QVERIFY(VelmDatabase::open());
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);
    const QString strStarter = makeStandIn(QStringLiteral("bin dir ü"));
    qputenv("PATH", QFile::encodeName(QFileInfo(strStarter).path()) + ':' + m_baPath);
    QCOMPARE(DesktopMenus::starterPath(), strStarter);

    auto insert = [](const QString& strName) {
        ServerProfile profile;
        ProfileStore::fillRecord(profile, strName, QStringLiteral("kestra.local"), 5000, false, QStringLiteral("ann"),
                                 QString(), false, QStringLiteral("ann"), false, false, false, false,
                                 QStringLiteral("SKIP"), QStringLiteral("/photo"), {});
        return ProfileStore::insertProfile(profile);
    };
    QVERIFY(insert(QStringLiteral("Alpha")));
    compareAll({QStringLiteral("Alpha")});
    QVERIFY(insert(QStringLiteral("Beta")));
    QCOMPARE(ProfileStore::shortcutOrder(), QStringList({QStringLiteral("Beta"), QStringLiteral("Alpha")}));
    compareAll({QStringLiteral("Beta"), QStringLiteral("Alpha")});
    QVERIFY(ProfileStore::deleteProfile(QStringLiteral("Beta")));
    compareAll({QStringLiteral("Alpha")});
    QVERIFY(ProfileStore::deleteProfile(QStringLiteral("Alpha")));
    compareAll({});
    VelmDatabase::close();
}

void TestDesktopMenus::awkwardNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("label");      // empty: the name
    QTest::addColumn<QString>("scriptName"); // empty: the label
    QTest::addColumn<bool>("oddStarterFolder");

    auto row = [](const char* pszTag, const QString& strName, const QString& strLabel = {},
                  const QString& strScript = {},
                  bool blOdd = false) { QTest::newRow(pszTag) << strName << strLabel << strScript << blOdd; };
    row("plain", "Holiday");
    row("plain, odd starter folder", "Holiday", {}, {}, true);
    row("quotes", "it's \"x\"");
    row("markup", "Tom & Jerry <b>", {}, {}, true);
    row("percent codes", "%1 %F %N %f %U 100%");
    row("percent codes, odd starter folder", "%F%%", {}, {}, true);
    row("shell", "$(touch x) `id` $HOME;|", {}, {}, true);
    row("backslashes", "a\\b \\n \\\\");
    row("slashes", "a/b/../c", {}, "a\u2215b\u2215..\u2215c");
    row("non-ASCII", "Ünïcödé 日本 😀", {}, {}, true);
    row("newline", "line\nbreak", {}, "line break");
    row("control characters",
        "a\tb\x01"
        "c\x7f\r",
        "a\tb c  ", "a b c  ", true);
    row("underscores", "_my_pics_");
    row("blanks at the ends", " x ");
    row("leading dot", "..", {}, "\u2024.");
    row("option-like", "-n");
    row("same as a fixed entry", "Manage profiles", {}, "Manage profiles (2)");
    row("desktop group", "x\n[Desktop Action manage]\nExec=rm", {}, "x [Desktop Action manage] Exec=rm");
    row("xml", "</name></action><action>]]>", {}, "<\u2215name><\u2215action><action>]]>");
    row("long", QString(100, QChar(0x00E9)));
    row("long, 4-byte characters", QStringLiteral("😀").repeated(100), {}, QStringLiteral("😀").repeated(50));
}

void TestDesktopMenus::awkwardNames()
{
    QFETCH(QString, name);
    QFETCH(QString, label);
    QFETCH(QString, scriptName);
    QFETCH(bool, oddStarterFolder);
    if (label.isEmpty())
        label = name;
    if (scriptName.isEmpty())
        scriptName = label;

    const QString strFolder =
        oddStarterFolder ? QStringLiteral("odd 'q' \"d\" $x `y` \\b 100%F") : QStringLiteral("bin dir ü");
    DesktopMenus::rewrite({QStringLiteral("zeta"), name, QStringLiteral("alpha")}, makeStandIn(strFolder));
    compareAll({QStringLiteral("zeta"), label, QStringLiteral("alpha")}, {QString(), scriptName});

    QProcess validate;
    validate.start(QStringLiteral("desktop-file-validate"),
                   {m_pEnv->dataHome() + QLatin1String("/kio/servicemenus/pictarium-uploader.desktop")});
    QVERIFY(validate.waitForFinished());
    // It takes Type=Service but wants MimeType and Actions for applications only.
    const QString strReport = QString::fromUtf8(validate.readAllStandardOutput());
    const QStringList lstErrors = strReport.split(u'\n').filter(QStringLiteral("error"));
    const QRegularExpression serviceOnly(QStringLiteral("key \"(MimeType|Actions)\" .* the type is \"Service\" while"));
    QVERIFY2(lstErrors.size() == 2 && lstErrors.filter(serviceOnly).size() == 2, qPrintable(strReport));
    if (!QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty())
        QCOMPARE(QProcess::execute(QStringLiteral("xmllint"), {QStringLiteral("--noout"), ucaPath()}), 0);
}

void TestDesktopMenus::userFilesSurvive_data()
{
    QTest::addColumn<QByteArray>("ucaXml");

    const QByteArray baUser =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE actions [\n<!ELEMENT actions (action)+>\n]>\n"
        "<!-- mine -->\n<actions>\n<action>\n\t<icon>utilities-terminal</icon>\n\t<name>Terminal</name>\n"
        "\t<name xml:lang=\"de\">Terminal öffnen</name>\n\t<unique-id>1603466547001234-1</unique-id>\n"
        "\t<command>exo-open --working-directory %f</command>\n\t<description>a &amp; b</description>\n"
        "\t<patterns>*</patterns>\n\t<directories/>\n</action>\n"
        "  <action>\n    <name>Old one of ours</name>\n    <unique-id>pictarium-uploader-profile7</unique-id>\n"
        "    <command>'/old/pictarium-send' 2 7 %F</command>\n  </action>\n"
        "<action><name>pictarium-uploader-x</name><unique-id>pictarium-uploader</unique-id>"
        "<command><![CDATA[echo \"a<b\" %F]]></command><image-files/></action>\n</actions>\n";
    QTest::newRow("user's actions around an old one of ours") << baUser;
    QTest::newRow("CR LF and byte-order mark") << "\xEF\xBB\xBF" + QByteArray(baUser).replace("\n", "\r\n");
    QTest::newRow("older Thunar's declaration")
        << QByteArray(baUser).replace("version=\"1.0\" encoding=\"UTF-8\"", "encoding=\"UTF-8\" version=\"1.0\"");
}

void TestDesktopMenus::userFilesSurvive()
{
    QFETCH(QByteArray, ucaXml);
    const QString strScripts = m_pEnv->dataHome() + QLatin1String("/nautilus/scripts/");
    const QString strNemo = m_pEnv->dataHome() + QLatin1String("/nemo/actions/");
    const QMap<QString, QByteArray> mapUser = {
        {ucaPath(), ucaXml},
        {strScripts + QLatin1String("Resize"), "#!/bin/sh\nmogrify \"$@\"\n"},
        {strScripts + QLatin1String("Mine/Do it"), "#!/bin/sh\ntrue\n"},
        {strScripts + title() + QLatin1String(" old"), "#!/bin/sh\n"},
        {strNemo + QLatin1String("mine.nemo_action"), "[Nemo Action]\nName=Mine\n"},
        {strNemo + QLatin1String("pictarium-uploader.nemo_action"), "[Nemo Action]\nName=Not ours\n"},
        {m_pEnv->dataHome() + QLatin1String("/kio/servicemenus/other.desktop"), "[Desktop Entry]\n"}};
    for (auto it = mapUser.cbegin(); it != mapUser.cend(); ++it)
        QVERIFY(TestFiles::writeBytes(it.key(), it.value()));
    // Ours under another language's title, and an old Nemo action of ours.
    QVERIFY(TestFiles::writeBytes(strScripts + QLatin1String("Auf Pictarium hochladen/.pictarium-uploader-menu"), ""));
    QVERIFY(TestFiles::writeBytes(strScripts + QLatin1String("Auf Pictarium hochladen/Alt"), "#!/bin/sh\n"));
    QVERIFY(TestFiles::writeBytes(strNemo + QLatin1String("pictarium-uploader-1-profile-0009.nemo_action"), "x"));

    const QString strStarter = makeStandIn(QStringLiteral("bin"));
    for (const QStringList& lstProfiles : {QStringList{QStringLiteral("A"), QStringLiteral("B")}, QStringList()}) {
        DesktopMenus::rewrite(lstProfiles, strStarter);
        compareAll(lstProfiles);
        QVERIFY(!QFileInfo::exists(strScripts + QLatin1String("Auf Pictarium hochladen")));
        QVERIFY(!QFileInfo::exists(strNemo + QLatin1String("pictarium-uploader-1-profile-0009.nemo_action")));
        for (auto it = mapUser.cbegin(); it != mapUser.cend(); ++it) {
            if (it.key() != ucaPath())
                QCOMPARE(TestFiles::readBytes(it.key()), it.value());
        }
        // Without our new actions the file is the user's, less the old one of ours.
        QString strUca = QString::fromUtf8(TestFiles::readBytes(ucaPath()));
        strUca.remove(
            QRegularExpression(QStringLiteral("<action>\r?\n\t<icon>pictarium-uploader</icon>.*?</action>\r?\n"),
                               QRegularExpression::DotMatchesEverythingOption));
        const QRegularExpression oldOne(QStringLiteral("  <action>\r?\n    <name>Old.*?</action>\r?\n"),
                                        QRegularExpression::DotMatchesEverythingOption);
        QCOMPARE(strUca, QString::fromUtf8(ucaXml).remove(oldOne));
        QCOMPARE(TestFiles::readBytes(ucaPath()).startsWith("\xEF\xBB\xBF"), ucaXml.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(TestFiles::readBytes(ucaPath()).replace("\r\n", "").contains('\n'), !ucaXml.contains("\r\n"));
    }
}

void TestDesktopMenus::filesLeftAlone()
{
    const QString strStarter = makeStandIn(QStringLiteral("bin"));
    DesktopMenus::rewrite({QStringLiteral("A")}, strStarter);
    auto snapshot = [this] {
        QMap<QString, QByteArray> mapFiles;
        QDirIterator it(m_pEnv->root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString strPath = it.next();
            mapFiles.insert(strPath, TestFiles::readBytes(strPath));
        }
        return mapFiles;
    };

    // No starter anywhere: working menus stay.
    const QMap<QString, QByteArray> mapBefore = snapshot();
    qputenv("PATH", QFile::encodeName(m_pEnv->tempDir()));
    QVERIFY(DesktopMenus::starterPath().isEmpty());
    DesktopMenus::rewrite({QStringLiteral("A"), QStringLiteral("B")});
    QCOMPARE(snapshot(), mapBefore);
    qputenv("PATH", m_baPath);

    // Not XML, or not Thunar's: left as they are while the other menus follow.
    for (const QByteArray& baForeign : {QByteArray("<actions><action>"), QByteArray("<menu><action/></menu>")}) {
        QVERIFY(TestFiles::writeBytes(ucaPath(), baForeign));
        DesktopMenus::rewrite({QStringLiteral("B")}, strStarter);
        QCOMPARE(TestFiles::readBytes(ucaPath()), baForeign);
        QCOMPARE(dolphinMenu().value(0).first, QStringLiteral("B"));
    }

    // An empty root takes our actions.
    QVERIFY(TestFiles::writeBytes(ucaPath(), "<actions/>"));
    DesktopMenus::rewrite({QStringLiteral("C")}, strStarter);
    QCOMPARE(thunarMenu().size(), 3);
    QCOMPARE(thunarMenu().value(0).first, QStringLiteral("C"));

    // Without a file of the user's, the system's actions are kept beside ours.
    const QByteArray baSystem =
        "<?xml version=\"1.0\"?>\n<actions>\n<action><name>Open Terminal Here</name></action>\n</actions>\n";
    QVERIFY(QFile::remove(ucaPath()));
    QVERIFY(TestFiles::writeBytes(m_pEnv->root() + QLatin1String("/etc-xdg/Thunar/uca.xml"), baSystem));
    DesktopMenus::rewrite({QStringLiteral("C")}, strStarter);
    QVERIFY(TestFiles::readBytes(ucaPath()).startsWith(baSystem.left(baSystem.indexOf("</actions>"))));
    QCOMPARE(thunarMenu().size(), 3);

    // A script folder of the user's under our title is not ours.
    const QString strFolder = m_pEnv->dataHome() + QLatin1String("/nautilus/scripts/") + title();
    QVERIFY(QDir(strFolder).removeRecursively());
    QVERIFY(TestFiles::writeBytes(strFolder + QLatin1String("/notes.txt"), "mine"));
    DesktopMenus::rewrite({QStringLiteral("D")}, strStarter);
    QCOMPARE(QDir(strFolder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("notes.txt")});
}

void TestDesktopMenus::thunarSpliceIsStable_data()
{
    QTest::addColumn<QByteArray>("ucaXml");
    QTest::addColumn<QByteArray>("before"); // what stands just before our first action

    QTest::newRow("closing tag after text (found by fuzzing)")
        << QByteArray("\xEF\xBB\xBF<?xml/version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!DOCTYPE actions [\r\n"
                      "<!ELEMENT actions (action)+>\r\n]>\r\n<!-- mine -->\r\n<actions>\rn>\r\nc</actions>\r\n")
        << QByteArray("c\r\n");
    QTest::newRow("lines ended by CR alone (found by fuzzing)")
        << QByteArray("\xEF\xBB\xBF<actions>-\t\xEF\xBB\xBF<actions>-\t</actions>\r</actions>\r") << QByteArray("</actions>\r");
    QTest::newRow("indented closing tag")
        << QByteArray("<actions>\n  <action><name>x</name></action>\n  </actions>\n") << QByteArray("</action>\n");
    QTest::newRow("empty root, CR LF") << QByteArray("<?xml version=\"1.0\"?>\r\n<!-- x -->\r\n<actions/>\r\n")
                                       << QByteArray("<actions>\r\n");
    QTest::newRow("one line") << QByteArray("<actions><action><unique-id>pictarium-uploader-x</unique-id></action></actions>")
                              << QByteArray("<actions>\n");
}

void TestDesktopMenus::thunarSpliceIsStable()
{
    // A second writing of the same menus changes nothing, and our actions stand on lines of their own.
    QFETCH(QByteArray, ucaXml);
    QFETCH(QByteArray, before);
    const QStringList lstProfiles = {QStringLiteral("A"), QStringLiteral("B")};
    QByteArray baFirst, baSecond;
    QVERIFY(DesktopMenus::spliceThunarFile(ucaXml, lstProfiles, QStringLiteral("/bin/s"), baFirst));
    QVERIFY(DesktopMenus::spliceThunarFile(baFirst, lstProfiles, QStringLiteral("/bin/s"), baSecond));
    QCOMPARE(baSecond, baFirst);
    QList<std::pair<qsizetype, qsizetype>> lstOurs;
    const QString strFirst = QString::fromUtf8(baFirst);
    QVERIFY(DesktopMenus::thunarActionRanges(strFirst, lstOurs));
    QCOMPARE(lstOurs.size(), 4);
    QVERIFY2(strFirst.left(lstOurs.constFirst().first).toUtf8().endsWith(before), baFirst.constData());
    QCOMPARE(baFirst.count("<unique-id>pictarium-uploader-"), 4);
}

QTEST_GUILESS_MAIN(TestDesktopMenus)
#include "tst_desktopmenus.moc"
