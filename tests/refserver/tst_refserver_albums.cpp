#include "RefServerTestBase.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QtTest>

// The reference server: album lists, upload initialisation, duplicates, folders, paths and personal Pictarium.
class TestRefServerAlbums : public RefServerTestBase
{
    Q_OBJECT

private Q_SLOTS:
    void albumLists_data();
    void albumLists();
    void uploadInit_data();
    void uploadInit();
    void duplicatePolicies_data();
    void duplicatePolicies();
    void folderCreation_data();
    void folderCreation();
    void pathTraversalRejected_data();
    void pathTraversalRejected();
    void personalPictariumStoresApart();
};

void TestRefServerAlbums::albumLists_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QByteArray>("form");
    QTest::addColumn<QJsonObject>("reply");

    const QJsonObject allAlbums = {
        {"success", true},
        {"is_admin", true},
        {"uploadable_albums", QJsonArray{"2013", "2013/party", "2013/secret", "2013/secret/deep", "2013/trip", "misc",
                                         QStringLiteral("Ärger"), QStringLiteral("Ärger/x")}}};
    QTest::newRow("admin sees every album") << "admin" << QByteArray("action=get_uploadable_album_list") << allAlbums;
    QTest::newRow("forbidden subtree left out")
        << "ann" << QByteArray("action=get_uploadable_album_list")
        << QJsonObject{{"success", true},
                       {"is_admin", false},
                       {"uploadable_albums", QJsonArray{"2013", "2013/party", "2013/trip", "misc",
                                                        QStringLiteral("Ärger"), QStringLiteral("Ärger/x")}}};
    QTest::newRow("children of 2013") << "ann" << QByteArray("action=get_all_subalbum_list&path=2013")
                                      << QJsonObject{{"success", true},
                                                     {"sub_albums", QJsonArray{"party", "secret", "trip"}}};
    QTest::newRow("children of the root")
        << "ann" << QByteArray("action=get_all_subalbum_list&path=")
        << QJsonObject{{"success", true}, {"sub_albums", QJsonArray{"2013", "misc", QStringLiteral("Ärger")}}};
    QTest::newRow("children of a non-ASCII album")
        << "ann"
        << "action=get_all_subalbum_list&path=" + pct(QStringLiteral("Ärger"))
        << QJsonObject{{"success", true}, {"sub_albums", QJsonArray{"x"}}};
    QTest::newRow("missing album") << "ann" << QByteArray("action=get_all_subalbum_list&path=2013%2Fnope")
                                   << QJsonObject{{"success", false},
                                                  {"err_msg", "target_folder_not_found_/2013/nope"}};
    QTest::newRow("climbing out") << "ann" << QByteArray("action=get_all_subalbum_list&path=..%2F..")
                                  << QJsonObject{{"success", false}, {"err_msg", "target_folder_not_found_/../.."}};
}

