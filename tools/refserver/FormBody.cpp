#include "FormBody.h"

#include <QUrl>

namespace {

QString decodeFormValue(QByteArray baValue)
{
    baValue.replace('+', ' ');
    return QUrl::fromPercentEncoding(baValue);
}

bool isFileListPart(const QByteArray& baPartHeaders)
{
    for (const QByteArray& baLine : baPartHeaders.split('\n')) {
        const qsizetype iColon = baLine.indexOf(':');
        if (iColon < 0 || baLine.left(iColon).trimmed().toLower() != "content-disposition")
            continue;
        for (const QByteArray& baParam : baLine.mid(iColon + 1).split(';')) {
            const QByteArray baTrimmed = baParam.trimmed();
            if (!baTrimmed.toLower().startsWith("name="))
                continue;
            QByteArray baName = baTrimmed.mid(5);
            if (baName.size() >= 2 && baName.startsWith('"') && baName.endsWith('"'))
                baName = baName.mid(1, baName.size() - 2);
            return baName == "filelist";
        }
    }
    return false;
}

} // namespace

bool FormBody::isFormType(const QByteArray& baContentType)
{
    const QByteArray baType = baContentType.trimmed().toLower();
    return baType.startsWith("application/x-www-form-urlencoded") || baType.startsWith("multipart/form-data");
}

QHash<QString, QString> FormBody::parseForm(const QByteArray& baBody)
{
    QHash<QString, QString> hashFields;
    for (const QByteArray& baPair : baBody.split('&')) {
        if (baPair.isEmpty())
            continue;
        const qsizetype iEquals = baPair.indexOf('=');
        const QString strKey = decodeFormValue(iEquals < 0 ? baPair : baPair.left(iEquals));
        if (!hashFields.contains(strKey))
            hashFields.insert(strKey, iEquals < 0 ? QString() : decodeFormValue(baPair.mid(iEquals + 1)));
    }
    return hashFields;
}

QByteArray FormBody::boundaryOf(const QByteArray& baContentType)
{
    const QByteArray baLower = baContentType.toLower();
    if (!baLower.trimmed().startsWith("multipart/form-data"))
        return QByteArray();
    const qsizetype iPos = baLower.indexOf("boundary=");
    if (iPos < 0)
        return QByteArray();
    QByteArray baBoundary = baContentType.mid(iPos + 9);
    if (baBoundary.startsWith('"')) {
        const qsizetype iClose = baBoundary.indexOf('"', 1);
        return iClose < 0 ? QByteArray() : baBoundary.mid(1, iClose - 1);
    }
    const qsizetype iSemicolon = baBoundary.indexOf(';');
    if (iSemicolon >= 0)
        baBoundary.truncate(iSemicolon);
    return baBoundary.trimmed();
}

bool FormBody::extractFileList(const QByteArray& baBody, const QByteArray& baBoundary, QByteArray& baList)
{
    if (baBoundary.isEmpty())
        return false;
    const QByteArray baDelimiter = "--" + baBoundary;
    if (!baBody.startsWith(QByteArray(baDelimiter + "\r\n")))
        return false;
    qsizetype iPos = baDelimiter.size() + 2;
    for (;;) {
        qsizetype iContent = 0;
        QByteArray baHeaders;
        if (baBody.mid(iPos, 2) == "\r\n") {
            iContent = iPos + 2;
        } else {
            const qsizetype iHeadEnd = baBody.indexOf("\r\n\r\n", iPos);
            if (iHeadEnd < 0)
                return false;
            baHeaders = baBody.mid(iPos, iHeadEnd - iPos);
            iContent = iHeadEnd + 4;
        }
        const qsizetype iNext = baBody.indexOf(QByteArray("\r\n" + baDelimiter), iContent);
        if (iNext < 0)
            return false;
        iPos = iNext + 2 + baDelimiter.size();
        const QByteArray baAfter = baBody.mid(iPos, 2);
        if (baAfter != "--" && baAfter != "\r\n")
            return false;
        if (isFileListPart(baHeaders)) {
            baList = baBody.mid(iContent, iNext - iContent);
            return true;
        }
        if (baAfter == "--")
            return false;
        iPos += 2;
        if (iPos >= baBody.size())
            return false;
    }
}
