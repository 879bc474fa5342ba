#include "ErrorReport.h"

#include "AppIdentity.h"
#include "ui_ErrorReport.h"

#include <QHeaderView>

ErrorTableModel::ErrorTableModel(const QList<QPair<QString, QString>>& lstFailures, QObject* pParent)
    : QAbstractTableModel(pParent), m_lstFailures(lstFailures)
{
}

int ErrorTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_lstFailures.size());
}

int ErrorTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant ErrorTableModel::data(const QModelIndex& index, int iRole) const
{
    if (!index.isValid() || index.row() >= m_lstFailures.size() || iRole != Qt::DisplayRole)
        return QVariant();
    const auto& failure = m_lstFailures.at(index.row());
    return index.column() == 0 ? failure.first : failure.second;
}

QVariant ErrorTableModel::headerData(int iSection, Qt::Orientation orientation, int iRole) const
{
    if (iRole != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal) {
        if (iSection == 0)
            return tr("File Name");
        if (iSection == 1)
            return tr("Error Status");
        return QVariant();
    }
    return iSection + 1;
}

Qt::ItemFlags ErrorTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsEnabled;
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool ErrorTableModel::setData(const QModelIndex& index, const QVariant& value, int iRole)
{
    if (!index.isValid() || iRole != Qt::EditRole || index.row() >= m_lstFailures.size())
        return false;
    auto& failure = m_lstFailures[index.row()];
    (index.column() == 0 ? failure.first : failure.second) = value.toString();
    Q_EMIT dataChanged(index, index);
    return true;
}

bool ErrorTableModel::insertRows(int iRow, int iCount, const QModelIndex& parent)
{
    if (parent.isValid() || iRow < 0 || iRow > m_lstFailures.size() || iCount < 1)
        return false;
    beginInsertRows(parent, iRow, iRow + iCount - 1);
    for (int i = 0; i < iCount; ++i)
        m_lstFailures.insert(iRow, {});
    endInsertRows();
    return true;
}

bool ErrorTableModel::removeRows(int iRow, int iCount, const QModelIndex& parent)
{
    if (parent.isValid() || iRow < 0 || iCount < 1 || iRow + iCount > m_lstFailures.size())
        return false;
    beginRemoveRows(parent, iRow, iRow + iCount - 1);
    m_lstFailures.remove(iRow, iCount);
    endRemoveRows();
    return true;
}

ErrorReport::ErrorReport(QWidget* pParent, const QList<QPair<QString, QString>>& lstRows)
    : QDialog(pParent), m_ui(std::make_unique<Ui::ErrorReport>())
{
    m_ui->setupUi(this);
    setWindowTitle(AppIdentity::applicationTitle());
    m_pModel = new ErrorTableModel(lstRows, this);
    m_ui->m_ptblErrorReport->horizontalHeader()->setStretchLastSection(true);
    m_ui->m_ptblErrorReport->setModel(m_pModel);
    // The file names as far as they fit in half the dialog, never narrower than the header.
    m_ui->m_ptblErrorReport->resizeColumnToContents(0);
    m_ui->m_ptblErrorReport->setColumnWidth(
        0, qMax(m_ui->m_ptblErrorReport->horizontalHeader()->sectionSizeHint(0),
                qMin(m_ui->m_ptblErrorReport->columnWidth(0), width() / 2)));
    m_ui->m_ptblErrorReport->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

ErrorReport::~ErrorReport() = default;

QAbstractItemModel* ErrorReport::model() const
{
    return m_pModel;
}
