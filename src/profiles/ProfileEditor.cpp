#include "ProfileEditor.h"

#include <algorithm>

#include "AppIdentity.h"
#include "CreateWizard.h"
#include "ServerSettings.h"
#include "UserPrompt.h"
#include "VelmImages.h"
#include "VelmLocale.h"
#include "WatchService.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"
#include "store/WatchStore.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QDebug>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

const char* const TitleSheet = "QLabel { font-size : 12px;\n font-style : bold;\n color : #ffffff }";
constexpr int HeaderBand = 45;
constexpr int RowHeight = 40;
constexpr int IconSize = 30;
constexpr int HintHeight = 28;

QLabel* hintLabel(QWidget* pParent, const char* pszName, int iPixels, bool blBold, const char* pszColor)
{
    auto* pLabel = new QLabel(pParent);
    pLabel->setObjectName(QLatin1String(pszName));
    pLabel->setFont(pixelFont(iPixels, blBold));
    pLabel->setStyleSheet(QStringLiteral("QLabel { color : %1 }").arg(QLatin1String(pszColor)));
    pLabel->setWordWrap(true);
    pLabel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    return pLabel;
}

QStringList partImages()
{
    QStringList lstPaths;
    for (const char* pszState : {"normal", "hover", "action"})
        for (int iPart = 1; iPart <= 3; ++iPart)
            lstPaths.append(QStringLiteral(":/images/bt_create_%1%2.png").arg(QLatin1String(pszState)).arg(iPart));
    return lstPaths;
}

} // namespace

