#include "CameraImport.h"

#include "AppIdentity.h"
#include "HandOverFile.h"
#include "ToolRunner.h"
#include "UserPrompt.h"
#include "VelmLocale.h"
#include "TempFiles.h"
#include "store/UploadHistory.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

namespace CameraImport {

namespace {

void removeListFile(const QString& strPath)
{
    QFile::setPermissions(strPath, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(strPath);
}

} // namespace

QString folderPath()
{
    return TempFiles::folderPath() + QLatin1String("/AUTOPLAY");
}

bool ensureFolder()
{
    if (!TempFiles::ensureFolder())
        return false;
    const QString strFolder = folderPath();
    const QFileInfo info(strFolder);
    if (!info.exists() && !QDir().mkdir(strFolder))
        return false;
    const QFileInfo made(strFolder);
    if (made.isSymLink() || !made.isDir()) {
        qDebug("CameraImport: %s is not a plain folder; nothing is imported", qPrintable(strFolder));
        return false;
    }
    // Copies of a person's photos are for this user only.
    QFile::setPermissions(strFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return true;
}

void emptyFolder()
{
    const QFileInfoList lstFiles =
        QDir(folderPath()).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& file : lstFiles) {
        QFile::setPermissions(file.absoluteFilePath(), QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(file.absoluteFilePath());
    }
}

bool isPlainItemName(const QString& strName)
{
    return !strName.isEmpty() && strName != QLatin1String(".") && strName != QLatin1String("..") &&
           !strName.contains(QLatin1Char('/')) && !strName.contains(QLatin1Char('\\'));
}

bool readDeviceList(const QString& strPath, QStringList& lstIds, QStringList& lstTexts)
{
    lstIds.clear();
    lstTexts.clear();
    QStringList lstLines;
    if (!HandOverFile::readLines(strPath, lstLines) || lstLines.isEmpty())
        return false;
    const int nDevices = HandOverFile::atoiText(lstLines.first());
    for (int i = 0; i < nDevices && 3 + 3 * i <= lstLines.size() - 1; ++i) {
        const int iFirst = 1 + 3 * i;
        lstIds.append(lstLines.at(iFirst));
        lstTexts.append(lstLines.at(iFirst + 1) + QLatin1String(" ( ") + lstLines.at(iFirst + 2) +
                        QLatin1String(" )"));
    }
    return true;
}

bool readContentList(const QString& strPath, QList<Item>& lstItems)
{
    lstItems.clear();
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray baData = file.readAll();
    QStringList lstLines;
    if (baData.startsWith("\xFF\xFE") || baData.startsWith("\xFE\xFF"))
        HandOverFile::readLines(strPath, lstLines);
    else if (baData.startsWith("\xEF\xBB\xBF"))
        lstLines = HandOverFile::splitLines(QString::fromUtf8(baData.mid(3)));
    else
        lstLines = HandOverFile::splitLines(QString::fromLocal8Bit(baData));
    // A last item cut short keeps its name: it is still offered, with the texts it has.
    for (int i = 0; i < lstLines.size(); i += 3)
        lstItems.append({lstLines.at(i), lstLines.value(i + 1), lstLines.value(i + 2)});
    return true;
}

bool writeImportList(const QString& strPath, const QStringList& lstNames)
{
    removeListFile(strPath);
    QString strText;
    for (const QString& strName : lstNames)
        strText += strName + QLatin1Char('\n');
    return HandOverFile::writeBytes(
        strPath, QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless).encode(strText));
}

void takeItems(const QList<Item>& lstItems, const QString& strDeviceId, const QString& strProfile,
               bool blSkipUploaded, ImportResult& result, const std::function<void()>& fnEvents)
{
    for (const Item& item : lstItems) {
        if (fnEvents)
            fnEvents();
        // A name with a folder part would make the tool write outside the camera folder.
        if (!isPlainItemName(item.name)) {
            qDebug("CameraImport: refused item name [%s]", qPrintable(item.name));
            result.refused.append(item.name);
            continue;
        }
        if (blSkipUploaded &&
            UploadHistory::isCameraItemUploaded(item.name, strProfile, item.size, item.modified, strDeviceId)) {
            result.skippedUploaded = true;
            continue;
        }
        result.details.insert(item.name, {item.size, item.modified, strDeviceId});
        result.names.append(item.name);
    }
}

bool Session::runTool(const QStringList& lstArguments, bool blServiceEvents) const
{
    ToolRunner runner(m_pAbort);
    if (blServiceEvents && m_fnEvents)
        runner.setPollHook(m_fnEvents);
    const QString strTool = ToolLocator::path(ToolLocator::Lensway);
    qDebug("CameraImport: %s", qPrintable(ToolRunner::commandLine(strTool, lstArguments)));
    const ToolRunner::Result result = runner.run(strTool, lstArguments, QString(), "CameraImport: tool stopped");
    if (!result.standardError.isEmpty())
        qDebug("CameraImport: tool says: %s", result.standardError.trimmed().constData());
    if (!result.ok())
        qDebug("CameraImport: tool ended with status %d, exit code %d", int(result.status), result.exitCode);
    return result.status == ToolRunner::Finished;
}

void Session::listDevices(QStringList& lstIds, QStringList& lstTexts) const
{
    const QString strList = AppIdentity::dataFilePath(QStringLiteral("DeviceList"));
    // A list left by an earlier run must not stand in for a tool that did not run.
    removeListFile(strList);
    runTool({QStringLiteral("0")}, false);
    readDeviceList(strList, lstIds, lstTexts);
}

ImportResult Session::importFromDevice(const QString& strDeviceId, const QString& strProfile,
                                       bool blSkipUploaded) const
{
    ImportResult result;
    const QString strContent = AppIdentity::dataFilePath(QStringLiteral("ContentList"));
    const QString strImport = AppIdentity::dataFilePath(QStringLiteral("ImportList"));
    removeListFile(strContent);
    runTool({QStringLiteral("1"), strDeviceId}, false);

    QList<Item> lstItems;
    if (!readContentList(strContent, lstItems)) {
        result.contentMissing = true;
        m_pPrompt->warning(VelmLocale::message("err_warning"), VelmLocale::message("err_none_sel_file"));
    }
    takeItems(lstItems, strDeviceId, strProfile, blSkipUploaded, result, m_fnEvents);

    if (!result.names.isEmpty()) {
        // Only what the tool copies now may be uploaded: an older file of the same name goes.
        const QString strFolder = folderPath();
        for (const QString& strName : std::as_const(result.names))
            removeListFile(strFolder + QLatin1Char('/') + strName);
        if (writeImportList(strImport, result.names))
            runTool({QStringLiteral("2"), strDeviceId}, true);
        else
            qDebug("CameraImport: cannot write %s", qPrintable(strImport));
        for (const QString& strName : std::as_const(result.names)) {
            if (!QFileInfo::exists(strFolder + QLatin1Char('/') + strName))
                result.notCopied.append(strName);
        }
    }
    removeListFile(strImport);
    removeListFile(strContent);
    return result;
}

} // namespace CameraImport
