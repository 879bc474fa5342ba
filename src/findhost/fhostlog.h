#pragma once

#include <functional>
#include <mutex>

// Logging hook of the discovery library: channel 1 carries errors and notable events, channel 2 detail.
// Every message is formatted into an 8192-byte buffer and handed to the channel's callback; a channel
// without a callback drops its messages.
class FHostLogger
{
public:
    using MessageFn = std::function<void(const char* pszMessage)>;
    using LockFn = std::function<int(int iOn)>; // called with 1 before a message and 0 after; -1 suppresses

    // -1 for a channel other than 1 or 2.
    int setCallback(int iChannel, MessageFn fnMessage);
    MessageFn callback(int iChannel) const;
    bool hasCallback(int iChannel) const;
    void setLock(LockFn fnLock);

    // The length of the formatted message, 0 when the channel has no callback, -1 when the lock refused.
    int print(int iChannel, const char* pszFormat, ...) __attribute__((format(printf, 3, 4)));

private:
    mutable std::mutex m_mutex; // guards the callbacks, not the calls
    LockFn m_fnLock;
    MessageFn m_afnChannel[2];
};

// Every message starts with "%s:%d " filled with the file's FHOST_SOURCE and the line number.
#define FHOST_LOG(pLogger, iChannel, pszFormat, ...)                                                                   \
    ((pLogger) ? (pLogger)->print((iChannel), pszFormat, FHOST_SOURCE, __LINE__, ##__VA_ARGS__) : 0)
