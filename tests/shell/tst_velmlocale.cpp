#include "TestEnvironment.h"
#include "VelmLocale.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

QStringList s_debugLines;

void captureDebug(QtMsgType type, const QMessageLogContext&, const QString& strMessage)
{
    if (type == QtDebugMsg)
        s_debugLines.append(strMessage);
}

} // namespace

class TestVelmLocale : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void systemLanguage_data();
    void systemLanguage();
    void diagnosticLines();
    void configuredLanguage_data();
    void configuredLanguage();
    void englishTable();
    void germanCatalogue();
    void untranslatedFallsBackToEnglish();
    void countedTexts_data();
    void countedTexts();
    void catalogues_data();
    void catalogues();
    void englishCatalogueMatchesSources();

private:
    TestEnvironment m_env;
};

void TestVelmLocale::systemLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("code");

    QTest::newRow("en_US") << "en_US" << "enu";
    QTest::newRow("zh_TW") << "zh_TW" << "cht";
    QTest::newRow("zh_HK") << "zh_HK" << "cht";
    QTest::newRow("zh_MO") << "zh_MO" << "cht";
    QTest::newRow("zh_SG") << "zh_SG" << "chs";
    QTest::newRow("zh_CN") << "zh_CN" << "chs";
    QTest::newRow("zh") << "zh" << "chs";
    QTest::newRow("ja_JP") << "ja_JP" << "jpn";
    QTest::newRow("de_AT") << "de_AT" << "deu";
    QTest::newRow("ko_KR") << "ko_KR" << "krn";
    QTest::newRow("fr_CA") << "fr_CA" << "fra";
    QTest::newRow("it_IT") << "it_IT" << "ita";
    QTest::newRow("es_MX") << "es_MX" << "esn";
    QTest::newRow("pt_BR") << "pt_BR" << "ptb";
    QTest::newRow("pt_PT") << "pt_PT" << "ptg";
    QTest::newRow("pt") << "pt" << "ptg";
    QTest::newRow("pt_AO") << "pt_AO" << "ptb";
    QTest::newRow("ru_RU") << "ru_RU" << "rus";
    QTest::newRow("da_DK") << "da_DK" << "dan";
    QTest::newRow("no_NO") << "no_NO" << "nor";
    QTest::newRow("nb_NO") << "nb_NO" << "nor";
    QTest::newRow("nn_NO") << "nn_NO" << "nor";
    QTest::newRow("sv_SE") << "sv_SE" << "sve";
    QTest::newRow("nl_BE") << "nl_BE" << "nld";
    QTest::newRow("pl_PL") << "pl_PL" << "plk";
    QTest::newRow("hu_HU") << "hu_HU" << "hun";
    QTest::newRow("tr_TR") << "tr_TR" << "trk";
    QTest::newRow("cs_CZ") << "cs_CZ" << "csy";
    QTest::newRow("el_GR") << "el_GR" << "enu";
    QTest::newRow("C") << "C" << "enu";
    QTest::newRow("empty") << "" << "enu";
}

void TestVelmLocale::systemLanguage()
{
    QFETCH(QString, locale);
    QFETCH(QString, code);

    // Every language of the table has its catalogue.
    QVERIFY(QFile::exists(QLatin1String(":/") + code + QLatin1String(".qm")));
    QCOMPARE(VelmLocale::systemLanguage(locale), code);
}

void TestVelmLocale::diagnosticLines()
{
    s_debugLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureDebug);
    VelmLocale::systemLanguage(QStringLiteral("de_DE"));
    VelmLocale::systemLanguage(QStringLiteral("el_GR"));
    qInstallMessageHandler(previous);

    QCOMPARE(s_debugLines.size(), 6);
    const QRegularExpression re(QStringLiteral("^src\\\\VelmLocale:\\d+ (\\w+)=\\[(.*)\\] $"));
    QStringList lstValues;
    for (const QString& strLine : std::as_const(s_debugLines)) {
        const QRegularExpressionMatch match = re.match(strLine);
        QVERIFY2(match.hasMatch(), qPrintable(strLine));
        lstValues.append(match.captured(2));
    }
    QCOMPARE(lstValues, QStringList({"de_de", ":/deu.qm", "deu", "el_gr", ":/enu.qm", "enu"}));
}

