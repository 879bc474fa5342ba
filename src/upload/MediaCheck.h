#pragma once

#include <QByteArray>
#include <QString>

// Whether a file a tool wrote is whole, so that nothing cut short is ever sent.
namespace MediaCheck {

// True when the bytes form a whole JPEG stream: start of image, well-formed segments, and an
// end-of-image marker. A file cut short by a failed tool, or anything else, is refused.
bool isCompleteJpeg(const QByteArray& baData);
bool isCompleteJpegFile(const QString& strPath);

// True when the top-level boxes of an MP4 file follow one another to its exact end, none running
// past it, and both the index (moov) and the media data (mdat) are among them.
bool isCompleteMp4File(const QString& strPath);

// True for a binary PPM or PGM (P6/P5) whose header parses and whose samples are all there.
bool isCompletePpmFile(const QString& strPath);

} // namespace MediaCheck
