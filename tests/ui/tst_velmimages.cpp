// Pictures for screens at 200 %: the @2x partner is chosen and has twice the pixels.

#include "VelmImages.h"

#include <QApplication>
#include <QDir>
#include <QTest>

class TestVelmImages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pixmap_data();
    void pixmap();
};

void TestVelmImages::pixmap_data()
{
    QTest::addColumn<QString>("strPath");
    QTest::addColumn<bool>("blDouble");
    QStringList lstNames = {QStringLiteral("bt_edit.png"),       QStringLiteral("bt_edit_hover.png"),
                            QStringLiteral("bt_del.png"),        QStringLiteral("bt_del_hover.png"),
                            QStringLiteral("bt_help.png"),       QStringLiteral("icon_sort_asc.png"),
                            QStringLiteral("icon_sort_des.png"), QStringLiteral("hint.png")};
    for (const char* pszState : {"normal", "hover", "action"})
        for (int iPart = 1; iPart <= 3; ++iPart)
            lstNames.append(QStringLiteral("bt_create_%1%2.png").arg(QLatin1String(pszState)).arg(iPart));
    for (const char* pszLanguage : {"cht", "deu", "esn", "fra", "jpn", "krn", "nld", "ptg"})
        lstNames.append(QStringLiteral("hint_%1.png").arg(QLatin1String(pszLanguage)));
    // Any other @2x picture must fit its partner too.
    const QStringList lstDouble = QDir(QStringLiteral(":/images")).entryList({QStringLiteral("*@2x.png")});
    for (QString strName : lstDouble)
        if (!lstNames.contains(strName.remove(QLatin1String("@2x"))))
            lstNames.append(strName);
    for (const QString& strName : std::as_const(lstNames))
        QTest::newRow(qPrintable(strName)) << QStringLiteral(":/images/") + strName << true;
    QTest::newRow("bg_create.png (none)") << QStringLiteral(":/images/bg_create.png") << false;
}

void TestVelmImages::pixmap()
{
    QFETCH(QString, strPath);
    QFETCH(bool, blDouble);
    const QPixmap single(strPath);
    QVERIFY(!single.isNull());

    // main() puts every screen at 200 %.
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    const QPixmap chosen = VelmImages::pixmap(strPath);
    QCOMPARE(chosen.devicePixelRatio(), blDouble ? 2.0 : 1.0);
    QCOMPARE(chosen.size(), blDouble ? single.size() * 2 : single.size());
    QCOMPARE(chosen.deviceIndependentSize(), QSizeF(single.size()));
    if (blDouble)
        QCOMPARE(chosen.toImage(), QPixmap(VelmImages::doublePath(strPath)).toImage());

    const QPixmap plain = VelmImages::pixmap(strPath, 1.0);
    QCOMPARE(plain.devicePixelRatio(), 1.0);
    QCOMPARE(plain.toImage(), single.toImage());
}

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestVelmImages test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_velmimages.moc"
