#pragma once

#include <QLabel>
#include <QMovie>
#include <QString>
#include <QWizard>

// The common frame of the program's wizards: window, size, buttons, busy animation and the
// shared widget look.
class VelmWizard : public QWizard
{
    Q_OBJECT

public:
    explicit VelmWizard(QWidget* pParent = nullptr);
    ~VelmWizard() override;

    static const char* const LabelSheet;
    static const char* const LineEditSheet;
    static const char* const ComboBoxSheet;
    static const char* const RadioButtonSheet;
    static const char* const CheckBoxProfileSheet;
    static const char* const CheckBoxUploadSheet;

    // Font "Arial", the style sheet, fixed width and height when greater than 0, then the
    // size the contents ask for.
    static void styleWidget(QWidget* pWidget, const QString& strStyleSheet, int iWidth = 0, int iHeight = 0);
    // The page background picture over the whole window.
    static void setPageBackground(QWizard* pWizard, const QString& strPicture);

    bool isBusy() const { return m_pBusyLabel->isVisible(); }

public Q_SLOTS:
    void accept() override;
    // Enter means Next, Finish or Close on every page: no other button of the window becomes
    // the default when it is clicked or focused.
    void slotKeepDefaultButton();

protected:
    bool validateCurrentPage() override = 0;
    // Shows or hides the busy animation and disables or enables Back, Next and Finish.
    void setBusy(bool blBusy);
    void fixButtonHeights();

private:
    QLabel* m_pBusyLabel;
    QMovie* m_pBusyMovie;
};
