#include "CameraDevices.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

void lenswayMessage(const QString& strText)
{
    std::fprintf(stderr, "Lensway: %s\n", qPrintable(strText));
}

namespace {

// The DCIM folder of a volume, whatever its letter case.
QString dcimOf(const QString& strVolume)
{
    const QStringList lstDirs = QDir(strVolume).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& strDir : lstDirs) {
        if (strDir.compare(QLatin1String("DCIM"), Qt::CaseInsensitive) == 0)
            return strVolume + QLatin1Char('/') + strDir;
    }
    return QString();
}

// Mount point -> mounted device, from the kernel's mount table (blanks come as \040).
QString mountSource(const QString& strMountPoint)
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    auto unescape = [](QByteArray ba) {
        QByteArray out;
        for (int i = 0; i < ba.size(); ++i) {
            if (ba.at(i) == '\\' && i + 3 < ba.size()) {
                out.append(char(ba.mid(i + 1, 3).toInt(nullptr, 8)));
                i += 3;
            } else {
                out.append(ba.at(i));
            }
        }
        return QFile::decodeName(out);
    };
    const QList<QByteArray> lstLines = file.readAll().split('\n');
    for (const QByteArray& baLine : lstLines) {
        const QList<QByteArray> lstFields = baLine.split(' ');
        const int iDash = int(lstFields.indexOf("-"));
        if (lstFields.size() < 5 || iDash < 0 || iDash + 2 >= lstFields.size())
            continue;
        if (unescape(lstFields.at(4)) == strMountPoint)
            return unescape(lstFields.at(iDash + 2));
    }
    return QString();
}

// A stable id for a folder volume: the file system's UUID when it is a mounted partition.
QString volumeId(const QString& strPath)
{
    const QString strSource = mountSource(strPath);
    if (strSource.startsWith(QLatin1String("/dev/"))) {
        const QString strDevice = QFileInfo(strSource).canonicalFilePath();
        QDirIterator it(QStringLiteral("/dev/disk/by-uuid"), QDir::Files | QDir::System);
        while (it.hasNext()) {
            it.next();
            if (QFileInfo(it.filePath()).canonicalFilePath() == strDevice)
                return QLatin1String("volume:") + it.fileName();
        }
    }
    return QLatin1String("folder:") + strPath;
}

class FolderDevice : public CameraDevice
{
public:
    explicit FolderDevice(const QString& strDcim) : m_strDcim(strDcim) {}

    bool content(QList<DeviceItem>& lstItems) const override
    {
        lstItems.clear();
        if (!QFileInfo(m_strDcim).isDir())
            return false;
        QDirIterator it(m_strDcim, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks,
                        QDirIterator::Subdirectories);
        const QDir dcim(m_strDcim);
        const QString strInside = dcim.canonicalPath() + QLatin1Char('/');
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            // A folder reached through a link could lie anywhere.
            if (info.isSymLink() || !info.canonicalFilePath().startsWith(strInside))
                continue;
            DeviceItem item;
            item.fileName = info.fileName();
            item.folder = info.absolutePath();
            item.subPath = dcim.relativeFilePath(info.absolutePath());
            if (item.subPath == QLatin1String("."))
                item.subPath.clear();
            item.size = QString::number(info.size());
            item.modified = QString::number(info.lastModified().toSecsSinceEpoch());
            lstItems.append(item);
        }
        nameItems(lstItems);
        return true;
    }

    bool copy(const DeviceItem& item, const QString& strTarget) const override
    {
        const QString strSource = item.folder + QLatin1Char('/') + item.fileName;
        QFile::remove(strTarget);
        if (!QFile::copy(strSource, strTarget)) {
            lenswayMessage(QStringLiteral("cannot copy %1").arg(strSource));
            return false;
        }
        QFile target(strTarget);
        if (target.open(QIODevice::ReadWrite))
            target.setFileTime(QFileInfo(strSource).lastModified(), QFileDevice::FileModificationTime);
        return true;
    }

private:
    QString m_strDcim;
};

