#include "VelmWizard.h"

#include "AppIdentity.h"
#include "VelmLocale.h"

#include <QAbstractButton>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>

const char* const VelmWizard::LabelSheet = "QLabel { font-size : 13px;\n color : #1b1b1b }";
const char* const VelmWizard::LineEditSheet = "QLineEdit { font-size : 13px;\n color : #535353 }";
const char* const VelmWizard::ComboBoxSheet = "QComboBox { font-size : 13px;\n color : #535353 }";
const char* const VelmWizard::RadioButtonSheet = "QRadioButton { font-size : 13px;\n color : #535353 }";
const char* const VelmWizard::CheckBoxProfileSheet = "QCheckBox { font-size : 13px;\n color : #282828 }";
const char* const VelmWizard::CheckBoxUploadSheet = "QCheckBox { font-size : 13px;\n color : #1b1b1b }";

VelmWizard::VelmWizard(QWidget* pParent) : QWizard(pParent)
{
    Q_INIT_RESOURCE(velm_images);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    // One past the named styles: no built-in look, the pages draw their own background.
    setWizardStyle(QWizard::WizardStyle(4));
    setWindowTitle(AppIdentity::applicationTitle());
    setButtonText(QWizard::BackButton, VelmLocale::message("btn_back"));
    setButtonText(QWizard::NextButton, VelmLocale::message("btn_next"));
    setButtonText(QWizard::CancelButton, VelmLocale::message("btn_cancel"));
    setButtonText(QWizard::FinishButton, VelmLocale::message("btn_finish"));
    setOption(QWizard::CancelButtonOnLeft, true);
    setOption(QWizard::NoBackButtonOnStartPage, true);
    setFixedSize(520, 355);

    m_pBusyLabel = new QLabel(this);
    m_pBusyLabel->setGeometry(15, 323, 20, 20);
    m_pBusyMovie = new QMovie(QStringLiteral(":/images/loading.gif"), QByteArray(), m_pBusyLabel);
    m_pBusyMovie->setScaledSize(QSize(20, 20));
    m_pBusyLabel->setMovie(m_pBusyMovie);
    m_pBusyLabel->hide();

    // Pages are shown one by one: their buttons are settled as each one appears.
    connect(this, &QWizard::currentIdChanged, this, &VelmWizard::slotKeepDefaultButton);
}

VelmWizard::~VelmWizard() = default;

void VelmWizard::accept()
{
    QDialog::accept();
}

void VelmWizard::slotKeepDefaultButton()
{
    const QList<QPushButton*> lstButtons = findChildren<QPushButton*>();
    for (QPushButton* pButton : lstButtons) {
        // Dialogs opened over the wizard keep their own default button.
        if (pButton->window() != this || pButton == button(QWizard::NextButton) ||
            pButton == button(QWizard::FinishButton) || pButton == button(QWizard::CommitButton))
            continue;
        pButton->setAutoDefault(false);
        pButton->setDefault(false);
    }
}

void VelmWizard::styleWidget(QWidget* pWidget, const QString& strStyleSheet, int iWidth, int iHeight)
{
    pWidget->setFont(QFont(QStringLiteral("Arial")));
    pWidget->setStyleSheet(strStyleSheet);
    if (iWidth > 0)
        pWidget->setFixedWidth(iWidth);
    if (iHeight > 0)
        pWidget->setFixedHeight(iHeight);
    pWidget->adjustSize();
}

void VelmWizard::setPageBackground(QWizard* pWizard, const QString& strPicture)
{
    QPalette palette = pWizard->palette();
    palette.setBrush(QPalette::Window, QBrush(QPixmap(strPicture)));
    pWizard->setPalette(palette);
    pWizard->setAutoFillBackground(true);
}

void VelmWizard::setBusy(bool blBusy)
{
    m_pBusyLabel->setVisible(blBusy);
    m_pBusyLabel->raise();
    if (blBusy)
        m_pBusyMovie->start();
    else
        m_pBusyMovie->stop();
    for (QWizard::WizardButton which : {QWizard::BackButton, QWizard::NextButton, QWizard::FinishButton}) {
        if (QAbstractButton* pButton = button(which))
            pButton->setEnabled(!blBusy);
    }
}

void VelmWizard::fixButtonHeights()
{
    for (QWizard::WizardButton which : {QWizard::BackButton, QWizard::NextButton, QWizard::CancelButton,
                                        QWizard::FinishButton, QWizard::CustomButton1}) {
        if (QAbstractButton* pButton = button(which))
            pButton->setFixedHeight(24);
    }
}
