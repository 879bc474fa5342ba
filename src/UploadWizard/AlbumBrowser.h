#pragma once

#include <QDialog>
#include <QList>
#include <QNetworkCookie>
#include <QSet>
#include <QString>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;
class QTreeWidget;
class QTreeWidgetItem;
class UserPrompt;

namespace Ui {
class AlbumBrowser;
}

// Picks the destination album on the server, or creates a new one under the selected item.
// Deeper levels of the album tree are fetched when an item is expanded.
class AlbumBrowser : public QDialog
{
    Q_OBJECT

public:
    // Item types by level; the placeholder child is a DeepAlbum item.
    enum ItemType
    {
        RootItem = 1000,
        TopAlbum = 1001,
        SecondAlbum = 1002,
        DeepAlbum = 1003
    };

    // Warnings go to pPrompt, or to a warning box over the dialog when it is null.
    AlbumBrowser(QWidget* pParent, QNetworkAccessManager* pNam, const QString& strBaseUrl, const QString& strHost,
                 int iPort, UserPrompt* pPrompt = nullptr);
    ~AlbumBrowser() override;
    Q_DISABLE_COPY_MOVE(AlbumBrowser)

    // Path of the first selected item; empty for the root or when nothing is selected.
    QString selectedPath() const;
    QTreeWidget* tree() const;

public Q_SLOTS:
    void slotGetUpdAlbumLstRequestFinished();
    void slotGetSubAlbumLstRequestFinished();
    void slotCreateAlbumRequestFinished();
    void slotDirItemExpanded(QTreeWidgetItem* pItem);
    void slotCreateFolderClicked();
    void slotDirItemSelectionChanged();

private:
    QNetworkReply* send(const QNetworkRequest& request, const QByteArray& baBody);
    void dropReply();
    void setBusy(bool blBusy);
    void warn(const QString& strText);
    QTreeWidgetItem* addAlbum(QTreeWidgetItem* pParent, const QString& strName, const QString& strPath, int iType,
                              bool blPlaceholder);

    std::unique_ptr<Ui::AlbumBrowser> m_ui;
    bool m_blBusy = false;
    QString m_strBaseUrl;
    QNetworkAccessManager* m_pNam;
    QNetworkReply* m_pReply = nullptr;
    QTreeWidgetItem* m_pExpandedItem = nullptr;
    QSet<QString> m_setLoadedPaths;
    QSet<QString> m_setCreatedPaths;
    QList<QNetworkCookie> m_lstCookies;

    UserPrompt* m_pPrompt;
    bool m_blLoginLost = false;
    QTreeWidgetItem* m_pCreateParent = nullptr; // parent of the album being created
    QString m_strNewName;
    QNetworkReply* m_pHandledReply = nullptr; // the reply whose handler is running
};
