#pragma once

#include "findhost/FindHostUtils.h"
#include "store/ServerProfile.h"

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
// account and password. Save checks the input like the create-profile wizard does (without a
// login) and writes it into the row record; the owner stores it.
class ServerSettings : public QDialog
{
    Q_OBJECT

public:
    ServerSettings(QWidget* pParent, QNetworkAccessManager* pNam, ProfileSummary* pRow, UserPrompt* pPrompt);
    ~ServerSettings() override;

    FindHostUtils* finder() const;

public Q_SLOTS:
    void languageChange();
    void slotFindHostUpdate();
    void slotRefreshFinished();
    void slotDelayedInit();
    void slotDisplayConfig(int Index);
    void slotPersonalRadioBtnToogled(bool blIsToggled);
    void slotSavePassChecked(bool blChecked);
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
};
