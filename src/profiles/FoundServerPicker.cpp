#include "FoundServerPicker.h"

#include "UserPrompt.h"
#include "VelmLocale.h"
#include "findhost/CRadaNasinfoModel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStandardItemModel>

FoundServerPicker::FoundServerPicker(QObject* pParent, QNetworkAccessManager* pNam, FoundServerList* pList,
                                     UserPrompt* pPrompt, QComboBox* pCombo, QLineEdit* pName)
    : QObject(pParent), m_pList(pList), m_pPrompt(pPrompt), m_pCombo(pCombo), m_pName(pName)
{
    m_pFinder = std::make_unique<FindHostUtils>(pNam, pList, 20, pPrompt);
    m_pModel = new CRadaNasinfoModel(pList, this);
    m_pProxy = new CRadaAddDlgNasinfoProxyModel(m_pModel, this);
    m_pCombo->setEditable(true);
    m_pCombo->setInsertPolicy(QComboBox::NoInsert);
    m_pCombo->setModel(m_pProxy);
    m_pCombo->setModelColumn(CRadaNasinfoModel::ColLabel);
    m_pCombo->setCurrentIndex(-1);
}

FoundServerPicker::~FoundServerPicker()
{
    // The combo box may outlive the models it shows.
    m_pFinder->disconnect();
    m_pCombo->setModel(new QStandardItemModel(m_pCombo));
}

void FoundServerPicker::showUpdate()
{
    const QString strText = m_pCombo->currentText();
    m_pModel->refresh();
    m_pCombo->setEditText(strText);
}

void FoundServerPicker::showRoundFinished()
{
    const QString strText = m_pCombo->currentText();
    m_pModel->refresh();
    m_pCombo->setModel(m_pProxy);
    m_pCombo->setModelColumn(CRadaNasinfoModel::ColLabel);
    m_pProxy->setFilterKeyColumn(CRadaNasinfoModel::ColName);
    m_pProxy->sort(CRadaNasinfoModel::ColName, Qt::AscendingOrder);
    m_pCombo->setEditText(strText);
}

void FoundServerPicker::pick(int iIndex)
{
    // The server the row shows, by its key: rows are not positions in the list.
    const QString strKey = m_pProxy->index(iIndex, 0).data(CRadaNasinfoModel::KeyRole).toString();
    const auto itEntry = m_pList->find(strKey);
    if (strKey.isEmpty() || itEntry == m_pList->end())
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