ProfileEditor::ProfileEditor(QWidget* pParent, RunMode mode, QNetworkAccessManager* pNam, UserPrompt* pPrompt)
    : QDialog(pParent), m_mode(mode), m_pNam(pNam), m_pPrompt(pPrompt),
      m_launcher([](const QStringList& lstArguments) {
          return QProcess::startDetached(QCoreApplication::applicationFilePath(), lstArguments);
      })
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setMinimumSize(630, 355);
    resize(630, 355);

    m_plbTitle = new QLabel(this);
    m_plbTitle->setObjectName(QStringLiteral("m_plbTitle"));
    m_plbTitle->setStyleSheet(QLatin1String(TitleSheet));
    QFont titleFont(QStringLiteral("Verdana"), 12);
    titleFont.setBold(true);
    m_plbTitle->setFont(titleFont);
    m_plbTitle->setFixedHeight(HeaderBand);
    m_plbTitle->setContentsMargins(15, 0, 0, 0);

    m_ptblViewProf = new EditorTableView(this);
    m_ptblViewProf->setObjectName(QStringLiteral("m_ptblViewProf"));

    // Without profiles: what to do first, on the list's white.
    m_pwgtEmpty = new QWidget(this);
    m_pwgtEmpty->setObjectName(QStringLiteral("m_pwgtEmpty"));
    m_pwgtEmpty->setBackgroundRole(QPalette::Base);
    m_pwgtEmpty->setAutoFillBackground(true);
    m_plbNoProfiles = hintLabel(m_pwgtEmpty, "m_plbNoProfiles", 14, true, "#313131");
    m_plbEmptyHint = hintLabel(m_pwgtEmpty, "m_plbEmptyHint", 12, false, "#7d7d7d");
    m_pbtnCreateFirst = new QPushButton(m_pwgtEmpty);
    m_pbtnCreateFirst->setObjectName(QStringLiteral("m_pbtnCreateFirst"));
    auto* pEmptyLayout = new QVBoxLayout(m_pwgtEmpty);
    pEmptyLayout->setContentsMargins(30, 0, 30, 0);
    pEmptyLayout->setSpacing(10);
    pEmptyLayout->addStretch(2);
    pEmptyLayout->addWidget(m_plbNoProfiles);
    pEmptyLayout->addWidget(m_plbEmptyHint);
    pEmptyLayout->addSpacing(6);
    pEmptyLayout->addWidget(m_pbtnCreateFirst, 0, Qt::AlignHCenter);
    pEmptyLayout->addStretch(3);

    m_plbUploadHint = hintLabel(this, "m_plbUploadHint", 12, false, "#7d7d7d");
    m_plbUploadHint->setMinimumHeight(HintHeight);
    m_plbUploadHint->setContentsMargins(15, 5, 15, 5);
    m_plbUploadHint->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_plbTitle);
    pLayout->addWidget(m_ptblViewProf, 1);
    pLayout->addWidget(m_pwgtEmpty, 1);
    pLayout->addWidget(m_plbUploadHint);

    m_pEditIcon = new VelmIcon(m_ptblViewProf);
    m_pEditIcon->setObjectName(QStringLiteral("m_pEditIcon"));
    m_pDeleteIcon = new VelmIcon(m_ptblViewProf);
    m_pDeleteIcon->setObjectName(QStringLiteral("m_pDeleteIcon"));
    for (VelmIcon* pIcon : {m_pEditIcon, m_pDeleteIcon}) {
        pIcon->setFixedSize(IconSize, IconSize);
        pIcon->setMouseTracking(true);
        pIcon->hide();
    }
    m_pCreateIcon = new VelmIcon(this);
    m_pCreateIcon->setObjectName(QStringLiteral("m_pCreateIcon"));
    m_pCreateIcon->setPartImages(partImages());
    m_pCreateIcon->setState(VelmIcon::Normal);
    m_pCreateIcon->setMouseTracking(true);
    languageChange();

    loadRows();
    m_pModel = new ProfileConfigModel(&m_rows, this);
    m_pDelegate = new EditorDelegate(this);
    m_pProxy = new SortProfileConfigModel(this);
    m_pProxy->setDynamicSortFilter(true);
    m_pProxy->setSourceModel(m_pModel);
    m_ptblViewProf->setModel(m_pProxy);
    m_ptblViewProf->setItemDelegate(m_pDelegate);
    m_ptblViewProf->setSortingEnabled(true);
    m_ptblViewProf->horizontalHeader()->setSectionsClickable(true);
    m_ptblViewProf->sortByColumn(ProfileConfigModel::ColName, Qt::AscendingOrder);
    fitRows();

    connect(m_ptblViewProf->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ProfileEditor::showIcons);
    connect(m_ptblViewProf, &EditorTableView::signalMouseDoubleClicked, this, &ProfileEditor::slotDoubleClicked);
    connect(m_ptblViewProf, &EditorTableView::signalMouseMove, this, &ProfileEditor::slotMouseMove);
    connect(m_ptblViewProf, &EditorTableView::signalMouseLeave, this, &ProfileEditor::slotClearSelect);
    connect(static_cast<EditorHeaderView*>(m_ptblViewProf->horizontalHeader()), &EditorHeaderView::signalEnter, this,
            &ProfileEditor::slotClearSelect);
    // The icons follow their row when the rows scroll, sort or the table changes size.
    connect(m_ptblViewProf->verticalScrollBar(), &QScrollBar::valueChanged, this, &ProfileEditor::placeIcons);
    connect(m_pProxy, &QAbstractItemModel::layoutChanged, this, &ProfileEditor::placeIcons);
    m_ptblViewProf->viewport()->installEventFilter(this);
    connect(m_pEditIcon, &VelmIcon::signalHoverStateChange, this, &ProfileEditor::slotShowIcon);
    connect(m_pDeleteIcon, &VelmIcon::signalHoverStateChange, this, &ProfileEditor::slotShowIcon);
    connect(m_pEditIcon, &VelmIcon::signalMousePress, this, &ProfileEditor::slotEditProfile);
    connect(m_pDeleteIcon, &VelmIcon::signalMousePress, this, &ProfileEditor::slotDeleteProfile);
    connect(m_pCreateIcon, &VelmIcon::signalHoverStateChange, m_pCreateIcon, qOverload<>(&QWidget::repaint));
    connect(m_pCreateIcon, &VelmIcon::signalMousePress, this, &ProfileEditor::slotCreateProfile);
    connect(m_pbtnCreateFirst, &QPushButton::clicked, this, &ProfileEditor::slotCreateProfile);

    const struct
    {
        QList<QKeySequence> keys;
        QWidget* pScope; // the whole window, or only while the table has the focus
        void (ProfileEditor::*pSlot)();
    } shortcuts[] = {
        {{QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}, m_ptblViewProf, &ProfileEditor::slotUploadSelected},
        {{QKeySequence(Qt::Key_F2), QKeySequence(Qt::CTRL | Qt::Key_E)}, this, &ProfileEditor::slotEditProfile},
        {QKeySequence::keyBindings(QKeySequence::Delete), this, &ProfileEditor::slotDeleteProfile},
        {QKeySequence::keyBindings(QKeySequence::New), this, &ProfileEditor::slotCreateProfile},
    };
    for (const auto& shortcut : shortcuts) {
        auto* pShortcut = new QShortcut(shortcut.pScope);
        pShortcut->setKeys(shortcut.keys);
        pShortcut->setContext(shortcut.pScope == this ? Qt::WindowShortcut : Qt::WidgetWithChildrenShortcut);
        pShortcut->setAutoRepeat(false); // a held Enter starts one upload
        connect(pShortcut, &QShortcut::activated, this, shortcut.pSlot);
    }

    // Keys work at once: the list has the focus, its first row selected.
    selectRow(0);
    showEmptyHint();
}

