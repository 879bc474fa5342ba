#include "DesktopMenus.h"

#include "HandOverFile.h"
#include "RunMode.h"
#include "VelmLocale.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <utility>

namespace DesktopMenus {

namespace {

const QString s_starterName = QStringLiteral("pictarium-send");
// Our Thunar unique-ids and Nemo file names start with it; nothing else of the user's is touched.
const QString s_idPrefix = QStringLiteral("pictarium-uploader-");
const QString s_icon = QStringLiteral("pictarium-uploader");
// Marks a Nautilus script folder as ours.
const QString s_marker = QStringLiteral(".pictarium-uploader-menu");

void logText(int iLine, const QString& strText)
{
    qDebug("DesktopMenus:%d %s", iLine, qUtf8Printable(strText));
}

struct Entry
{
    QString label;
    // The starter's arguments before the selected files.
    QStringList args;
    bool passFiles = true;
    // Stable per position: Dolphin action names, Thunar unique-ids, Nemo file names.
    QString id;
};

bool unusableChar(QChar c)
{
    const char16_t u = c.unicode();
    return c.isSurrogate() || u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0xFFFE || u == 0xFFFF;
}

// Control characters other than line feed and tab, lone surrogates and the two
// non-characters no format here takes become spaces.
QString cleanLabel(const QString& strText)
{
    QString strOut;
    strOut.reserve(strText.size());
    for (qsizetype i = 0; i < strText.size(); ++i) {
        const QChar c = strText.at(i);
        if (c.isHighSurrogate() && i + 1 < strText.size() && strText.at(i + 1).isLowSurrogate()) {
            strOut += c;
            strOut += strText.at(++i);
        } else {
            strOut += unusableChar(c) && c != u'\n' && c != u'\t' ? QChar(u' ') : c;
        }
    }
    return strOut;
}

QList<Entry> menuEntries(const QStringList& lstProfiles)
{
    QList<Entry> lstEntries;
    for (int i = 0; i < lstProfiles.size(); ++i) {
        lstEntries.append({cleanLabel(lstProfiles.at(i)),
                           {RunModes::argument(RunMode::UploadHandOver), QString::number(i)},
                           true,
                           QStringLiteral("profile") + QString::number(i)});
    }
    lstEntries.append(
        {cleanLabel(VelmLocale::message("cxt_new_profile")), {RunModes::argument(RunMode::CreateThenUpload)}, true,
         QStringLiteral("create")});
    lstEntries.append({cleanLabel(VelmLocale::message("cxt_manage_profile")),
                       {RunModes::argument(RunMode::Home)},
                       false,
                       QStringLiteral("manage")});
    return lstEntries;
}

// Single-quoted for a POSIX shell.
QString shellQuote(const QString& strText)
{
    return QLatin1Char('\'') + QString(strText).replace(QLatin1Char('\''), QLatin1String("'\\''")) + QLatin1Char('\'');
}

// Double-quoted as the Desktop Entry Exec key and GLib's shell parser both read it.
QString execQuote(const QString& strText)
{
    QString strOut = QStringLiteral("\"");
    for (const QChar c : strText) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            strOut += QLatin1Char('\\');
        strOut += c;
    }
    return strOut + QLatin1Char('"');
}

// A key-file string value; \s keeps a space at either end from being trimmed.
QString keyFileValue(const QString& strText)
{
    QString strOut;
    for (const QChar c : strText) {
        if (c == u'\\')
            strOut += QLatin1String("\\\\");
        else if (c == u'\n')
            strOut += QLatin1String("\\n");
        else if (c == u'\t')
            strOut += QLatin1String("\\t");
        else if (c == u'\r')
            strOut += QLatin1String("\\r");
        else
            strOut += c;
    }
    if (strOut.startsWith(QLatin1Char(' ')))
        strOut.replace(0, 1, QLatin1String("\\s"));
    if (strOut.endsWith(QLatin1Char(' ')))
        strOut.replace(strOut.size() - 1, 1, QLatin1String("\\s"));
    return strOut;
}

QString xmlText(const QString& strText)
{
    return QString(strText)
        .replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"))
        .replace(QLatin1Char('>'), QLatin1String("&gt;"));
}

// GTK menus take an underscore as a mnemonic mark.
QString gtkMenuText(const QString& strText)
{
    return QString(strText).replace(QLatin1Char('_'), QLatin1String("__"));
}

QString argumentsText(const Entry& entry)
{
    return QLatin1Char(' ') + entry.args.join(QLatin1Char(' '));
}

// Writes only when the bytes differ: the menus are rewritten at the end of every run.
bool writeFile(const QString& strPath, const QByteArray& baData, bool blExecutable)
{
    QFile file(strPath);
    const bool blSame = file.open(QIODevice::ReadOnly) && file.readAll() == baData;
    file.close();
    if (!blSame && (!QDir().mkpath(QFileInfo(strPath).absolutePath()) || !HandOverFile::writeBytes(strPath, baData))) {
        logText(__LINE__, QLatin1String("cannot write ") + strPath);
        return false;
    }
    const QFile::Permissions executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser |
                                          QFile::WriteUser | QFile::ExeUser | QFile::ReadGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::ExeOther;
    if (blExecutable && !(QFile::permissions(strPath) & QFile::ExeOwner))
        QFile::setPermissions(strPath, executable);
    return true;
}

QString dataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

// Nautilus: a script folder named like the menu, one script per entry. Scripts get the
// selected files as arguments, started in the folder shown.
void writeNautilus(const QString& strMenu, const QList<Entry>& lstEntries, const QString& strStarter)
{
    const QString strScripts = dataHome() + QLatin1String("/nautilus/scripts");
    const QString strFolderName = fileNameFor(strMenu);
    const QString strFolder = strScripts + QLatin1Char('/') + strFolderName;
    if (QFileInfo(strFolder).exists() && !QFileInfo::exists(strFolder + QLatin1Char('/') + s_marker)) {
        logText(__LINE__, QLatin1String("not ours, scripts left out: ") + strFolder);
        return;
    }
    // A folder of ours under another title (another language) goes.
    const QFileInfoList lstFolders =
        QDir(strScripts).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& info : lstFolders) {
        if (info.fileName() != strFolderName && QFileInfo::exists(info.filePath() + QLatin1Char('/') + s_marker) &&
            !QDir(info.filePath()).removeRecursively())
            logText(__LINE__, QLatin1String("cannot remove ") + info.filePath());
    }

