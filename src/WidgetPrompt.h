#pragma once

#include "UserPrompt.h"

// Modal message and input boxes without parent.
class WidgetPrompt : public UserPrompt
{
public:
    void critical(const QString& strTitle, const QString& strText) override;
    void warning(const QString& strTitle, const QString& strText) override;
    void information(const QString& strTitle, const QString& strText) override;
    Button question(const QString& strTitle, const QString& strText, Button defaultButton) override;
    bool askText(const QString& strTitle, const QString& strLabel, bool blPassword, QString& strValue) override;
    bool trustCertificate(const QString& strTitle, const QString& strText) override;
};
