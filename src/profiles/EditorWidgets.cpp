#include "EditorWidgets.h"

#include "store/WatchStore.h"

#include "VelmImages.h"
#include "VelmLocale.h"
#include "findhost/FindHostUtils.h"

#include <QEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

#include <algorithm>

namespace {

// The padlock after an HTTPS server: the gap before it and its size.
constexpr int LockGap = 5;
constexpr int LockWidth = 9;
constexpr int LockHeight = 11;

bool hasPadlock(const QModelIndex& index)
{
    return index.column() == ProfileConfigModel::ColAddress && index.data(ProfileConfigModel::HttpsRole).toBool();
}

} // namespace

QFont pixelFont(int iPixels, bool blBold)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(iPixels);
    font.setBold(blBold);
    return font;
}

// ---------------------------------------------------------------- VelmIcon

VelmIcon::VelmIcon(QWidget* pParent) : QLabel(pParent), m_font(pixelFont(12)), m_textColor(2, 73, 120)
{
    setAttribute(Qt::WA_Hover, true);
    installEventFilter(this);
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
}

void VelmIcon::setState(int iState)
{
    const bool blPressChange = (iState == Pressed) != (m_iState == Pressed);
    m_iState = iState;
    if (blPressChange)
        Q_EMIT signalPressStateChange();
}

void VelmIcon::setPartImages(const QStringList& lstPaths)
{
    for (int i = 0; i < 9 && i < lstPaths.size(); ++i)
        m_parts[i / 3][i % 3] = VelmImages::pixmap(lstPaths.at(i));
}

void VelmIcon::setButtonText(const QString& strText)
{
    m_strText = strText;
    setFixedSize(QFontMetrics(m_font).horizontalAdvance(strText) + 47, 32);
    update();
}

bool VelmIcon::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == this) {
        switch (pEvent->type()) {
        case QEvent::HoverEnter:
            if (m_iState == Normal || m_iState == Pressed) {
                m_iState = Hovered;
                Q_EMIT signalHoverStateChange();
            }
            break;
        case QEvent::HoverLeave:
            if (m_iState == Pressed || m_iState == Hovered) {
                m_iState = Normal;
                Q_EMIT signalHoverStateChange();
            }
            break;
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(pEvent)->button() == Qt::LeftButton)
                Q_EMIT signalMousePress();
            break;
        default:
            break;
        }
    }
    return QLabel::eventFilter(pWatched, pEvent);
}

void VelmIcon::paintEvent(QPaintEvent* pEvent)
{
    if (m_strText.isEmpty()) {
        QLabel::paintEvent(pEvent);
        return;
    }
    const int iSet = m_iState == Hovered ? 1 : m_iState == Pressed ? 2 : 0;
    const int iTextWidth = width() - 47;
    QPainter painter(this);
    painter.drawPixmap(QRect(0, 0, 34, height()), m_parts[iSet][Left]);
    if (iTextWidth > 0 && !m_parts[iSet][Middle].isNull())
        painter.drawTiledPixmap(QRect(34, 0, iTextWidth, height()), m_parts[iSet][Middle]);
    painter.drawPixmap(QRect(width() - 13, 0, 13, height()), m_parts[iSet][Right]);
    painter.setFont(m_font);
    painter.setPen(m_iState == Pressed ? QColor(6, 55, 87) : m_textColor);
    painter.drawText(QRect(34, m_iState == Pressed ? 1 : 0, iTextWidth + 1, height()),
                     Qt::AlignLeft | Qt::AlignVCenter, m_strText);
}

// ---------------------------------------------------------------- ProfileConfigModel

ProfileConfigModel::ProfileConfigModel(ProfileRows* pRows, QObject* pParent)
    : QStandardItemModel(3, 3, pParent), m_pRows(pRows)
{
    reload();
}

void ProfileConfigModel::reload()
{
    beginResetModel();
    m_lstShown.clear();
    for (const auto& row : *m_pRows)
        m_lstShown.push_back(row.second.get());
    endResetModel();
}

