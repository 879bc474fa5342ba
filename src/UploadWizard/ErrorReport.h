#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <QList>
#include <QPair>

#include <memory>

namespace Ui {
class ErrorReport;
}

// What a run did not do as asked: file name and error text (failed and unsent files, files
// sent without some renditions, entries left out).
class ErrorTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ErrorTableModel(const QList<QPair<QString, QString>>& lstFailures, QObject* pParent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int iRole = Qt::DisplayRole) const override;
    QVariant headerData(int iSection, Qt::Orientation orientation, int iRole = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int iRole = Qt::EditRole) override;
    bool insertRows(int iRow, int iCount, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int iRow, int iCount, const QModelIndex& parent = QModelIndex()) override;

private:
    QList<QPair<QString, QString>> m_lstFailures;
};

// A resizable window with every row in full: long texts wrap and their rows grow.
class ErrorReport : public QDialog
{
    Q_OBJECT

public:
    // lstRows: file name, what happened.
    ErrorReport(QWidget* pParent, const QList<QPair<QString, QString>>& lstRows);
    ~ErrorReport() override;

    QAbstractItemModel* model() const;
    // The column titles, then one line per row: name, a tab, the text.
    QString plainText() const;

public Q_SLOTS:
    // Puts plainText() on the clipboard.
    void slotCopy();

private:
    std::unique_ptr<Ui::ErrorReport> m_ui;
    ErrorTableModel* m_pModel;
};
