#include "CertificatePins.h"

#include "VelmDatabase.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <cctype>

namespace CertificatePins {

namespace {

// Host names are matched without letter case; an IPv6 literal may come with brackets.
QString hostKey(const QString& strHost)
{
    QString strKey = strHost.trimmed().toLower();
    if (strKey.startsWith(QLatin1Char('[')) && strKey.endsWith(QLatin1Char(']')))
        strKey = strKey.mid(1, strKey.size() - 2);
    return strKey;
}

} // namespace

Pin pinFor(const QString& strHost, int iPort)
{
    Pin pin;
    // A lookup never creates the table.
    if (!VelmDatabase::tableExists(VelmDatabase::ServerCertificates))
        return pin;
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("select keysha256, pinned from ServerCertificates where hostaddr = ? and port = ?"));
    query.addBindValue(hostKey(strHost));
    query.addBindValue(iPort);
    if (query.exec() && query.next()) {
        pin.keyHash = QByteArray::fromHex(query.value(0).toString().toLatin1());
        pin.pinned = QDateTime::fromString(query.value(1).toString(), Qt::ISODate);
    }
    return pin;
}

bool setPin(const QString& strHost, int iPort, const QByteArray& baKeyHash)
{
    if (baKeyHash.size() != 32 || !VelmDatabase::ensureTable(VelmDatabase::ServerCertificates))
        return false;
    QSqlDatabase db = VelmDatabase::database();
    if (!db.transaction())
        return false;
    QSqlQuery remove(db);
    remove.prepare(QStringLiteral("delete from ServerCertificates where hostaddr = ? and port = ?"));
    remove.addBindValue(hostKey(strHost));
    remove.addBindValue(iPort);
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("insert into ServerCertificates values(?, ?, ?, ?)"));
    insert.addBindValue(hostKey(strHost));
    insert.addBindValue(iPort);
    insert.addBindValue(QString::fromLatin1(baKeyHash.toHex()));
    insert.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    if (!remove.exec() || !insert.exec()) {
        db.rollback();
        return false;
    }
    return db.commit();
}

QString fingerprintText(const QByteArray& baHash)
{
    return QString::fromLatin1(baHash.toHex(':').toUpper());
}

QByteArray parseFingerprint(const QString& strText)
{
    QString strHex;
    for (const QChar c : strText) {
        if (c == QLatin1Char(':') || c.isSpace())
            continue;
        if (c.unicode() > 0x7f || !std::isxdigit(static_cast<unsigned char>(c.toLatin1())))
            return {};
        strHex += c;
    }
    if (strHex.size() != 64)
        return {};
    return QByteArray::fromHex(strHex.toLatin1());
}

} // namespace CertificatePins
