#pragma once

#include <QStringList>

// Collects every debug line logged while it lives (one at a time).
class DebugCapture
{
public:
    DebugCapture();
    ~DebugCapture();
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    QStringList lines() const;
    // The lines containing the text.
    QStringList filter(const QString& strText) const { return lines().filter(strText); }
};
