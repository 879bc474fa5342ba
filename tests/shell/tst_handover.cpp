#include "HandOverFile.h"
#include "TestEnvironment.h"

#include <QtTest>

class TestHandOver : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void atoiText_data();
    void atoiText();
    void readCountedList_data();
    void readCountedList();
    void missingFile();
    void writeCountedList();

private:
    TestEnvironment m_env;
};

void TestHandOver::atoiText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");

    QTest::newRow("abc") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("leading blank, trailing letter") << " 2x" << 2;
    QTest::newRow("tab and newline") << "\t\n 7" << 7;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("plus") << "+8" << 8;
    QTest::newRow("twelve") << "12" << 12;
    QTest::newRow("sign only") << "-" << 0;
    QTest::newRow("blank after sign") << "- 3" << 0;
    QTest::newRow("leading zeros") << "0004" << 4;
    QTest::newRow("decimal point") << "3.9" << 3;
    QTest::newRow("overflow clamps") << "99999999999999999999" << INT_MAX;
    QTest::newRow("underflow clamps") << "-99999999999999999999" << INT_MIN;
    QTest::newRow("full-width digit is not a digit") << QString::fromUtf8("\xef\xbc\x93") << 0;
}

void TestHandOver::atoiText()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(HandOverFile::atoiText(text), value);
}

void TestHandOver::readCountedList_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");

    const QString strAe = QString::fromUtf8("/home/ann/Fotos/\xc3\x84pfel \xe6\x97\xa5\xe6\x9c\xac.jpg");
    QTest::newRow("plain LE") << TestFiles::utf16le("2\n/a/b.jpg\n/a/c\n") << QStringList({"/a/b.jpg", "/a/c"});
    QTest::newRow("LE BOM") << QByteArray("\xFF\xFE", 2) + TestFiles::utf16le("1\n/x.png\n") << QStringList({"/x.png"});
    QByteArray baBe;
    for (QChar c : QStringLiteral("1\n/be.png\n"))
        baBe.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xff));
    QTest::newRow("BE BOM") << QByteArray("\xFE\xFF", 2) + baBe << QStringList({"/be.png"});
    QTest::newRow("non-ASCII") << TestFiles::utf16le("1\n" + strAe + "\n") << QStringList({strAe});
    QTest::newRow("CR LF") << TestFiles::utf16le("2\r\n/a\r\n/b\r\n") << QStringList({"/a", "/b"});
    QTest::newRow("no last line feed") << TestFiles::utf16le("2\n/a\n/b") << QStringList({"/a", "/b"});
    QTest::newRow("odd byte count") << TestFiles::utf16le("1\n/a\n") + QByteArray("\x41", 1) << QStringList({"/a"});
    // One CR goes with each line end, also at the end of the file: a second one stays (found by
    // fuzzing; no writer lists a name ending in CR).
    QTest::newRow("CR before CR LF, CR at the end")
        << TestFiles::utf16le("2\r\n/a\r\r\n/b\r") << QStringList({"/a\r", "/b"});
    QTest::newRow("count larger than lines") << TestFiles::utf16le("5\n/a\n/b\n") << QStringList({"/a", "/b"});
    QTest::newRow("count smaller than lines") << TestFiles::utf16le("1\n/a\n/b\n") << QStringList({"/a"});
    QTest::newRow("count not a number") << TestFiles::utf16le("x\n/a\n") << QStringList();
    QTest::newRow("negative count") << TestFiles::utf16le("-2\n/a\n") << QStringList();
    QTest::newRow("count with blanks") << TestFiles::utf16le(" 2 \n/a\n/b\n") << QStringList({"/a", "/b"});
    QTest::newRow("blank entry dropped") << TestFiles::utf16le("3\n/a\n\n/c\n") << QStringList({"/a", "/c"});
    QTest::newRow("path with blanks kept whole") << TestFiles::utf16le("1\n /a b /\n") << QStringList({" /a b /"});
    QTest::newRow("empty file") << QByteArray() << QStringList();
}

void TestHandOver::readCountedList()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);

    const QString strPath = m_env.root() + QLatin1String("/FileList");
    QVERIFY(TestFiles::writeBytes(strPath, bytes));
    QStringList lstRead;
    QVERIFY(HandOverFile::readCountedList(strPath, lstRead));
    QCOMPARE(lstRead, entries);
}

void TestHandOver::missingFile()
{
    QStringList lstRead{"stale"};
    QVERIFY(!HandOverFile::readCountedList(m_env.root() + QLatin1String("/nothing"), lstRead));
    QVERIFY(lstRead.isEmpty());
}

void TestHandOver::writeCountedList()
{
    const QString strPath = m_env.root() + QLatin1String("/ShortCutList");
    QVERIFY(TestFiles::writeBytes(strPath, QByteArray(1000, 'x')));
    const QString strName = QString::fromUtf8("Gr\xc3\xb6\xc3\x9f" "e");
    QVERIFY(HandOverFile::writeCountedList(strPath, {strName, QStringLiteral("a")}));

    QByteArray baExpected;
    for (QChar c : QString(QStringLiteral("2\n") + strName + QStringLiteral("\na\n")))
        baExpected.append(char(c.unicode() & 0xff)).append(char(c.unicode() >> 8));
    QCOMPARE(TestFiles::readBytes(strPath), baExpected);

    QVERIFY(HandOverFile::writeCountedList(strPath, {}));
    QCOMPARE(TestFiles::readBytes(strPath), QByteArray("0\0\n\0", 4));
}

QTEST_GUILESS_MAIN(TestHandOver)
#include "tst_handover.moc"
