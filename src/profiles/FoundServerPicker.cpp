#include "FoundServerPicker.h"

#include "UserPrompt.h"
#include "VelmLocale.h"
#include "VelmWizard.h"
#include "findhost/CRadaNasinfoModel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QStyle>

FoundServerPicker::FoundServerPicker(QObject* pParent, QNetworkAccessManager* pNam, FoundServerList* pList,
                                     UserPrompt* pPrompt, QComboBox* pCombo, QLineEdit* pName, QLabel* pNote)
    : QObject(pParent), m_pList(pList), m_pPrompt(pPrompt), m_pCombo(pCombo), m_pName(pName), m_pNote(pNote)
{
    m_pFinder = std::make_unique<FindHostUtils>(pNam, pList, 20);
    m_pModel = new CRadaNasinfoModel(pList, this);
    m_pProxy = new CRadaAddDlgNasinfoProxyModel(m_pModel, this);
    m_pCombo->setEditable(true);
    m_pCombo->setInsertPolicy(QComboBox::NoInsert);
    m_pCombo->setModel(m_pProxy);
    m_pCombo->setModelColumn(CRadaNasinfoModel::ColLabel);
    m_pCombo->setCurrentIndex(-1);
    m_pName->setMaxLength(ProfileNameLimit);
    languageChange();
    if (m_pNote) {
        VelmWizard::styleWidget(m_pNote, QStringLiteral("QLabel { font-size : 12px;\n color : #1b1b1b }"));
        m_pNote->setWordWrap(true);
        m_pNote->hide();
        connect(m_pCombo, &QComboBox::editTextChanged, this, &FoundServerPicker::showNote);
    }
}

FoundServerPicker::~FoundServerPicker()
{
    // The combo box may outlive the models it shows.
    m_pFinder->disconnect();
    if (m_pNote)
        m_pCombo->disconnect(this);
    m_pCombo->setModel(new QStandardItemModel(m_pCombo));
}

void FoundServerPicker::languageChange()
{
    m_pName->setPlaceholderText(VelmLocale::plural("create_svr_profname_limit", ProfileNameLimit));
    showNote();
}

void FoundServerPicker::search()
{
    m_blSearching = true;
    m_blNoneFound = false;
    showNote();
    m_pFinder->refresh();
}

void FoundServerPicker::showUpdate()
{
    const QString strText = m_pCombo->currentText();
    m_pModel->refresh();
    showRows(strText);
}

void FoundServerPicker::showRows(const QString& strText)
{
    // The combo box makes the first row current when rows first come in: not a greyed one.
    const int iCurrent = m_pCombo->currentIndex();
    if (iCurrent >= 0 && m_pProxy->verdictAt(iCurrent) != FoundServers::Verdict::Offered)
        m_pCombo->setCurrentIndex(-1);
    m_pCombo->setEditText(strText);
    // The list is as wide as its longest row, reasons included.
    QAbstractItemView* pView = m_pCombo->view();
    pView->setMinimumWidth(pView->sizeHintForColumn(CRadaNasinfoModel::ColLabel) + 2 * pView->frameWidth() +
                           pView->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    showNote();
}

void FoundServerPicker::showRoundFinished()
{
    const QString strText = m_pCombo->currentText();
    m_pModel->refresh();
    m_pCombo->setModel(m_pProxy);
    m_pCombo->setModelColumn(CRadaNasinfoModel::ColLabel);
    m_pProxy->setFilterKeyColumn(CRadaNasinfoModel::ColName);
    m_pProxy->sort(CRadaNasinfoModel::ColName, Qt::AscendingOrder);
    m_blSearching = false;
    // Nobody to tell once the page or dialog has been left.
    m_blNoneFound = m_pList->empty() && m_pCombo->isVisible();
    showRows(strText);
}

void FoundServerPicker::showNote()
{
    if (!m_pNote)
        return;
    QString strNote;
    if (m_pProxy->rowCount() == 0) {
        if (m_blSearching) {
            strNote = VelmLocale::message("create_svr_searching");
        } else if (m_blNoneFound && m_pCombo->currentText().trimmed().isEmpty()) {
            const QString strServer = VelmLocale::message("velm_server");
            // Tighter than the default list margins: the note shares the page with the inputs.
            strNote = QStringLiteral("<style>p, ul { margin-top: 2px; margin-bottom: 0px; } "
                                     "ul { margin-left: -20px; }</style>") +
                      VelmLocale::message("err_serv_not_found").arg(strServer) + QStringLiteral("<br>") +
                      VelmLocale::message("msg_firewall").arg(strServer);
        }
    }
    m_pNote->setTextFormat(m_blSearching ? Qt::PlainText : Qt::RichText);
    m_pNote->setText(strNote);
    m_pNote->setVisible(!strNote.isEmpty());
}

void FoundServerPicker::pick(int iIndex)
{
    // The server the row shows, by its key: rows are not positions in the list.
    const QString strKey = m_pProxy->index(iIndex, 0).data(CRadaNasinfoModel::KeyRole).toString();
    const auto itEntry = m_pList->find(strKey);
    if (strKey.isEmpty() || itEntry == m_pList->end() || m_pProxy->verdictAt(iIndex) != FoundServers::Verdict::Offered)
        return;
    const NASINFO* pInfo = itEntry->second.get();
    if (!m_pName->isModified())
        m_pName->setText(QString::fromUtf8(pInfo->serverName));
    m_pCombo->setEditText(FoundServers::dotted(pInfo->ipAddress));
}

bool FoundServerPicker::confirmFoundServer(const QString& strHost) const
{
    quint32 iAddress = 0;
    const NASINFO* pFound = nullptr;
    if (HostAddress::isUsableIPv4Literal(strHost) && HostAddress::parseIPv4(strHost, &iAddress))
        pFound = FoundServers::findByAddress(*m_pList, iAddress);
    else
        pFound = FoundServers::findByName(*m_pList, strHost);
    if (pFound && !FoundServers::isSupported(pFound)) {
        m_pPrompt->critical(VelmLocale::message("err_error"), VelmLocale::message("err_kb_not_supp"));
        return false;
    }
    if (pFound && pFound->status != fhost::StatusDone) {
        const QString strText = VelmLocale::message("err_msg_sys_not_ready").arg(QString::fromUtf8(pFound->serverName)) +
                                QLatin1Char('\n') + VelmLocale::message("msg_cfrm_continue");
        if (m_pPrompt->question(VelmLocale::message("err_warning"), strText, UserPrompt::No) != UserPrompt::Yes)
            return false;
    }
    return true;
}

bool FoundServerPicker::checkPort(QLineEdit* pPort) const
{
    const QString strPort = pPort->text();
    bool blNumber = false;
    const int iPort = strPort.toInt(&blNumber);
    if (strPort.isEmpty() || (blNumber && iPort >= 1 && iPort <= 65535))
        return true;
    m_pPrompt->critical(VelmLocale::message("err_error"), VelmLocale::message("err_bad_port"));
    pPort->setFocus();
    return false;
}

bool FoundServerPicker::checkHost(const QString& strHost) const
{
    quint32 iResolved = 0;
    if (HostAddress::resolve(strHost, &iResolved))
        return true;
    m_pPrompt->critical(VelmLocale::message("err_error"), VelmLocale::message("err_host_addr"));
    m_pCombo->setFocus();
    return false;
}
