#pragma once

#include <QByteArray>
#include <QString>

namespace JpegCheck {

// True when the bytes form a whole JPEG stream: start of image, well-formed segments, and an
// end-of-image marker. A file cut short by a failed tool, or anything else, is refused.
bool isComplete(const QByteArray& baData);
bool isCompleteFile(const QString& strPath);

} // namespace JpegCheck
