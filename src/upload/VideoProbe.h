#pragma once

#include <QDateTime>
#include <QString>

#include <atomic>

// What the transcoder reports about a video ("ffmpeg -i <file>"): rates, frame, pixel aspect,
// the turn a player applies, colours, and the moment it was recorded.
struct VideoProbe
{
    int totalBitRate = 0; // kbit/s
    int videoBitRate = 0;
    int audioBitRate = 0;
    QString frameSize; // as stored, "WxH"
    QString aspect;    // pixel aspect ratio "a:b"
    double duration = 0; // seconds; 0 when unknown

    // The clockwise turn that shows the picture upright: 0, 90, 180 or 270. From the display
    // matrix, else from a "rotate" tag (the transcoder turns by the matrix on its own, not by a tag).
    int rotation = 0;
    bool rotationFromTag = false;
    // A turn that is not a quarter turn, in degrees (rotation stays 0); 0 when there is none.
    double oddRotation = 0;

    QString pixelFormat; // such as "yuv420p10le"
    int bitDepth = 8;
    // Colour description as the transcoder names it; empty when not stated.
    QString range, matrix, primaries, transfer;

    // The container's creation date in local time (its own zone for a QuickTime creation date,
    // UTC turned to local time for creation_time, the video track's where the container has
    // none); invalid when there is none.
    QDateTime creationTime;

    // HLG or PQ transfer: the picture needs tone mapping to look right in 8-bit BT.709.
    bool isHdr() const;
    // The frame as a player shows it, "WxH": the pixel aspect applied, then turned; empty when
    // the frame size is unknown.
    QString displaySize() const;

    // "00:01:02.50" in seconds; -1 when it is not such a time.
    static double clockSeconds(const QString& strClock);
    // A width as shown for a pixel aspect ratio "a:b" (rounded down); unchanged for none.
    static double shownWidth(double dWidth, const QString& strAspect);

    static VideoProbe parse(const QString& strInfo);
    // Runs the transcoder on the file (the abort flag is polled) and parses what it prints.
    static VideoProbe run(const QString& strPath, const std::atomic_bool* pAbort = nullptr);
};