QString ProfileConfigModel::serverText(const QString& strHost, int iPort)
{
    QString strText = strHost;
    if (strText.contains(QLatin1Char(':')) && !strText.startsWith(QLatin1Char('[')))
        strText = QLatin1Char('[') + strText + QLatin1Char(']');
    return iPort > 0 ? strText + QLatin1Char(':') + QString::number(iPort) : strText;
}

ProfileSummary* ProfileConfigModel::rowRecord(int iRow) const
{
    return iRow >= 0 && iRow < int(m_lstShown.size()) ? m_lstShown[size_t(iRow)] : nullptr;
}

int ProfileConfigModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_lstShown.size());
}

int ProfileConfigModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QModelIndex ProfileConfigModel::index(int iRow, int iColumn, const QModelIndex& parent) const
{
    if (parent.isValid() || !rowRecord(iRow) || iColumn < 0 || iColumn >= 3)
        return QModelIndex();
    return createIndex(iRow, iColumn);
}

QModelIndex ProfileConfigModel::parent(const QModelIndex&) const
{
    return QModelIndex();
}

bool ProfileConfigModel::hasChildren(const QModelIndex& parent) const
{
    return !parent.isValid();
}

Qt::ItemFlags ProfileConfigModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || !rowRecord(index.row()))
        return Qt::NoItemFlags;
    return QStandardItemModel::flags(index);
}

QVariant ProfileConfigModel::data(const QModelIndex& index, int iRole) const
{
    const ProfileSummary* pRow = index.isValid() ? rowRecord(index.row()) : nullptr;
    if (!pRow)
        return QVariant();
    switch (iRole) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case ColName:
            return pRow->profname;
        case ColAccount:
            return pRow->account;
        case ColAddress:
            return serverText(pRow->hostaddr, pRow->port);
        default:
            return QVariant();
        }
    case Qt::ToolTipRole:
        if (index.column() == ColAddress && pRow->https)
            return VelmLocale::message("editor_tip_https");
        if (index.column() == ColName)
            return watchText(pRow->profname);
        return QVariant();
    case HostRole:
        return pRow->hostaddr;
    case PortRole:
        return pRow->port;
    case HttpsRole:
        return pRow->https;
    default:
        return QVariant();
    }
}

QVariant ProfileConfigModel::watchText(const QString& strProfile)
{
    if (!WatchStore::settings(strProfile).enabled)
        return QVariant();
    QString strText = VelmLocale::message("watch_status_on");
    const WatchStore::Batch batch = WatchStore::lastBatch(strProfile);
    if (!batch.error.isEmpty())
        strText += QLatin1Char('\n') + batch.error;
    else if (batch.when.isValid())
        strText += QLatin1Char('\n') + VelmLocale::message("watch_status_last")
                                          .arg(QLocale().toString(batch.when.toLocalTime(), QLocale::ShortFormat))
                                          .arg(batch.sent)
                                          .arg(batch.skipped)
                                          .arg(batch.failed);
    return strText;
}

QVariant ProfileConfigModel::headerData(int iSection, Qt::Orientation orientation, int iRole) const
{
    if (orientation != Qt::Horizontal || iRole != Qt::DisplayRole)
        return QVariant();
    static const char* const s_keys[] = {"create_svr_profname", "create_pw_account", "editor_ipaddr"};
    if (iSection < 0 || iSection >= 3)
        return QVariant();
    return QString(VelmLocale::message(s_keys[iSection]) + QString(10, QLatin1Char(' ')));
}

// ---------------------------------------------------------------- SortProfileConfigModel

bool SortProfileConfigModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    if (left.column() == ProfileConfigModel::ColAddress && right.column() == ProfileConfigModel::ColAddress) {
        const QString strLeft = left.data(ProfileConfigModel::HostRole).toString().trimmed();
        const QString strRight = right.data(ProfileConfigModel::HostRole).toString().trimmed();
        quint32 iLeft = 0;
        quint32 iRight = 0;
        HostAddress::parseIPv4(strLeft, &iLeft);
        HostAddress::parseIPv4(strRight, &iRight);
        // Addresses by value, ahead of server names; names among themselves by text; then ports.
        if (iLeft != iRight)
            return iLeft == 0 ? false : iRight == 0 ? true : iLeft < iRight;
        if (iLeft == 0) {
            const int iCompare = strLeft.localeAwareCompare(strRight);
            if (iCompare != 0)
                return iCompare < 0;
        }
        return left.data(ProfileConfigModel::PortRole).toInt() < right.data(ProfileConfigModel::PortRole).toInt();
    }
    return left.data().toString().localeAwareCompare(right.data().toString()) < 0;
}

