#pragma once

#include "findhost/FindHostUtils.h"
#include "store/ServerProfile.h"
#include "store/WatchStore.h"

#include <QDialog>

#include <memory>

namespace Ui {
class ServerSettings;
}
class FoundServerPicker;
class QLabel;
class QNetworkAccessManager;
class UserPrompt;

// Edits the connection settings of one stored profile: name, server, port, HTTPS, account type,
// account and password, and the folders uploaded from automatically. Save checks the input like
// the create-profile wizard does (without a login) and writes it into the row record and
// watchSettings(); the owner stores both.
class ServerSettings : public QDialog
{
    Q_OBJECT

public:
    ServerSettings(QWidget* pParent, QNetworkAccessManager* pNam, ProfileSummary* pRow, UserPrompt* pPrompt);
    ~ServerSettings() override;

    FindHostUtils* finder() const;
    // The automatic upload as the dialog shows it (as stored until Save).
    const WatchStore::Settings& watchSettings() const { return m_watch; }

public Q_SLOTS:
    void languageChange();
    void slotFindHostUpdate();
    void slotRefreshFinished();
    void slotDelayedInit();
    void slotDisplayConfig(int Index);
    void slotPersonalRadioBtnToogled(bool blIsToggled);
    void slotSavePassChecked(bool blChecked);
    void slotWatchAdd();
    void slotWatchRemove();
    // The automatic upload needs a remembered password and a folder.
    void slotWatchState();
    void accept() override;
    // Shows the certificate key trusted for the server and port entered.
    void showCertificate();

private:
    void applyLook();
    void loadRow();
    bool validate();
    void writeBack();

    std::unique_ptr<Ui::ServerSettings> m_ui;
    QLabel* m_plbTitle;
    ProfileSummary* m_pRow;
    UserPrompt* m_pPrompt;
    FoundServerList m_foundServers;
    std::unique_ptr<FoundServerPicker> m_pPicker;
    WatchStore::Settings m_watch;
};