ProfileEditor::~ProfileEditor()
{
    // The view and the model go before the rows they show.
    m_ptblViewProf->setModel(nullptr);
}

void ProfileEditor::languageChange()
{
    setWindowTitle(AppIdentity::applicationTitle());
    m_plbTitle->setText(QCoreApplication::translate("ProfileEditor", "Pictarium Uploader Profile List"));
    m_pCreateIcon->setButtonText(VelmLocale::message("btn_create_prof"));
    m_pCreateIcon->move(509 - m_pCreateIcon->width(), (HeaderBand - m_pCreateIcon->height()) / 2);
    m_pEditIcon->setToolTip(VelmLocale::message("editor_tip_edit"));
    m_pDeleteIcon->setToolTip(VelmLocale::message("editor_tip_delete"));
    m_plbUploadHint->setText(VelmLocale::message("editor_hint_upload"));
    m_plbNoProfiles->setText(VelmLocale::message("editor_no_profiles"));
    m_plbEmptyHint->setText(VelmLocale::message("editor_empty_hint"));
    m_pbtnCreateFirst->setText(VelmLocale::message("btn_create_prof"));
    m_pbtnCreateFirst->setMinimumSize(m_pbtnCreateFirst->sizeHint() + QSize(24, 8));
}

void ProfileEditor::loadRows()
{
    m_rows.clear();
    const QMap<QString, ProfileSummary> mapProfiles = ProfileStore::listProfiles();
    for (auto it = mapProfiles.cbegin(); it != mapProfiles.cend(); ++it)
        m_rows[it.key()] = std::make_unique<ProfileSummary>(it.value());
}

void ProfileEditor::fitRows()
{
    m_ptblViewProf->verticalHeader()->setMinimumSectionSize(RowHeight);
    m_ptblViewProf->verticalHeader()->setDefaultSectionSize(RowHeight);
    for (int iRow = 0; iRow < m_pProxy->rowCount(); ++iRow)
        m_ptblViewProf->setRowHeight(iRow, RowHeight);
    m_ptblViewProf->resizeColumnsToContents();
}

void ProfileEditor::showRows(int iRow)
{
    slotClearSelect();
    m_pModel->reload();
    fitRows();
    selectRow(std::min(iRow, m_pProxy->rowCount() - 1));
    showEmptyHint();
}

int ProfileEditor::rowOf(const QString& strName) const
{
    for (int iRow = 0; iRow < m_pProxy->rowCount(); ++iRow)
        if (m_pProxy->index(iRow, ProfileConfigModel::ColName).data().toString() == strName)
            return iRow;
    return 0;
}

void ProfileEditor::selectRow(int iRow)
{
    if (iRow < 0 || iRow >= m_pProxy->rowCount())
        return;
    m_ptblViewProf->selectionModel()->setCurrentIndex(m_pProxy->index(iRow, ProfileConfigModel::ColName),
                                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int ProfileEditor::hoveredRow() const
{
    const QModelIndexList lstRows = m_ptblViewProf->selectionModel()->selectedRows();
    return lstRows.isEmpty() ? -1 : lstRows.constFirst().row();
}

void ProfileEditor::showEmptyHint()
{
    const bool blEmpty = m_pProxy->rowCount() == 0;
    m_ptblViewProf->setVisible(!blEmpty);
    m_plbUploadHint->setVisible(!blEmpty);
    m_pwgtEmpty->setVisible(blEmpty);
    if (blEmpty)
        m_pbtnCreateFirst->setFocus();
    else
        m_ptblViewProf->setFocus();
}

bool ProfileEditor::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_ptblViewProf->viewport() && pEvent->type() == QEvent::Resize)
        placeIcons();
    return QDialog::eventFilter(pWatched, pEvent);
}

void ProfileEditor::keyPressEvent(QKeyEvent* pEvent)
{
    // Only the close button ends the home window; a stray Escape would end the program.
    if (pEvent->matches(QKeySequence::Cancel)) {
        pEvent->accept();
        return;
    }
    QDialog::keyPressEvent(pEvent);
}