    // The fixed entries keep their names; a profile of the same name gets a number.
    QMap<QString, QByteArray> mapScripts;
    QList<Entry> lstOrdered = lstEntries.mid(lstEntries.size() - 2);
    lstOrdered += lstEntries.mid(0, lstEntries.size() - 2);
    for (const Entry& entry : lstOrdered) {
        const QString strBase = fileNameFor(entry.label);
        QString strName = strBase;
        for (int n = 2; mapScripts.contains(strName) || strName == s_marker; ++n)
            strName = strBase + QStringLiteral(" (%1)").arg(n);
        const QString strScript = QLatin1String("#!/bin/sh\nexec ") + shellQuote(strStarter) + argumentsText(entry) +
                                  (entry.passFiles ? QLatin1String(" \"$@\"\n") : QLatin1String("\n"));
        mapScripts.insert(strName, strScript.toUtf8());
    }

    if (!writeFile(strFolder + QLatin1Char('/') + s_marker,
                   "Pictarium Uploader menu; rewritten when the profiles change.\n", false))
        return;
    const QFileInfoList lstOld = QDir(strFolder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& info : lstOld) {
        if (info.fileName() != s_marker && !mapScripts.contains(info.fileName()))
            QFile::remove(info.filePath());
    }
    for (auto it = mapScripts.cbegin(); it != mapScripts.cend(); ++it)
        writeFile(strFolder + QLatin1Char('/') + it.key(), it.value(), true);
}

