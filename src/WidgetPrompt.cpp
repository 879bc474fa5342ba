#include "WidgetPrompt.h"

#include "VelmLocale.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

void showBox(QMessageBox::Icon icon, const QString& strTitle, const QString& strText)
{
    QMessageBox box(icon, strTitle, strText, QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(VelmLocale::message("btn_ok"));
    box.exec();
}

} // namespace

void WidgetPrompt::critical(const QString& strTitle, const QString& strText)
{
    showBox(QMessageBox::Critical, strTitle, strText);
}

void WidgetPrompt::warning(const QString& strTitle, const QString& strText)
{
    showBox(QMessageBox::Warning, strTitle, strText);
}

void WidgetPrompt::information(const QString& strTitle, const QString& strText)
{
    showBox(QMessageBox::Information, strTitle, strText);
}

UserPrompt::Button WidgetPrompt::question(const QString& strTitle, const QString& strText, Button defaultButton)
{
    QMessageBox box(QMessageBox::Question, strTitle, strText, QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(VelmLocale::message("btn_yes"));
    box.button(QMessageBox::No)->setText(VelmLocale::message("btn_no"));
    box.setDefaultButton(defaultButton == Yes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Yes : No;
}

bool WidgetPrompt::askText(const QString& strTitle, const QString& strLabel, bool blPassword, QString& strValue)
{
    QInputDialog dialog;
    dialog.setWindowTitle(strTitle);
    dialog.setLabelText(strLabel);
    dialog.setTextEchoMode(blPassword ? QLineEdit::Password : QLineEdit::Normal);
    dialog.setTextValue(strValue);
    dialog.setOkButtonText(VelmLocale::message("btn_ok"));
    dialog.setCancelButtonText(VelmLocale::message("btn_cancel"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    strValue = dialog.textValue();
    return true;
}

bool WidgetPrompt::trustCertificate(const QString& strTitle, const QString& strText)
{
    QMessageBox box(QMessageBox::Warning, strTitle, strText);
    QPushButton* pTrust = box.addButton(VelmLocale::message("btn_trust_cert"), QMessageBox::AcceptRole);
    QPushButton* pCancel = box.addButton(VelmLocale::message("btn_cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(pCancel);
    box.setEscapeButton(pCancel);
    box.exec();
    return box.clickedButton() == pTrust;
}