void ProfileEditor::paintEvent(QPaintEvent* pEvent)
{
    QDialog::paintEvent(pEvent);
    QPainter painter(this);
    painter.drawPixmap(QRect(0, 0, width(), HeaderBand), QPixmap(QStringLiteral(":/images/bg_header.png")));
}

void ProfileEditor::slotShowIcon()
{
    const struct
    {
        VelmIcon* pIcon;
        const char* pszNormal;
        const char* pszHover;
    } icons[] = {{m_pEditIcon, ":/images/bt_edit.png", ":/images/bt_edit_hover.png"},
                 {m_pDeleteIcon, ":/images/bt_del.png", ":/images/bt_del_hover.png"}};
    for (const auto& icon : icons) {
        if (icon.pIcon->state() == VelmIcon::Normal)
            icon.pIcon->setPixmap(VelmImages::pixmap(QLatin1String(icon.pszNormal)));
        else if (icon.pIcon->state() == VelmIcon::Hovered)
            icon.pIcon->setPixmap(VelmImages::pixmap(QLatin1String(icon.pszHover)));
    }
}

void ProfileEditor::placeIcons()
{
    const int iRow = hoveredRow();
    const QRect viewport = m_ptblViewProf->viewport()->geometry();
    const int iTop = viewport.top() + m_ptblViewProf->rowViewportPosition(iRow) + (RowHeight - IconSize) / 2;
    const int iEditLeft = viewport.left() + viewport.width() - 6 - IconSize;
    m_pEditIcon->move(iEditLeft, iTop);
    m_pDeleteIcon->move(iEditLeft - IconSize, iTop);
    // Not over the header or below the table when the row is scrolled out of sight.
    const bool blShown =
        m_blIconsWanted && iRow >= 0 && iTop >= viewport.top() && iTop + IconSize <= viewport.bottom() + 1;
    for (VelmIcon* pIcon : {m_pEditIcon, m_pDeleteIcon}) {
        pIcon->setVisible(blShown);
        if (blShown)
            pIcon->raise();
    }
}

void ProfileEditor::showIcons()
{
    m_blIconsWanted = hoveredRow() >= 0;
    for (VelmIcon* pIcon : {m_pEditIcon, m_pDeleteIcon})
        pIcon->setState(m_blIconsWanted ? VelmIcon::Normal : VelmIcon::Inactive);
    placeIcons();
    slotShowIcon();
}

void ProfileEditor::slotMouseMove(QPoint pos)
{
    const int iRow = m_ptblViewProf->indexAt(pos).row();
    if (iRow < 0) {
        slotClearSelect();
    } else if (iRow != hoveredRow()) {
        selectRow(iRow); // the icons follow the selection
    } else if (!m_blIconsWanted) {
        showIcons();
    }
}

void ProfileEditor::slotClearSelect()
{
    m_blIconsWanted = false;
    for (VelmIcon* pIcon : {m_pEditIcon, m_pDeleteIcon}) {
        pIcon->setState(VelmIcon::Inactive);
        pIcon->hide();
    }
}

QString ProfileEditor::hoveredName() const
{
    const int iRow = hoveredRow();
    if (iRow < 0)
        return QString();
    return m_pProxy->index(iRow, ProfileConfigModel::ColName).data().toString();
}

void ProfileEditor::slotCreateProfile()
{
    m_pCreateIcon->setState(VelmIcon::Pressed);
    m_pCreateIcon->repaint();
    {
        CreateWizard wizard(this, m_mode == RunMode::CreateThenUpload ? RunMode::Editor : m_mode, m_pNam, &m_profile,
                            m_pPrompt);
        if (wizard.exec() == QDialog::Accepted) {
            auto pRow = std::make_unique<ProfileSummary>();
            pRow->port = m_profile.port;
            pRow->https = m_profile.https;
            pRow->savepass = m_profile.savepass;
            pRow->personal = m_profile.personal;
            pRow->profname = m_profile.profname;
            pRow->hostaddr = m_profile.hostaddr;
            pRow->usrname = m_profile.usrname;
            pRow->account = m_profile.account;
            pRow->password = m_profile.password;
            const QString strName = pRow->profname;
            m_rows[strName] = std::move(pRow);
            showRows(rowOf(strName));
        }
    }
    m_pCreateIcon->setState(VelmIcon::Normal);
    m_pCreateIcon->repaint();
    showIcons(); // a modal window took the mouse away; the list has it again
}