// Dolphin: one service menu file of ours with a submenu.
void writeDolphin(const QString& strMenu, const QList<Entry>& lstEntries, const QString& strStarter)
{
    QStringList lstIds;
    for (const Entry& entry : lstEntries)
        lstIds.append(entry.id);
    QString strText = QLatin1String("[Desktop Entry]\nType=Service\nName=") + keyFileValue(strMenu) +
                      QLatin1String("\nIcon=") + s_icon +
                      QLatin1String("\nMimeType=application/octet-stream;inode/directory;\nActions=") +
                      lstIds.join(QLatin1Char(';')) + QLatin1String(";\n");
    // The submenu title is a Qt menu text: & marks a shortcut key.
    strText += QLatin1String("X-KDE-Submenu=") +
               keyFileValue(QString(strMenu).replace(QLatin1Char('&'), QLatin1String("&&"))) + QLatin1Char('\n');
    // A literal % in Exec is written %%.
    const QString strProgram = execQuote(strStarter).replace(QLatin1Char('%'), QLatin1String("%%"));
    for (const Entry& entry : lstEntries) {
        strText += QLatin1String("\n[Desktop Action ") + entry.id + QLatin1String("]\nName=") +
                   keyFileValue(entry.label) + QLatin1String("\nIcon=") + s_icon + QLatin1String("\nExec=") +
                   keyFileValue(strProgram + argumentsText(entry) +
                                (entry.passFiles ? QLatin1String(" %F") : QLatin1String(""))) +
                   QLatin1Char('\n');
    }
    // Current KDE runs service menus from the user's folder only when they are executable.
    writeFile(dataHome() + QLatin1String("/kio/servicemenus/pictarium-uploader.desktop"), strText.toUtf8(), true);
}

// Thunar's uca.xml: the offsets of our <action> elements and of the root's closing tag.
struct UcaLayout
{
    QList<std::pair<qsizetype, qsizetype>> ours;
    qsizetype closeBegin = -1;
    qsizetype closeEnd = -1;
};

bool readUcaLayout(const QString& strText, UcaLayout& layout)
{
    QString strProbe = strText;
    // Older Thunar wrote encoding before version, which no XML reader takes; blanking the
    // declaration keeps every offset.
    if (strProbe.startsWith(QLatin1String("<?xml"))) {
        const qsizetype iEnd = strProbe.indexOf(QLatin1String("?>"));
        if (iEnd > 0)
            strProbe.replace(0, iEnd + 2, QString(iEnd + 2, QLatin1Char(' ')));
    }
    QXmlStreamReader reader(strProbe);
    int iDepth = 0;
    qsizetype actionBegin = -1;
    bool blOurs = false;
    while (!reader.atEnd()) {
        reader.readNext();
        const qsizetype offset = reader.characterOffset();
        if (reader.isStartElement()) {
            ++iDepth;
            if (iDepth == 1 && reader.name() != QLatin1String("actions"))
                return false;
            if (iDepth == 2 && reader.name() == QLatin1String("action")) {
                actionBegin = strProbe.lastIndexOf(QLatin1Char('<'), offset - 1);
                blOurs = false;
            } else if (iDepth == 3 && actionBegin >= 0 && reader.name() == QLatin1String("unique-id")) {
                blOurs =
                    reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed().startsWith(s_idPrefix);
                --iDepth;
            }
        } else if (reader.isEndElement()) {
            if (iDepth == 2 && actionBegin >= 0) {
                if (blOurs)
                    layout.ours.append({actionBegin, offset});
                actionBegin = -1;
            } else if (iDepth == 1) {
                layout.closeEnd = offset;
                layout.closeBegin = strProbe.lastIndexOf(QLatin1Char('<'), offset - 1);
            }
            --iDepth;
        }
    }
    return !reader.hasError() && layout.closeBegin >= 0;
}

