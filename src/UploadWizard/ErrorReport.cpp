#include "ErrorReport.h"

#include "AppIdentity.h"
#include "VelmLocale.h"
#include "ui_ErrorReport.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Draws a cell's whole text, wrapped at word boundaries and, where one word is wider than the
// column (a long file name), anywhere in it: nothing is cut off or elided.
class WrappingDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int TextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextWrapAnywhere;

    void paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString strText = item.text;
        item.text.clear();
        QStyle* pStyle = item.widget ? item.widget->style() : QApplication::style();
        pStyle->drawControl(QStyle::CE_ItemViewItem, &item, pPainter, item.widget);
        const QPalette::ColorGroup group = item.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        pPainter->save();
        pPainter->setFont(item.font);
        pPainter->setPen(item.palette.color(group, item.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                        : QPalette::Text));
        pPainter->drawText(textRect(item, item.rect), TextFlags, strText);
        pPainter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const int iMargin = margin(item);
        // Without a column width (the column's own size hint) the text is one line; a pixel more
        // keeps rounded glyph positions from wrapping it.
        if (item.rect.width() <= 2 * iMargin)
            return QSize(item.fontMetrics.horizontalAdvance(item.text) + 2 * iMargin + 1,
                         item.fontMetrics.height() + 2 * iMargin);
        const QRect bounds = item.fontMetrics.boundingRect(textRect(item, QRect(0, 0, item.rect.width(), 1 << 20)),
                                                           TextFlags, item.text);
        return QSize(item.rect.width(), bounds.height() + 2 * iMargin);
    }

private:
    static int margin(const QStyleOptionViewItem& item)
    {
        const QStyle* pStyle = item.widget ? item.widget->style() : QApplication::style();
        return pStyle->pixelMetric(QStyle::PM_FocusFrameHMargin, &item, item.widget) + 1;
    }
    static QRect textRect(const QStyleOptionViewItem& item, const QRect& cell)
    {
        const int iMargin = margin(item);
        return cell.adjusted(iMargin, iMargin, -iMargin, -iMargin);
    }
};

// One line of the copied report: tabs and line breaks inside a field would split it.
QString field(QString strText)
{
    for (QChar& ch : strText) {
        if (ch == QLatin1Char('\t') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r'))
            ch = QLatin1Char(' ');
    }
    return strText;
}

} // namespace

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
    m_ui->m_pbtnCopy->setText(VelmLocale::message("btn_copy"));
    m_ui->m_pbtnClose->setText(VelmLocale::message("btn_close"));
    connect(m_ui->m_pbtnCopy, &QPushButton::clicked, this, &ErrorReport::slotCopy);
    connect(m_ui->m_pbtnClose, &QPushButton::clicked, this, &QDialog::reject);

    QTableView* pTable = m_ui->m_ptblErrorReport;
    m_pModel = new ErrorTableModel(lstRows, this);
    pTable->setItemDelegate(new WrappingDelegate(pTable));
    pTable->horizontalHeader()->setStretchLastSection(true);
    pTable->setModel(m_pModel);
    pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The file names as far as they fit in two fifths of the window, never narrower than the header.
    pTable->resizeColumnToContents(0);
    pTable->setColumnWidth(0, qMax(pTable->horizontalHeader()->sectionSizeHint(0),
                                   qMin(pTable->columnWidth(0), width() * 2 / 5)));
    // Rows are as high as their wrapped texts, also after a column changes width (measured once
    // the header has settled all widths).
    pTable->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(pTable->horizontalHeader(), &QHeaderView::sectionResized, pTable, &QTableView::resizeRowsToContents,
            Qt::QueuedConnection);
}

ErrorReport::~ErrorReport() = default;

QAbstractItemModel* ErrorReport::model() const
{
    return m_pModel;
}

QString ErrorReport::plainText() const
{
    auto line = [](const QVariant& name, const QVariant& text) -> QString {
        return field(name.toString()) + QLatin1Char('\t') + field(text.toString()) + QLatin1Char('\n');
    };
    QString strText = line(m_pModel->headerData(0, Qt::Horizontal), m_pModel->headerData(1, Qt::Horizontal));
    for (int i = 0; i < m_pModel->rowCount(); ++i)
        strText += line(m_pModel->index(i, 0).data(), m_pModel->index(i, 1).data());
    return strText;
}

void ErrorReport::slotCopy()
{
    QApplication::clipboard()->setText(plainText());
}