void TestVelmLocale::configuredLanguage_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("configured");
    QTest::addColumn<bool>("followsSystem");

    QTest::newRow("deu") << "deu" << "deu" << false;
    QTest::newRow("enu") << "enu" << "enu" << false;
    QTest::newRow("def") << "def" << "def" << true;
    QTest::newRow("no catalogue") << "xyz" << "def" << true;
    QTest::newRow("empty") << "" << "def" << true;
}

void TestVelmLocale::configuredLanguage()
{
    QFETCH(QString, setting);
    QFETCH(QString, configured);
    QFETCH(bool, followsSystem);

    m_env.setUiLanguage(setting);
    VelmSettings settings;
    QCOMPARE(settings.uiLanguage(), setting);
    QCOMPARE(VelmLocale::configuredLanguage(settings), configured);
    const QString strExpected =
        followsSystem ? VelmLocale::systemLanguage(QLocale::system().name()) : configured;
    QCOMPARE(VelmLocale::currentLanguage(settings), strExpected);
    QCOMPARE(VelmLocale::translationCatalog(settings), QLatin1String(":/") + strExpected + QLatin1String(".qm"));
}

void TestVelmLocale::englishTable()
{
    QFile file(QStringLiteral(TEST_DATA_DIR "/messages_en.tsv"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::Utf8);
    int iRow = 0;
    VelmLocale::fillMessageTable();
    while (!stream.atEnd()) {
        const QStringList lstFields = stream.readLine().split(QLatin1Char('\t'));
        QCOMPARE(lstFields.size(), 2);
        QVERIFY(iRow < VelmLocale::messageCount());
        // Line breaks inside a text are written \n in the file.
        const QString strEnglish = QString(lstFields.at(1)).replace(QLatin1String("\\n"), QLatin1String("\n"));
        QCOMPARE(QString::fromLatin1(VelmLocale::messageKey(iRow)), lstFields.at(0));
        QCOMPARE(QString::fromUtf8(VelmLocale::messageEnglish(iRow)), strEnglish);
        QCOMPARE(VelmLocale::message(VelmLocale::messageKey(iRow)), strEnglish);
        ++iRow;
    }
    QCOMPARE(iRow, 184);
    QCOMPARE(VelmLocale::messageCount(), 184);
}

void TestVelmLocale::germanCatalogue()
{
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/deu.qm")));
    QVERIFY(!translator.isEmpty());
    QCoreApplication::installTranslator(&translator);
    VelmLocale::fillMessageTable();

    QCOMPARE(VelmLocale::message("err_bad_port"), QStringLiteral("Die Portnummer muss zwischen 1 und 65535 liegen."));
    // Every message has a German text, and placeholders survive translation.
    for (int i = 0; i < VelmLocale::messageCount(); ++i) {
        const QString strEnglish = QString::fromUtf8(VelmLocale::messageEnglish(i));
        const QString strGerman = VelmLocale::message(VelmLocale::messageKey(i));
        QVERIFY2(!strGerman.isEmpty(), VelmLocale::messageKey(i));
        QCOMPARE(strGerman.count(QLatin1String("%1")), strEnglish.count(QLatin1String("%1")));
    }
    // Line breaks of a text survive its translation.
    QCOMPARE(VelmLocale::message("err_cert_changed").count(QLatin1Char('\n')), 8);

    QCoreApplication::removeTranslator(&translator);
    VelmLocale::fillMessageTable();
    QCOMPARE(VelmLocale::message("err_bad_port"), QStringLiteral("The port number must be between 1 and 65535."));
}

void TestVelmLocale::untranslatedFallsBackToEnglish()
{
    // Without a catalogue the table holds the English texts; an unknown key shows itself.
    VelmLocale::fillMessageTable();
    QCOMPARE(VelmLocale::message("err_error"), QStringLiteral("Error"));
    QCOMPARE(VelmLocale::message("no_such_key"), QStringLiteral("no_such_key"));
}

void TestVelmLocale::countedTexts_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    auto row = [](const char* pszCode, const char* pszKey, int iCount, const QString& strExpected) {
        QTest::addRow("%s %s %d", pszCode, pszKey, iCount)
            << QString::fromLatin1(pszCode) << QByteArray(pszKey) << iCount << strExpected;
    };
    row("enu", "upload_finish_files", 1, QStringLiteral("1 file"));
    row("enu", "upload_finish_files", 0, QStringLiteral("0 files"));
    row("enu", "upload_finish_files", 22, QStringLiteral("22 files"));
    row("enu", "upload_prog_count", 1, QStringLiteral("%1 of 1 file"));
    row("enu", "upload_cfrm_stop", 1,
        QStringLiteral("Stop the upload? 1 file is on the server; the rest will not be sent."));
    row("enu", "create_svr_profname_limit", 32, QStringLiteral("At most 32 characters"));
    row("deu", "upload_finish_files", 1, QStringLiteral("1 Datei"));
    row("deu", "upload_finish_files", 3, QStringLiteral("3 Dateien"));
    row("rus", "upload_finish_files", 21, QStringLiteral("21 файл"));
    row("rus", "upload_finish_files", 22, QStringLiteral("22 файла"));
    row("rus", "upload_finish_files", 25, QStringLiteral("25 файлов"));
    row("jpn", "upload_finish_files", 1, QStringLiteral("1 個のファイル"));
    row("jpn", "upload_finish_files", 7, QStringLiteral("7 個のファイル"));
}

