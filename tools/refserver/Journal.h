#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

// One finished (or dropped) request as it goes into the journal.
struct JournalEntry
{
    QByteArray baMethod;
    QByteArray baPath;
    QList<QPair<QByteArray, QByteArray>> lstHeaders;
    qint64 iBodySize = 0;
    QByteArray baBodySha256; // hex
    bool blWithBody = false; // write body_base64
    QByteArray baBody;
    int iStatus = 0; // 0: no reply was sent
    QByteArray baReply;
    bool blDropped = false;
    QByteArray baDetails; // JSON object written as "discovery" when not empty
};

// JSON lines, one per request, flushed line by line.
class Journal
{
public:
    bool open(const QString& strPath, QString& strError);
    bool isOpen() const { return m_file.isOpen(); }
    void write(const JournalEntry& entry);
    void close();

private:
    QFile m_file;
    qint64 m_iSeq = 0;
};
