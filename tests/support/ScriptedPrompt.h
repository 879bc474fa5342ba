#pragma once

#include "UserPrompt.h"

#include <QList>
#include <QString>
#include <QStringList>

// Records what core code shows and answers from a script.
class ScriptedPrompt : public UserPrompt
{
public:
    struct Shown
    {
        QString kind; // "critical", "warning", "information", "question", "text", "certificate"
        QString title;
        QString text;
    };

    QList<Shown> shown;
    QList<Button> questionAnswers; // taken in order; the default button when empty
    QStringList textAnswers;       // taken in order; cancelled when empty
    QList<bool> trustAnswers;      // taken in order; Cancel when empty

    void critical(const QString& strTitle, const QString& strText) override;
    void warning(const QString& strTitle, const QString& strText) override;
    void information(const QString& strTitle, const QString& strText) override;
    Button question(const QString& strTitle, const QString& strText, Button defaultButton) override;
    bool askText(const QString& strTitle, const QString& strLabel, bool blPassword, QString& strValue) override;
    bool trustCertificate(const QString& strTitle, const QString& strText) override;
};
