// The profile list editor and the server settings dialog. The settings dialog searches the network
// as it opens, so this whole test lives in a network namespace of its own (skipped without one).

#include "../wizard/WizardFixture.h"
#include "AppIdentity.h"
#include "StartUp.h"
#include "TestNetwork.h"
#include "VelmLocale.h"
#include "WaitUntil.h"
#include "WatchService.h"
#include "WidgetFlows.h"
#include "WidgetPrompt.h"
#include "profiles/CreateWizard.h"
#include "profiles/ProfileEditor.h"
#include "profiles/ServerSettings.h"
#include "store/CertificatePins.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"
#include "store/WatchStore.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTest>
#include <QTimer>

#include <cstring>

namespace {

template <typename T> T* child(QWidget* pParent, const char* pszName)
{
    T* pChild = pParent->findChild<T*>(QLatin1String(pszName));
    if (!pChild)
        qFatal("no widget %s", pszName);
    return pChild;
}

void addProfile(const QString& strName, const QString& strHost, const QString& strAccount, int iPort = 80,
                bool blHttps = false)
{
    ServerProfile profile;
    ProfileStore::fillRecord(profile, strName, strHost, iPort, blHttps, strAccount, QString(), false, QString(), false,
                             true, true, true, QStringLiteral("RENAME"), QString(), {});
    QVERIFY(ProfileStore::insertProfile(profile));
}

QString storedAlbum(const QString& strName)
{
    ScriptedPrompt quiet;
    ServerProfile profile;
    return ProfileStore::loadProfile(strName, profile, quiet) ? profile.serverdst : QStringLiteral("<none>");
}

int historyRows(const QString& strName)
{
    QSqlQuery query(VelmDatabase::database());
    query.prepare(QStringLiteral("SELECT count(*) FROM PhotoRecords WHERE profname = ?"));
    query.addBindValue(strName);
    return query.exec() && query.next() ? query.value(0).toInt() : -1;
}

QStringList shownColumn(const QAbstractItemModel* pModel, int iColumn)
{
    QStringList lstTexts;
    for (int i = 0; i < pModel->rowCount(); ++i)
        lstTexts.append(pModel->index(i, iColumn).data().toString());
    return lstTexts;
}

QPoint rowCenter(EditorTableView* pTable, int iRow)
{
    return pTable->visualRect(pTable->model()->index(iRow, 0)).center();
}

// Moves the mouse onto a row; a move to where the mouse already is would not count.
void hover(EditorTableView* pTable, int iRow)
{
    const QPoint pos = rowCenter(pTable, iRow);
    QTest::mouseMove(pTable->viewport(), pos + QPoint(1, 1));
    QTest::mouseMove(pTable->viewport(), pos);
}

// Runs pAction once the first modal dialog of type T is up; the action closes it.
template <typename T> void whenModal(std::function<void(T*)> action)
{
    auto* pTimer = new QTimer;
    QObject::connect(pTimer, &QTimer::timeout, [pTimer, action]() {
        if (auto* pDialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            pTimer->stop();
            pTimer->deleteLater();
            action(pDialog);
        }
    });
    pTimer->start(50);
}

} // namespace

class TstProfileEditor : public QObject
{
    Q_OBJECT

public:
    TstProfileEditor(bool blPrivate, const QString& strWhy) : m_blPrivate(blPrivate), m_strWhy(strWhy) {}

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void modelAndSorting();
    void hoverIcons();
    void keyActions_data();
    void keyActions();
    void settingsRefusals();
    void settingsWriteBack();
    void settingsSearchNote();
    void editDeleteCreate();
    void watchFolders();
    void doubleClickStartsUpload();
    void secondStartRaisesFirst();

private:
    bool m_blPrivate;
    QString m_strWhy;
    WizardFixture m_fixture;
};

void TstProfileEditor::initTestCase()
{
    if (!m_blPrivate)
        QSKIP(qPrintable(QStringLiteral("profile editor tests skipped: the settings dialog searches the network and no "
                                        "private network namespace can be made here (%1)")
                             .arg(m_strWhy)));
    QString strWhy;
    QVERIFY2(TestNetwork::bringUpLoopback(&strWhy), qPrintable(strWhy));
}

void TstProfileEditor::init()
{
    QVERIFY(m_fixture.start());
    addProfile(QStringLiteral("Office"), QStringLiteral("10.0.0.10"), QStringLiteral("ann"));
    addProfile(QStringLiteral("cabin"), QStringLiteral("10.0.0.9"), QStringLiteral("family"));
    addProfile(QStringLiteral("Studio"), QStringLiteral("192.168.1.20"), QStringLiteral("photos"));
    addProfile(QStringLiteral("Parents"), QStringLiteral("nas-parents"), QStringLiteral("mum"));
}

void TstProfileEditor::cleanup()
{
    m_fixture.stop();
}

