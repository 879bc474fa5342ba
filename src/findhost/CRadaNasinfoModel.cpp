#include "CRadaNasinfoModel.h"

#include <iterator>

CRadaNasinfoModel::CRadaNasinfoModel(FoundServerList* pList, QObject* pParent)
    : QStandardItemModel(5, 5, pParent), m_pList(pList)
{
}

void CRadaNasinfoModel::refresh()
{
    beginResetModel();
    endResetModel();
}

const NASINFO* CRadaNasinfoModel::entryAt(int iRow) const
{
    if (!m_pList || iRow < 0 || size_t(iRow) >= m_pList->size())
        return nullptr;
    return std::next(m_pList->begin(), iRow)->second.get();
}

int CRadaNasinfoModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_pList ? 0 : int(m_pList->size());
}

int CRadaNasinfoModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 5;
}

QModelIndex CRadaNasinfoModel::index(int iRow, int iColumn, const QModelIndex& parent) const
{
    if (parent.isValid() || iColumn < 0 || iColumn >= 5 || !entryAt(iRow))
        return QModelIndex();
    return createIndex(iRow, iColumn);
}

QModelIndex CRadaNasinfoModel::parent(const QModelIndex&) const
{
    return QModelIndex();
}

bool CRadaNasinfoModel::hasChildren(const QModelIndex& parent) const
{
    return !parent.isValid();
}

Qt::ItemFlags CRadaNasinfoModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

QVariant CRadaNasinfoModel::data(const QModelIndex& index, int iRole) const
{
    if (iRole != Qt::DisplayRole || !index.isValid())
        return QVariant();
    const NASINFO* pInfo = entryAt(index.row());
    return pInfo ? QVariant(displayText(*pInfo, index.column())) : QVariant();
}

QString CRadaNasinfoModel::displayText(const NASINFO& info, int iColumn)
{
    const QString strName = QString::fromUtf8(info.serverName);
    const QString strAddress = FoundServers::dotted(info.ipAddress);
    switch (iColumn) {
    case ColName:
        return strName;
    case ColAddress:
        return strAddress;
    case ColStatus:
        return FoundServers::statusWord(info.status);
    case ColMac:
        return QString::fromLatin1(info.macAddress).toUpper();
    case ColLabel:
        return QLatin1Char(' ') + strName + QLatin1String(" ( ") + strAddress + QLatin1String(" )");
    default:
        return QString();
    }
}

CRadaAddDlgNasinfoProxyModel::CRadaAddDlgNasinfoProxyModel(CRadaNasinfoModel* pSource, QObject* pParent)
    : QSortFilterProxyModel(pParent), m_pSource(pSource)
{
    setSourceModel(pSource);
    setDynamicSortFilter(true);
    sort(CRadaNasinfoModel::ColName, Qt::AscendingOrder);
}

bool CRadaAddDlgNasinfoProxyModel::filterAcceptsRow(int iSourceRow, const QModelIndex& sourceParent) const
{
    const QString strStatus =
        m_pSource->index(iSourceRow, CRadaNasinfoModel::ColStatus, sourceParent).data().toString().trimmed();
    const QString strAddress =
        m_pSource->index(iSourceRow, CRadaNasinfoModel::ColAddress, sourceParent).data().toString().trimmed();
    if (strStatus != QLatin1String("FHOSTQC_DONE") || !m_pSource->list())
        return false;
    quint32 iAddress = 0;
    if (!HostAddress::parseIPv4(strAddress, &iAddress))
        return false;
    return FoundServers::isSupported(FoundServers::findByAddress(*m_pSource->list(), iAddress));
}

bool CRadaAddDlgNasinfoProxyModel::filterAcceptsColumn(int, const QModelIndex&) const
{
    return true;
}

bool CRadaAddDlgNasinfoProxyModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    if (left.column() == CRadaNasinfoModel::ColAddress && right.column() == CRadaNasinfoModel::ColAddress) {
        quint32 iLeft = 0;
        quint32 iRight = 0;
        HostAddress::parseIPv4(left.data().toString(), &iLeft);
        HostAddress::parseIPv4(right.data().toString(), &iRight);
        return iLeft < iRight;
    }
    return QString::localeAwareCompare(left.data().toString(), right.data().toString()) < 0;
}
