#pragma once

#include "store/ServerProfile.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTableView>

#include <map>
#include <memory>
#include <vector>

// The profile list editor's rows: profile name to its connection settings.
using ProfileRows = std::map<QString, std::unique_ptr<ProfileSummary>>;

// The editor's typeface at a size in pixels.
QFont pixelFont(int iPixels, bool blBold = false);

// A clickable picture, or a button drawn from three picture parts with a text on it.
class VelmIcon : public QLabel
{
    Q_OBJECT

public:
    enum State { Normal = 0, Inactive = 1, Pressed = 2, Hovered = 3 };
    enum Part { Left = 0, Middle = 1, Right = 2 };

    explicit VelmIcon(QWidget* pParent = nullptr);

    int state() const { return m_iState; }
    // Entering or leaving the pressed state is told by signalPressStateChange().
    void setState(int iState);
    // Nine pictures: left, middle and right parts for the normal, hovered and pressed states.
    void setPartImages(const QStringList& lstPaths);
    // The text sets the size: the text width + 47 by 32.
    void setButtonText(const QString& strText);
    QString buttonText() const { return m_strText; }

Q_SIGNALS:
    void signalMousePress();
    void signalHoverStateChange();
    void signalPressStateChange();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    int m_iState = Inactive;
    QFont m_font;
    QString m_strText;
    QColor m_textColor;
    QPixmap m_parts[3][3]; // [normal, hovered, pressed][left, middle, right]
};

// Shows the profile rows in three columns: name, account, server as host:port. The server cell of
// an HTTPS profile says so in its tooltip and HttpsRole; the name cell's tooltip tells a watched
// profile's last automatic upload.
class ProfileConfigModel : public QStandardItemModel
{
    Q_OBJECT

public:
    enum Column { ColName = 0, ColAccount = 1, ColAddress = 2 };
    enum Role { HostRole = Qt::UserRole + 1, PortRole, HttpsRole };

    ProfileConfigModel(ProfileRows* pRows, QObject* pParent = nullptr);

    // "host:port", an IPv6 literal in brackets.
    static QString serverText(const QString& strHost, int iPort);
    // "on" and the last batch (or the error that stopped the watcher); none while not watched.
    static QVariant watchText(const QString& strProfile);

    // Shows the rows as they are now, in name order.
    void reload();
    ProfileSummary* rowRecord(int iRow) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex index(int iRow, int iColumn, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int iRole = Qt::DisplayRole) const override;
    QVariant headerData(int iSection, Qt::Orientation orientation, int iRole = Qt::DisplayRole) const override;

private:
    ProfileRows* m_pRows;
    std::vector<ProfileSummary*> m_lstShown;
};

// Sorts IPv4 addresses by their numeric value, then by port, ahead of server names; other texts
// as the user's language does.
class SortProfileConfigModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

// Paints a row on its list picture, the selected one on the highlight picture; a padlock follows the
// server of an HTTPS profile.
class EditorDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit EditorDelegate(QObject* pParent = nullptr);

    void paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    // Drawn, not a picture, so that it stays sharp at any scale; topLeft is its top left corner.
    static void paintPadlock(QPainter* pPainter, const QPointF& topLeft, const QColor& color);

    QPixmap m_hover;
    QPixmap m_plain;
    QPixmap m_hoverTile;
    QPixmap m_plainTile;
    QFont m_font;
};

// The column titles on a title band, with the sort arrow of the sorted column.
class EditorHeaderView : public QHeaderView
{
    Q_OBJECT

public:
    explicit EditorHeaderView(QWidget* pParent = nullptr);

Q_SIGNALS:
    void signalEnter();

protected:
    void paintSection(QPainter* pPainter, const QRect& rect, int iLogicalIndex) const override;
    QSize sectionSizeFromContents(int iLogicalIndex) const override;
    void enterEvent(QEnterEvent* pEvent) override;

private:
    QFont m_font;
    QPixmap m_background;
    QPixmap m_separator;
    QPixmap m_ascending;
    QPixmap m_descending;
};

// The profile table: whole rows, one at a time, no grid, a row once selected stays selected; tells
// its owner where the mouse is. Tab leaves it instead of walking its cells.
class EditorTableView : public QTableView
{
    Q_OBJECT

public:
    explicit EditorTableView(QWidget* pParent = nullptr);

Q_SIGNALS:
    void signalMousePress(QPoint pos);
    void signalMouseMove(QPoint current);
    void signalMouseDoubleClicked(QModelIndex index);
    void signalMouseLeave();

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* pEvent = nullptr) const override;
};