// The model shows every profile once; names sort as words; servers show as host:port and sort by
// address value, then port, with names after them; an HTTPS server has a tooltip and a padlock.
void TstProfileEditor::modelAndSorting()
{
    addProfile(QStringLiteral("Attic"), QStringLiteral("10.0.0.9"), QStringLiteral("ann"), 443, true);
    addProfile(QStringLiteral("Lab"), QStringLiteral("fe80::1"), QStringLiteral("kim"), 5001, true);
    ProfileEditor editor(nullptr, RunMode::Home, m_fixture.nam.get(), &m_fixture.prompt);
    EditorTableView* pTable = editor.tableView();
    QAbstractItemModel* pProxy = pTable->model();
    QAbstractItemModelTester tester(pProxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(editor.windowTitle(), AppIdentity::applicationTitle());
    QCOMPARE(child<QLabel>(&editor, "m_plbTitle")->text(), QStringLiteral("Pictarium Uploader Profile List"));
    QCOMPARE(editor.createButton()->buttonText(), QStringLiteral("Create Profile"));
    QCOMPARE(editor.createButton()->geometry().right() + 1, 509);
    QCOMPARE(editor.createButton()->height(), 32);

    QCOMPARE(shownColumn(pProxy, 0), QStringList({"Attic", "cabin", "home", "Lab", "Office", "Parents", "Studio"}));
    QCOMPARE(pProxy->headerData(2, Qt::Horizontal).toString(), QStringLiteral("IP address          "));
    QCOMPARE(pProxy->index(1, 1).data().toString(), QStringLiteral("family"));
    QVERIFY(!pProxy->index(0, 0).data(Qt::ToolTipRole).isValid());
    QVERIFY(pProxy->flags(pProxy->index(0, 0)) & Qt::ItemIsSelectable);
    for (int i = 0; i < pProxy->rowCount(); ++i)
        QCOMPARE(pTable->rowHeight(i), 40);

    pTable->sortByColumn(2, Qt::AscendingOrder);
    const QString strHome = QStringLiteral("127.0.0.1:%1").arg(m_fixture.server->port());
    QCOMPARE(shownColumn(pProxy, 2), QStringList({"10.0.0.9:80", "10.0.0.9:443", "10.0.0.10:80", strHome,
                                                  "192.168.1.20:80", "[fe80::1]:5001", "nas-parents:80"}));
    for (int i = 0; i < pProxy->rowCount(); ++i)
        QCOMPARE(pProxy->index(i, 2).data(Qt::ToolTipRole).toString(),
                 i == 1 || i == 5 ? VelmLocale::message("editor_tip_https") : QString());
    pTable->sortByColumn(2, Qt::DescendingOrder);
    QCOMPARE(shownColumn(pProxy, 2).first(), QStringLiteral("nas-parents:80"));
    QCOMPARE(shownColumn(pProxy, 2).last(), QStringLiteral("10.0.0.9:80"));
    pTable->sortByColumn(1, Qt::AscendingOrder);
    QCOMPARE(shownColumn(pProxy, 1), QStringList({"ann", "ann", "ann", "family", "kim", "mum", "photos"}));

    // The padlock follows the text, at double scale too, and the cell is wide enough for it.
    EditorDelegate delegate;
    QStandardItemModel cells(1, 3);
    const QModelIndex cell = cells.index(0, ProfileConfigModel::ColAddress);
    cells.setData(cell, QStringLiteral("10.0.0.9:443"));
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 300, 40);
    auto inkEnd = [&](bool blHttps, int iScale) {
        cells.setData(cell, blHttps, ProfileConfigModel::HttpsRole);
        QImage image(option.rect.size() * iScale, QImage::Format_RGB32);
        image.setDevicePixelRatio(iScale);
        image.fill(Qt::white);
        QPainter painter(&image);
        delegate.paint(&painter, option, cell);
        painter.end();
        int iEnd = -1; // in points, right of the last grey pixel of the text band
        for (int y = 12 * iScale; y < 32 * iScale; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 180)
                    iEnd = std::max(iEnd, x / iScale + 1);
        return iEnd;
    };
    for (const int iScale : {1, 2}) {
        const int iPlain = inkEnd(false, iScale);
        const int iLocked = inkEnd(true, iScale);
        QVERIFY2(iPlain > 15 && iLocked >= iPlain + 10, qPrintable(QStringLiteral("%1 %2").arg(iPlain).arg(iLocked)));
    }
    const int iLockedWidth = delegate.sizeHint(option, cell).width(); // HttpsRole is set by the last paint
    cells.setData(cell, false, ProfileConfigModel::HttpsRole);
    QVERIFY(iLockedWidth - delegate.sizeHint(option, cell).width() >= 10);
}

// One row is always selected and carries the icons at its right end: the first at the start, then
// the one under the mouse. Leaving the table or entering the header hides the icons and keeps the
// selection; scrolling and resizing move them with their row.
void TstProfileEditor::hoverIcons()
{
    for (int i = 1; i <= 6; ++i)
        addProfile(QStringLiteral("z%1").arg(i), QStringLiteral("10.1.0.%1").arg(i), QStringLiteral("ann"));
    ProfileEditor editor(nullptr, RunMode::Home, m_fixture.nam.get(), &m_fixture.prompt);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    EditorTableView* pTable = editor.tableView();
    QVERIFY(pTable->verticalScrollBar()->isVisible());
    VelmIcon* pEdit = editor.editIcon();
    VelmIcon* pDelete = editor.deleteIcon();
    QCOMPARE(pEdit->toolTip(), QStringLiteral("Edit this profile (F2)"));
    QCOMPARE(pDelete->toolTip(), QStringLiteral("Delete this profile (Del)"));
    QCOMPARE(child<QLabel>(&editor, "m_plbUploadHint")->text(), VelmLocale::message("editor_hint_upload"));
    QVERIFY(child<QLabel>(&editor, "m_plbUploadHint")->isVisible());
    QVERIFY(!editor.emptyHint()->isVisible());

    // Both icons at the right end of the row, clear of the scroll bar, inside the row's 40 pixels.
    auto iconsOn = [&](int iRow) {
        const QRect viewport = pTable->viewport()->geometry();
        const int iRowTop = viewport.top() + pTable->rowViewportPosition(iRow);
        return editor.hoveredRow() == iRow && pTable->selectionModel()->selectedRows().size() == 1 &&
               pEdit->isVisible() && pDelete->isVisible() && pEdit->state() == VelmIcon::Normal &&
               pEdit->size() == QSize(30, 30) && pEdit->geometry().right() + 1 == viewport.right() + 1 - 6 &&
               pEdit->geometry().right() < pTable->verticalScrollBar()->mapTo(pTable, QPoint(0, 0)).x() &&
               pDelete->geometry().right() + 1 == pEdit->geometry().left() && pEdit->y() == pDelete->y() &&
               pEdit->geometry().top() >= iRowTop && pEdit->geometry().bottom() < iRowTop + 40;
    };
    QVERIFY(iconsOn(0));
    for (int iRow : {1, 3, 0}) {
        hover(pTable, iRow);
        QTRY_VERIFY2(iconsOn(iRow), qPrintable(QString::number(iRow)));
        QCOMPARE(pEdit->pixmap().toImage(), QPixmap(QStringLiteral(":/images/bt_edit.png")).toImage());
    }
    // Ctrl+click on the selected row leaves it selected.
    QTest::mouseClick(pTable->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCenter(pTable, 0));
    QCOMPARE(editor.hoveredRow(), 0);

    // The icon under the mouse lights up and goes back when the mouse leaves it.
    hover(pTable, 0);
    QTest::mouseMove(pDelete, QPoint(15, 15));
    QTRY_COMPARE(pDelete->state(), int(VelmIcon::Hovered));
    QCOMPARE(pDelete->pixmap().toImage(), QPixmap(QStringLiteral(":/images/bt_del_hover.png")).toImage());
    QCOMPARE(editor.hoveredRow(), 0);
    QTest::mouseMove(pTable->viewport(), rowCenter(pTable, 0));
    QTRY_COMPARE(pDelete->state(), int(VelmIcon::Normal));
    QCOMPARE(pDelete->pixmap().toImage(), QPixmap(QStringLiteral(":/images/bt_del.png")).toImage());

    struct Away
    {
        const char* pszWhat;
        std::function<void()> move;
    };
    const Away aways[] = {
        {"leave", [&] { QTest::mouseMove(child<QLabel>(&editor, "m_plbTitle"), QPoint(5, 5)); }},
        {"header", [&] { QTest::mouseMove(pTable->horizontalHeader(), QPoint(20, 10)); }},
    };
    for (const Away& away : aways) {
        hover(pTable, 2);
        QTRY_VERIFY(iconsOn(2));
        away.move();
        QTRY_VERIFY2(!pEdit->isVisible() && !pDelete->isVisible(), away.pszWhat);
        QCOMPARE(pEdit->state(), int(VelmIcon::Inactive));
        QCOMPARE(editor.hoveredRow(), 2);
        // Back over the same row, the icons return.
        QTest::mouseMove(pTable->viewport(), rowCenter(pTable, 2));
        QTRY_VERIFY2(iconsOn(2), away.pszWhat);
    }

    pTable->verticalScrollBar()->setValue(1);
    QVERIFY(iconsOn(2));
    editor.resize(editor.width() + 10, editor.height());
    QTRY_VERIFY(iconsOn(2));
    pTable->verticalScrollBar()->setValue(3); // the row above the top: no icons over the header
    QVERIFY(!pEdit->isVisible());
    QCOMPARE(editor.hoveredRow(), 2);
    pTable->verticalScrollBar()->setValue(0);
    QVERIFY(iconsOn(2));
}

