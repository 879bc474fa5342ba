#include "UserPrompt.h"

#include <QtGlobal>

#include <cstdio>

bool UnattendedPrompt::requested()
{
    return qEnvironmentVariable("PICTARIUM_UNATTENDED") == QLatin1String("1");
}

void UnattendedPrompt::print(const char* pszKind, const QString& strTitle, const QString& strText)
{
    std::fprintf(stderr, "[%s] %s: %s\n", pszKind, strTitle.toLocal8Bit().constData(),
                 strText.toLocal8Bit().constData());
    std::fflush(stderr);
}

void UnattendedPrompt::critical(const QString& strTitle, const QString& strText)
{
    print("critical", strTitle, strText);
}

void UnattendedPrompt::warning(const QString& strTitle, const QString& strText)
{
    print("warning", strTitle, strText);
}

void UnattendedPrompt::information(const QString& strTitle, const QString& strText)
{
    print("information", strTitle, strText);
}

UserPrompt::Button UnattendedPrompt::question(const QString& strTitle, const QString& strText, Button defaultButton)
{
    print("question", strTitle, strText);
    return defaultButton;
}

bool UnattendedPrompt::askText(const QString& strTitle, const QString& strLabel, bool blPassword, QString& strValue)
{
    print("text", strTitle, strLabel);
    // Nobody answers; a password may come from the environment, once (a refused one is not tried again).
    if (!blPassword || m_blPasswordGiven || !qEnvironmentVariableIsSet("PICTARIUM_PASSWORD"))
        return false;
    m_blPasswordGiven = true;
    strValue = qEnvironmentVariable("PICTARIUM_PASSWORD");
    return true;
}

bool UnattendedPrompt::trustCertificate(const QString& strTitle, const QString& strText)
{
    print("certificate", strTitle, strText);
    return false;
}