void ProfileEditor::slotEditProfile()
{
    const QString strName = hoveredName();
    if (strName.isEmpty())
        return;
    auto it = std::find_if(m_rows.begin(), m_rows.end(), [&strName](const auto& row) {
        return row.second->profname.compare(strName, Qt::CaseInsensitive) == 0;
    });
    if (it == m_rows.end())
        return;
    ProfileSummary* pRow = it->second.get();
    const QString strOldName = pRow->profname;
    const ProfileSummary before = *pRow;
    ServerSettings settings(this, m_pNam, pRow, m_pPrompt);
    if (settings.exec() != QDialog::Accepted) {
        showIcons();
        return;
    }
    ProfileStore::updateConnectionSettings(strOldName, *pRow);
    // A running watcher has read the connection settings when it started.
    const bool blConnection = before.port != pRow->port || before.https != pRow->https ||
                              before.personal != pRow->personal || before.hostaddr != pRow->hostaddr ||
                              before.usrname != pRow->usrname || before.account != pRow->account ||
                              before.password != pRow->password;
    storeWatch(strOldName, pRow->profname, settings.watchSettings(), blConnection);
    // A renamed row is filed under its new name, so that the old name is free again.
    if (pRow->profname != it->first) {
        std::unique_ptr<ProfileSummary> pMoved = std::move(it->second);
        m_rows.erase(it);
        m_rows[pMoved->profname] = std::move(pMoved);
    }
    showRows(rowOf(pRow->profname));
}

void ProfileEditor::storeWatch(const QString& strOldName, const QString& strName, WatchStore::Settings watch,
                               bool blConnectionChanged)
{
    const WatchStore::Settings before = WatchStore::settings(strOldName);
    const bool blRenamed = strName != strOldName;
    // A running watcher keeps its name, folders and connection until it starts again.
    const bool blRestart = blRenamed || blConnectionChanged || before.folders != watch.folders;
    if (before.enabled && (!watch.enabled || blRestart))
        WatchService::disable(strOldName, m_pPrompt);
    if (blRenamed)
        WatchStore::renameProfile(strOldName, strName);
    // Stored first: the watcher reads its folders when it starts.
    bool blStored = WatchStore::saveSettings(strName, watch);
    const bool blStart = watch.enabled && (!before.enabled || blRestart);
    // A watcher that could not start is not on.
    if (blStored && blStart && !WatchService::enable(strName, m_pPrompt)) {
        watch.enabled = false;
        blStored = WatchStore::saveSettings(strName, watch);
    }
    if (!blStored)
        m_pPrompt->critical(VelmLocale::message("err_error"),
                            VelmLocale::message("err_database").arg(VelmDatabase::lastErrorText()));
}

void ProfileEditor::slotDeleteProfile()
{
    const int iRow = hoveredRow();
    const QString strName = hoveredName();
    if (strName.isEmpty())
        return;
    if (m_pPrompt->question(VelmLocale::message("err_warning"),
                            VelmLocale::message("msg_cfrm_remove_prof").arg(strName),
                            UserPrompt::No) != UserPrompt::Yes) {
        showIcons();
        return;
    }
    // The watcher goes first: it would find its profile gone and stop with an error.
    if (WatchStore::settings(strName).enabled)
        WatchService::disable(strName, m_pPrompt);
    if (!ProfileStore::deleteProfile(strName)) {
        m_pPrompt->critical(VelmLocale::message("err_error"),
                            VelmLocale::message("err_database").arg(VelmDatabase::lastErrorText()));
        showIcons();
        return;
    }
    m_rows.erase(strName);
    showRows(iRow); // the next row takes its place, or the one before the last
}

void ProfileEditor::slotUploadSelected()
{
    const int iRow = hoveredRow();
    if (iRow >= 0)
        slotDoubleClicked(m_pProxy->index(iRow, ProfileConfigModel::ColName));
}

void ProfileEditor::slotDoubleClicked(QModelIndex index)
{
    const QString strName = m_pProxy->index(index.row(), ProfileConfigModel::ColName).data().toString();
    if (strName.isEmpty())
        return;
    // The new process finds the profile by its place in the list file: it must be current.
    ProfileStore::rewriteShortcutList();
    const int iIndex = ProfileStore::shortcutIndex(strName);
    if (!m_launcher({RunModes::argument(RunMode::UploadPicked), QString::number(iIndex)})) {
        qDebug("%s:%d cannot start the upload of [%s]", "src/profiles/ProfileEditor", __LINE__, qPrintable(strName));
        return;
    }
    setWindowState(windowState() ^ Qt::WindowMinimized);
}