// ---------------------------------------------------------------- EditorDelegate

EditorDelegate::EditorDelegate(QObject* pParent)
    : QStyledItemDelegate(pParent), m_hover(QStringLiteral(":/images/bg_list_hover.png")),
      m_plain(QStringLiteral(":/images/bg_list.png")), m_font(pixelFont(12))
{
    m_hoverTile = m_hover.copy(m_hover.width() / 2, 0, 1, m_hover.height());
    m_plainTile = m_plain.copy(m_plain.width() / 2, 0, 1, m_plain.height());
}

void EditorDelegate::paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool blSelected = option.state & QStyle::State_Selected;
    const QPixmap& background = blSelected ? m_hover : m_plain;
    const QPixmap& tile = blSelected ? m_hoverTile : m_plainTile;
    pPainter->save();
    // The picture's left edge (8 points) starts the row; the rest of the row repeats its plain middle.
    if (!background.isNull()) {
        pPainter->drawTiledPixmap(option.rect, tile);
        if (index.column() == 0)
            pPainter->drawPixmap(QRectF(option.rect.left(), option.rect.top(), 8, option.rect.height()), background,
                                 QRectF(0, 0, 8 * background.devicePixelRatio(), background.height()));
    }
    const QColor color = blSelected ? QColor(26, 117, 169) : QColor(125, 125, 125);
    pPainter->setFont(m_font);
    pPainter->setPen(color);
    const bool blLock = hasPadlock(index);
    const QRect textRect = option.rect.adjusted(15, 15, -8, 0);
    const QFontMetrics metrics(m_font);
    const QString strText = metrics.elidedText(index.data().toString(), Qt::ElideRight,
                                               std::max(0, textRect.width() - (blLock ? LockGap + LockWidth : 0)));
    pPainter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop, strText);
    if (blLock)
        paintPadlock(pPainter,
                     QPointF(textRect.left() + metrics.horizontalAdvance(strText) + LockGap,
                             textRect.top() + metrics.ascent() - LockHeight),
                     color);
    pPainter->restore();
}

void EditorDelegate::paintPadlock(QPainter* pPainter, const QPointF& topLeft, const QColor& color)
{
    const qreal x = topLeft.x();
    const qreal y = topLeft.y();
    pPainter->save();
    pPainter->setRenderHint(QPainter::Antialiasing);
    // The shackle: a half ring on two short legs, standing in the body.
    QPainterPath shackle;
    shackle.moveTo(x + 2, y + 6);
    shackle.lineTo(x + 2, y + 3.5);
    shackle.arcTo(QRectF(x + 2, y + 0.75, 5, 5.5), 180, -180);
    shackle.lineTo(x + 7, y + 6);
    pPainter->setPen(QPen(color, 1.5, Qt::SolidLine, Qt::FlatCap));
    pPainter->setBrush(Qt::NoBrush);
    pPainter->drawPath(shackle);
    pPainter->setPen(Qt::NoPen);
    pPainter->setBrush(color);
    pPainter->drawRoundedRect(QRectF(x, y + 5, LockWidth, LockHeight - 5), 1.2, 1.2);
    pPainter->restore();
}

QSize EditorDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const bool blLock = hasPadlock(index);
    const int iLock = blLock ? LockGap + LockWidth : 0;
    return QSize(QFontMetrics(m_font).horizontalAdvance(index.data().toString()) + 45 + iLock, 40);
}

// ---------------------------------------------------------------- EditorHeaderView

