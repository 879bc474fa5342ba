#pragma once

#include <QString>

namespace ServerAddress {

// "http[s]://host:port", and "/~" + the percent-encoded owner for a personal Pictarium.
// The port is always written.
QString baseUrl(bool blHttps, const QString& strHost, int iPort, bool blPersonal, const QString& strUsrname);

// Every byte of the UTF-8 form except A-Z a-z 0-9 - . _ ~ becomes %XX; the text ends at
// its first NUL.
QString percentEncode(const QString& strText);

} // namespace ServerAddress