// Counted texts take the form the language uses for the number; the English settings title is
// spelt right although its source keeps the old spelling.
void TestVelmLocale::countedTexts()
{
    QFETCH(QString, code);
    QFETCH(QByteArray, key);
    QFETCH(int, count);
    QFETCH(QString, expected);
    QTranslator translator;
    QVERIFY(translator.load(QLatin1String(":/") + code + QLatin1String(".qm")));
    QCoreApplication::installTranslator(&translator);
    const QString strCounted = VelmLocale::plural(key.constData(), count);
    const QString strTitle = QCoreApplication::translate("ServerSettings", "Pictarium Uplaoder Settings");
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(strCounted, expected);
    if (code == QLatin1String("enu"))
        QCOMPARE(strTitle, QStringLiteral("Pictarium Uploader Settings"));
    QVERIFY(!strTitle.contains(QLatin1String("Uplaoder")));
}

namespace {

// A text's shape that a translation must keep: placeholders, tags and line breaks.
QStringList shape(const QString& strText)
{
    static const QRegularExpression s_parts(QStringLiteral("%[1-9]|<[^>]+>|\\\\n|\n"));
    QStringList lstParts;
    for (auto it = s_parts.globalMatch(strText); it.hasNext();)
        lstParts << it.next().captured().replace(QLatin1String("\\n"), QLatin1String("\n"));
    lstParts.sort();
    return lstParts;
}

using TextSet = QSet<QPair<QString, QString>>; // context, source

// (context, source) of every message of a .ts file; pstrProblem names an entry that is not
// finished.
TextSet catalogueTexts(const QString& strPath, QString* pstrProblem)
{
    TextSet texts;
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *pstrProblem = QStringLiteral("cannot read ") + strPath;
        return texts;
    }
    QXmlStreamReader xml(&file);
    QString strContext;
    QString strSource;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            strContext = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            strSource = xml.readElementText();
            texts.insert({strContext, strSource});
        } else if (xml.name() == QLatin1String("translation")) {
            const QString strType = xml.attributes().value(QLatin1String("type")).toString();
            if (!strType.isEmpty() && pstrProblem->isEmpty())
                *pstrProblem = strType + QLatin1String(": ") + strSource;
        }
    }
    if (xml.hasError())
        *pstrProblem = xml.errorString();
    return texts;
}

} // namespace

