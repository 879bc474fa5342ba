#include "TerminalPrompt.h"

#include <QByteArray>

#include <cstdio>
#include <termios.h>
#include <unistd.h>

QString TerminalPrompt::safeText(const QString& strText, bool blKeepLines)
{
    QString strSafe;
    strSafe.reserve(strText.size());
    for (const QChar c : strText) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && !(blKeepLines && u == u'\n')) || (u >= 0x7f && u <= 0x9f))
            strSafe += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            strSafe += c;
    }
    return strSafe;
}

void TerminalPrompt::tell(const QString& strText)
{
    m_strLastMessage = strText;
    // Messages may quote names and texts from the server.
    std::fprintf(stderr, "%s\n", safeText(strText, true).toLocal8Bit().constData());
    std::fflush(stderr);
}

void TerminalPrompt::critical(const QString& strTitle, const QString& strText)
{
    Q_UNUSED(strTitle)
    tell(strText);
}

void TerminalPrompt::warning(const QString& strTitle, const QString& strText)
{
    Q_UNUSED(strTitle)
    tell(strText);
}

void TerminalPrompt::information(const QString& strTitle, const QString& strText)
{
    Q_UNUSED(strTitle)
    tell(strText);
}

UserPrompt::Button TerminalPrompt::question(const QString& strTitle, const QString& strText, Button defaultButton)
{
    Q_UNUSED(strTitle)
    tell(strText);
    return defaultButton;
}

bool TerminalPrompt::askText(const QString& strTitle, const QString& strLabel, bool blPassword, QString& strValue)
{
    Q_UNUSED(strTitle)
    if (!blPassword || m_blPasswordRead)
        return false; // one password per run: a refused one is not asked again
    m_blPasswordRead = true;
    if (qEnvironmentVariableIsSet("PICTARIUM_PASSWORD")) {
        strValue = qEnvironmentVariable("PICTARIUM_PASSWORD");
        return true;
    }
    if (m_iPasswordFd >= 0) {
        QByteArray baLine;
        char c = 0;
        while (::read(m_iPasswordFd, &c, 1) == 1 && c != '\n')
            baLine.append(c);
        strValue = QString::fromLocal8Bit(baLine);
        return true;
    }
    if (!::isatty(STDIN_FILENO))
        return false;
    std::fprintf(stderr, "%s ", safeText(strLabel).toLocal8Bit().constData());
    std::fflush(stderr);
    termios saved;
    ::tcgetattr(STDIN_FILENO, &saved);
    termios quiet = saved;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    char szLine[1024] = {0};
    const bool blRead = std::fgets(szLine, sizeof(szLine), stdin) != nullptr;
    ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    std::fprintf(stderr, "\n");
    if (!blRead)
        return false;
    strValue = QString::fromLocal8Bit(szLine).remove(QLatin1Char('\n'));
    return true;
}

bool TerminalPrompt::trustCertificate(const QString& strTitle, const QString& strText)
{
    Q_UNUSED(strTitle)
    // Trusting is a command of its own here (trust --profile).
    tell(strText);
    return false;
}

bool TerminalPrompt::confirm(const QString& strQuestion)
{
    if (!::isatty(STDIN_FILENO))
        return false;
    std::fprintf(stderr, "%s [y/N] ", safeText(strQuestion).toLocal8Bit().constData());
    std::fflush(stderr);
    char szLine[64] = {0};
    if (std::fgets(szLine, sizeof(szLine), stdin) == nullptr)
        return false;
    const QString strAnswer = QString::fromLocal8Bit(szLine).trimmed().toLower();
    return strAnswer == QLatin1String("y") || strAnswer == QLatin1String("yes");
}