void TestRefServerAlbums::albumLists()
{
    QFETCH(QString, user);
    QFETCH(QByteArray, form);
    QFETCH(QJsonObject, reply);

    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    const QString strPhoto = pServer->root() + QLatin1String("/photo/");
    const QStringList lstDirs = {"2013/party", "2013/secret/deep", "2013/.hidden", "misc", "Ärger/x", ".renditions/a"};
    for (const QString& strDir : lstDirs)
        QVERIFY(QDir().mkpath(strPhoto + strDir));
    QVERIFY(TestFiles::writeBytes(strPhoto + QLatin1String("2013/a_file.jpg"), "x"));

    Client client(pServer->baseUrl());
    QCOMPARE(client.login(user, QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    QCOMPARE(client.postForm(kAlbums, form).json(), reply);
}

void TestRefServerAlbums::uploadInit_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QJsonObject>("reply");

    const QString strUmlaut = QStringLiteral("/2013/trip/Ölfeld 💡.jpg");
    const QStringList lstEntries = {QStringLiteral("/2013/trip/IMG_1.JPG"),
                                    strUmlaut,
                                    QStringLiteral("/2013/trip/NEW.JPG"),
                                    QStringLiteral("/2013/secret/a.jpg"),
                                    QStringLiteral("/2013/secret/deeper/b.jpg"),
                                    QStringLiteral("//IMG_9.JPG"),
                                    QStringLiteral("//2013")};
    const QByteArray baList = lstEntries.join(QStringLiteral("/FolderDelimiter/")).toUtf8();
    const QByteArray baComma = "multipart/form-data, boundary=" + kBoundary;

    const QJsonObject annReply = {
        {"success", true},
        {"duplicated_files", QJsonArray{"/2013/trip/IMG_1.JPG", strUmlaut, "//2013"}},
        {"no_privilege_files", QJsonArray{"/2013/secret/a.jpg", "/2013/secret/deeper/b.jpg"}}};
    QTest::newRow("uploader's body") << "ann" << baComma << initBody(baList) << annReply;
    QTest::newRow("semicolon and closing delimiter")
        << "ann" << QByteArray("multipart/form-data; boundary=\"" + kBoundary + '"')
        << initBody(baList, kBoundary, true) << annReply;
    QTest::newRow("root forbidden") << "cat" << baComma << initBody(baList)
                                    << QJsonObject{{"success", true},
                                                   {"duplicated_files", annReply.value("duplicated_files")},
                                                   {"no_privilege_files", QJsonArray{"//IMG_9.JPG", "//2013"}}};
    QTest::newRow("single entry") << "ann" << baComma << initBody(strUmlaut.toUtf8())
                                  << QJsonObject{{"success", true},
                                                 {"duplicated_files", QJsonArray{strUmlaut}},
                                                 {"no_privilege_files", QJsonArray()}};
    const QJsonObject bad = {{"success", false}, {"err_msg", "bad_request"}};
    QTest::newRow("other boundary in the body") << "ann" << baComma << initBody(baList, "other") << bad;
    QTest::newRow("no boundary") << "ann" << QByteArray("multipart/form-data") << initBody(baList) << bad;
    QTest::newRow("no final delimiter") << "ann" << baComma << initBody(baList).chopped(kBoundary.size() + 4) << bad;
    QTest::newRow("form instead of multipart")
        << "ann" << QByteArray("application/x-www-form-urlencoded") << QByteArray("filelist=x") << bad;
}

void TestRefServerAlbums::uploadInit()
{
    QFETCH(QString, user);
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, body);
    QFETCH(QJsonObject, reply);

    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    const QString strTrip = pServer->root() + QLatin1String("/photo/2013/trip/");
    QVERIFY(TestFiles::writeBytes(strTrip + QLatin1String("IMG_1.JPG"), "1"));
    QVERIFY(TestFiles::writeBytes(strTrip + QStringLiteral("Ölfeld 💡.jpg"), "2"));
    QVERIFY(QDir().mkpath(pServer->root() + QLatin1String("/photo/2013/secret")));

    Client client(pServer->baseUrl());
    QCOMPARE(client.login(user, QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    const Reply result = client.init(body, contentType);
    QCOMPARE(result.json(), reply);
    // Entries travel back as the same UTF-8 bytes, not escaped.
    if (reply.value("duplicated_files").toArray().contains(QStringLiteral("/2013/trip/Ölfeld 💡.jpg")))
        QVERIFY(result.baBody.contains(QStringLiteral("Ölfeld 💡.jpg").toUtf8()));
}

void TestRefServerAlbums::duplicatePolicies_data()
{
    QTest::addColumn<QByteArray>("policy");
    QTest::addColumn<Tree>("before"); // files in 2013/trip before the upload
    QTest::addColumn<QJsonObject>("reply");
    QTest::addColumn<Tree>("after");

    const QJsonObject ok = {{"success", true}};
    const Tree two = {{"IMG_1.JPG", "old"}, {"IMG_1_1.JPG", "older"}};
    auto stored = [](const QString& strName, const Tree& others = {}) {
        Tree tree = others;
        tree.insert(strName, "new source");
        tree.insert(".renditions/" + strName + "/THUM_S.jpg", "small 2");
        tree.insert(".renditions/" + strName + "/MP4_LOW.mp4", "clip");
        return tree;
    };
    QTest::newRow("OVERWRITE") << QByteArray("OVERWRITE") << two << ok
                               << stored(QStringLiteral("IMG_1.JPG"), {{"IMG_1_1.JPG", "older"}});
    QTest::newRow("RENAME, first suffix") << QByteArray("RENAME") << Tree{{"IMG_1.JPG", "old"}} << ok
                                          << stored(QStringLiteral("IMG_1_1.JPG"), {{"IMG_1.JPG", "old"}});
    QTest::newRow("RENAME, first free suffix")
        << QByteArray("RENAME") << two << ok << stored(QStringLiteral("IMG_1_2.JPG"), two);
    QTest::newRow("SKIP") << QByteArray("SKIP") << two
                          << QJsonObject{{"success", false}, {"err_msg", "duplicated_file"}} << two;
    QTest::newRow("SKIP, name free") << QByteArray("SKIP") << Tree() << ok << stored(QStringLiteral("IMG_1.JPG"));
    QTest::newRow("RENAME, name free") << QByteArray("RENAME") << Tree() << ok << stored(QStringLiteral("IMG_1.JPG"));
}

void TestRefServerAlbums::duplicatePolicies()
{
    QFETCH(QByteArray, policy);
    QFETCH(Tree, before);
    QFETCH(QJsonObject, reply);
    QFETCH(Tree, after);

    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    const QString strTrip = pServer->root() + QLatin1String("/photo/2013/trip");
    for (auto it = before.constBegin(); it != before.constEnd(); ++it)
        QVERIFY(TestFiles::writeBytes(strTrip + QLatin1Char('/') + it.key(), it.value()));
    Client client(pServer->baseUrl());
    QCOMPARE(client.login(QStringLiteral("ann"), QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    const QString strAlbum = QStringLiteral("2013/trip");
    const QString strName = QStringLiteral("IMG_1.JPG");
    const QJsonObject ok = {{"success", true}};
    QCOMPARE(client.upload(strAlbum, strName, "THUM_S", "small 1", policy, {}, {{"X-IS-BATCH-FIRST-FILE", "1"}}).json(),
             ok);
    QCOMPARE(client.upload(strAlbum, strName, "THUM_S", "small 2", policy).json(), ok); // replaces the first
    QCOMPARE(client.upload(strAlbum, strName, "MP4_LOW", "clip", policy).json(), ok);
    // A rendition of another file stays pending and is not stored with this one.
    QCOMPARE(client.upload(strAlbum, QStringLiteral("OTHER.JPG"), "THUM_S", "other", policy).json(), ok);
    const Reply result = client.upload(strAlbum, strName, "ORIG_FILE", "new source", policy, {},
                                       {{"X-IS-BATCH-LAST-FILE", "1"}, {"X-LAST-MODIFIED-TIME", "1700000000"}});
    QCOMPARE(result.json(), reply);
    QCOMPARE(treeOf(strTrip), after);
    if (reply.value("success").toBool()) {
        const QString strStored = after.key("new source");
        QCOMPARE(QFileInfo(strTrip + QLatin1Char('/') + strStored).lastModified().toSecsSinceEpoch(), 1700000000);
    }
}

void TestRefServerAlbums::folderCreation_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("album");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QJsonObject>("reply");
    QTest::addColumn<QString>("made"); // album that exists afterwards; empty: nothing new

    const QJsonObject ok = {{"success", true}};
    QTest::newRow("PUT new") << QByteArray("PUT") << "ann"
                             << "2013"
                             << "party" << ok << "2013/party";
    QTest::newRow("PUT existing") << QByteArray("PUT") << "ann"
                                  << "2013"
                                  << "trip" << ok << "2013/trip";
    QTest::newRow("PUT non-ASCII into the root")
        << QByteArray("PUT") << "ann"
        << "" << QStringLiteral("Été 2014") << ok << QStringLiteral("Été 2014");
    QTest::newRow("POST new") << QByteArray("POST") << "ann"
                              << "2013/trip"
                              << "day 1" << QJsonObject{{"success", true}, {"duplicate_folder", false}}
                              << "2013/trip/day 1";
    QTest::newRow("POST existing") << QByteArray("POST") << "ann"
                                   << "2013"
                                   << "trip" << QJsonObject{{"success", true}, {"duplicate_folder", true}}
                                   << "2013/trip";
    QTest::newRow("album missing") << QByteArray("PUT") << "ann"
                                   << "2013/nope"
                                   << "x"
                                   << QJsonObject{{"success", false}, {"err_msg", "target_folder_not_found_/2013/nope"}}
                                   << "";
    QTest::newRow("root missing for a name")
        << QByteArray("POST") << "ann"
        << "nope"
        << "x" << QJsonObject{{"success", false}, {"err_msg", "target_folder_not_found_/nope"}} << "";
    QTest::newRow("forbidden album") << QByteArray("PUT") << "ann"
                                     << "2013/secret"
                                     << "x" << QJsonObject{{"success", false}, {"err_msg", "no_privilege"}} << "";
    QTest::newRow("forbidden new album") << QByteArray("POST") << "ann"
                                         << "2013"
                                         << "secret" << QJsonObject{{"success", false}, {"err_msg", "no_privilege"}}
                                         << "";
    QTest::newRow("forbidden root") << QByteArray("POST") << "cat"
                                    << ""
                                    << "x" << QJsonObject{{"success", false}, {"err_msg", "no_privilege"}} << "";
    QTest::newRow("hidden name") << QByteArray("PUT") << "ann"
                                 << "2013"
                                 << ".x" << QJsonObject{{"success", false}, {"err_msg", "bad_dir_name_.x"}} << "";
    QTest::newRow("slash in name") << QByteArray("POST") << "ann"
                                   << "2013"
                                   << "a/b" << QJsonObject{{"success", false}, {"err_msg", "bad_dir_name_a/b"}} << "";
}

void TestRefServerAlbums::folderCreation()
{
    QFETCH(QByteArray, method);
    QFETCH(QString, user);
    QFETCH(QString, album);
    QFETCH(QString, name);
    QFETCH(QJsonObject, reply);
    QFETCH(QString, made);

    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    const QString strPhoto = pServer->root() + QLatin1String("/photo");
    QVERIFY(QDir().mkpath(strPhoto + QLatin1String("/2013/secret")));
    Client client(pServer->baseUrl());
    QCOMPARE(client.login(user, QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    const QList<Header> lstHeaders = {{"X-PATH", ' ' + pct(album)},
                                      {"X-DUPLICATE", "SKIP"},
                                      {"X-ORIG-FNAME", ' ' + pct(name)},
                                      {"X-UPLOAD-TYPE", "FOLDER"}};
    QCOMPARE(client.send(method, kUpload, lstHeaders, QByteArray()).json(), reply);

    QStringList lstAlbums;
    QDirIterator it(strPhoto, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        lstAlbums.append(QDir(strPhoto).relativeFilePath(it.next()));
    QStringList lstExpected = {QStringLiteral("2013"), QStringLiteral("2013/secret"), QStringLiteral("2013/trip")};
    if (!made.isEmpty() && !lstExpected.contains(made))
        lstExpected.append(made);
    lstAlbums.sort();
    lstExpected.sort();
    QCOMPARE(lstAlbums, lstExpected);
}

void TestRefServerAlbums::pathTraversalRejected_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("xPath");
    QTest::addColumn<QByteArray>("xName");
    QTest::addColumn<QString>("errMsg");

    const QString strBadFile = QStringLiteral("bad_file_name");
    QTest::newRow("album ..") << QByteArray("ORIG_FILE") << QByteArray(" ..%2F..") << QByteArray(" evil.jpg")
                              << strBadFile;
    QTest::newRow("album climbs after a real one")
        << QByteArray("ORIG_FILE") << QByteArray(" 2013%2F..%2F..%2F..") << QByteArray(" evil.jpg") << strBadFile;
    QTest::newRow("absolute album") << QByteArray("ORIG_FILE") << QByteArray(" %2F..%2Fetc") << QByteArray(" evil.jpg")
                                    << strBadFile;
    QTest::newRow("name with ../") << QByteArray("ORIG_FILE") << QByteArray(" 2013") << QByteArray(" ..%2Fevil.jpg")
                                   << strBadFile;
    QTest::newRow("name with backslash") << QByteArray("ORIG_FILE") << QByteArray(" 2013")
                                         << QByteArray(" ..%5C..%5Cevil.jpg") << strBadFile;
    QTest::newRow("name ..") << QByteArray("ORIG_FILE") << QByteArray(" 2013") << QByteArray(" ..") << strBadFile;
    QTest::newRow("hidden name") << QByteArray("ORIG_FILE") << QByteArray(" 2013") << QByteArray(" .evil")
                                 << strBadFile;
    QTest::newRow("NUL in name") << QByteArray("ORIG_FILE") << QByteArray(" 2013") << QByteArray(" evil%00.jpg")
                                 << strBadFile;
    QTest::newRow("empty name") << QByteArray("ORIG_FILE") << QByteArray(" 2013") << QByteArray(" ") << strBadFile;
    QTest::newRow("into the renditions folder")
        << QByteArray("ORIG_FILE") << QByteArray(" .renditions") << QByteArray(" evil.jpg") << strBadFile;
    QTest::newRow("rendition climbing") << QByteArray("THUM_S") << QByteArray(" %2E%2E") << QByteArray(" evil.jpg")
                                        << strBadFile;
    QTest::newRow("folder ..") << QByteArray("FOLDER") << QByteArray(" 2013") << QByteArray(" ..")
                               << QStringLiteral("bad_dir_name_..");
    QTest::newRow("folder below ..") << QByteArray("FOLDER") << QByteArray(" ..%2F..") << QByteArray(" evil")
                                     << QStringLiteral("bad_dir_name_evil");
}

void TestRefServerAlbums::pathTraversalRejected()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, xPath);
    QFETCH(QByteArray, xName);
    QFETCH(QString, errMsg);

    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    QVERIFY(QDir().mkpath(pServer->root() + QLatin1String("/photo/.renditions")));
    Client client(pServer->baseUrl());
    QCOMPARE(client.login(QStringLiteral("admin"), QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    const Reply reply =
        client.send("PUT", kUpload,
                    {{"X-PATH", xPath}, {"X-DUPLICATE", "OVERWRITE"}, {"X-ORIG-FNAME", xName}, {"X-UPLOAD-TYPE", type}},
                    "EVIL BODY");
    QCOMPARE(reply.json(), (QJsonObject{{"success", false}, {"err_msg", errMsg}}));
    // A following source upload of the same name must not pick up a rendition either.
    QDirIterator it(env.root(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString strPath = it.next();
        QVERIFY2(!strPath.contains(QLatin1String("evil")), qPrintable(strPath));
        if (QFileInfo(strPath).isFile())
            QVERIFY2(TestFiles::readBytes(strPath) != "EVIL BODY", qPrintable(strPath));
    }
}

void TestRefServerAlbums::personalPictariumStoresApart()
{
    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    const QString strPersonal = pServer->root() + QLatin1String("/personal/ann/photo");
    QVERIFY(QDir(strPersonal).exists());
    QVERIFY(QDir().mkpath(strPersonal + QLatin1String("/holiday")));

    Client client(pServer->baseUrl());
    QCOMPARE(client.login(QStringLiteral("ann"), QStringLiteral("pw"), QStringLiteral("/~ann")).json().value("success"),
             QJsonValue(true));
    QCOMPARE(client.albumList(QStringLiteral("/~ann")).json().value("uploadable_albums"),
             QJsonValue(QJsonArray{"holiday"}));
    QCOMPARE(
        client
            .upload(QStringLiteral("holiday"), QStringLiteral("P.JPG"), "THUM_M", "m", "SKIP", QStringLiteral("/~ann"))
            .json()
            .value("success"),
        QJsonValue(true));
    QCOMPARE(client
                 .upload(QStringLiteral("holiday"), QStringLiteral("P.JPG"), "ORIG_FILE", "p", "SKIP",
                         QStringLiteral("/~ann"))
                 .json()
                 .value("success"),
             QJsonValue(true));
    QCOMPARE(treeOf(pServer->root() + QLatin1String("/personal")),
             (Tree{{"ann/photo/holiday/P.JPG", "p"}, {"ann/photo/holiday/.renditions/P.JPG/THUM_M.jpg", "m"}}));
    QCOMPARE(treeOf(pServer->root() + QLatin1String("/photo")), Tree());
}

QTEST_GUILESS_MAIN(TestRefServerAlbums)
#include "tst_refserver_albums.moc"