// Each key on the selected row, the list having the focus from the start: the arrows move the
// selection, Enter uploads, F2 and Ctrl+E edit, Delete asks first and selects a neighbour, Ctrl+N
// creates, Escape leaves the window open (its close button still closes it).
void TstProfileEditor::keyActions_data()
{
    QTest::addColumn<int>("iStart");
    QTest::addColumn<int>("iKey");
    QTest::addColumn<int>("iModifiers");
    QTest::addColumn<int>("iAnswer");       // to the delete question
    QTest::addColumn<QString>("strDialog"); // the dialog the key opens, and the profile it shows
    QTest::addColumn<QStringList>("lstLaunch");
    QTest::addColumn<QString>("strSelected"); // afterwards
    QTest::addColumn<int>("iRows");

    // Rows: cabin, home, Office, Parents, Studio; shortcut places: home, cabin, Studio, Parents, Office.
    const int No = UserPrompt::No;
    const int Yes = UserPrompt::Yes;
    const int Ctrl = Qt::ControlModifier;
    QTest::newRow("Down") << 0 << int(Qt::Key_Down) << 0 << No << "" << QStringList() << "home" << 5;
    QTest::newRow("Up") << 2 << int(Qt::Key_Up) << 0 << No << "" << QStringList() << "home" << 5;
    QTest::newRow("Down on the last row") << 4 << int(Qt::Key_Down) << 0 << No << "" << QStringList() << "Studio" << 5;
    QTest::newRow("Enter") << 3 << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << No << ""
                           << QStringList({"8", "3"}) << "Parents" << 5;
    QTest::newRow("Return") << 0 << int(Qt::Key_Return) << 0 << No << "" << QStringList({"8", "1"}) << "cabin" << 5;
    QTest::newRow("F2") << 1 << int(Qt::Key_F2) << 0 << No << "ServerSettings home" << QStringList() << "home" << 5;
    QTest::newRow("Ctrl+E") << 2 << int(Qt::Key_E) << Ctrl << No << "ServerSettings Office" << QStringList()
                            << "Office" << 5;
    QTest::newRow("Delete, No") << 2 << int(Qt::Key_Delete) << 0 << No << "" << QStringList() << "Office" << 5;
    QTest::newRow("Delete, Yes") << 2 << int(Qt::Key_Delete) << 0 << Yes << "" << QStringList() << "Parents" << 4;
    QTest::newRow("Delete the last row") << 4 << int(Qt::Key_Delete) << 0 << Yes << "" << QStringList() << "Parents"
                                         << 4;
    QTest::newRow("Ctrl+N") << 0 << int(Qt::Key_N) << Ctrl << No << "CreateWizard" << QStringList() << "cabin" << 5;
    QTest::newRow("Escape") << 1 << int(Qt::Key_Escape) << 0 << No << "" << QStringList() << "home" << 5;
}

void TstProfileEditor::keyActions()
{
    QFETCH(int, iStart);
    QFETCH(int, iKey);
    QFETCH(int, iModifiers);
    QFETCH(int, iAnswer);
    QFETCH(QString, strDialog);
    QFETCH(QStringList, lstLaunch);
    QFETCH(QString, strSelected);
    QFETCH(int, iRows);

    ProfileEditor editor(nullptr, RunMode::Home, m_fixture.nam.get(), &m_fixture.prompt);
    QList<QStringList> lstStarts;
    editor.setLauncher([&lstStarts](const QStringList& lstArguments) {
        lstStarts.append(lstArguments);
        return true;
    });
    editor.show();
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    EditorTableView* pTable = editor.tableView();
    QAbstractItemModel* pProxy = pTable->model();
    QCOMPARE(QApplication::focusWidget(), pTable);
    QCOMPARE(editor.hoveredRow(), 0);
    pTable->setCurrentIndex(pProxy->index(iStart, 0));

    QString strSeen;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&strSeen]() {
        if (auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            strSeen = QLatin1String(pDialog->metaObject()->className());
            if (qobject_cast<ServerSettings*>(pDialog))
                strSeen += QLatin1Char(' ') + child<QLineEdit>(pDialog, "m_pedtProfName")->text();
            pDialog->reject();
        }
    });
    closer.start(50);
    m_fixture.prompt.questionAnswers = {UserPrompt::Button(iAnswer)};
    QTest::keyClick(pTable, Qt::Key(iKey), Qt::KeyboardModifiers(iModifiers));

    QCOMPARE(strSeen, strDialog);
    QCOMPARE(lstStarts, lstLaunch.isEmpty() ? QList<QStringList>() : QList<QStringList>({lstLaunch}));
    QTRY_COMPARE(bool(editor.windowState() & Qt::WindowMinimized), !lstLaunch.isEmpty());
    QCOMPARE(m_fixture.prompt.shown.size(), iKey == Qt::Key_Delete ? 1 : 0);
    QCOMPARE(pProxy->rowCount(), iRows);
    QCOMPARE(ProfileStore::listProfiles().size(), iRows);
    QCOMPARE(pProxy->index(editor.hoveredRow(), 0).data().toString(), strSelected);
    // The icons sit on the selected row.
    const QRect row = pTable->visualRect(pProxy->index(editor.hoveredRow(), 0));
    QVERIFY(editor.editIcon()->isVisible());
    QCOMPARE(editor.editIcon()->geometry().center().y(), pTable->viewport()->y() + row.center().y());
    QVERIFY(editor.isVisible());
    if (iKey == Qt::Key_Escape) {
        QVERIFY(editor.close());
        QVERIFY(!editor.isVisible());
    }
}

