#include "CRadaNasinfoModel.h"

#include "VelmLocale.h"

#include <QBrush>
#include <QPalette>

CRadaNasinfoModel::CRadaNasinfoModel(FoundServerList* pList, QObject* pParent)
    : QStandardItemModel(5, 5, pParent), m_pList(pList)
{
    if (m_pList)
        for (const auto& entry : *m_pList)
            m_lstKeys.append(entry.first);
}

void CRadaNasinfoModel::refresh()
{
    if (!m_pList)
        return;
    // Keys gone from the list lose their rows; from the back, so that the rows still to look at stay put.
    for (int iRow = int(m_lstKeys.size()) - 1; iRow >= 0; --iRow) {
        if (m_pList->count(m_lstKeys.at(iRow)) != 0)
            continue;
        beginRemoveRows(QModelIndex(), iRow, iRow);
        m_lstKeys.removeAt(iRow);
        endRemoveRows();
    }
    // The rows left are in the list's order: a new key goes in where it sorts.
    int iRow = 0;
    for (const auto& entry : *m_pList) {
        if (iRow >= int(m_lstKeys.size()) || m_lstKeys.at(iRow) != entry.first) {
            beginInsertRows(QModelIndex(), iRow, iRow);
            m_lstKeys.insert(iRow, entry.first);
            endInsertRows();
        }
        ++iRow;
    }
    // Entries are replaced by newer answers: every row may show new data.
    if (!m_lstKeys.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(int(m_lstKeys.size()) - 1, ColLabel));
}

const NASINFO* CRadaNasinfoModel::entryAt(int iRow) const
{
    if (!m_pList || iRow < 0 || iRow >= int(m_lstKeys.size()))
        return nullptr;
    const auto it = m_pList->find(m_lstKeys.at(iRow));
    return it == m_pList->end() ? nullptr : it->second.get();
}

int CRadaNasinfoModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_lstKeys.size());
}

int CRadaNasinfoModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 5;
}

QModelIndex CRadaNasinfoModel::index(int iRow, int iColumn, const QModelIndex& parent) const
{
    if (parent.isValid() || iColumn < 0 || iColumn >= 5 || iRow < 0 || iRow >= int(m_lstKeys.size()))
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
    if (!index.isValid() || index.row() >= int(m_lstKeys.size()))
        return QVariant();
    if (iRole == KeyRole)
        return m_lstKeys.at(index.row());
    if (iRole != Qt::DisplayRole)
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

FoundServers::Verdict CRadaAddDlgNasinfoProxyModel::verdictAt(int iRow) const
{
    const NASINFO* pInfo = m_pSource->entryAt(mapToSource(index(iRow, 0)).row());
    return pInfo ? FoundServers::verdict(*pInfo) : FoundServers::Verdict::Testing;
}

QString CRadaAddDlgNasinfoProxyModel::reasonText(FoundServers::Verdict verdict)
{
    switch (verdict) {
    case FoundServers::Verdict::NotReady:
        return VelmLocale::message("create_svr_seen_not_ready");
    case FoundServers::Verdict::NotInstalled:
        return VelmLocale::message("create_svr_seen_not_installed");
    case FoundServers::Verdict::Unsupported:
        return VelmLocale::message("create_svr_seen_unsupported");
    case FoundServers::Verdict::Unreachable:
        return VelmLocale::message("create_svr_seen_unreachable");
    default:
        return QString();
    }
}

Qt::ItemFlags CRadaAddDlgNasinfoProxyModel::flags(const QModelIndex& index) const
{
    // Seen, but not to be picked.
    if (index.isValid() && verdictAt(index.row()) != FoundServers::Verdict::Offered)
        return Qt::NoItemFlags;
    return QSortFilterProxyModel::flags(index);
}

QVariant CRadaAddDlgNasinfoProxyModel::data(const QModelIndex& index, int iRole) const
{
    if (index.isValid() && index.column() == CRadaNasinfoModel::ColLabel &&
        (iRole == Qt::DisplayRole || iRole == Qt::ForegroundRole)) {
        const FoundServers::Verdict verdict = verdictAt(index.row());
        if (verdict != FoundServers::Verdict::Offered) {
            if (iRole == Qt::ForegroundRole)
                return QBrush(QPalette().color(QPalette::Disabled, QPalette::Text));
            return QString(QSortFilterProxyModel::data(index, iRole).toString() + QStringLiteral(" \u2013 ") +
                           reasonText(verdict));
        }
    }
    return QSortFilterProxyModel::data(index, iRole);
}

bool CRadaAddDlgNasinfoProxyModel::filterAcceptsRow(int iSourceRow, const QModelIndex& sourceParent) const
{
    // The row's own entry, not the first one with its address.
    const NASINFO* pInfo = sourceParent.isValid() ? nullptr : m_pSource->entryAt(iSourceRow);
    return pInfo && FoundServers::verdict(*pInfo) != FoundServers::Verdict::Testing;
}

bool CRadaAddDlgNasinfoProxyModel::filterAcceptsColumn(int, const QModelIndex&) const
{
    return true;
}

bool CRadaAddDlgNasinfoProxyModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    // Offered servers first, whatever the sort order.
    const NASINFO* pLeft = m_pSource->entryAt(left.row());
    const NASINFO* pRight = m_pSource->entryAt(right.row());
    const bool blLeftOffered = pLeft && FoundServers::verdict(*pLeft) == FoundServers::Verdict::Offered;
    const bool blRightOffered = pRight && FoundServers::verdict(*pRight) == FoundServers::Verdict::Offered;
    if (blLeftOffered != blRightOffered)
        return (sortOrder() == Qt::AscendingOrder) == blLeftOffered;
    if (left.column() == CRadaNasinfoModel::ColAddress && right.column() == CRadaNasinfoModel::ColAddress) {
        quint32 iLeft = 0;
        quint32 iRight = 0;
        HostAddress::parseIPv4(left.data().toString(), &iLeft);
        HostAddress::parseIPv4(right.data().toString(), &iRight);
        return iLeft < iRight;
    }
    return QString::localeAwareCompare(left.data().toString(), right.data().toString()) < 0;
}