EditorHeaderView::EditorHeaderView(QWidget* pParent)
    : QHeaderView(Qt::Horizontal, pParent), m_font(pixelFont(12, true)),
      m_background(QStringLiteral(":/images/bg_title.png")), m_separator(QStringLiteral(":/images/bg_title_line.png")),
      m_ascending(VelmImages::pixmap(QStringLiteral(":/images/icon_sort_asc.png"))),
      m_descending(VelmImages::pixmap(QStringLiteral(":/images/icon_sort_des.png")))
{
    setFixedHeight(31);
    setFont(m_font);
    setHighlightSections(false);
    setStretchLastSection(true);
    setSectionsClickable(true);
    setSortIndicatorShown(true);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void EditorHeaderView::paintSection(QPainter* pPainter, const QRect& rect, int iLogicalIndex) const
{
    pPainter->save();
    pPainter->drawPixmap(rect, m_background);
    if (!m_separator.isNull()) {
        const qreal rSeparator = m_separator.deviceIndependentSize().width();
        pPainter->drawPixmap(QRectF(rect.right() + 1 - rSeparator, rect.top(), rSeparator, rect.height()), m_separator,
                             QRectF(m_separator.rect()));
    }
    pPainter->setFont(m_font);
    pPainter->setPen(QColor(49, 49, 49));
    const QString strText = model() ? model()->headerData(iLogicalIndex, orientation()).toString() : QString();
    pPainter->drawText(rect.adjusted(15, 8, -30, 0), Qt::AlignLeft | Qt::AlignTop, strText.trimmed());
    if (isSortIndicatorShown() && sortIndicatorSection() == iLogicalIndex) {
        // The arrow points the way the values grow down the list.
        const QPixmap& arrow = sortIndicatorOrder() == Qt::DescendingOrder ? m_ascending : m_descending;
        const QSizeF size = arrow.deviceIndependentSize();
        pPainter->drawPixmap(QRectF(QPointF(rect.right() - 23, rect.top() + (rect.height() - size.height()) / 2), size),
                             arrow, QRectF(arrow.rect()));
    }
    pPainter->restore();
}

QSize EditorHeaderView::sectionSizeFromContents(int iLogicalIndex) const
{
    const QString strText = model() ? model()->headerData(iLogicalIndex, orientation()).toString() : QString();
    return QSize(QFontMetrics(m_font).horizontalAdvance(strText) + 45, 31);
}

void EditorHeaderView::enterEvent(QEnterEvent* pEvent)
{
    QHeaderView::enterEvent(pEvent);
    Q_EMIT signalEnter();
}

// ---------------------------------------------------------------- EditorTableView

EditorTableView::EditorTableView(QWidget* pParent) : QTableView(pParent)
{
    setHorizontalHeader(new EditorHeaderView(this));
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setTabKeyNavigation(false);
    setAutoFillBackground(true);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
}

void EditorTableView::mousePressEvent(QMouseEvent* pEvent)
{
    Q_EMIT signalMousePress(pEvent->position().toPoint());
    // A press below the rows takes the focus but keeps the selected row.
    if (!indexAt(pEvent->position().toPoint()).isValid()) {
        setFocus(Qt::MouseFocusReason);
        pEvent->accept();
        return;
    }
    QTableView::mousePressEvent(pEvent);
}

void EditorTableView::mouseMoveEvent(QMouseEvent* pEvent)
{
    Q_EMIT signalMouseMove(pEvent->position().toPoint());
    QTableView::mouseMoveEvent(pEvent);
}

void EditorTableView::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    const QModelIndex index = indexAt(pEvent->position().toPoint());
    if (index.isValid() && pEvent->button() == Qt::LeftButton)
        Q_EMIT signalMouseDoubleClicked(index);
}

void EditorTableView::leaveEvent(QEvent* pEvent)
{
    QTableView::leaveEvent(pEvent);
    Q_EMIT signalMouseLeave();
}

void EditorTableView::wheelEvent(QWheelEvent* pEvent)
{
    Q_EMIT signalMouseLeave();
    QTableView::wheelEvent(pEvent);
}

QItemSelectionModel::SelectionFlags EditorTableView::selectionCommand(const QModelIndex& index,
                                                                      const QEvent* pEvent) const
{
    // Ctrl+click or Ctrl+Space would take the selection off its row; the keys act on the selected row.
    const QItemSelectionModel::SelectionFlags flags = QTableView::selectionCommand(index, pEvent);
    if (index.isValid() && flags.testFlag(QItemSelectionModel::Deselect))
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return flags;
}