void TestVelmLocale::catalogues_data()
{
    QTest::addColumn<QString>("code");
    for (const char* pszCode : {"enu", "cht", "chs", "jpn", "deu", "krn", "fra", "ita", "esn", "ptb", "ptg", "rus",
                                "dan", "nor", "sve", "nld", "plk", "hun", "trk", "csy"})
        QTest::newRow(pszCode) << QString::fromLatin1(pszCode);
}

// Every catalogue holds every message and form text the program has (the English one is
// checked against the sources by lupdate), each finished and with the English text's
// placeholders, tags and line breaks.
void TestVelmLocale::catalogues()
{
    QFETCH(QString, code);
    const QString strDir = QStringLiteral(PICTARIUM_TRANSLATIONS_DIR);
    QString strProblem;
    const TextSet english = catalogueTexts(strDir + QLatin1String("/enu.ts"), &strProblem);
    QVERIFY2(strProblem.isEmpty(), qPrintable(strProblem));
    const TextSet texts = catalogueTexts(strDir + QLatin1Char('/') + code + QLatin1String(".ts"), &strProblem);
    QVERIFY2(strProblem.isEmpty(), qPrintable(strProblem));
    QCOMPARE(texts, english);
    for (int i = 0; i < VelmLocale::messageCount(); ++i)
        QVERIFY2(english.contains({QStringLiteral("global"), QString::fromUtf8(VelmLocale::messageEnglish(i))}),
                 VelmLocale::messageKey(i));

    // Qt's own texts in the same language; English needs none, and Qt ships no Swedish one.
    QTranslator qtTranslator;
    QCOMPARE(VelmLocale::loadQtCatalog(qtTranslator, code), code != QLatin1String("sve") && code != QLatin1String("enu"));
    if (code == QLatin1String("deu"))
        QCOMPARE(qtTranslator.translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));

    QTranslator translator;
    QVERIFY(translator.load(QLatin1String(":/") + code + QLatin1String(".qm")));
    for (const auto& text : english) {
        const QString strTranslated =
            translator.translate(text.first.toUtf8().constData(), text.second.toUtf8().constData());
        const QByteArray baWhere = (text.first + QLatin1String(": ") + text.second).toUtf8();
        QVERIFY2(!strTranslated.trimmed().isEmpty(), baWhere.constData());
        QVERIFY2(shape(strTranslated) == shape(text.second),
                 QByteArray(baWhere + " -> " + strTranslated.toUtf8()).constData());
    }
}

// The English catalogue lists exactly the texts the sources mark for translation.
void TestVelmLocale::englishCatalogueMatchesSources()
{
    QTemporaryDir dir;
    const QString strTs = dir.filePath(QStringLiteral("sources.ts"));
    QProcess lupdate;
    lupdate.start(QStringLiteral(PICTARIUM_LUPDATE),
                  {QStringLiteral(PICTARIUM_SOURCE_DIR "/src"), QStringLiteral(PICTARIUM_SOURCE_DIR "/forms"),
                   QStringLiteral("-ts"), strTs, QStringLiteral("-silent")});
    QVERIFY(lupdate.waitForFinished(120000));
    QCOMPARE(lupdate.exitCode(), 0);
    QString strProblem;
    TextSet sources = catalogueTexts(strTs, &strProblem);
    const TextSet english = catalogueTexts(QStringLiteral(PICTARIUM_TRANSLATIONS_DIR "/enu.ts"), &strProblem);
    QCOMPARE(sources, english);
}

QTEST_GUILESS_MAIN(TestVelmLocale)
#include "tst_velmlocale.moc"