// Each refusal shows one box, focuses its input, keeps the dialog open with the input as typed
// and writes nothing; the last rows are accepted.
void TstProfileEditor::settingsRefusals()
{
    struct Row
    {
        const char* pszWhat;
        const char* pszName;
        const char* pszHost;
        const char* pszPort;
        bool blPersonal;
        const char* pszOwner;
        const char* pszAccount;
        const char* pszKey; // nullptr: accepted; "" : the name problem text
        const char* pszFocus;
    };
    const Row rows[] = {
        {"port 0", "home", "127.0.0.1", "0", false, "", "ann", "err_bad_port", "m_pedtPort"},
        {"port 65536", "home", "127.0.0.1", "65536", false, "", "ann", "err_bad_port", "m_pedtPort"},
        {"port text, before the name", "", "127.0.0.1", "http", false, "", "ann", "err_bad_port", "m_pedtPort"},
        {"not a host name", "home", "bad host!", "80", false, "", "ann", "err_host_addr", "m_cbxIP"},
        {"empty host", "home", "", "80", false, "", "ann", "err_host_addr", "m_cbxIP"},
        {"another profile's name", "OFFICE", "127.0.0.1", "80", false, "", "ann", "err_profname_duplicate",
         "m_pedtProfName"},
        {"line break in the name", "a\nb", "127.0.0.1", "80", false, "", "ann", "", "m_pedtProfName"},
        {"empty name", "", "127.0.0.1", "80", false, "", "ann", "err_profname_empty", "m_pedtProfName"},
        {"empty port", "home", "127.0.0.1", "", false, "", "ann", "err_port_empty", "m_pedtPort"},
        {"personal without owner", "home", "127.0.0.1", "80", true, "", "ann", "err_personal_empty",
         "m_pedtPersonalName"},
        {"empty account", "home", "127.0.0.1", "80", false, "", "", "err_usrname_empty", "m_pedtAccount"},
        {"own name, other case", "HOME", "10.0.0.5", "8080", true, "bob", "kim", nullptr, nullptr},
    };
    ProfileSummary row = ProfileStore::listProfiles().value(QStringLiteral("home"));
    ServerSettings settings(nullptr, m_fixture.nam.get(), &row, &m_fixture.prompt);
    settings.show();
    QVERIFY(QTest::qWaitForWindowExposed(&settings));
    QCOMPARE(settings.size(), QSize(520, 680));
    QCOMPARE(child<QLineEdit>(&settings, "m_pedtProfName")->maxLength(), 32);
    for (const Row& step : rows) {
        const QString strName = QString::fromUtf8(step.pszName);
        child<QLineEdit>(&settings, "m_pedtProfName")->setText(strName);
        child<QComboBox>(&settings, "m_cbxIP")->setEditText(QLatin1String(step.pszHost));
        child<QLineEdit>(&settings, "m_pedtPort")->setText(QLatin1String(step.pszPort));
        child<QRadioButton>(&settings, step.blPersonal ? "m_pradPersonalPictarium" : "m_pradPictarium")->setChecked(true);
        child<QLineEdit>(&settings, "m_pedtPersonalName")->setText(QLatin1String(step.pszOwner));
        child<QLineEdit>(&settings, "m_pedtAccount")->setText(QLatin1String(step.pszAccount));
        m_fixture.prompt.shown.clear();
        child<QPushButton>(&settings, "m_pbtnSave")->click();
        if (!step.pszKey)
            break;
        QVERIFY2(m_fixture.prompt.shown.size() == 1, step.pszWhat);
        const ScriptedPrompt::Shown& shown = m_fixture.prompt.shown.constFirst();
        const bool blCritical = std::strncmp(step.pszKey, "err_bad", 7) == 0 || !*step.pszKey ||
                                std::strcmp(step.pszKey, "err_host_addr") == 0 ||
                                std::strcmp(step.pszKey, "err_profname_duplicate") == 0;
        QCOMPARE(shown.kind, QLatin1String(blCritical ? "critical" : "warning"));
        QCOMPARE(shown.title, VelmLocale::message(blCritical ? "err_error" : "err_warning"));
        QCOMPARE(shown.text, *step.pszKey ? VelmLocale::message(step.pszKey).replace(QLatin1String("%1"), strName)
                                          : ProfileStore::profileNameProblem(strName));
        QWidget* pFocus = child<QWidget>(&settings, step.pszFocus);
        QVERIFY2(pFocus->hasFocus() || pFocus->isAncestorOf(QApplication::focusWidget()), step.pszWhat);
        QVERIFY2(settings.isVisible() && settings.result() != QDialog::Accepted, step.pszWhat);
        QCOMPARE(child<QLineEdit>(&settings, "m_pedtProfName")->text(), strName);
        QCOMPARE(row.profname, QStringLiteral("home")); // nothing written yet
    }
    QVERIFY2(m_fixture.prompt.shown.isEmpty(), qPrintable(m_fixture.prompt.shown.value(0).text));
    QCOMPARE(settings.result(), int(QDialog::Accepted));
    QCOMPARE(row.profname, QStringLiteral("HOME"));
    QCOMPARE(row.hostaddr, QStringLiteral("10.0.0.5"));
    QCOMPARE(row.port, 8080);
    QVERIFY(row.personal);
    QCOMPARE(row.usrname, QStringLiteral("bob"));
    QCOMPARE(row.account, QStringLiteral("kim"));
}

