#include "ScriptedPrompt.h"

void ScriptedPrompt::critical(const QString& strTitle, const QString& strText)
{
    shown.append({QStringLiteral("critical"), strTitle, strText});
}

void ScriptedPrompt::warning(const QString& strTitle, const QString& strText)
{
    shown.append({QStringLiteral("warning"), strTitle, strText});
}

void ScriptedPrompt::information(const QString& strTitle, const QString& strText)
{
    shown.append({QStringLiteral("information"), strTitle, strText});
}

UserPrompt::Button ScriptedPrompt::question(const QString& strTitle, const QString& strText, Button defaultButton)
{
    shown.append({QStringLiteral("question"), strTitle, strText});
    return questionAnswers.isEmpty() ? defaultButton : questionAnswers.takeFirst();
}

bool ScriptedPrompt::askText(const QString& strTitle, const QString& strLabel, bool blPassword, QString& strValue)
{
    Q_UNUSED(blPassword)
    shown.append({QStringLiteral("text"), strTitle, strLabel});
    if (textAnswers.isEmpty())
        return false;
    strValue = textAnswers.takeFirst();
    return true;
}

bool ScriptedPrompt::trustCertificate(const QString& strTitle, const QString& strText)
{
    shown.append({QStringLiteral("certificate"), strTitle, strText});
    return !trustAnswers.isEmpty() && trustAnswers.takeFirst();
}
