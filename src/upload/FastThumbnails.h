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

enum Result {
    Made,       // every output written
    Damaged,    // every output written, from the part of a damaged picture that could be read
    Unreadable, // the picture cannot be decoded at all; another decoder may still read it
    TooLarge,   // the picture is too large to decode in memory; nothing is tried
    Failed      // anything else: an output not written, an abort
};

// Writes every output (outputs that were written may stay after a failure; the caller removes
// or replaces them). pAbort is looked at between the outputs. Only a photo stored wider than
// high is turned by its EXIF orientation; a decoder that turns the picture by its own container
// (HEIF, JPEG XL) leaves no orientation to apply a second time.
Result make(const QString& strSource, const QList<Output>& lstOutputs, int iQuality, const std::atomic_bool* pAbort);

// Stored pixel size of an image file read in process; invalid when it cannot be read.
QSize imageSize(const QString& strPath);

} // namespace FastThumbnails
