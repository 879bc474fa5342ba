#include "AppIdentity.h"
#include "CameraDevices.h"
#include "CameraImport.h"
#include "ScriptedPrompt.h"
#include "TestEnvironment.h"
#include "VelmLocale.h"
#include "store/UploadHistory.h"
#include "store/VelmDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

#include <memory>

namespace {

QByteArray utf8Bom(const QString& strText)
{
    return QByteArray("\xEF\xBB\xBF") + strText.toUtf8();
}

QByteArray utf16Bom(const QString& strText)
{
    return QByteArray("\xFF\xFE", 2) + TestFiles::utf16le(strText);
}

QString listPath(const char* pszName)
{
    return AppIdentity::dataFilePath(QLatin1String(pszName));
}

QStringList itemRows(const QList<CameraImport::Item>& lstItems)
{
    QStringList lstRows;
    for (const auto& item : lstItems)
        lstRows.append(item.name + QLatin1Char('|') + item.size + QLatin1Char('|') + item.modified);
    return lstRows;
}

} // namespace

// The camera hand-over: the list files, taking items, and the camera import tool itself on
// folder devices.
class TestCameraImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void deviceList_data();
    void deviceList();
    void contentList_data();
    void contentList();
    void takingItems();
    void importListBytes();
    void lenswayOnItsOwn();
    void importThroughTheTool();
    void toolThatMisbehaves();
    void gphoto2Output();
    void lenswayThroughGphoto2();

private:
    QString makeCard(const QString& strName, const QList<QPair<QString, QByteArray>>& lstFiles);
    static int runLensway(const QStringList& lstArguments);

    std::unique_ptr<TestEnvironment> m_pEnv;
    QByteArray m_baPath;
    const QDateTime m_time = QDateTime::fromSecsSinceEpoch(1714572187);
};

void TestCameraImport::initTestCase()
{
    m_pEnv = std::make_unique<TestEnvironment>();
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_pEnv->runtimeDir()));
    qputenv("LC_ALL", "C.UTF-8");
    // The tool is found on the PATH: it is built beside the program, not beside this test.
    m_baPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(QFileInfo(QStringLiteral(LENSWAY_BIN)).absolutePath()) + ':' + m_baPath);
    VelmLocale::fillMessageTable();
    QVERIFY(AppIdentity::ensureDataFolder());
    QVERIFY(VelmDatabase::open());
}

void TestCameraImport::cleanupTestCase()
{
    VelmDatabase::close();
    qputenv("PATH", m_baPath);
}

QString TestCameraImport::makeCard(const QString& strName, const QList<QPair<QString, QByteArray>>& lstFiles)
{
    const QString strRoot = m_pEnv->root() + QLatin1Char('/') + strName;
    for (const auto& file : lstFiles) {
        const QString strPath = strRoot + QLatin1Char('/') + file.first;
        TestFiles::writeBytes(strPath, file.second);
        TestFiles::setModified(strPath, m_time);
    }
    return QFileInfo(strRoot).canonicalFilePath();
}

int TestCameraImport::runLensway(const QStringList& lstArguments)
{
    QProcess tool;
    tool.start(QStringLiteral(LENSWAY_BIN), lstArguments);
    if (!tool.waitForFinished(60000))
        return -1;
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -2;
}

