#pragma once

#include <QString>

// Everything core code needs to ask or tell the user. The widget implementation shows
// modal boxes without parent; tests script the answers.
class UserPrompt
{
public:
    enum Button { Ok, Cancel, Yes, No };

    virtual ~UserPrompt() = default;

    virtual void critical(const QString& strTitle, const QString& strText) = 0;
    virtual void warning(const QString& strTitle, const QString& strText) = 0;
    virtual void information(const QString& strTitle, const QString& strText) = 0;
    // Yes/No question; returns the button pressed.
    virtual Button question(const QString& strTitle, const QString& strText, Button defaultButton) = 0;
    // Line of text (a password when blPassword); false when cancelled.
    virtual bool askText(const QString& strTitle, const QString& strLabel, bool blPassword, QString& strValue) = 0;
    // A server showed another certificate than the trusted one: true when the user trusts the
    // new one. Cancel is the default.
    virtual bool trustCertificate(const QString& strTitle, const QString& strText) = 0;
};

// Answers every box with its default button and every text prompt with Cancel (a password
// prompt, once, with PICTARIUM_PASSWORD when set), and prints what would have been shown on
// standard error. Used for unattended runs.
class UnattendedPrompt : public UserPrompt
{
public:
    // True when PICTARIUM_UNATTENDED=1 is set in the environment.
    static bool requested();

    void critical(const QString& strTitle, const QString& strText) override;
    void warning(const QString& strTitle, const QString& strText) override;
    void information(const QString& strTitle, const QString& strText) override;
    Button question(const QString& strTitle, const QString& strText, Button defaultButton) override;
    bool askText(const QString& strTitle, const QString& strLabel, bool blPassword, QString& strValue) override;
    bool trustCertificate(const QString& strTitle, const QString& strText) override;

private:
    static void print(const char* pszKind, const QString& strTitle, const QString& strText);

    bool m_blPasswordGiven = false;
};
