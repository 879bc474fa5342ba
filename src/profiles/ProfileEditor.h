#pragma once

#include "RunMode.h"

#include "EditorWidgets.h"
#include "store/ServerProfile.h"

#include <QDialog>

#include <functional>

class QLabel;
class QNetworkAccessManager;
class UserPrompt;

// The program's home window: lists the upload profiles, creates, edits and deletes them (every
// change is stored at once), and starts an upload of a profile on a double-click. The row under
// the mouse is selected and carries the edit and delete icons.
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
    // The proxy row under the mouse, -1 for none.
    int hoveredRow() const { return m_iHoverRow; }
    EditorTableView* tableView() const { return m_ptblViewProf; }
    VelmIcon* editIcon() const { return m_pEditIcon; }
    VelmIcon* deleteIcon() const { return m_pDeleteIcon; }
    VelmIcon* createButton() const { return m_pCreateIcon; }

public Q_SLOTS:
    void languageChange();
    void slotShowIcon();
    void slotDoubleClicked(QModelIndex index);
    void slotMouseMove(QPoint pos);
    void slotClearSelect();
    void slotCreateProfile();
    void slotEditProfile();
    void slotDeleteProfile();

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void loadRows();
    void placeIcons();
    // Rows keep 40 pixels and the columns fit their texts.
    void fitRows();
    // After the rows changed: no row hovered, the model shows them anew, each 40 pixels high.
    void showRows();
    QString hoveredName() const;

    RunMode m_mode;
    QNetworkAccessManager* m_pNam;
    UserPrompt* m_pPrompt;
    ProfileRows m_rows;
    ProfileConfigModel* m_pModel;
    EditorDelegate* m_pDelegate;
    SortProfileConfigModel* m_pProxy;
    EditorTableView* m_ptblViewProf;
    QLabel* m_plbTitle;
    VelmIcon* m_pCreateIcon;
    VelmIcon* m_pEditIcon;
    VelmIcon* m_pDeleteIcon;
    int m_iHoverRow = -1;
    int m_iPrevHoverRow = -1;
    ServerProfile m_profile; // what the create-profile wizard fills in
    Launcher m_launcher;
};