void TestCameraImport::deviceList_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QStringList>("texts");
    const QStringList lstTwo{"id1", "id2"};
    const QStringList lstTwoTexts{"Camera ( USB )", "Card ( SD )"};
    QTest::newRow("3 announced, 2 present")
        << TestFiles::utf16le("3\nid1\nCamera\nUSB\nid2\nCard\nSD\n") << lstTwo << lstTwoTexts;
    QTest::newRow("mark, CR LF, no last line feed")
        << utf16Bom("2\r\nid1\r\nCamera\r\nUSB\r\nid2\r\nCard\r\nSD") << lstTwo << lstTwoTexts;
    QTest::newRow("big-endian mark")
        << QByteArray("\xFE\xFF", 2) + QByteArray(QStringEncoder(QStringConverter::Utf16BE).encode(QStringLiteral("1\nid1\nCamera\nUSB\n")))
        << QStringList{"id1"} << QStringList{"Camera ( USB )"};
    QTest::newRow("count below the devices present")
        << TestFiles::utf16le("1\nid1\nCamera\nUSB\nid2\nCard\nSD\n") << QStringList{"id1"} << QStringList{"Camera ( USB )"};
    QTest::newRow("last device without description")
        << TestFiles::utf16le("2\nid1\nCamera\nUSB\nid2\nCard\n") << QStringList{"id1"} << QStringList{"Camera ( USB )"};
    QTest::newRow("empty name and description")
        << TestFiles::utf16le("1\nid1\n\n\n") << QStringList{"id1"} << QStringList{" (  )"};
    QTest::newRow("empty file") << QByteArray() << QStringList() << QStringList();
    QTest::newRow("count not a number") << TestFiles::utf16le("x\nid1\nCamera\nUSB\n") << QStringList() << QStringList();
}

void TestCameraImport::deviceList()
{
    QFETCH(QByteArray, bytes);
    const QString strPath = m_pEnv->root() + QLatin1String("/DeviceList");
    QVERIFY(TestFiles::writeBytes(strPath, bytes));
    QStringList lstIds{"stale"};
    QStringList lstTexts{"stale"};
    CameraImport::readDeviceList(strPath, lstIds, lstTexts);
    QTEST(lstIds, "ids");
    QTEST(lstTexts, "texts");
}

void TestCameraImport::contentList_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("UTF-8 mark") << utf8Bom(QStringLiteral("IMG_1.JPG\n123\n1714572187\nStrand_\u00fc.jpg\n4 KB\n2024:05:01\n"))
                                << QStringList{"IMG_1.JPG|123|1714572187", "Strand_\u00fc.jpg|4 KB|2024:05:01"};
    QTest::newRow("UTF-16 mark, CR LF")
        << utf16Bom(QStringLiteral("\u5199\u771f.jpg\r\n9\r\n1\r\n")) << QStringList{"\u5199\u771f.jpg|9|1"};
    QTest::newRow("8-bit, no last line feed") << QByteArray("a.jpg\n1\n2\nb.jpg\n3\n4") << QStringList{"a.jpg|1|2", "b.jpg|3|4"};
    QTest::newRow("last item cut short") << QByteArray("a.jpg\n1\n2\nb.jpg\n") << QStringList{"a.jpg|1|2", "b.jpg||"};
    QTest::newRow("texts kept as they are") << QByteArray(" a.jpg \n 0012 \n\n") << QStringList{" a.jpg | 0012 |"};
    QTest::newRow("empty") << QByteArray() << QStringList();
}

void TestCameraImport::contentList()
{
    QFETCH(QByteArray, bytes);
    const QString strPath = m_pEnv->root() + QLatin1String("/ContentList");
    QVERIFY(TestFiles::writeBytes(strPath, bytes));
    QList<CameraImport::Item> lstItems;
    QVERIFY(CameraImport::readContentList(strPath, lstItems));
    QTEST(itemRows(lstItems), "rows");
    QVERIFY(!CameraImport::readContentList(strPath + QLatin1String(".missing"), lstItems));
}

