#pragma once

#include "RunMode.h"

#include "EditorWidgets.h"
#include "store/ServerProfile.h"
#include "store/WatchStore.h"

#include <QDialog>

#include <functional>

class QLabel;
class QNetworkAccessManager;
class QPushButton;
class UserPrompt;

// The program's home window: lists the upload profiles, creates, edits and deletes them (every
// change is stored at once), and starts an upload of a profile on a double-click or Enter.
// One row is always selected, by the mouse hovering it or by the keys; edit, delete and Enter act
// on it. The edit and delete icons sit on the selected row, and go when the mouse leaves the
// table, enters its header or turns the wheel; the selection stays, and the icons come back with
// the next move of the selection or of the mouse over a row, or when a dialog of this window
// closes. Without profiles, a hint with a create button takes the table's place. Escape does not
// close the window.
class ProfileEditor : public QDialog
{
    Q_OBJECT

public:
    // Starts the program again with the given arguments; true when it started.
    using Launcher = std::function<bool(const QStringList&)>;

    ProfileEditor(QWidget* pParent, RunMode mode, QNetworkAccessManager* pNam, UserPrompt* pPrompt);
    ~ProfileEditor() override;

    void setLauncher(Launcher launcher) { m_launcher = std::move(launcher); }
    RunMode mode() const { return m_mode; }
    // The selected proxy row, -1 for none (an empty list).
    int hoveredRow() const;
    EditorTableView* tableView() const { return m_ptblViewProf; }
    VelmIcon* editIcon() const { return m_pEditIcon; }
    VelmIcon* deleteIcon() const { return m_pDeleteIcon; }
    VelmIcon* createButton() const { return m_pCreateIcon; }
    // Shown instead of the table while there is no profile.
    QWidget* emptyHint() const { return m_pwgtEmpty; }

public Q_SLOTS:
    void languageChange();
    void slotShowIcon();
    void slotDoubleClicked(QModelIndex index);
    void slotMouseMove(QPoint pos);
    // The mouse has left the rows: the icons go, the selection stays for the keys.
    void slotClearSelect();
    void slotUploadSelected();
    void slotCreateProfile();
    void slotEditProfile();
    void slotDeleteProfile();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void loadRows();
    // The icons on the selected row while they are wanted and the row is in sight.
    void placeIcons();
    void showIcons();
    // Rows keep 40 pixels and the columns fit their texts.
    void fitRows();
    // After the rows changed: the model shows them anew, each 40 pixels high, and the row at
    // iRow (kept inside the list) is selected.
    void showRows(int iRow);
    int rowOf(const QString& strName) const;
    void selectRow(int iRow);
    // The table, or the hint without profiles.
    void showEmptyHint();
    QString hoveredName() const;
    // Stores the automatic upload of an edited profile and starts, restarts or stops its watcher.
    void storeWatch(const QString& strOldName, const QString& strName, WatchStore::Settings watch,
                    bool blConnectionChanged);

    RunMode m_mode;
    QNetworkAccessManager* m_pNam;
    UserPrompt* m_pPrompt;
    ProfileRows m_rows;
    ProfileConfigModel* m_pModel;
    EditorDelegate* m_pDelegate;
    SortProfileConfigModel* m_pProxy;
    EditorTableView* m_ptblViewProf;
    QLabel* m_plbTitle;
    QLabel* m_plbUploadHint;
    QWidget* m_pwgtEmpty;
    QLabel* m_plbNoProfiles;
    QLabel* m_plbEmptyHint;
    QPushButton* m_pbtnCreateFirst;
    VelmIcon* m_pCreateIcon;
    VelmIcon* m_pEditIcon;
    VelmIcon* m_pDeleteIcon;
    bool m_blIconsWanted = false;
    ServerProfile m_profile; // what the create-profile wizard fills in
    Launcher m_launcher;
};
