#pragma once

#include <QList>
#include <QSize>
#include <QString>

#include <atomic>

// The five thumbnails of a photo from one decode, in process: the largest size first, the
// smaller ones from it. Same sizes, quality, orientation and "never enlarge" rule as the
// converter tool runs they stand in for; metadata stripped, sRGB.
namespace FastThumbnails {

struct Output
{
    int iSize;        // the box: a thumbnail fits into iSize x iSize
    QString strPath;  // where it is written
};

// The size of a thumbnail of an image of srcSize in an iBox x iBox box, never enlarged, with
// the converter's rounding.
QSize fitted(QSize srcSize, int iBox);

// Writes every output; false when the source cannot be read or anything fails (outputs that
// were written may stay; the caller removes or replaces them). pAbort is looked at between
// the outputs. Only a photo stored wider than high is turned by its EXIF orientation.
bool make(const QString& strSource, const QList<Output>& lstOutputs, int iQuality, const std::atomic_bool* pAbort);

} // namespace FastThumbnails