void TestCameraImport::takingItems()
{
    const QList<CameraImport::Item> lstItems{
        {"IMG_1.JPG", "10", "100"}, {"../x", "1", "1"},      {"", "1", "1"},          {".", "1", "1"},
        {"..", "1", "1"},           {"a/b.jpg", "1", "1"},    {"a\\b.jpg", "1", "1"}, {"IMG_2.JPG", "30", "300"},
        {"IMG_1.JPG", "20", "200"}, {"it's 100%1.jpg", "5", "5"}};
    QVERIFY(UploadHistory::recordCameraItem("IMG_2.JPG", "home", "30", "300", "dev1"));
    QVERIFY(UploadHistory::recordCameraItem("it's 100%1.jpg", "home", "5", "5", "dev1"));

    int nEvents = 0;
    CameraImport::ImportResult result;
    CameraImport::takeItems(lstItems, "dev1", "home", true, result, [&nEvents]() { ++nEvents; });
    QCOMPARE(nEvents, int(lstItems.size()));
    // Same name twice: two list entries, one information entry (the later item).
    QCOMPARE(result.names, QStringList({"IMG_1.JPG", "IMG_1.JPG"}));
    QCOMPARE(result.details.size(), 1);
    QCOMPARE(result.details.value("IMG_1.JPG"), QStringList({"20", "200", "dev1"}));
    QCOMPARE(result.refused, QStringList({"../x", "", ".", "..", "a/b.jpg", "a\\b.jpg"}));
    QVERIFY(result.skippedUploaded);

    // The history is per profile, device, size and time; without the option nothing is skipped.
    struct Case
    {
        const char* pszDevice;
        const char* pszProfile;
        bool blSkip;
    };
    for (const Case& c : {Case{"dev2", "home", true}, Case{"dev1", "other", true}, Case{"dev1", "home", false}}) {
        CameraImport::ImportResult again;
        CameraImport::takeItems(lstItems, QLatin1String(c.pszDevice), QLatin1String(c.pszProfile), c.blSkip, again);
        QCOMPARE(again.names, QStringList({"IMG_1.JPG", "IMG_2.JPG", "IMG_1.JPG", "it's 100%1.jpg"}));
        QVERIFY(!again.skippedUploaded);
    }
    CameraImport::ImportResult changed;
    CameraImport::takeItems({{"IMG_2.JPG", "31", "300"}}, "dev1", "home", true, changed);
    QCOMPARE(changed.names, QStringList({"IMG_2.JPG"}));
}

void TestCameraImport::importListBytes()
{
    const QString strPath = listPath("ImportList");
    QVERIFY(TestFiles::writeBytes(strPath, QByteArray(500, 'x')));
    QVERIFY(CameraImport::writeImportList(strPath, {"a.jpg", QStringLiteral("Strand_\u00fc.jpg")}));
    QCOMPARE(TestFiles::readBytes(strPath), TestFiles::utf16le(QStringLiteral("a.jpg\nStrand_\u00fc.jpg\n")));
    QVERIFY(CameraImport::writeImportList(strPath, {}));
    QCOMPARE(TestFiles::readBytes(strPath), QByteArray());
}

void TestCameraImport::lenswayOnItsOwn()
{
    const QString strOutside = m_pEnv->root() + QLatin1String("/secret.txt");
    QVERIFY(TestFiles::writeBytes(strOutside, "secret"));
    const QString strCard = makeCard("EOS_DIGITAL", {{"DCIM/100CANON/IMG_0001.JPG", "one"},
                                                     {"DCIM/101CANON/IMG_0001.JPG", "second"},
                                                     {"DCIM/101CANON/MVI_0002.MOV", "movie"},
                                                     {"DCIM/IMG_0003.JPG", "top"},
                                                     {"MISC/notes.txt", "not below DCIM"}});
    QVERIFY(QFile::link(strOutside, strCard + QLatin1String("/DCIM/100CANON/link.jpg")));
    makeCard("no_dcim", {{"photos/a.jpg", "a"}});
    qputenv("PICTARIUM_CAMERA_DIRS",
             QFile::encodeName(strCard + QLatin1String(":") + m_pEnv->root() + QLatin1String("/no_dcim:/nonexistent")));
    const QString strId = QLatin1String("folder:") + strCard;

    QCOMPARE(runLensway({"0"}), 0);
    QCOMPARE(TestFiles::readBytes(listPath("DeviceList")),
             utf16Bom(QLatin1String("1\n") + strId + QLatin1String("\nEOS_DIGITAL\n") + strCard + QLatin1Char('\n')));

    // Every file below DCIM, by folder and name; the second IMG_0001.JPG carries its folder.
    QCOMPARE(runLensway({"1", strId}), 0);
    const QString strTime = QString::number(m_time.toSecsSinceEpoch());
    QCOMPARE(TestFiles::readBytes(listPath("ContentList")),
             utf8Bom(QStringLiteral("IMG_0003.JPG\n3\n%1\nIMG_0001.JPG\n3\n%1\n101CANON_IMG_0001.JPG\n6\n%1\n"
                                    "MVI_0002.MOV\n5\n%1\n")
                         .arg(strTime)));

    // Copies land under their names with their bytes and times; unknown and unsafe names fail.
    const QString strFolder = CameraImport::folderPath();
    QVERIFY(TestFiles::writeBytes(listPath("ImportList"),
                                  utf16Bom("101CANON_IMG_0001.JPG\nMVI_0002.MOV\n../secret.txt\nNOPE.JPG\n")));
    QCOMPARE(runLensway({"2", strId}), 1);
    QCOMPARE(QDir(strFolder).entryList(QDir::Files | QDir::Hidden), QStringList({"101CANON_IMG_0001.JPG", "MVI_0002.MOV"}));
    QCOMPARE(TestFiles::readBytes(strFolder + QLatin1String("/101CANON_IMG_0001.JPG")), QByteArray("second"));
    QCOMPARE(QFileInfo(strFolder + QLatin1String("/MVI_0002.MOV")).lastModified(), m_time);
    QCOMPARE(QFileInfo(strFolder).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFileDevice::Permissions());
    CameraImport::emptyFolder();

    // An unknown device writes no content list (an old one goes); bad command lines fail.
    QVERIFY(TestFiles::writeBytes(listPath("ContentList"), "stale"));
    QCOMPARE(runLensway({"1", "folder:/nonexistent"}), 2);
    QVERIFY(!QFile::exists(listPath("ContentList")));
    for (const QStringList& lstBad : {QStringList{}, QStringList{"1"}, QStringList{"3", strId}, QStringList{"0", "x"}})
        QCOMPARE(runLensway(lstBad), 2);
    qunsetenv("PICTARIUM_CAMERA_DIRS");
    QCOMPARE(runLensway({"0"}), 0);
    QCOMPARE(TestFiles::readBytes(listPath("DeviceList")), utf16Bom("0\n"));
}

