#include "StartUp.h"

#include "AppIdentity.h"
#include "HandOverFile.h"
#include "UserPrompt.h"
#include "VelmLocale.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QNetworkAccessManager>
#include <QProcess>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

bool StartUpFlows::startSelf(const QStringList& lstArguments)
{
    return QProcess::startDetached(QCoreApplication::applicationFilePath(), lstArguments);
}

ProfileEditorGuard::ProfileEditorGuard() = default;

ProfileEditorGuard::~ProfileEditorGuard() = default;

QString ProfileEditorGuard::serverName()
{
#ifdef Q_OS_UNIX
    return QStringLiteral("OpenProfileEditor-%1").arg(qulonglong(::getuid()));
#else
    return QStringLiteral("OpenProfileEditor-") + qEnvironmentVariable("USERNAME");
#endif
}

bool ProfileEditorGuard::acquire()
{
    const QString strName = serverName();
    {
        QLocalSocket socket;
        socket.connectToServer(strName, QIODevice::ReadWrite);
        if (socket.waitForConnected(100)) {
            socket.disconnectFromServer();
            return false;
        }
    }

    m_pServer = std::make_unique<QLocalServer>();
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    // A name left behind by an instance that ended without closing is taken over; bounded,
    // so a name that can be removed but never listened on cannot loop forever.
    for (int iTry = 0; iTry < 8; ++iTry) {
        if (m_pServer->listen(strName)) {
            // A connection is the whole request: nothing is read or sent.
            QObject::connect(m_pServer.get(), &QLocalServer::newConnection, m_pServer.get(), [this] {
                while (QLocalSocket* pSocket = m_pServer->nextPendingConnection()) {
                    pSocket->disconnectFromServer();
                    pSocket->deleteLater();
                }
                if (m_onActivation)
                    m_onActivation();
            });
            return true;
        }
        if (m_pServer->serverError() != QAbstractSocket::AddressInUseError || !QLocalServer::removeServer(strName))
            break;
    }
    qDebug("%s:%d cannot listen on [%s]: %s", "src/StartUp", __LINE__, qPrintable(strName),
           qPrintable(m_pServer->errorString()));
    m_pServer.reset();
    return false;
}

namespace StartUpRules {

namespace {

void appendFolderFiles(const QString& strFolder, QStringList& lstFiles)
{
    const QFileInfoList lstEntries =
        QDir(strFolder).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                                      QDir::DirsFirst | QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : lstEntries) {
        if (entry.isSymLink() || entry.isShortcut() || entry.isHidden() || !entry.exists())
            continue;
        if (entry.isDir())
            appendFolderFiles(entry.absoluteFilePath(), lstFiles);
        else
            lstFiles.append(entry.absoluteFilePath());
    }
}

} // namespace

QStringList expandFolder(const QString& strFolder)
{
    QStringList lstFiles;
    const QFileInfo info(strFolder);
    if (strFolder.isEmpty() || info.isRelative() || !info.isDir())
        return lstFiles;
    appendFolderFiles(info.absoluteFilePath(), lstFiles);
    return lstFiles;
}

} // namespace StartUpRules

StartUp::StartUp(UserPrompt* pPrompt, StartUpFlows* pFlows) : m_pPrompt(pPrompt), m_pFlows(pFlows) {}

StartUp::~StartUp()
{
    QCoreApplication::removeTranslator(&m_translator);
    QCoreApplication::removeTranslator(&m_qtTranslator);
}

