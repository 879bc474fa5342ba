#include "Journal.h"

#include "JsonText.h"

bool Journal::open(const QString& strPath, QString& strError)
{
    m_file.setFileName(strPath);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        strError = QStringLiteral("cannot write the journal %1: %2").arg(strPath, m_file.errorString());
        return false;
    }
    return true;
}

void Journal::write(const JournalEntry& entry)
{
    if (!m_file.isOpen())
        return;
    QByteArray baHeaders = "[";
    for (qsizetype i = 0; i < entry.lstHeaders.size(); ++i) {
        if (i > 0)
            baHeaders += ',';
        baHeaders += '[' + JsonText::quoted(QString::fromUtf8(entry.lstHeaders.at(i).first)) + ',' +
                     JsonText::quoted(QString::fromUtf8(entry.lstHeaders.at(i).second)) + ']';
    }
    baHeaders += ']';

    JsonText json;
    json.addInt("seq", ++m_iSeq)
        .addText("method", QString::fromUtf8(entry.baMethod))
        .addText("path", QString::fromUtf8(entry.baPath))
        .addRaw("headers", baHeaders)
        .addInt("body_size", entry.iBodySize)
        .addText("body_sha256", QString::fromLatin1(entry.baBodySha256));
    if (entry.blWithBody)
        json.addText("body_base64", QString::fromLatin1(entry.baBody.toBase64()));
    json.addInt("status", entry.iStatus)
        .addText("reply", QString::fromUtf8(entry.baReply))
        .addBool("dropped", entry.blDropped);
    if (!entry.baDetails.isEmpty())
        json.addRaw("discovery", entry.baDetails);
    m_file.write(json.toJson() + '\n');
    m_file.flush();
}

void Journal::close()
{
    if (m_file.isOpen()) {
        m_file.flush();
        m_file.close();
    }
}