void TestCameraImport::importThroughTheTool()
{
    ScriptedPrompt prompt;
    const QList<QPair<QString, QByteArray>> lstFiles{{"DCIM/100TEST/IMG_0001.JPG", "first"},
                                                     {"DCIM/100TEST/IMG_0002.JPG", "second"}};
    const QString strA = makeCard("cardA", lstFiles);
    const QString strB = makeCard("cardB", lstFiles);
    qputenv("PICTARIUM_CAMERA_DIRS", QFile::encodeName(strA + QLatin1Char(':') + strB));
    const CameraImport::Session session(&prompt);

    QStringList lstIds;
    QStringList lstTexts;
    session.listDevices(lstIds, lstTexts);
    QCOMPARE(lstIds, QStringList({"folder:" + strA, "folder:" + strB}));
    QCOMPARE(lstTexts, QStringList({"cardA ( " + strA + " )", "cardB ( " + strB + " )"}));
    QVERIFY(QFile::exists(listPath("DeviceList")));

    // A copy left from an earlier run is replaced by the device's own.
    QVERIFY(CameraImport::ensureFolder());
    QVERIFY(TestFiles::writeBytes(CameraImport::folderPath() + QLatin1String("/IMG_0001.JPG"), "stale"));
    CameraImport::ImportResult first = session.importFromDevice(lstIds.at(0), "home", true);
    QCOMPARE(first.names, QStringList({"IMG_0001.JPG", "IMG_0002.JPG"}));
    const QString strTime = QString::number(m_time.toSecsSinceEpoch());
    QCOMPARE(first.details.value("IMG_0002.JPG"), QStringList({"6", strTime, lstIds.at(0)}));
    QVERIFY(!first.skippedUploaded && first.notCopied.isEmpty() && !first.contentMissing);
    QCOMPARE(TestFiles::readBytes(CameraImport::folderPath() + QLatin1String("/IMG_0001.JPG")), QByteArray("first"));
    QVERIFY(!QFile::exists(listPath("ContentList")));
    QVERIFY(!QFile::exists(listPath("ImportList")));
    for (auto it = first.details.cbegin(); it != first.details.cend(); ++it)
        QVERIFY(UploadHistory::recordCameraItem(it.key(), "home", it->at(0), it->at(1), it->at(2)));

    // The same card again skips everything and says so; another card with equal files does not.
    const CameraImport::ImportResult again = session.importFromDevice(lstIds.at(0), "home", true);
    QVERIFY(again.names.isEmpty());
    QVERIFY(again.skippedUploaded);
    const CameraImport::ImportResult other = session.importFromDevice(lstIds.at(1), "home", true);
    QCOMPARE(other.names, first.names);
    QVERIFY(!other.skippedUploaded);
    QVERIFY(prompt.shown.isEmpty());

    // A device that is gone: no content list, the warning, nothing to upload.
    const CameraImport::ImportResult gone = session.importFromDevice("folder:/nonexistent", "home", true);
    QVERIFY(gone.contentMissing && gone.names.isEmpty());
    QCOMPARE(prompt.shown.size(), 1);
    QCOMPARE(prompt.shown.at(0).kind + '|' + prompt.shown.at(0).title + '|' + prompt.shown.at(0).text,
             QStringLiteral("warning|Warning|Please upload from a non-empty folder."));

    // Without the tool there are no devices.
    qputenv("PATH", m_baPath);
    session.listDevices(lstIds, lstTexts);
    qputenv("PATH", QFile::encodeName(QFileInfo(QStringLiteral(LENSWAY_BIN)).absolutePath()) + ':' + m_baPath);
    QVERIFY(lstIds.isEmpty() && lstTexts.isEmpty());
    qunsetenv("PICTARIUM_CAMERA_DIRS");
    CameraImport::emptyFolder();
}

