#pragma once

#include <QByteArray>
#include <QString>

// Whether a file a tool wrote is whole, so that nothing cut short is ever sent.
namespace MediaCheck {

// True when the bytes form a whole JPEG stream: start of image, well-formed segments, and an
// end-of-image marker. A file cut short by a failed tool, or anything else, is refused.
bool isCompleteJpeg(const QByteArray& baData);
bool isCompleteJpegFile(const QString& strPath);

} // namespace MediaCheck