int StartUp::run(const QStringList& lstArguments)
{
    m_pNam = std::make_unique<QNetworkAccessManager>();
    m_profile = ServerProfile();
    VelmSettings settings;

    const QString strCatalog = VelmLocale::translationCatalog(settings);
    if (m_translator.load(strCatalog) && !m_translator.isEmpty())
        QCoreApplication::installTranslator(&m_translator);
    // Qt's own texts (standard buttons, file dialogs) in the same language.
    if (VelmLocale::loadQtCatalog(m_qtTranslator, VelmLocale::currentLanguage(settings)))
        QCoreApplication::installTranslator(&m_qtTranslator);
    VelmLocale::fillMessageTable();

    AppIdentity::ensureDataFolder();
    m_pFlows->applyWindowIcon();

    if (!VelmDatabase::open()) {
        m_pPrompt->critical(VelmLocale::message("err_error"),
                            VelmLocale::message("err_database").arg(VelmDatabase::lastErrorText()));
        return 1;
    }
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);

    const RunMode mode =
        lstArguments.size() > 1 ? RunModes::fromNumber(HandOverFile::atoiText(lstArguments.at(1))) : RunMode::Home;
    dispatch(mode, lstArguments);

    ProfileStore::rewriteShortcutList();
    VelmDatabase::close();
    return 0;
}

void StartUp::dispatch(RunMode mode, const QStringList& lstArguments)
{
    const QString strSecond = lstArguments.size() > 2 ? lstArguments.at(2) : QString();
    qDebug("%s:%d run mode %d", "src/StartUp", __LINE__, int(mode));

    switch (mode) {
    case RunMode::UploadHandOver:
    case RunMode::UploadPicked: {
        const int iIndex = HandOverFile::atoiText(strSecond);
        const QString strProfile = ProfileStore::shortcutProfileName(iIndex);
        if (strProfile.isEmpty())
            m_pPrompt->warning(VelmLocale::message("err_error"),
                               VelmLocale::message("err_no_shortcut_profile").arg(iIndex));
        else
            upload(mode, strProfile, QString(), false);
        break;
    }
    case RunMode::UploadFolder:
    case RunMode::Camera: {
        const QString strFolder = mode == RunMode::UploadFolder ? strSecond : QString();
        const QString strProfile = ProfileStore::shortcutProfileName(0);
        if (strProfile.isEmpty())
            createFirst(mode, strFolder);
        else
            upload(mode, strProfile, strFolder, false);
        break;
    }
    case RunMode::CameraStart:
        if (!m_pFlows->startSelf({RunModes::argument(RunMode::Camera)}))
            qDebug("%s:%d cannot start the camera import", "src/StartUp", __LINE__);
        break;
    case RunMode::Editor:
    case RunMode::Home:
        runEditorGuarded(mode);
        break;
    case RunMode::CreateThenUpload:
    case RunMode::CreateProfile:
        createFirst(mode, QString());
        break;
    case RunMode::None:
        break;
    }
}

void StartUp::createFirst(RunMode mode, const QString& strFolder)
{
    const bool blAccepted = m_pFlows->runCreateWizard(mode, m_pNam.get(), &m_profile);
    if (!blAccepted || mode == RunMode::CreateProfile)
        return;
    upload(mode, m_profile.profname, strFolder, true);
}

void StartUp::upload(RunMode mode, const QString& strProfile, const QString& strFolder, bool blFromCreate)
{
    QStringList lstFiles;
    if (mode == RunMode::UploadFolder) {
        lstFiles = StartUpRules::expandFolder(strFolder);
    } else if (mode != RunMode::Camera && mode != RunMode::UploadPicked) {
        if (!HandOverFile::readCountedList(AppIdentity::dataFilePath(QStringLiteral("FileList")), lstFiles))
            m_pPrompt->warning(VelmLocale::message("err_warning"), VelmLocale::message("err_none_sel_file"));
    }

    if (!blFromCreate && !ProfileStore::loadProfile(strProfile, m_profile, *m_pPrompt))
        return;
    m_pFlows->runUploadWizard(mode, m_pNam.get(), lstFiles, &m_profile);
}

void StartUp::runEditorGuarded(RunMode mode)
{
    ProfileEditorGuard guard;
    if (!guard.acquire())
        return;
    guard.setActivationHandler([this] { m_pFlows->raiseProfileEditor(); });
    m_pFlows->runProfileEditor(mode, m_pNam.get());
}
