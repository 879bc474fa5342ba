#include "HandOverFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <climits>

namespace HandOverFile {

int atoiText(const QString& strText)
{
    int i = 0;
    const int n = strText.size();
    auto isCSpace = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
    };
    while (i < n && isCSpace(strText.at(i)))
        ++i;
    bool blNegative = false;
    if (i < n && (strText.at(i) == u'+' || strText.at(i) == u'-')) {
        blNegative = strText.at(i) == u'-';
        ++i;
    }
    qint64 llValue = 0;
    while (i < n && strText.at(i) >= u'0' && strText.at(i) <= u'9') {
        if (llValue <= qint64(INT_MAX) + 1)
            llValue = llValue * 10 + (strText.at(i).unicode() - u'0');
        ++i;
    }
    if (blNegative)
        llValue = -llValue;
    if (llValue > INT_MAX)
        return INT_MAX;
    if (llValue < INT_MIN)
        return INT_MIN;
    return int(llValue);
}

bool readLines(const QString& strPath, QStringList& lstLines)
{
    lstLines.clear();
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray baData = file.readAll();

    QStringConverter::Encoding encoding = QStringConverter::Utf16LE;
    if (baData.startsWith("\xFF\xFE")) {
        baData.remove(0, 2);
    } else if (baData.startsWith("\xFE\xFF")) {
        baData.remove(0, 2);
        encoding = QStringConverter::Utf16BE;
    }
    if (baData.size() % 2)
        baData.chop(1);

    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    const QString strText = decoder.decode(baData);
    if (strText.isEmpty())
        return true;

    lstLines = splitLines(strText);
    return true;
}

QStringList splitLines(const QString& strText)
{
    if (strText.isEmpty())
        return {};
    QStringList lstLines = strText.split(QLatin1Char('\n'));
    if (lstLines.last().isEmpty())
        lstLines.removeLast();
    for (QString& strLine : lstLines) {
        if (strLine.endsWith(QLatin1Char('\r')))
            strLine.chop(1);
    }
    return lstLines;
}

bool readCountedList(const QString& strPath, QStringList& lstEntries)
{
    lstEntries.clear();
    QStringList lstLines;
    if (!readLines(strPath, lstLines))
        return false;
    if (lstLines.isEmpty())
        return true;
    const int nCount = atoiText(lstLines.first());
    for (int i = 1; i < lstLines.size() && i <= nCount; ++i) {
        if (!lstLines.at(i).isEmpty())
            lstEntries.append(lstLines.at(i));
    }
    return true;
}

bool writeCountedList(const QString& strPath, const QStringList& lstEntries)
{
#ifdef Q_OS_WIN
    const QString strEol = QStringLiteral("\r\n");
#else
    const QString strEol = QStringLiteral("\n");
#endif
    QString strText = QString::number(lstEntries.size()) + strEol;
    for (const QString& strEntry : lstEntries)
        strText += strEntry + strEol;

    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
    return writeBytes(strPath, encoder.encode(strText));
}

bool writeBytes(const QString& strPath, const QByteArray& baData)
{
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(baData) != baData.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace HandOverFile