// What Save writes: the row as shown, the stored album reset only for another server or photo
// space, and no password that is not to be remembered.
void TstProfileEditor::settingsWriteBack()
{
    ProfileSummary row = ProfileStore::listProfiles().value(QStringLiteral("home"));
    auto store = [&row](const QString& strOldName) {
        ProfileStore::updateConnectionSettings(strOldName, row);
        ProfileStore::setColumn(QStringLiteral("ServerProfiles"), row.profname, QStringLiteral("serverdst"),
                                QStringLiteral("/photo/trip"));
    };
    store(row.profname);

    struct Step
    {
        const char* pszWhat;
        std::function<void(ServerSettings*)> change;
        bool blReset;
    };
    const Step steps[] = {
        {"no change", [](ServerSettings*) {}, false},
        {"personal space",
         [](ServerSettings* p) {
             child<QRadioButton>(p, "m_pradPersonalPictarium")->setChecked(true);
             child<QLineEdit>(p, "m_pedtPersonalName")->setText(QStringLiteral("bob"));
         },
         true},
        {"no change, personal", [](ServerSettings*) {}, false},
        {"another owner", [](ServerSettings* p) { child<QLineEdit>(p, "m_pedtPersonalName")->setText("carol"); }, true},
        {"back to shared, owner text still there",
         [](ServerSettings* p) { child<QRadioButton>(p, "m_pradPictarium")->setChecked(true); }, true},
        {"port and HTTPS only",
         [](ServerSettings* p) {
             child<QCheckBox>(p, "m_pchkHTTPS")->setChecked(true);
             child<QLineEdit>(p, "m_pedtPort")->setText(QStringLiteral("5001"));
         },
         false},
        {"another server", [](ServerSettings* p) { child<QComboBox>(p, "m_cbxIP")->setEditText("127.0.0.2"); }, true},
        {"renamed", [](ServerSettings* p) { child<QLineEdit>(p, "m_pedtProfName")->setText("Living room"); }, false},
    };
    for (const Step& step : steps) {
        const QString strOldName = row.profname;
        ServerSettings settings(nullptr, m_fixture.nam.get(), &row, &m_fixture.prompt);
        // The dialog shows the row as stored.
        QCOMPARE(child<QRadioButton>(&settings, "m_pradPersonalPictarium")->isChecked(), row.personal);
        QCOMPARE(child<QLineEdit>(&settings, "m_pedtPersonalName")->isEnabled(), row.personal);
        QCOMPARE(child<QLineEdit>(&settings, "m_pedtPort")->text(), QString::number(row.port));
        step.change(&settings);
        settings.accept();
        QVERIFY2(settings.result() == QDialog::Accepted, step.pszWhat);
        QCOMPARE(storedAlbum(strOldName), QLatin1String(step.blReset ? "/photo" : "/photo/trip"));
        store(strOldName);
    }
    QCOMPARE(row.profname, QStringLiteral("Living room"));
    QCOMPARE(row.hostaddr, QStringLiteral("127.0.0.2"));
    QCOMPARE(row.port, 5001);
    QVERIFY(row.https && !row.personal);

    // "Remember password" cleared: the edit is disabled and no password is kept.
    QVERIFY(row.savepass && !row.password.isEmpty());
    ServerSettings settings(nullptr, m_fixture.nam.get(), &row, &m_fixture.prompt);
    auto* pPassword = child<QLineEdit>(&settings, "m_pedtPassword");
    QCOMPARE(pPassword->text(), QStringLiteral("pw"));
    QCOMPARE(pPassword->echoMode(), QLineEdit::Password);
    child<QCheckBox>(&settings, "m_pchkSaveCred")->setChecked(false);
    QVERIFY(!pPassword->isEnabled());
    settings.accept();
    QVERIFY(!row.savepass && row.password.isEmpty());
    // Cancel changes nothing.
    ServerSettings cancelled(nullptr, m_fixture.nam.get(), &row, &m_fixture.prompt);
    child<QLineEdit>(&cancelled, "m_pedtProfName")->setText(QStringLiteral("other"));
    child<QPushButton>(&cancelled, "m_pbtnCancel")->click();
    QCOMPARE(cancelled.result(), int(QDialog::Rejected));
    QCOMPARE(row.profname, QStringLiteral("Living room"));
    QVERIFY(m_fixture.prompt.shown.isEmpty());

    // A name from before the 32-character limit is shown whole and kept; a new one must keep to it.
    const QString strLong(40, QLatin1Char('L'));
    row.profname = strLong;
    store(QStringLiteral("Living room"));
    for (const int iTyped : {0, 33}) {
        ServerSettings longName(nullptr, m_fixture.nam.get(), &row, &m_fixture.prompt);
        auto* pName = child<QLineEdit>(&longName, "m_pedtProfName");
        QCOMPARE(pName->text(), strLong);
        if (iTyped)
            pName->setText(QString(iTyped, QLatin1Char('M')));
        longName.accept();
        QCOMPARE(longName.result(), int(iTyped ? QDialog::Rejected : QDialog::Accepted));
        QCOMPARE(row.profname, strLong);
    }
    QCOMPARE(m_fixture.prompt.shown.size(), 1);
    QCOMPARE(m_fixture.prompt.shown.constFirst().text, ProfileStore::profileNameProblem(QString(33, QLatin1Char('M'))));
    m_fixture.prompt.shown.clear();

    // The certificate key trusted for the server and port as entered; plain HTTP has none.
    const QByteArray baKey = QByteArray::fromHex("00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff");
    QVERIFY(CertificatePins::setPin(QStringLiteral("127.0.0.2"), 5001, baKey));
    ServerSettings pinned(nullptr, m_fixture.nam.get(), &row, &m_fixture.prompt);
    auto* pFingerprint = child<QLabel>(&pinned, "m_plbCertFingerprint");
    QCOMPARE(pFingerprint->text(), QStringLiteral("00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF\n"
                                                  "00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF"));
    QVERIFY(!pFingerprint->isHidden());
    child<QLineEdit>(&pinned, "m_pedtPort")->setText(QStringLiteral("5002"));
    QCOMPARE(pFingerprint->text(), VelmLocale::message("msg_cert_not_pinned"));
    child<QCheckBox>(&pinned, "m_pchkHTTPS")->setChecked(false);
    QVERIFY(pFingerprint->isHidden());

    // The box for a changed certificate: Cancel is the default, the other button trusts.
    WidgetPrompt widgetPrompt;
    for (const bool blTrust : {false, true}) {
        QStringList lstButtons;
        whenModal<QMessageBox>([&lstButtons, blTrust](QMessageBox* pBox) {
            for (QAbstractButton* pButton : pBox->buttons())
                lstButtons.append(pButton->text());
            QVERIFY(pBox->defaultButton() && pBox->defaultButton()->text() == QLatin1String("Cancel"));
            if (blTrust)
                pBox->buttons().constFirst()->click();
            else
                pBox->reject();
        });
        QCOMPARE(widgetPrompt.trustCertificate(QStringLiteral("Warning"), QStringLiteral("changed")), blTrust);
        QCOMPARE(lstButtons, (QStringList{"Trust the new certificate", "Cancel"}));
    }
}

