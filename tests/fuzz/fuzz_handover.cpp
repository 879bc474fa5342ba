// The counted lists other programs hand over (the file list of a menu or drop, the shortcut
// list): UTF-16 with or without a byte-order mark, any line ends, any count.
#include "FuzzSupport.h"

#include "HandOverFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    Fuzz::init();
    const QString strPath = Fuzz::writeFile(QStringLiteral("FileList"), pData, iSize);
    QStringList lstLines;
    if (!HandOverFile::readLines(strPath, lstLines))
        Fuzz::fail("an existing file cannot be read");
    QStringList lstEntries;
    if (!HandOverFile::readCountedList(strPath, lstEntries))
        Fuzz::fail("an existing list cannot be read");
    const int iCount = lstLines.isEmpty() ? 0 : HandOverFile::atoiText(lstLines.first());
    if (lstEntries.size() > qMax(0, iCount) || lstEntries.size() > qMax(0, int(lstLines.size()) - 1))
        Fuzz::fail("more entries than the count or the lines allow");
    for (const QString& strEntry : lstEntries) {
        if (strEntry.isEmpty() || strEntry.contains(QLatin1Char('\n')))
            Fuzz::fail("an entry is empty or holds a line feed");
    }
    // What the program writes, it reads back unchanged. Its writers refuse names with a CR (a
    // CR before the line feed is a line end).
    if (!lstEntries.filter(QStringLiteral("\r")).isEmpty())
        return 0;
    const QString strCopy = Fuzz::writeFile(QStringLiteral("FileList.copy"), nullptr, 0);
    QStringList lstBack;
    if (!HandOverFile::writeCountedList(strCopy, lstEntries) || !HandOverFile::readCountedList(strCopy, lstBack) ||
        lstBack != lstEntries)
        Fuzz::fail("a list written and read again differs");
    return 0;
}
