#include "fhostlog.h"

#include <cstdarg>
#include <cstdio>

int FHostLogger::setCallback(int iChannel, MessageFn fnMessage)
{
    if (iChannel != 1 && iChannel != 2)
        return -1;
    std::lock_guard<std::mutex> guard(m_mutex);
    m_afnChannel[iChannel - 1] = std::move(fnMessage);
    return 0;
}

FHostLogger::MessageFn FHostLogger::callback(int iChannel) const
{
    if (iChannel != 1 && iChannel != 2)
        return {};
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_afnChannel[iChannel - 1];
}

bool FHostLogger::hasCallback(int iChannel) const
{
    return bool(callback(iChannel));
}

void FHostLogger::setLock(LockFn fnLock)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_fnLock = std::move(fnLock);
}

int FHostLogger::print(int iChannel, const char* pszFormat, ...)
{
    MessageFn fnMessage = callback(iChannel);
    if (!fnMessage)
        return 0;
    LockFn fnLock;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        fnLock = m_fnLock;
    }
    if (fnLock && fnLock(1) == -1)
        return -1;
    char szBuffer[8192];
    va_list args;
    va_start(args, pszFormat);
    const int iLength = std::vsnprintf(szBuffer, sizeof(szBuffer), pszFormat, args);
    va_end(args);
    fnMessage(szBuffer);
    if (fnLock)
        fnLock(0);
    return iLength < 0 ? 0 : iLength;
}
