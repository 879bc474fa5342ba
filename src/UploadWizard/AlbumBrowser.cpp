#include "AlbumBrowser.h"

#include "ui_AlbumBrowser.h"

#include "AppIdentity.h"
#include "protocol/AlbumRequests.h"
#include "protocol/ServerReply.h"
#include "protocol/ServerRequest.h"
#include "UserPrompt.h"
#include "VelmLocale.h"

#include <QDebug>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaType>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QPushButton>
#include <QUrl>

#include <utility>

namespace {

const QLatin1String kPlaceholder("dummy_folder");

QString itemPath(const QTreeWidgetItem* pItem)
{
    return pItem->data(0, Qt::UserRole).toString();
}

bool isPlaceholder(const QTreeWidgetItem* pItem)
{
    return pItem && pItem->type() == AlbumBrowser::DeepAlbum && itemPath(pItem) == kPlaceholder;
}

QTreeWidgetItem* childByPath(QTreeWidgetItem* pParent, const QString& strPath)
{
    for (int i = 0; i < pParent->childCount(); ++i) {
        if (itemPath(pParent->child(i)) == strPath)
            return pParent->child(i);
    }
    return nullptr;
}

// Marks the reply whose handler is running, so that a request sent from inside the handler
// does not destroy it under its own finished() signal.
class HandledReply
{
public:
    HandledReply(QNetworkReply*& rpHandled, QNetworkReply* pReply)
        : m_rpHandled(rpHandled), m_pPrevious(std::exchange(rpHandled, pReply))
    {
    }
    ~HandledReply() { m_rpHandled = m_pPrevious; }
    Q_DISABLE_COPY_MOVE(HandledReply)

private:
    QNetworkReply*& m_rpHandled;
    QNetworkReply* m_pPrevious;
};

} // namespace

AlbumBrowser::AlbumBrowser(QWidget* pParent, QNetworkAccessManager* pNam, const QString& strBaseUrl,
                           const QString& strHost, int iPort, UserPrompt* pPrompt)
    : QDialog(pParent), m_ui(std::make_unique<Ui::AlbumBrowser>()), m_strBaseUrl(strBaseUrl), m_pNam(pNam),
      m_pPrompt(pPrompt)
{
    static const int s_iCookieListType = qRegisterMetaType<QList<QNetworkCookie>>();
    Q_UNUSED(s_iCookieListType)

    m_ui->setupUi(this);
    m_ui->m_plblTitle->setText(VelmLocale::message("album_browser_desc"));
    m_ui->m_plblNewAlbumName->setText(VelmLocale::message("album_browser_new_album_name"));
    m_ui->m_pbtnCreateAlbum->setText(VelmLocale::message("btn_create"));
    m_ui->m_pbtnbxDialogBtnBox->button(QDialogButtonBox::Ok)->setText(VelmLocale::message("btn_ok"));
    m_ui->m_pbtnbxDialogBtnBox->button(QDialogButtonBox::Cancel)->setText(VelmLocale::message("btn_cancel"));
    setWindowTitle(AppIdentity::applicationTitle());

    // Always plain HTTP and without the personal part: the jar files the login cookie there.
    if (QNetworkCookieJar* pJar = m_pNam->cookieJar())
        m_lstCookies =
            pJar->cookiesForUrl(QUrl(QLatin1String("http://") + strHost + QLatin1Char(':') + QString::number(iPort)));

    m_ui->m_pbtnCreateAlbum->setEnabled(false);
    m_ui->m_pbtnbxDialogBtnBox->button(QDialogButtonBox::Ok)->setEnabled(false);
    // Enter after a typed name creates the album; it must not close the dialog with the parent
    // chosen instead.
    connect(m_ui->m_plnedtNewFolderName, &QLineEdit::textChanged, this, [this](const QString& strText) {
        const bool blName = !strText.trimmed().isEmpty();
        m_ui->m_pbtnCreateAlbum->setDefault(blName);
        m_ui->m_pbtnbxDialogBtnBox->button(QDialogButtonBox::Ok)->setDefault(!blName);
    });

    auto* pRoot = new QTreeWidgetItem(m_ui->m_ptrewServerDirTree, QStringList(QStringLiteral("photo")), RootItem);
    pRoot->setData(0, Qt::UserRole, QString());

    setBusy(true);
    m_pReply = send(AlbumRequests::buildList(m_strBaseUrl), AlbumRequests::uploadableAlbumsBody());
    connect(m_pReply, &QNetworkReply::finished, this, &AlbumBrowser::slotGetUpdAlbumLstRequestFinished);
}