// gphoto2 runs with an argument list and a time limit: a camera that stops answering must
// not hold the import for ever.
bool runGphoto2(const QStringList& lstArguments, QString* pstrOutput, int iTimeoutMs = 120000)
{
    const QString strProgram = QStandardPaths::findExecutable(QStringLiteral("gphoto2"));
    if (strProgram.isEmpty())
        return false;
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    // Its messages are read, so they must not come translated.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    env.remove(QStringLiteral("LANGUAGE"));
    process.setProcessEnvironment(env);
    process.start(strProgram, lstArguments);
    if (!process.waitForStarted(10000))
        return false;
    if (!process.waitForFinished(iTimeoutMs)) {
        process.kill();
        process.waitForFinished(-1);
        lenswayMessage(QStringLiteral("gphoto2 %1 did not end in time").arg(lstArguments.join(QLatin1Char(' '))));
        return false;
    }
    if (pstrOutput)
        *pstrOutput = QString::fromLocal8Bit(process.readAllStandardOutput());
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

class PtpCamera : public CameraDevice
{
public:
    PtpCamera(const QString& strModel, const QString& strPort) : m_strModel(strModel), m_strPort(strPort) {}

    bool content(QList<DeviceItem>& lstItems) const override
    {
        QString strOutput;
        if (!runGphoto2(base() << QStringLiteral("--list-files"), &strOutput, 600000))
            return false;
        lstItems = Gphoto2Text::listFiles(strOutput);
        nameItems(lstItems);
        return true;
    }

    bool copy(const DeviceItem& item, const QString& strTarget) const override
    {
        QFile::remove(strTarget);
        // The target is a pattern to gphoto2: a "%" in the path stands for itself.
        QString strPattern = strTarget;
        strPattern.replace(QLatin1Char('%'), QLatin1String("%%"));
        const bool blOk = runGphoto2(base() << QStringLiteral("--folder") << item.folder << QStringLiteral("--get-file")
                                            << item.fileName << QStringLiteral("--filename") << strPattern
                                            << QStringLiteral("--force-overwrite"),
                                     nullptr);
        if (!blOk || !QFileInfo::exists(strTarget)) {
            lenswayMessage(QStringLiteral("cannot copy %1/%2 from the camera").arg(item.folder, item.fileName));
            return false;
        }
        return true;
    }

    QStringList base() const { return {QStringLiteral("--camera"), m_strModel, QStringLiteral("--port"), m_strPort}; }

private:
    QString m_strModel;
    QString m_strPort;
};

QString userName()
{
#ifdef Q_OS_UNIX
    if (const passwd* pEntry = ::getpwuid(::getuid()))
        return QFile::decodeName(pEntry->pw_name);
#endif
    return qEnvironmentVariable("USER");
}

} // namespace

QString plainName(const QString& strName)
{
    QString strPlain = strName;
    strPlain.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    if (strPlain.isEmpty() || strPlain == QLatin1String(".") || strPlain == QLatin1String(".."))
        strPlain.replace(QLatin1Char('.'), QLatin1Char('_'));
    return strPlain.isEmpty() ? QStringLiteral("_") : strPlain;
}

void nameItems(QList<DeviceItem>& lstItems)
{
    std::sort(lstItems.begin(), lstItems.end(), [](const DeviceItem& a, const DeviceItem& b) {
        return a.subPath != b.subPath ? a.subPath < b.subPath : a.fileName < b.fileName;
    });
    QSet<QString> setTaken;
    for (DeviceItem& item : lstItems) {
        QString strName = plainName(item.fileName);
        if (setTaken.contains(strName)) {
            QString strTag = item.subPath;
            strTag.replace(QLatin1Char('/'), QLatin1Char('_'));
            const QString strBase = plainName(strTag.isEmpty() ? QStringLiteral("DCIM") : strTag) +
                                    QLatin1Char('_') + plainName(item.fileName);
            strName = strBase;
            const int iDot = int(strBase.lastIndexOf(QLatin1Char('.')));
            for (int n = 2; setTaken.contains(strName); ++n)
                strName = iDot > 0 ? QString(strBase.left(iDot) + QLatin1Char('_') + QString::number(n) + strBase.mid(iDot))
                                   : QString(strBase + QLatin1Char('_') + QString::number(n));
        }
        setTaken.insert(strName);
        item.name = strName;
    }
}

namespace Gphoto2Text {

QList<Camera> autoDetect(const QString& strOutput)
{
    QList<Camera> lstCameras;
    bool blTable = false;
    for (const QString& strLine : strOutput.split(QLatin1Char('\n'))) {
        if (strLine.startsWith(QLatin1String("----"))) {
            blTable = true;
            continue;
        }
        const QString strTrimmed = strLine.trimmed();
        if (!blTable || strTrimmed.isEmpty())
            continue;
        const int iSplit = int(strTrimmed.lastIndexOf(QRegularExpression(QStringLiteral("\\s"))));
        if (iSplit <= 0)
            continue;
        const QString strPort = strTrimmed.mid(iSplit + 1);
        if (strPort.startsWith(QLatin1String("usb:")))
            lstCameras.append({strTrimmed.left(iSplit).trimmed(), strPort});
    }
    return lstCameras;
}

QString serialNumber(const QString& strSummary)
{
    static const QRegularExpression s_serial(QStringLiteral("^\\s*Serial Number:\\s*(\\S.*?)\\s*$"),
                                             QRegularExpression::MultilineOption);
    return s_serial.match(strSummary).captured(1);
}

QList<DeviceItem> listFiles(const QString& strOutput)
{
    static const QRegularExpression s_folder(
        QStringLiteral("^There (?:is|are) (?:no|\\d+) files? in folder '(.*)'[.:]\\s*$"));
    static const QRegularExpression s_file(QStringLiteral("^#\\d+\\s+(.+?)\\s+[r-][d-]\\s+(\\d+ KB)(.*)$"));
    QList<DeviceItem> lstItems;
    QString strFolder;
    QString strSub;
    bool blInDcim = false;
    for (const QString& strLine : strOutput.split(QLatin1Char('\n'))) {
        if (const QRegularExpressionMatch folder = s_folder.match(strLine); folder.hasMatch()) {
            strFolder = folder.captured(1);
            const int iDcim = int(strFolder.indexOf(QLatin1String("/DCIM"), 0, Qt::CaseInsensitive));
            blInDcim = iDcim >= 0 && (strFolder.size() == iDcim + 5 || strFolder.at(iDcim + 5) == QLatin1Char('/'));
            strSub = blInDcim ? strFolder.mid(iDcim + 6) : QString();
            continue;
        }
        const QRegularExpressionMatch file = s_file.match(strLine);
        if (!blInDcim || !file.hasMatch())
            continue;
        DeviceItem item;
        item.fileName = file.captured(1);
        item.folder = strFolder;
        item.subPath = strSub;
        item.size = file.captured(2);
        const QStringList lstRest = file.captured(3).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        static const QRegularExpression s_digits(QStringLiteral("^\\d+$"));
        if (!lstRest.isEmpty() && s_digits.match(lstRest.last()).hasMatch())
            item.modified = lstRest.last();
        lstItems.append(item);
    }
    return lstItems;
}

} // namespace Gphoto2Text