// Our actions out, the new ones in before </actions>; every other character stays.
QString spliceUca(const QString& strText, const UcaLayout& layout, const QString& strActions)
{
    QString strOut = strText;
    qsizetype closeBegin = layout.closeBegin;
    qsizetype closeEnd = layout.closeEnd;
    // An action alone on its lines goes with its indentation and line end (a lone CR ends a line too).
    QList<std::pair<qsizetype, qsizetype>> lstRanges;
    for (const auto& range : layout.ours) {
        qsizetype begin = range.first;
        while (begin > 0 && (strText.at(begin - 1) == u' ' || strText.at(begin - 1) == u'\t'))
            --begin;
        const QStringView rest = QStringView(strText).mid(range.second);
        const qsizetype lineEnd = rest.startsWith(u'\n') ? 1 : rest.startsWith(u"\r\n") ? 2 : 0;
        if ((begin == 0 || strText.at(begin - 1) == u'\n' || strText.at(begin - 1) == u'\r') && lineEnd > 0)
            lstRanges.append({begin, range.second + lineEnd});
        else
            lstRanges.append(range);
    }
    for (auto it = lstRanges.crbegin(); it != lstRanges.crend(); ++it) {
        strOut.remove(it->first, it->second - it->first);
        closeBegin -= it->second - it->first;
        closeEnd -= it->second - it->first;
    }
    // Ours go on lines of their own, so that the next splice takes them out whole and puts them
    // back in the same place.
    const QString strEol = strActions.endsWith(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    if (strOut.mid(closeBegin, 2) == QLatin1String("</")) {
        // Before the closing tag's indentation; after a line end when text precedes it.
        qsizetype at = closeBegin;
        while (at > 0 && (strOut.at(at - 1) == u' ' || strOut.at(at - 1) == u'\t'))
            --at;
        if (at > 0 && (strOut.at(at - 1) == u'\n' || strOut.at(at - 1) == u'\r'))
            strOut.insert(at, strActions);
        else
            strOut.insert(closeBegin, strEol + strActions);
    } else { // <actions/>
        strOut.replace(closeEnd - 2, 2, QLatin1Char('>') + strEol + strActions + QLatin1String("</actions>"));
    }
    return strOut;
}

QString ucaActions(const QString& strMenu, const QList<Entry>& lstEntries, const QString& strStarter)
{
    // Thunar replaces % codes in the command, then runs it with /bin/sh -c.
    const QString strProgram = shellQuote(strStarter).replace(QLatin1Char('%'), QLatin1String("%%"));
    QString strOut;
    for (const Entry& entry : lstEntries) {
        strOut +=
            QLatin1String("<action>\n\t<icon>") + s_icon + QLatin1String("</icon>\n\t<name>") +
            xmlText(gtkMenuText(entry.label)) + QLatin1String("</name>\n\t<submenu>") + xmlText(gtkMenuText(strMenu)) +
            QLatin1String("</submenu>\n\t<unique-id>") + s_idPrefix + entry.id +
            QLatin1String("</unique-id>\n\t<command>") +
            xmlText(strProgram + argumentsText(entry) + (entry.passFiles ? QLatin1String(" %F") : QLatin1String(""))) +
            QLatin1String("</command>\n\t<description>") + xmlText(strMenu + QLatin1String(": ") + entry.label) +
            QLatin1String("</description>\n\t<patterns>*</patterns>\n\t<directories/>\n\t<audio-files/>\n"
                          "\t<image-files/>\n\t<other-files/>\n\t<text-files/>\n\t<video-files/>\n</action>\n");
    }
    return strOut;
}

// The file as text without a UTF-8 byte-order mark; false when the bytes are not UTF-8.
bool utf8Text(const QByteArray& baData, QString& strText, bool& blBom)
{
    blBom = baData.startsWith("\xEF\xBB\xBF");
    const QByteArray baBody = blBom ? baData.mid(3) : baData;
    strText = QString::fromUtf8(baBody);
    return strText.toUtf8() == baBody;
}

// The bytes with our actions replaced; false when they are not UTF-8 or not Thunar's XML.
bool spliceUcaBytes(const QByteArray& baFile, const QString& strMenu, const QList<Entry>& lstEntries,
                    const QString& strStarter, QByteArray& baOut)
{
    QString strText;
    bool blBom = false;
    UcaLayout layout;
    if (!utf8Text(baFile, strText, blBom) || !readUcaLayout(strText, layout))
        return false;
    QString strActions = ucaActions(strMenu, lstEntries, strStarter);
    if (strText.contains(QLatin1String("\r\n")))
        strActions.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    baOut = (blBom ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + spliceUca(strText, layout, strActions).toUtf8();
    return true;
}

// Thunar: uca.xml holds the user's own actions too.
void writeThunar(const QString& strMenu, const QList<Entry>& lstEntries, const QString& strStarter)
{
    const QString strPath =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1String("/Thunar/uca.xml");
    const QByteArray baMinimal("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n");
    QByteArray baNew;
    QFile file(strPath);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            logText(__LINE__, QLatin1String("cannot read ") + strPath);
            return;
        }
        if (!spliceUcaBytes(file.readAll(), strMenu, lstEntries, strStarter, baNew)) {
            logText(__LINE__, QLatin1String("not well-formed, left as it is: ") + strPath);
            return;
        }
    } else {
        // Thunar shows the system's actions while the user has none; keep them.
        const QStringList lstSystem =
            QStandardPaths::locateAll(QStandardPaths::GenericConfigLocation, QStringLiteral("Thunar/uca.xml"));
        QFile system(lstSystem.value(0));
        if (!lstSystem.isEmpty() && system.open(QIODevice::ReadOnly) &&
            spliceUcaBytes(system.readAll(), strMenu, lstEntries, strStarter, baNew)) {
            logText(__LINE__, QLatin1String("starting from ") + system.fileName());
        } else {
            spliceUcaBytes(baMinimal, strMenu, lstEntries, strStarter, baNew);
        }
    }
    writeFile(strPath, baNew, false);
}

