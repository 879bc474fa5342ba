// What the transcoder prints about a video, read into rates, frame, turn, colours and time.
#include "FuzzSupport.h"

#include "upload/VideoProbe.h"

#include <QRegularExpression>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    Fuzz::init();
    const QString strInfo = QString::fromUtf8(Fuzz::bytes(pData, iSize));
    const VideoProbe probe = VideoProbe::parse(strInfo);
    if (probe.rotation != 0 && probe.rotation != 90 && probe.rotation != 180 && probe.rotation != 270)
        Fuzz::fail("a turn that is not a quarter turn");
    if (!std::isfinite(probe.duration) || probe.duration < 0 || !std::isfinite(probe.oddRotation))
        Fuzz::fail("a duration or odd turn that is not a finite number");
    if (probe.totalBitRate < 0 || probe.videoBitRate < 0 || probe.audioBitRate < 0)
        Fuzz::fail("a negative bit rate");
    const QString strShown = probe.displaySize();
    if (!strShown.isEmpty() && !QRegularExpression(QStringLiteral("^\\d+x\\d+$")).match(strShown).hasMatch())
        Fuzz::fail("a shown size that is not WxH");
    (void)probe.isHdr();
    (void)VideoProbe::clockSeconds(strInfo.left(64));
    return 0;
}
