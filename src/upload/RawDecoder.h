#pragma once

#include <QString>

#include <atomic>

// A RAW photo turned into an ordinary image in process, with the RAW library: the embedded
// preview when it is large enough, otherwise a decode.
namespace RawDecoder {

enum Outcome {
    Preview,     // the embedded JPEG preview, turned as the camera was held
    Decoded,     // a binary PPM of the decoded picture, turned as the camera was held
    NotRead,     // the library does not know the file; another decoder may
    Failed,      // the library knows the file but could not decode it, or the result could not be written
    Aborted
};

struct Result
{
    Outcome outcome = NotRead;
    QString strImage;     // the written image for Preview and Decoded
    bool blDamaged = false; // the data ended early or was unreadable in parts
};

// iMinSide: the long side the image must reach (the largest thumbnail). A preview at least
// that large is written to strPreviewPath; otherwise the picture is decoded, at half size when
// that still reaches iMinSide, to strDecodedPath. pAbort is polled while the library works.
Result extract(const QString& strPath, const QString& strPreviewPath, const QString& strDecodedPath, int iMinSide,
               const std::atomic_bool* pAbort);

} // namespace RawDecoder