void TestCameraImport::toolThatMisbehaves()
{
    // A tool that lists two items, copies one and crashes: the other is reported, not lost.
    const QString strBin = m_pEnv->root() + QLatin1String("/badtool");
    const QString strScript = QStringLiteral(
        "#!/bin/sh\n"
        "case \"$1\" in\n"
        "1) printf 'a.jpg\\n1\\n1\\nb.jpg\\n2\\n2\\n' > \"%1\" ;;\n"
        "2) printf a > \"%2/a.jpg\"; kill -SEGV $$ ;;\n"
        "esac\n")
                                  .arg(listPath("ContentList"), CameraImport::folderPath());
    QVERIFY(TestFiles::writeBytes(strBin + QLatin1String("/Lensway"), strScript.toUtf8()));
    QFile::setPermissions(strBin + QLatin1String("/Lensway"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", QFile::encodeName(strBin) + ':' + m_baPath);
    QVERIFY(CameraImport::ensureFolder());
    ScriptedPrompt prompt;
    const CameraImport::ImportResult result = CameraImport::Session(&prompt).importFromDevice("x", "home", false);
    qputenv("PATH", QFile::encodeName(QFileInfo(QStringLiteral(LENSWAY_BIN)).absolutePath()) + ':' + m_baPath);
    QCOMPARE(result.names, QStringList({"a.jpg", "b.jpg"}));
    QCOMPARE(result.notCopied, QStringList({"b.jpg"}));
    QVERIFY(prompt.shown.isEmpty());
    CameraImport::emptyFolder();
}

void TestCameraImport::gphoto2Output()
{
    const auto cameras = Gphoto2Text::autoDetect(QStringLiteral(
        "Model                          Port\n"
        "----------------------------------------------------------\n"
        "Canon EOS 5D Mark III          usb:001,004\n"
        "Mass Storage Camera            disk:/media/ann/CARD\n"
        "Nikon DSC D750                 usb:002,007     \n"));
    QCOMPARE(cameras.size(), 2);
    QCOMPARE(cameras.at(0).model + '@' + cameras.at(0).port, QStringLiteral("Canon EOS 5D Mark III@usb:001,004"));
    QCOMPARE(cameras.at(1).model + '@' + cameras.at(1).port, QStringLiteral("Nikon DSC D750@usb:002,007"));
    QCOMPARE(Gphoto2Text::serialNumber("Camera summary:\nManufacturer: X\n  Serial Number: 0a1b2c \nVersion: 1\n"),
             QStringLiteral("0a1b2c"));
    QCOMPARE(Gphoto2Text::serialNumber("Camera summary:\n"), QString());

    QList<DeviceItem> lstItems = Gphoto2Text::listFiles(QStringLiteral(
        "There is no file in folder '/'.\n"
        "There is 1 file in folder '/store_00010001/MISC'.\n"
        "#1     SETTINGS.DAT               rd     1 KB application/octet-stream 1714572187\n"
        "There are 2 files in folder '/store_00010001/DCIM/100CANON'.\n"
        "#2     IMG_0001.JPG               rd  2345 KB  5184x3456 image/jpeg 1714572187\n"
        "#3     my photo.JPG               r-    12 KB image/jpeg\n"
        "There is no file in folder '/store_00010001/DCIM'.\n"
        "There is 1 file in folder '/store_00010001/DCIM/101CANON'.\n"
        "#4     IMG_0001.JPG               rd  2400 KB image/jpeg 1714572999\n"));
    nameItems(lstItems);
    QStringList lstRows;
    for (const DeviceItem& item : std::as_const(lstItems))
        lstRows.append(QStringList{item.name, item.size, item.modified, item.folder, item.fileName}.join('|'));
    QCOMPARE(lstRows, QStringList({"IMG_0001.JPG|2345 KB|1714572187|/store_00010001/DCIM/100CANON|IMG_0001.JPG",
                                   "my photo.JPG|12 KB||/store_00010001/DCIM/100CANON|my photo.JPG",
                                   "101CANON_IMG_0001.JPG|2400 KB|1714572999|/store_00010001/DCIM/101CANON|IMG_0001.JPG"}));
}

void TestCameraImport::lenswayThroughGphoto2()
{
    // gphoto2's directory driver reads a folder as a camera: the same listing and copy commands
    // as for a camera on USB.
    if (QStandardPaths::findExecutable(QStringLiteral("gphoto2")).isEmpty())
        QSKIP("gphoto2 is not installed");
    const QString strCard = makeCard("ptp card", {{"DCIM/100TEST/IMG_0001.JPG", "first"},
                                                  {"DCIM/101TEST/IMG_0001.JPG", "other"},
                                                  {"DCIM/101TEST/my 100% photo.JPG", QByteArray(3000, 'p')},
                                                  {"MISC/notes.txt", "no"}});
    qputenv("PICTARIUM_GPHOTO2_DIRS", QFile::encodeName(strCard));
    const QString strId = QLatin1String("ptp:Directory Browse@disk:") + strCard;
    QCOMPARE(runLensway({"0"}), 0);
    QCOMPARE(TestFiles::readBytes(listPath("DeviceList")),
             utf16Bom(QStringLiteral("1\n%1\nDirectory Browse\ndisk:%2\n").arg(strId, strCard)));
    QCOMPARE(runLensway({"1", strId}), 0);
    QCOMPARE(TestFiles::readBytes(listPath("ContentList")),
             utf8Bom(QStringLiteral("IMG_0001.JPG\n1 KB\n%1\n101TEST_IMG_0001.JPG\n1 KB\n%1\nmy 100% photo.JPG\n3 KB\n%1\n")
                         .arg(m_time.toSecsSinceEpoch())));
    QVERIFY(TestFiles::writeBytes(listPath("ImportList"), TestFiles::utf16le("101TEST_IMG_0001.JPG\nmy 100% photo.JPG\n")));
    QCOMPARE(runLensway({"2", strId}), 0);
    const QString strFolder = CameraImport::folderPath();
    QCOMPARE(QDir(strFolder).entryList(QDir::Files | QDir::Hidden), QStringList({"101TEST_IMG_0001.JPG", "my 100% photo.JPG"}));
    QCOMPARE(TestFiles::readBytes(strFolder + QLatin1String("/101TEST_IMG_0001.JPG")), QByteArray("other"));
    QCOMPARE(TestFiles::readBytes(strFolder + QLatin1String("/my 100% photo.JPG")), QByteArray(3000, 'p'));
    qunsetenv("PICTARIUM_GPHOTO2_DIRS");
    CameraImport::emptyFolder();
}

QTEST_GUILESS_MAIN(TestCameraImport)
#include "tst_cameraimport.moc"
