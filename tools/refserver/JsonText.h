#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Compact JSON object text whose members keep the order in which they were added.
class JsonText
{
public:
    JsonText& addBool(const char* pszKey, bool blValue);
    JsonText& addInt(const char* pszKey, qint64 iValue);
    JsonText& addText(const char* pszKey, const QString& strValue);
    JsonText& addTextList(const char* pszKey, const QStringList& lstValues);
    // A value that is already JSON text.
    JsonText& addRaw(const char* pszKey, const QByteArray& baJson);

    QByteArray toJson() const;

    // A JSON string literal; non-ASCII characters are written as UTF-8.
    static QByteArray quoted(const QString& strText);
    static QByteArray quotedList(const QStringList& lstTexts);

private:
    void addKey(const char* pszKey);

    QByteArray m_baMembers;
};