// The note under the server: searching while the round runs, then, with nobody found, the firewall
// hints only while the server field is empty and the dialog open; never a box.
void TstProfileEditor::settingsSearchNote()
{
    FindHostUtils::setTickMilliseconds(100);
    const QString strServer = VelmLocale::message("velm_server");
    const QString strNoneFound =
        VelmLocale::message("err_serv_not_found").arg(strServer) + QStringLiteral("<br>") +
        VelmLocale::message("msg_firewall").arg(strServer);
    enum Action { Keep, Clear, Close };
    for (const Action action : {Keep, Clear, Close}) {
        ProfileSummary row = ProfileStore::listProfiles().value(QStringLiteral("home"));
        ServerSettings settings(nullptr, m_fixture.nam.get(), &row, &m_fixture.prompt);
        settings.show();
        auto* pNote = child<QLabel>(&settings, "m_plbSearchNote");
        QCOMPARE(pNote->text(), VelmLocale::message("create_svr_searching"));
        QVERIFY(!pNote->isHidden());
        if (action != Keep)
            child<QComboBox>(&settings, "m_cbxIP")->clearEditText();
        if (action == Close)
            settings.reject();
        QVERIFY(waitUntil([&settings] { return !settings.finder()->isBusy(); }, 8000));
        // After the style block that sets its margins.
        QVERIFY2(action == Clear ? pNote->text().endsWith(strNoneFound) : pNote->text().isEmpty(),
                 qPrintable(pNote->text()));
        QCOMPARE(pNote->isHidden(), action != Clear);
    }
    FindHostUtils::setTickMilliseconds(1000);
    QVERIFY(m_fixture.prompt.shown.isEmpty());
}

// Through the editor: edit renames (the history stays under the old name) and keeps the row
// selected, delete asks, rewrites the shortcut list and selects the next row; with no profile left
// a hint with its own create button takes the table's place until the create button makes one.
void TstProfileEditor::editDeleteCreate()
{
    VelmDatabase::ensureTable(VelmDatabase::PhotoRecords);
    QSqlQuery insert(VelmDatabase::database());
    QVERIFY(insert.exec(QStringLiteral("insert into PhotoRecords values('a.jpg', 'home', 1, '1', 'x')")));

    ProfileEditor editor(nullptr, RunMode::Home, m_fixture.nam.get(), &m_fixture.prompt);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    EditorTableView* pTable = editor.tableView();
    QAbstractItemModel* pProxy = pTable->model();

    hover(pTable, 1); // home
    QTRY_COMPARE(editor.hoveredRow(), 1);
    bool blSeen = false;
    whenModal<ServerSettings>([&blSeen](ServerSettings* pSettings) {
        blSeen = child<QLineEdit>(pSettings, "m_pedtProfName")->text() == QLatin1String("home");
        child<QLineEdit>(pSettings, "m_pedtProfName")->setText(QStringLiteral("Living room"));
        child<QPushButton>(pSettings, "m_pbtnSave")->click();
    });
    QTest::mouseClick(editor.editIcon(), Qt::LeftButton);
    QVERIFY(blSeen);
    QVERIFY(!ProfileStore::profileExists(QStringLiteral("home")));
    QVERIFY(ProfileStore::profileExists(QStringLiteral("Living room")));
    QCOMPARE(historyRows(QStringLiteral("home")), 1);
    QCOMPARE(historyRows(QStringLiteral("Living room")), 0);
    QCOMPARE(shownColumn(pProxy, 0), QStringList({"cabin", "Living room", "Office", "Parents", "Studio"}));
    QCOMPARE(TestFiles::readBytes(ProfileStore::shortcutListPath()),
             TestFiles::utf16le(QStringLiteral("5\ncabin\nStudio\nParents\nOffice\nLiving room\n")));
    QCOMPARE(editor.hoveredRow(), 1);

    // Delete: No keeps the profile, Yes removes it everywhere.
    m_fixture.prompt.questionAnswers = {UserPrompt::No, UserPrompt::Yes};
    for (int iAnswer = 0; iAnswer < 2; ++iAnswer) {
        QTest::mouseMove(pTable->viewport(), QPoint(5, 5));
        hover(pTable, 2); // Office
        QTRY_COMPARE(editor.hoveredRow(), 2);
        QTest::mouseClick(editor.deleteIcon(), Qt::LeftButton);
    }
    QCOMPARE(m_fixture.prompt.shown.size(), 2);
    QCOMPARE(m_fixture.prompt.shown.at(0).kind, QStringLiteral("question"));
    QCOMPARE(m_fixture.prompt.shown.at(0).title, QStringLiteral("Warning"));
    QCOMPARE(m_fixture.prompt.shown.at(0).text, QStringLiteral("Are you sure you want to delete the profile [Office]?"));
    QVERIFY(!ProfileStore::profileExists(QStringLiteral("Office")));
    QCOMPARE(shownColumn(pProxy, 0), QStringList({"cabin", "Living room", "Parents", "Studio"}));
    QCOMPARE(TestFiles::readBytes(ProfileStore::shortcutListPath()),
             TestFiles::utf16le(QStringLiteral("4\ncabin\nStudio\nParents\nLiving room\n")));
    QCOMPARE(pProxy->index(editor.hoveredRow(), 0).data().toString(), QStringLiteral("Parents"));
    QVERIFY(editor.deleteIcon()->isVisible());

    // Delete the rest; the empty list still creates.
    m_fixture.prompt.questionAnswers = QList<UserPrompt::Button>(4, UserPrompt::Yes);
    while (pProxy->rowCount() > 0) {
        QTest::mouseMove(pTable->viewport(), QPoint(5, 200));
        hover(pTable, 0);
        QTRY_COMPARE(editor.hoveredRow(), 0);
        QTest::mouseClick(editor.deleteIcon(), Qt::LeftButton);
    }
    QVERIFY(ProfileStore::listProfiles().isEmpty());
    QCOMPARE(TestFiles::readBytes(ProfileStore::shortcutListPath()), TestFiles::utf16le(QStringLiteral("0\n")));
    QWidget* pEmpty = editor.emptyHint();
    QLabel* pUploadHint = child<QLabel>(&editor, "m_plbUploadHint");
    QVERIFY(pEmpty->isVisible() && !pTable->isVisible() && !pUploadHint->isVisible());
    QCOMPARE(child<QLabel>(pEmpty, "m_plbNoProfiles")->text(), QStringLiteral("No profiles have been created"));
    QCOMPARE(child<QLabel>(pEmpty, "m_plbEmptyHint")->text(), VelmLocale::message("editor_empty_hint"));
    auto* pCreateFirst = child<QPushButton>(pEmpty, "m_pbtnCreateFirst");
    QCOMPARE(pCreateFirst->text(), VelmLocale::message("btn_create_prof"));
    QCOMPARE(editor.focusWidget(), pCreateFirst);
    m_fixture.prompt.shown.clear();
    editor.slotDeleteProfile();
    editor.slotEditProfile();
    editor.slotUploadSelected();
    QVERIFY(m_fixture.prompt.shown.isEmpty());
    // The hint's button opens the wizard; cancelled, it adds nothing.
    bool blWizard = false;
    whenModal<CreateWizard>([&blWizard](CreateWizard* pWizard) {
        blWizard = true;
        pWizard->reject();
    });
    pCreateFirst->click();
    QVERIFY(blWizard);
    QVERIFY(pEmpty->isVisible() && !pTable->isVisible());

    int iPressedState = -1;
    const int iPort = m_fixture.server->port();
    whenModal<CreateWizard>([&iPressedState, &editor, iPort](CreateWizard* pWizard) {
        iPressedState = editor.createButton()->state();
        QCOMPARE(pWizard->button(QWizard::FinishButton)->text(), VelmLocale::message("btn_finish"));
        child<QLineEdit>(pWizard, "m_pedtProfName")->setText(QStringLiteral("fresh"));
        child<QComboBox>(pWizard, "m_cbxIP")->setEditText(QStringLiteral("127.0.0.1"));
        child<QLineEdit>(pWizard, "m_pedtPort")->setText(QString::number(iPort));
        pWizard->next();
        pWizard->next();
        child<QCheckBox>(pWizard, "m_pchkSaveCred")->setChecked(false);
        pWizard->next();
        pWizard->button(QWizard::FinishButton)->click();
    });
    QTest::mouseClick(editor.createButton(), Qt::LeftButton);
    QCOMPARE(iPressedState, int(VelmIcon::Pressed));
    QCOMPARE(editor.createButton()->state(), int(VelmIcon::Normal));
    QCOMPARE(shownColumn(pProxy, 0), QStringList({"fresh"}));
    QCOMPARE(shownColumn(pProxy, 2), QStringList({QStringLiteral("127.0.0.1:%1").arg(iPort)}));
    QCOMPARE(pTable->rowHeight(0), 40);
    QVERIFY(ProfileStore::profileExists(QStringLiteral("fresh")));
    QVERIFY(!pEmpty->isVisible() && pTable->isVisible() && pUploadHint->isVisible());
    QCOMPARE(editor.focusWidget(), pTable);
    QTest::mouseClick(pTable->viewport(), Qt::LeftButton, {}, QPoint(5, 200)); // below the rows
    QCOMPARE(editor.hoveredRow(), 0);
}

