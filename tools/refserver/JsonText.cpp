#include "JsonText.h"

JsonText& JsonText::addBool(const char* pszKey, bool blValue)
{
    return addRaw(pszKey, blValue ? QByteArrayLiteral("true") : QByteArrayLiteral("false"));
}

JsonText& JsonText::addInt(const char* pszKey, qint64 iValue)
{
    return addRaw(pszKey, QByteArray::number(iValue));
}

JsonText& JsonText::addText(const char* pszKey, const QString& strValue)
{
    return addRaw(pszKey, quoted(strValue));
}

JsonText& JsonText::addTextList(const char* pszKey, const QStringList& lstValues)
{
    return addRaw(pszKey, quotedList(lstValues));
}

JsonText& JsonText::addRaw(const char* pszKey, const QByteArray& baJson)
{
    addKey(pszKey);
    m_baMembers += baJson;
    return *this;
}

void JsonText::addKey(const char* pszKey)
{
    if (!m_baMembers.isEmpty())
        m_baMembers += ',';
    m_baMembers += quoted(QString::fromUtf8(pszKey));
    m_baMembers += ':';
}

QByteArray JsonText::toJson() const
{
    return '{' + m_baMembers + '}';
}

QByteArray JsonText::quoted(const QString& strText)
{
    QString strOut;
    strOut.reserve(strText.size() + 2);
    strOut += QLatin1Char('"');
    for (const QChar ch : strText) {
        switch (ch.unicode()) {
        case '"':
            strOut += QLatin1String("\\\"");
            break;
        case '\\':
            strOut += QLatin1String("\\\\");
            break;
        case '\n':
            strOut += QLatin1String("\\n");
            break;
        case '\r':
            strOut += QLatin1String("\\r");
            break;
        case '\t':
            strOut += QLatin1String("\\t");
            break;
        default:
            if (ch.unicode() < 0x20)
                strOut += QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QLatin1Char('0'));
            else
                strOut += ch;
        }
    }
    strOut += QLatin1Char('"');
    return strOut.toUtf8();
}

QByteArray JsonText::quotedList(const QStringList& lstTexts)
{
    QByteArray baOut = "[";
    for (qsizetype i = 0; i < lstTexts.size(); ++i) {
        if (i > 0)
            baOut += ',';
        baOut += quoted(lstTexts.at(i));
    }
    baOut += ']';
    return baOut;
}