// Nemo (5.6) has no submenus: each label carries the menu title. Name and Exec are searched
// for tokens (%F, %N, ...) up to the first % that is none; a word joiner after each % of a
// label stops that, invisibly.
QString nemoLabel(const QString& strText)
{
    return keyFileValue(gtkMenuText(strText).replace(QLatin1Char('%'), QStringLiteral("%\u2060")));
}

QString nemoExec(const Entry& entry, const QString& strStarter)
{
    const QString strFiles = entry.passFiles ? QStringLiteral(" %F") : QString();
    if (!strStarter.contains(QLatin1Char('%')))
        return execQuote(strStarter) + argumentsText(entry) + strFiles;
    // A % in the path would end the token search before %F: the shell spells it \045.
    const QString strFormat = QString(strStarter)
                                  .replace(QLatin1Char('\\'), QLatin1String("\\\\"))
                                  .replace(QLatin1Char('%'), QLatin1String("\\045"));
    const QString strScript = QLatin1String("exec \"$(printf ") + shellQuote(strFormat) + QLatin1String(")\"") +
                              argumentsText(entry) + (entry.passFiles ? QLatin1String(" \"$@\"") : QLatin1String(""));
    return QLatin1String("/bin/sh -c ") + execQuote(strScript) + QLatin1String(" sh") + strFiles;
}

