// The help page: where it comes from and how a "?" picture opens it.

#include "HelpPage.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QUrl>

class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }
};

class TestHelpPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void builtInCopyOpensOnClick();

private:
    TestEnvironment m_env;
};

// Not installed beside the test program, so the data folder gets the built-in page; a copy that
// differs from it is written anew, and a click (not a hover, not another button) opens it.
void TestHelpPage::builtInCopyOpensOnClick()
{
    QFile builtIn(QStringLiteral(":/help/index.html"));
    QVERIFY(builtIn.open(QIODevice::ReadOnly));
    const QByteArray baPage = builtIn.readAll();
    QVERIFY(baPage.contains("<h2 id=\"accounts\">"));

    const QString strPath = HelpPage::filePath();
    QVERIFY(strPath.startsWith(m_env.dataHome()));
    QCOMPARE(TestFiles::readBytes(strPath), baPage);
    QVERIFY(TestFiles::writeBytes(strPath, "stale"));
    QCOMPARE(HelpPage::filePath(), strPath);
    QCOMPARE(TestFiles::readBytes(strPath), baPage);

    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    QLabel icon;
    HelpPage::attach(&icon);
    icon.setToolTip(QStringLiteral("tip"));
    icon.resize(20, 20);
    icon.show();
    QTest::mouseMove(&icon);
    QTest::mouseClick(&icon, Qt::RightButton);
    QVERIFY(recorder.urls.isEmpty());
    QTest::mouseClick(&icon, Qt::LeftButton);
    QCOMPARE(recorder.urls, QList<QUrl>{QUrl::fromLocalFile(strPath)});
    QCOMPARE(icon.toolTip(), QStringLiteral("tip"));
    QCOMPARE(icon.cursor().shape(), Qt::PointingHandCursor);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

QTEST_MAIN(TestHelpPage)
#include "tst_helppage.moc"
