#pragma once

#include "findhost/FindHostUtils.h"

#include <QObject>

#include <memory>

class CRadaAddDlgNasinfoProxyModel;
class CRadaNasinfoModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QNetworkAccessManager;
class QWidget;
class UserPrompt;

// The server choice shared by the create-profile wizard and the settings dialog: an editable
// combo box listing the servers found on the network (those not offered greyed, with the reason),
// a note under it while a search runs or after one found nothing, the profile name it fills in
// for a picked server, and the checks of the typed server and port.
class FoundServerPicker : public QObject
{
    Q_OBJECT

public:
    // Profile names are at most this long; the name field says so.
    static constexpr int ProfileNameLimit = 32;

    // Sets the combo box up on the found-server list and the name field up for its limit; the owner
    // connects finder()'s signals to its slots and starts the first round with search().
    FoundServerPicker(QObject* pParent, QNetworkAccessManager* pNam, FoundServerList* pList, UserPrompt* pPrompt,
                      QComboBox* pCombo, QLineEdit* pName, QLabel* pNote = nullptr);
    ~FoundServerPicker() override;

    FindHostUtils* finder() const { return m_pFinder.get(); }
    CRadaAddDlgNasinfoProxyModel* proxyModel() const { return m_pProxy; }

    // Starts a round; the note says that the network is being searched.
    void search();
    // New rows show in the combo box; the typed text survives.
    void showUpdate();
    // After a round that found nobody while the combo box was shown, the note says so as long as the
    // server field is empty.
    void showRoundFinished();
    // A picked server fills in its name (unless the user typed one) and its address.
    void pick(int iIndex);
    // The name field's placeholder, in the current language.
    void languageChange();

    // A typed server that was found but is not supported is refused; one that is not ready is
    // accepted only when the user confirms.
    bool confirmFoundServer(const QString& strHost) const;
    // Empty, or a whole number from 1 to 65535; otherwise the box, and the port gets the focus.
    bool checkPort(QLineEdit* pPort) const;
    // A usable address or a name the system resolves; otherwise the box, and the combo box gets
    // the focus.
    bool checkHost(const QString& strHost) const;

private:
    void showRows(const QString& strText);
    void showNote();

    FoundServerList* m_pList;
    UserPrompt* m_pPrompt;
    QComboBox* m_pCombo;
    QLineEdit* m_pName;
    QLabel* m_pNote;
    std::unique_ptr<FindHostUtils> m_pFinder;
    CRadaNasinfoModel* m_pModel;
    CRadaAddDlgNasinfoProxyModel* m_pProxy;
    bool m_blSearching = false;
    bool m_blNoneFound = false;
};
