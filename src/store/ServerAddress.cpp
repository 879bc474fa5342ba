#include "ServerAddress.h"

#include <QUrl>

// Multi-argument arg() fills all markers in one pass, so a "%2" inside a host name stays as it is.

namespace ServerAddress {

QString percentEncode(const QString& strText)
{
    QString strValue = strText;
    const qsizetype iNul = strValue.indexOf(QChar(0));
    if (iNul >= 0)
        strValue.truncate(iNul);
    return QString::fromLatin1(QUrl::toPercentEncoding(strValue));
}

QString baseUrl(bool blHttps, const QString& strHost, int iPort, bool blPersonal, const QString& strUsrname)
{
    const QString strScheme = blHttps ? QStringLiteral("https://") : QStringLiteral("http://");
    if (!blPersonal)
        return strScheme + QStringLiteral("%1:%2").arg(strHost, QString::number(iPort));
    return strScheme + QStringLiteral("%1:%2/~%3").arg(strHost, QString::number(iPort), percentEncode(strUsrname));
}

} // namespace ServerAddress
