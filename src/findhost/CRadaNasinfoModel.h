#pragma once

#include "FindHostUtils.h"

#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QStringList>

// The found-server list for item views: one row per entry in key order, five columns (name, address,
// status word, MAC address in capitals, " name ( address ) "). Each row stands for its entry's key: servers
// that answer between two refreshes get no row and move no row until refresh() inserts them.
class CRadaNasinfoModel : public QStandardItemModel
{
    Q_OBJECT

public:
    enum Column { ColName = 0, ColAddress = 1, ColStatus = 2, ColMac = 3, ColLabel = 4 };
    enum Role { KeyRole = Qt::UserRole }; // the row's key in the list, in every column

    CRadaNasinfoModel(FoundServerList* pList, QObject* pParent = nullptr);

    const FoundServerList* list() const { return m_pList; }
    // Tells the views that the list changed: rows for new keys, none for keys gone, new data for the rest.
    void refresh();
    // The entry a row shows, or nullptr.
    const NASINFO* entryAt(int iRow) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex index(int iRow, int iColumn, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int iRole = Qt::DisplayRole) const override;

    static QString displayText(const NASINFO& info, int iColumn);

private:
    FoundServerList* m_pList;
    QStringList m_lstKeys; // one per row, in key order
};

// Every server that answered and is no longer being tested: first those a profile can be made for,
// then the others, disabled, with the reason after their label. Sorted within each group; addresses
// in numeric order.
class CRadaAddDlgNasinfoProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    CRadaAddDlgNasinfoProxyModel(CRadaNasinfoModel* pSource, QObject* pParent = nullptr);

    // The verdict on the server a row of this model shows.
    FoundServers::Verdict verdictAt(int iRow) const;
    // The text told after a server that is not offered; empty for an offered one.
    static QString reasonText(FoundServers::Verdict verdict);

    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int iRole = Qt::DisplayRole) const override;

protected:
    bool filterAcceptsRow(int iSourceRow, const QModelIndex& sourceParent) const override;
    bool filterAcceptsColumn(int iSourceColumn, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    CRadaNasinfoModel* m_pSource;
};
