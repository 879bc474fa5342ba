#include "RefServerTestBase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QtTest>

#include <cstring>

// The reference server writes a large upload out without holding it: a memory figure, so this
// test is left out where the sanitizers' own bookkeeping would be measured.
class TestRefServerMemory : public RefServerTestBase
{
    Q_OBJECT

private Q_SLOTS:
    void largeUploadKeepsServerMemorySmall();
};

void TestRefServerMemory::largeUploadKeepsServerMemorySmall()
{
    constexpr qint64 kBlock = 1 << 20;
    constexpr int kBlocks = 1024;
    TestEnvironment env;
    const auto pServer = startServer(env);
    QVERIFY(pServer);
    const QString strSource = env.tempDir() + QLatin1String("/big.bin");
    const QString strStored = pServer->root() + QLatin1String("/photo/big.bin");
    const auto cleanup = qScopeGuard([&] {
        QFile::remove(strSource);
        QFile::remove(strStored);
    });

    // 1 GiB from one random block, each copy stamped with its number, hashed as it is written.
    QByteArray baBlock(kBlock, Qt::Uninitialized);
    QRandomGenerator generator(20240501);
    generator.fillRange(reinterpret_cast<quint32*>(baBlock.data()), kBlock / 4);
    QCryptographicHash sourceHash(QCryptographicHash::Sha256);
    {
        QFile source(strSource);
        QVERIFY(source.open(QIODevice::WriteOnly));
        for (int i = 0; i < kBlocks; ++i) {
            std::memcpy(baBlock.data(), &i, sizeof(i));
            QCOMPARE(source.write(baBlock), kBlock);
            sourceHash.addData(baBlock);
        }
    }

    Client client(pServer->baseUrl());
    QCOMPARE(client.login(QStringLiteral("admin"), QStringLiteral("pw")).json().value("success"), QJsonValue(true));
    QFile source(strSource);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const Reply reply =
        client.upload(QString(), QStringLiteral("big.bin"), "ORIG_FILE", QByteArray(), "OVERWRITE", {}, {}, &source);
    QCOMPARE(reply.json(), (QJsonObject{{"success", true}}));

    const qint64 iPeakKiB = procStatusKiB(pServer->pid(), "VmHWM");
    qInfo("server peak resident memory: %lld KiB", iPeakKiB);
    QVERIFY2(iPeakKiB > 0 && iPeakKiB < 100 * 1000, qPrintable(QString::number(iPeakKiB)));

    QCOMPARE(QFileInfo(strStored).size(), kBlock * kBlocks);
    QFile stored(strStored);
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCryptographicHash storedHash(QCryptographicHash::Sha256);
    QVERIFY(storedHash.addData(&stored));
    QCOMPARE(storedHash.result().toHex(), sourceHash.result().toHex());
    QCOMPARE(pServer->journalFor(kUpload).constLast().value("body_sha256").toString().toLatin1(),
             sourceHash.result().toHex());
}

QTEST_GUILESS_MAIN(TestRefServerMemory)
#include "tst_refserver_memory.moc"