void writeNemo(const QString& strMenu, const QList<Entry>& lstEntries, const QString& strStarter)
{
    const QString strFolder = dataHome() + QLatin1String("/nemo/actions");
    QMap<QString, QByteArray> mapFiles;
    for (int i = 0; i < lstEntries.size(); ++i) {
        const Entry& entry = lstEntries.at(i);
        // Nemo lists actions by file name: profiles in order, then the other two.
        QString strStem = QStringLiteral("1-profile-%1").arg(i, 4, 10, QLatin1Char('0'));
        if (entry.id == QLatin1String("create"))
            strStem = QStringLiteral("2-create");
        else if (entry.id == QLatin1String("manage"))
            strStem = QStringLiteral("3-manage");
        QString strText =
            QLatin1String("[Nemo Action]\nName=") + nemoLabel(strMenu + QLatin1String(": ") + entry.label) +
            QLatin1String("\nExec=") + keyFileValue(nemoExec(entry, strStarter)) + QLatin1String("\nIcon-Name=") +
            s_icon + QLatin1String("\nSelection=") +
            (entry.passFiles ? QLatin1String("NotNone") : QLatin1String("Any")) + QLatin1String("\nExtensions=any;\n");
        // Each path double-quoted, so one with a space stays one argument.
        if (entry.passFiles)
            strText += QLatin1String("Quote=double\n");
        mapFiles.insert(s_idPrefix + strStem + QLatin1String(".nemo_action"), strText.toUtf8());
    }
    const QStringList lstOld =
        QDir(strFolder).entryList({s_idPrefix + QLatin1String("*.nemo_action")}, QDir::Files | QDir::Hidden);
    for (const QString& strName : lstOld) {
        if (!mapFiles.contains(strName))
            QFile::remove(strFolder + QLatin1Char('/') + strName);
    }
    for (auto it = mapFiles.cbegin(); it != mapFiles.cend(); ++it)
        writeFile(strFolder + QLatin1Char('/') + it.key(), it.value(), false);
}

} // namespace

QString fileNameFor(const QString& strLabel)
{
    QString strName = cleanLabel(strLabel);
    for (QChar& c : strName) {
        if (c == u'/')
            c = QChar(0x2215); // division slash
        else if (c == u'\n' || c == u'\t')
            c = QLatin1Char(' ');
    }
    if (strName.startsWith(QLatin1Char('.')))
        strName[0] = QChar(0x2024); // one dot leader: no hidden file, no "." or ".."
    while (strName.toUtf8().size() > 200)
        strName.chop(strName.size() > 1 && strName.back().isLowSurrogate() ? 2 : 1);
    return strName.isEmpty() ? QStringLiteral("_") : strName;
}

QString starterPath()
{
    if (QCoreApplication::instance()) {
        const QFileInfo beside(QCoreApplication::applicationDirPath() + QLatin1Char('/') + s_starterName);
        if (beside.isFile() && beside.isExecutable())
            return beside.absoluteFilePath();
    }
    const QString strFound = QStandardPaths::findExecutable(s_starterName);
    return strFound.isEmpty() ? QString() : QFileInfo(strFound).absoluteFilePath();
}

bool thunarActionRanges(const QString& strText, QList<std::pair<qsizetype, qsizetype>>& lstRanges)
{
    UcaLayout layout;
    if (!readUcaLayout(strText, layout))
        return false;
    lstRanges = layout.ours;
    return true;
}

bool spliceThunarFile(const QByteArray& baFile, const QStringList& lstProfiles, const QString& strStarter,
                      QByteArray& baOut)
{
    return spliceUcaBytes(baFile, cleanLabel(VelmLocale::message("cxt_menu")), menuEntries(lstProfiles), strStarter,
                          baOut);
}

void rewrite(const QStringList& lstProfiles, const QString& strStarter)
{
    const QString strProgram = strStarter.isEmpty() ? starterPath() : strStarter;
    if (strProgram.isEmpty()) {
        logText(__LINE__, s_starterName + QLatin1String(" not found; menus left as they are"));
        return;
    }
    const QList<Entry> lstEntries = menuEntries(lstProfiles);
    const QString strMenu = cleanLabel(VelmLocale::message("cxt_menu"));
    writeNautilus(strMenu, lstEntries, strProgram);
    writeDolphin(strMenu, lstEntries, strProgram);
    writeThunar(strMenu, lstEntries, strProgram);
    writeNemo(strMenu, lstEntries, strProgram);
}

} // namespace DesktopMenus