// A double-click starts the upload run of that profile: "8" and its place in the shortcut list.
// The automatic upload: turned on with a folder it is stored and its user service enabled; without a
// remembered password it cannot be on; deleting the profile disables the service and forgets it.
void TstProfileEditor::watchFolders()
{
    m_fixture.prompt.shown.clear();
    const QString strRoot = m_fixture.env->root();
    const QString strFolder = strRoot + QLatin1String("/Pictures");
    QVERIFY(QDir().mkpath(strFolder));
    QVERIFY(QDir().mkpath(m_fixture.env->runtimeDir() + QLatin1String("/systemd")));
    QVERIFY(TestFiles::writeBytes(strRoot + "/bin/systemctl", "#!/bin/sh\necho \"$*\" >> '" +
                                                               QFile::encodeName(strRoot) + "/calls'\necho running\n"));
    QVERIFY(QFile::setPermissions(strRoot + "/bin/systemctl", QFile::ReadOwner | QFile::ExeOwner));
    const QByteArray baPath = qgetenv("PATH");
    const QByteArray baRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("PATH", QFile::encodeName(strRoot + "/bin") + ':' + baPath);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_fixture.env->runtimeDir()));
    auto restore = qScopeGuard([&]() {
        qputenv("PATH", baPath);
        qputenv("XDG_RUNTIME_DIR", baRuntime);
    });
    const QString strHome = QStringLiteral("home");
    const QString strEnabled = QLatin1String("--user enable --now ") + WatchService::unitName(strHome);
    const QString strDisabled = QLatin1String("--user disable --now ") + WatchService::unitName(strHome);
    auto calls = [&strRoot]() { return QString::fromUtf8(TestFiles::readBytes(strRoot + "/calls")); };

    ProfileEditor editor(nullptr, RunMode::Home, m_fixture.nam.get(), &m_fixture.prompt);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    EditorTableView* pTable = editor.tableView();
    auto edit = [&](std::function<void(ServerSettings*)> action) {
        hover(pTable, 1); // home
        QTRY_COMPARE(editor.hoveredRow(), 1);
        whenModal<ServerSettings>(action);
        QTest::mouseClick(editor.editIcon(), Qt::LeftButton);
    };
    bool blChecked = false;
    edit([&](ServerSettings* pSettings) {
        auto* pWatch = child<QCheckBox>(pSettings, "m_pchkWatch");
        auto* pSavePass = child<QCheckBox>(pSettings, "m_pchkSaveCred");
        auto* pNote = child<QLabel>(pSettings, "m_plbWatchNote");
        // No folder yet, then no remembered password: the box stays off, the line says why.
        blChecked = !pWatch->isEnabled() && pNote->isHidden();
        whenModal<QFileDialog>([&strFolder](QFileDialog* pDialog) {
            pDialog->setDirectory(strFolder);
            static_cast<QDialog*>(pDialog)->accept(); // QFileDialog::accept takes the folder shown
        });
        child<QPushButton>(pSettings, "m_pbtnWatchAdd")->click();
        pWatch->setChecked(true);
        pSavePass->setChecked(false);
        blChecked = blChecked && !pWatch->isChecked() && !pWatch->isEnabled() && !pNote->isHidden() &&
                    pNote->text() == VelmLocale::message("watch_needs_password");
        pSavePass->setChecked(true);
        pWatch->setChecked(true);
        child<QCheckBox>(pSettings, "m_pchkWatchNotify")->setChecked(true);
        child<QPushButton>(pSettings, "m_pbtnSave")->click();
    });
    QVERIFY(blChecked);
    WatchStore::Settings stored = WatchStore::settings(strHome);
    QVERIFY(stored.enabled && stored.notifyAlways);
    QCOMPARE(stored.folders, QStringList{strFolder});
    QVERIFY2(calls().endsWith(strEnabled + '\n'), qPrintable(calls()));
    // The name cell tells the last batch.
    WatchStore::Batch batch;
    batch.when = QDateTime::currentDateTime();
    batch.sent = 7;
    QVERIFY(WatchStore::recordBatch(strHome, batch));
    const QString strTip = pTable->model()->index(1, 0).data(Qt::ToolTipRole).toString();
    QVERIFY2(strTip.startsWith(VelmLocale::message("watch_status_on")) && strTip.contains(QLatin1String(": 7 ")),
             qPrintable(strTip));

    // Another port: the watcher starts again with it.
    edit([](ServerSettings* pSettings) {
        child<QLineEdit>(pSettings, "m_pedtPort")->setText(QStringLiteral("8080"));
        child<QPushButton>(pSettings, "m_pbtnSave")->click();
    });
    QVERIFY2(calls().endsWith(strDisabled + "\n--user is-system-running\n" + strEnabled + '\n'), qPrintable(calls()));

    // Saved without the password remembered: stored off and the service disabled.
    edit([](ServerSettings* pSettings) {
        child<QCheckBox>(pSettings, "m_pchkSaveCred")->setChecked(false);
        child<QPushButton>(pSettings, "m_pbtnSave")->click();
    });
    QVERIFY(!WatchStore::settings(strHome).enabled);
    QVERIFY2(calls().endsWith(strDisabled + '\n'), qPrintable(calls()));
    QVERIFY(!pTable->model()->index(1, 0).data(Qt::ToolTipRole).isValid());

    // On again (a password typed and remembered) under a new name, then the profile deleted.
    const QString strNew = QStringLiteral("Garden/2");
    edit([&strNew](ServerSettings* pSettings) {
        child<QLineEdit>(pSettings, "m_pedtProfName")->setText(strNew);
        child<QCheckBox>(pSettings, "m_pchkSaveCred")->setChecked(true);
        child<QLineEdit>(pSettings, "m_pedtPassword")->setText(QStringLiteral("pw"));
        child<QCheckBox>(pSettings, "m_pchkWatch")->setChecked(true);
        child<QPushButton>(pSettings, "m_pbtnSave")->click();
    });
    const QString strUnit = WatchService::unitName(strNew);
    QVERIFY2(calls().endsWith("--user enable --now " + strUnit + '\n'), qPrintable(calls()));
    QCOMPARE(WatchStore::settings(strNew).folders, QStringList{strFolder});
    QVERIFY(WatchStore::settings(strHome).folders.isEmpty());
    m_fixture.prompt.questionAnswers = {UserPrompt::Yes};
    hover(pTable, 1);
    QTRY_COMPARE(editor.hoveredRow(), 1);
    QTest::mouseClick(editor.deleteIcon(), Qt::LeftButton);
    QVERIFY(!ProfileStore::profileExists(strNew));
    QVERIFY2(calls().endsWith("--user disable --now " + strUnit + '\n'), qPrintable(calls()));
    stored = WatchStore::settings(strNew);
    QVERIFY(!stored.enabled && stored.folders.isEmpty());
    QCOMPARE(m_fixture.prompt.shown.size(), 1); // the delete question only
}

