// A user's Thunar actions file with ours put in: every other character survives, and the
// result is well-formed with exactly our actions.
#include "FuzzSupport.h"

#include "DesktopMenus.h"

#include <QRegularExpression>

namespace {

// The text with our actions cut out and without white space: what is the user's.
QString usersPart(const QString& strText)
{
    QList<std::pair<qsizetype, qsizetype>> lstRanges;
    if (!DesktopMenus::thunarActionRanges(strText, lstRanges))
        Fuzz::fail("a text the program wrote is not well-formed");
    QString strOut;
    qsizetype iFrom = 0;
    for (const auto& range : lstRanges) {
        strOut += QStringView(strText).mid(iFrom, range.first - iFrom);
        iFrom = range.second;
    }
    strOut += QStringView(strText).mid(iFrom);
    // An empty root is written out in two tags when our actions go in.
    static const QRegularExpression s_emptyRoot(QStringLiteral("<actions(\\s[^>]*?)?\\s*/>"));
    strOut.replace(s_emptyRoot, QStringLiteral("<actions\\1></actions>"));
    strOut.remove(QRegularExpression(QStringLiteral("\\s")));
    return strOut;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    Fuzz::init();
    const QByteArray baUser = Fuzz::bytes(pData, iSize);
    const QStringList lstProfiles = {QStringLiteral("Home & <NAS>"), QStringLiteral("]]>%F")};
    const QString strStarter = QStringLiteral("/opt/pictarium uploader/bin/pictarium-send");
    QByteArray baNew;
    if (!DesktopMenus::spliceThunarFile(baUser, lstProfiles, strStarter, baNew))
        return 0;
    const bool blBom = baUser.startsWith("\xEF\xBB\xBF");
    if (baNew.startsWith("\xEF\xBB\xBF") != blBom)
        Fuzz::fail("the byte-order mark changed");
    const QString strOld = QString::fromUtf8(baUser.mid(blBom ? 3 : 0));
    const QString strNew = QString::fromUtf8(baNew.mid(blBom ? 3 : 0));
    QList<std::pair<qsizetype, qsizetype>> lstOurs;
    if (!DesktopMenus::thunarActionRanges(strNew, lstOurs) || lstOurs.size() != lstProfiles.size() + 2)
        Fuzz::fail("the result does not hold exactly our actions");
    if (usersPart(strNew) != usersPart(strOld))
        Fuzz::fail("a character of the user's changed");
    // Writing the menus again changes nothing.
    QByteArray baAgain;
    if (!DesktopMenus::spliceThunarFile(baNew, lstProfiles, strStarter, baAgain) || baAgain != baNew)
        Fuzz::fail("a second splice changed the file");
    return 0;
}
