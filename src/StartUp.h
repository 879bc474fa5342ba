#pragma once

#include "RunMode.h"
#include "store/ServerProfile.h"

#include <QLocalServer>
#include <QString>
#include <QStringList>
#include <QTranslator>

#include <functional>
#include <memory>

class QNetworkAccessManager;
class UserPrompt;

// The seam between start-up and the three modal flows it can open.
class StartUpFlows
{
public:
    virtual ~StartUpFlows() = default;

    virtual void applyWindowIcon() {}
    virtual void runProfileEditor(RunMode mode, QNetworkAccessManager* pNam) = 0;
    // Another start asked for the profile list editor that this process shows.
    virtual void raiseProfileEditor() {}
    // True when the wizard was accepted and the record filled and stored.
    virtual bool runCreateWizard(RunMode mode, QNetworkAccessManager* pNam, ServerProfile* pProfile) = 0;
    virtual void runUploadWizard(RunMode mode, QNetworkAccessManager* pNam, const QStringList& lstFiles,
                                 ServerProfile* pProfile) = 0;
    // Starts the program itself again, detached, and does not wait for it.
    virtual bool startSelf(const QStringList& lstArguments);
};

// Keeps the profile list editor to one instance per user.
class ProfileEditorGuard
{
public:
    ProfileEditorGuard();
    ~ProfileEditorGuard();
    Q_DISABLE_COPY_MOVE(ProfileEditorGuard)

    // The per-user name of the "OpenProfileEditor" endpoint.
    static QString serverName();

    // False when another instance already shows the editor (it is asked to come to the front),
    // or the name cannot be taken.
    bool acquire();
    // Called when a later start finds this instance.
    void setActivationHandler(std::function<void()> handler) { m_onActivation = std::move(handler); }

private:
    std::unique_ptr<QLocalServer> m_pServer;
    std::function<void()> m_onActivation;
};

namespace StartUpRules {

// Every file below an absolute folder: sub-folders first, then by name, a sub-folder's
// contents in its place. Hidden entries and links are left out.
QStringList expandFolder(const QString& strFolder);

} // namespace StartUpRules

// Start-up after the application object exists: language, data folder, database, run-mode
// dispatch, shortcut list. Returns the process exit status.
class StartUp
{
public:
    StartUp(UserPrompt* pPrompt, StartUpFlows* pFlows);
    ~StartUp();
    Q_DISABLE_COPY_MOVE(StartUp)

    // lstArguments as QCoreApplication::arguments(): the program first.
    int run(const QStringList& lstArguments);

private:
    void dispatch(RunMode mode, const QStringList& lstArguments);
    void createFirst(RunMode mode, const QString& strFolder);
    void upload(RunMode mode, const QString& strProfile, const QString& strFolder, bool blFromCreate);
    void runEditorGuarded(RunMode mode);

    UserPrompt* m_pPrompt;
    StartUpFlows* m_pFlows;
    std::unique_ptr<QNetworkAccessManager> m_pNam;
    ServerProfile m_profile;
    QTranslator m_translator;
    QTranslator m_qtTranslator;
};
