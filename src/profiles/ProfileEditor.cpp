#include "ProfileEditor.h"

#include <algorithm>

#include "AppIdentity.h"
#include "CreateWizard.h"
#include "ServerSettings.h"
#include "UserPrompt.h"
#include "VelmImages.h"
#include "VelmLocale.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QDebug>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const char* const TitleSheet = "QLabel { font-size : 12px;\n font-style : bold;\n color : #ffffff }";
constexpr int HeaderBand = 45;
constexpr int RowHeight = 40;
constexpr int IconSize = 30;

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
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_plbTitle);
    pLayout->addWidget(m_ptblViewProf);

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

    connect(m_ptblViewProf, &EditorTableView::signalMouseDoubleClicked, this, &ProfileEditor::slotDoubleClicked);
    connect(m_ptblViewProf, &EditorTableView::signalMouseMove, this, &ProfileEditor::slotMouseMove);
    connect(m_ptblViewProf, &EditorTableView::signalMouseLeave, this, &ProfileEditor::slotClearSelect);
    connect(static_cast<EditorHeaderView*>(m_ptblViewProf->horizontalHeader()), &EditorHeaderView::signalEnter, this,
            &ProfileEditor::slotClearSelect);
    connect(m_ptblViewProf->verticalScrollBar(), &QScrollBar::valueChanged, this, &ProfileEditor::slotClearSelect);
    connect(m_pEditIcon, &VelmIcon::signalHoverStateChange, this, &ProfileEditor::slotShowIcon);
    connect(m_pDeleteIcon, &VelmIcon::signalHoverStateChange, this, &ProfileEditor::slotShowIcon);
    connect(m_pEditIcon, &VelmIcon::signalMousePress, this, &ProfileEditor::slotEditProfile);
    connect(m_pDeleteIcon, &VelmIcon::signalMousePress, this, &ProfileEditor::slotDeleteProfile);
    connect(m_pCreateIcon, &VelmIcon::signalHoverStateChange, m_pCreateIcon, qOverload<>(&QWidget::repaint));
    connect(m_pCreateIcon, &VelmIcon::signalMousePress, this, &ProfileEditor::slotCreateProfile);
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

void ProfileEditor::showRows()
{
    slotClearSelect();
    m_pModel->reload();
    fitRows();
}

void ProfileEditor::paintEvent(QPaintEvent* pEvent)
{
    QDialog::paintEvent(pEvent);
    QPainter painter(this);
    painter.drawPixmap(QRect(0, 0, width(), HeaderBand), QPixmap(QStringLiteral(":/images/bg_header.png")));
}

void ProfileEditor::resizeEvent(QResizeEvent* pEvent)
{
    QDialog::resizeEvent(pEvent);
    slotClearSelect();
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
    const QRect viewport = m_ptblViewProf->viewport()->geometry();
    const int iTop = viewport.top() + m_ptblViewProf->rowViewportPosition(m_iHoverRow) + (RowHeight - IconSize) / 2;
    const int iEditLeft = viewport.left() + viewport.width() - 6 - IconSize;
    m_pEditIcon->move(iEditLeft, iTop);
    m_pDeleteIcon->move(iEditLeft - IconSize, iTop);
}

void ProfileEditor::slotMouseMove(QPoint pos)
{
    const int iRow = m_ptblViewProf->indexAt(pos).row();
    if (iRow == m_iHoverRow)
        return;
    if (iRow < 0) {
        slotClearSelect();
        return;
    }
    m_iPrevHoverRow = m_iHoverRow;
    m_iHoverRow = iRow;
    m_ptblViewProf->selectRow(iRow);
    for (VelmIcon* pIcon : {m_pEditIcon, m_pDeleteIcon}) {
        pIcon->setState(VelmIcon::Normal);
        pIcon->show();
        pIcon->raise();
    }
    placeIcons();
    slotShowIcon();
}

void ProfileEditor::slotClearSelect()
{
    m_iPrevHoverRow = m_iHoverRow;
    m_iHoverRow = -1;
    if (m_iPrevHoverRow == -1)
        return;
    m_ptblViewProf->clearSelection();
    for (VelmIcon* pIcon : {m_pEditIcon, m_pDeleteIcon}) {
        pIcon->setState(VelmIcon::Inactive);
        pIcon->hide();
    }
}

QString ProfileEditor::hoveredName() const
{
    if (m_iHoverRow < 0)
        return QString();
    return m_pProxy->index(m_iHoverRow, ProfileConfigModel::ColName).data().toString();
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
            m_rows[pRow->profname] = std::move(pRow);
            showRows();
        }
    }
    m_pCreateIcon->setState(VelmIcon::Normal);
    m_pCreateIcon->repaint();
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
    ServerSettings settings(this, m_pNam, pRow, m_pPrompt);
    if (settings.exec() != QDialog::Accepted)
        return;
    ProfileStore::updateConnectionSettings(strOldName, *pRow);
    // A renamed row is filed under its new name, so that the old name is free again.
    if (pRow->profname != it->first) {
        std::unique_ptr<ProfileSummary> pMoved = std::move(it->second);
        m_rows.erase(it);
        m_rows[pMoved->profname] = std::move(pMoved);
    }
    showRows();
}

void ProfileEditor::slotDeleteProfile()
{
    const QString strName = hoveredName();
    if (strName.isEmpty())
        return;
    if (m_pPrompt->question(VelmLocale::message("err_warning"),
                            VelmLocale::message("msg_cfrm_remove_prof").arg(strName),
                            UserPrompt::No) != UserPrompt::Yes)
        return;
    if (!ProfileStore::deleteProfile(strName)) {
        m_pPrompt->critical(VelmLocale::message("err_error"),
                            VelmLocale::message("err_database").arg(VelmDatabase::lastErrorText()));
        return;
    }
    m_rows.erase(strName);
    showRows();
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