void TstProfileEditor::doubleClickStartsUpload()
{
    // Shortcut order (names descending, byte-wise): home, cabin, Studio, Parents, Office.
    QFile::remove(ProfileStore::shortcutListPath()); // stale or missing: written before the start
    ProfileEditor editor(nullptr, RunMode::Home, m_fixture.nam.get(), &m_fixture.prompt);
    QList<QStringList> lstStarts;
    bool blResult = true;
    editor.setLauncher([&](const QStringList& lstArguments) {
        lstStarts.append(lstArguments);
        return blResult;
    });
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    EditorTableView* pTable = editor.tableView();
    QTest::mouseDClick(pTable->viewport(), Qt::LeftButton, {}, rowCenter(pTable, 3)); // Parents
    QCOMPARE(lstStarts, QList<QStringList>({{"8", "3"}}));
    QCOMPARE(ProfileStore::shortcutProfileName(3), QStringLiteral("Parents"));
    QTRY_VERIFY(editor.windowState() & Qt::WindowMinimized);

    editor.setWindowState(Qt::WindowNoState);
    blResult = false; // a start that fails leaves the window as it is
    pTable->sortByColumn(2, Qt::AscendingOrder);
    QTest::mouseDClick(pTable->viewport(), Qt::LeftButton, {}, rowCenter(pTable, 0)); // cabin, 10.0.0.9
    QCOMPARE(lstStarts.last(), QStringList({"8", "1"}));
    QVERIFY(!(editor.windowState() & Qt::WindowMinimized));
    QTest::mouseDClick(pTable->viewport(), Qt::LeftButton, {}, QPoint(5, 380)); // below the rows
    QCOMPARE(lstStarts.size(), 2);
}

// The program started again while the editor is open ends at once and brings the editor up.
void TstProfileEditor::secondStartRaisesFirst()
{
    QProcessEnvironment env = m_fixture.env->processEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("PICTARIUM_UNATTENDED"), QStringLiteral("1"));
    ProgramRun second;
    bool blWasMinimized = false;
    bool blRaised = false;
    whenModal<ProfileEditor>([&](ProfileEditor* pEditor) {
        pEditor->showMinimized();
        blWasMinimized = pEditor->windowState() & Qt::WindowMinimized;
        second = runProgram({}, env, 20000);
        blRaised = waitUntil([pEditor] { return !(pEditor->windowState() & Qt::WindowMinimized); }, 5000);
        pEditor->reject();
    });
    WidgetFlows flows(&m_fixture.prompt);
    StartUp startUp(&m_fixture.prompt, &flows);
    QCOMPARE(startUp.run({QStringLiteral("pictarium-uploader")}), 0);
    QVERIFY(blWasMinimized);
    QVERIFY(second.finished);
    QCOMPARE(second.exitCode, 0);
    QVERIFY2(!second.standardError.contains(QLatin1String("[information]")), qPrintable(second.standardError));
    QVERIFY(blRaised);

    // Unattended, the editor is not opened: the profiles are listed instead.
    const ProgramRun listed = runProgram({QStringLiteral("3")}, env, 20000);
    QVERIFY(listed.finished);
    QVERIFY2(listed.standardError.contains(QLatin1String("[information] Velmora Pictarium Uploader: cabin, home, Office, "
                                                         "Parents, Studio")),
             qPrintable(listed.standardError));
}

int main(int argc, char* argv[])
{
    // Before any thread exists: the settings dialog's discovery must never reach the real network.
    QString strWhy;
    const bool blPrivate = TestNetwork::enterPrivateNetwork(&strWhy);
    // Names sort as in a desktop session, not byte by byte as in the C locale.
    qputenv("LC_ALL", "en_US.UTF-8");
    QApplication app(argc, argv);
    TstProfileEditor test(blPrivate, strWhy);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_profileeditor.moc"