AlbumBrowser::~AlbumBrowser()
{
    dropReply();
}

QString AlbumBrowser::selectedPath() const
{
    const QList<QTreeWidgetItem*> lstSelected = m_ui->m_ptrewServerDirTree->selectedItems();
    return lstSelected.isEmpty() ? QString() : itemPath(lstSelected.first());
}

QTreeWidget* AlbumBrowser::tree() const
{
    return m_ui->m_ptrewServerDirTree;
}

QNetworkReply* AlbumBrowser::send(const QNetworkRequest& request, const QByteArray& baBody)
{
    dropReply();
    QNetworkRequest withCookies(request);
    // An empty list cannot be written as a header; the request then goes without one.
    if (!m_lstCookies.isEmpty())
        withCookies.setHeader(QNetworkRequest::CookieHeader, QVariant::fromValue(m_lstCookies));
    return ServerRequest::post(m_pNam, withCookies, baBody);
}

void AlbumBrowser::dropReply()
{
    QNetworkReply* pReply = std::exchange(m_pReply, nullptr);
    if (!pReply)
        return;
    pReply->disconnect(this);
    if (pReply == m_pHandledReply)
        pReply->deleteLater();
    else
        delete pReply;
}

void AlbumBrowser::setBusy(bool blBusy)
{
    m_ui->m_ptrewServerDirTree->setEnabled(!blBusy);
    const bool blChanged = blBusy != m_blBusy;
    m_blBusy = blBusy;
    // One request at a time: a second Create would drop the answer to the first, and OK would
    // take an album that is still being made.
    slotDirItemSelectionChanged();
    if (!blChanged)
        return;
    if (blBusy)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void AlbumBrowser::warn(const QString& strText)
{
    const QString strTitle = VelmLocale::message("err_warning");
    if (m_pPrompt)
        m_pPrompt->warning(strTitle, strText);
    else
        QMessageBox::warning(this, strTitle, strText);
}

QTreeWidgetItem* AlbumBrowser::addAlbum(QTreeWidgetItem* pParent, const QString& strName, const QString& strPath,
                                        int iType, bool blPlaceholder)
{
    auto* pItem = new QTreeWidgetItem(pParent, QStringList(strName), iType);
    pItem->setData(0, Qt::UserRole, strPath);
    if (blPlaceholder) {
        // Gives the item its expand arrow until the real children arrive; never selectable.
        auto* pPlaceholder = new QTreeWidgetItem(pItem, QStringList(QString()), DeepAlbum);
        pPlaceholder->setData(0, Qt::UserRole, kPlaceholder);
        pPlaceholder->setFlags(Qt::ItemIsEnabled);
    }
    return pItem;
}

void AlbumBrowser::slotGetUpdAlbumLstRequestFinished()
{
    if (!m_pReply)
        return;
    const HandledReply handled(m_pHandledReply, m_pReply);
    const ServerReply reply = ServerReply::classify(m_pReply);
    bool blLost = false;
    const QString strMessage = ReplyMessages::albumList(reply, &blLost);
    m_blLoginLost = m_blLoginLost || blLost;

    QTreeWidgetItem* pRoot = m_ui->m_ptrewServerDirTree->topLevelItem(0);
    if (strMessage.isEmpty()) {
        for (const AlbumRequests::TopAlbum& top : AlbumRequests::uploadableTree(reply)) {
            QTreeWidgetItem* pFirst = childByPath(pRoot, top.name);
            if (!pFirst)
                pFirst = addAlbum(pRoot, top.name, top.name, TopAlbum, false);
            // Deeper levels come with the expansion of the second level.
            for (const QString& strName : top.children) {
                const QString strSecond = top.name + QLatin1Char('/') + strName;
                if (!childByPath(pFirst, strSecond))
                    addAlbum(pFirst, strName, strSecond, SecondAlbum, true);
            }
        }
    }

    // The root is a destination like any album, also for a user who is not an administrator
    // and on a server without albums: whether the user may write there is the server's answer.
    m_ui->m_ptrewServerDirTree->expandItem(pRoot);
    m_ui->m_ptrewServerDirTree->setCurrentItem(pRoot);
    setBusy(false);
    if (!strMessage.isEmpty())
        warn(strMessage);
}

void AlbumBrowser::slotDirItemExpanded(QTreeWidgetItem* pItem)
{
    if (!pItem || pItem->type() <= TopAlbum || m_setLoadedPaths.contains(itemPath(pItem)))
        return;
    // Only the item whose children are requested is remembered: expanding its parents on the
    // way must not redirect the answer.
    m_pExpandedItem = pItem;
    setBusy(true);
    m_pReply = send(AlbumRequests::buildList(m_strBaseUrl), AlbumRequests::subAlbumsBody(itemPath(pItem)));
    connect(m_pReply, &QNetworkReply::finished, this, &AlbumBrowser::slotGetSubAlbumLstRequestFinished);
}

void AlbumBrowser::slotGetSubAlbumLstRequestFinished()
{
    if (!m_pReply)
        return;
    const HandledReply handled(m_pHandledReply, m_pReply);
    const ServerReply reply = ServerReply::classify(m_pReply);
    bool blLost = false;
    const QString strMessage = ReplyMessages::subAlbumList(reply, &blLost);
    m_blLoginLost = m_blLoginLost || blLost;

    if (strMessage.isEmpty() && m_pExpandedItem) {
        QTreeWidgetItem* pItem = m_pExpandedItem;
        if (pItem->childCount() > 0 && isPlaceholder(pItem->child(0)))
            delete pItem->takeChild(0);
        const QString strPath = itemPath(pItem);
        m_setLoadedPaths.insert(strPath);
        for (const QString& strName : AlbumRequests::subAlbumNames(reply)) {
            const QString strChild = strPath + QLatin1Char('/') + strName;
            if (!m_setCreatedPaths.contains(strChild))
                addAlbum(pItem, strName, strChild, DeepAlbum, true);
        }
    }

    setBusy(false);
    if (!strMessage.isEmpty())
        warn(strMessage);
}

void AlbumBrowser::slotDirItemSelectionChanged()
{
    const QList<QTreeWidgetItem*> lstSelected = m_ui->m_ptrewServerDirTree->selectedItems();
    const bool blEnable = !lstSelected.isEmpty() && !m_blBusy;
    m_ui->m_pbtnCreateAlbum->setEnabled(blEnable);
    m_ui->m_pbtnbxDialogBtnBox->button(QDialogButtonBox::Ok)->setEnabled(blEnable);
}

void AlbumBrowser::slotCreateFolderClicked()
{
    // A name of blanks only would ask the server for an album without a name.
    if (m_ui->m_plnedtNewFolderName->text().trimmed().isEmpty()) {
        m_ui->m_plnedtNewFolderName->clear();
        return;
    }
    const QList<QTreeWidgetItem*> lstSelected = m_ui->m_ptrewServerDirTree->selectedItems();
    if (lstSelected.isEmpty())
        return;

    setBusy(true);
    m_strNewName = m_ui->m_plnedtNewFolderName->text().trimmed();
    m_ui->m_plnedtNewFolderName->setText(m_strNewName);
    m_pCreateParent = lstSelected.first();

    m_pReply = send(AlbumRequests::buildCreate(m_strBaseUrl, itemPath(m_pCreateParent), m_strNewName), QByteArray());
    connect(m_pReply, &QNetworkReply::finished, this, &AlbumBrowser::slotCreateAlbumRequestFinished);
}

void AlbumBrowser::slotCreateAlbumRequestFinished()
{
    if (!m_pReply)
        return;
    const HandledReply handled(m_pHandledReply, m_pReply);
    const ServerReply reply = ServerReply::classify(m_pReply);
    qDebug("%s:%d create album reply: %s", "AlbumBrowser", __LINE__, reply.body.constData());
    bool blLost = false;
    const QString strMessage = ReplyMessages::albumCreation(reply, &blLost);
    m_blLoginLost = m_blLoginLost || blLost;

    if (strMessage.isEmpty() && m_pCreateParent) {
        QTreeWidgetItem* pParent = m_pCreateParent;
        const QString strPath =
            pParent->type() == RootItem ? m_strNewName : itemPath(pParent) + QLatin1Char('/') + m_strNewName;
        const int iType = pParent->type() == RootItem   ? TopAlbum
                          : pParent->type() == TopAlbum ? SecondAlbum
                                                        : DeepAlbum;
        m_setCreatedPaths.insert(strPath);
        QTreeWidgetItem* pItem = addAlbum(pParent, m_strNewName, strPath, iType, false);
        m_ui->m_ptrewServerDirTree->setCurrentItem(pItem, 0, QItemSelectionModel::ClearAndSelect);
        m_ui->m_ptrewServerDirTree->scrollToItem(pItem);
        // The name is used: Enter now takes the new album.
        m_ui->m_plnedtNewFolderName->clear();
    }

    setBusy(false);
    if (!strMessage.isEmpty()) {
        warn(strMessage);
        if (m_blLoginLost)
            reject();
    }
}