DeviceList findDevices()
{
    DeviceList devices;
    QSet<QString> setSeen;
    auto addVolume = [&](const QString& strPath, const QString& strId) {
        const QString strCanonical = QFileInfo(strPath).canonicalFilePath();
        if (strCanonical.isEmpty() || setSeen.contains(strCanonical))
            return;
        const QString strDcim = dcimOf(strCanonical);
        if (strDcim.isEmpty())
            return;
        setSeen.insert(strCanonical);
        auto pDevice = std::make_unique<FolderDevice>(strDcim);
        pDevice->id = strId.isEmpty() ? volumeId(strCanonical) : strId;
        pDevice->name = QFileInfo(strCanonical).fileName();
        pDevice->description = strCanonical;
        devices.push_back(std::move(pDevice));
    };
    auto subFolders = [](const QString& strBase) {
        QStringList lstPaths;
        for (const QString& strDir : QDir(strBase).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            lstPaths.append(strBase + QLatin1Char('/') + strDir);
        return lstPaths;
    };

    const QString strUser = userName();
    for (const QString& strBase : QStringList{QLatin1String("/media/") + strUser, QLatin1String("/run/media/") + strUser}) {
        for (const QString& strVolume : subFolders(strBase))
            addVolume(strVolume, QString());
    }
    // GVfs mounts of cameras and phones: the mount itself or one of its storages holds DCIM.
    const QString strRuntime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!strRuntime.isEmpty()) {
        const QString strGvfs = strRuntime + QLatin1String("/gvfs");
        for (const QString& strMount : subFolders(strGvfs)) {
            const QString strMountName = QFileInfo(strMount).fileName();
            if (!dcimOf(strMount).isEmpty()) {
                addVolume(strMount, QLatin1String("gvfs:") + strMountName);
                continue;
            }
            for (const QString& strStorage : subFolders(strMount))
                addVolume(strStorage, QLatin1String("gvfs:") + strMountName + QLatin1Char('/') +
                                          QFileInfo(strStorage).fileName());
        }
    }
    for (const QString& strFolder :
         qEnvironmentVariable("PICTARIUM_CAMERA_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        addVolume(strFolder, QString());

    // Cameras on USB, and (for tests) folders read through gphoto2's directory driver.
    QList<Gphoto2Text::Camera> lstCameras;
    QString strDetected;
    if (runGphoto2({QStringLiteral("--auto-detect")}, &strDetected, 30000))
        lstCameras = Gphoto2Text::autoDetect(strDetected);
    for (const QString& strFolder :
         qEnvironmentVariable("PICTARIUM_GPHOTO2_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        lstCameras.append({QStringLiteral("Directory Browse"), QLatin1String("disk:") + strFolder});
    for (const Gphoto2Text::Camera& camera : std::as_const(lstCameras)) {
        auto pCamera = std::make_unique<PtpCamera>(camera.model, camera.port);
        QString strSummary;
        runGphoto2(pCamera->base() << QStringLiteral("--summary"), &strSummary, 30000);
        const QString strSerial = Gphoto2Text::serialNumber(strSummary);
        // A USB port changes with every plug; model and serial number do not.
        QString strId = QLatin1String("ptp:") + camera.model;
        if (!strSerial.isEmpty())
            strId += QLatin1Char(':') + strSerial;
        else if (!camera.port.startsWith(QLatin1String("usb:")))
            strId += QLatin1Char('@') + camera.port;
        pCamera->id = strId;
        pCamera->name = camera.model;
        pCamera->description = camera.port.startsWith(QLatin1String("usb:")) ? QStringLiteral("USB") : camera.port;
        devices.push_back(std::move(pCamera));
    }
    return devices;
}
