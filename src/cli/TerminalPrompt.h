#pragma once

#include "UserPrompt.h"

#include <QString>

// Tells the user on standard error; a password comes from PICTARIUM_PASSWORD, from a file
// descriptor, or from the terminal without echo. Nothing else is ever asked.
class TerminalPrompt : public UserPrompt
{
public:
    // The text with every control character (C0, DEL, C1) written as \xNN, so that names from
    // the file system or the server cannot steer the terminal. With blKeepLines, line breaks stay.
    static QString safeText(const QString& strText, bool blKeepLines = false);

    void setPasswordFd(int iFd) { m_iPasswordFd = iFd; }
    QString lastMessage() const { return m_strLastMessage; }

    void critical(const QString& strTitle, const QString& strText) override;
    void warning(const QString& strTitle, const QString& strText) override;
    void information(const QString& strTitle, const QString& strText) override;
    Button question(const QString& strTitle, const QString& strText, Button defaultButton) override;
    bool askText(const QString& strTitle, const QString& strLabel, bool blPassword, QString& strValue) override;
    bool trustCertificate(const QString& strTitle, const QString& strText) override;
    // A yes/no question answered on the terminal; no when standard input is not one.
    bool confirm(const QString& strQuestion);

private:
    void tell(const QString& strText);

    int m_iPasswordFd = -1;
    QString m_strLastMessage;
    bool m_blPasswordRead = false;
};
