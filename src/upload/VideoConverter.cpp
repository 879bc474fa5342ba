#include "VideoConverter.h"

#include "MediaCheck.h"
#include "TempFiles.h"
#include "ToolRunner.h"
#include "VelmLocale.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <cmath>

namespace {

struct QualityInfo
{
    const char* pszBox;
    int iBitRate; // kbit/s
    const char* pszAudioRate;
    const char* pszFile;
};

const QualityInfo s_qualities[] = {{"1920x1080", 2000, "96k", "FILM_H.mp4"},
                                   {"1280x720", 1000, "96k", "FILM_M.mp4"},
                                   {"640x360", 256, "96k", "FILM_L.mp4"},
                                   {"320x240", 256, "64k", "FILM_MOBILE.mp4"}};

const QualityInfo* quality(int iQuality)
{
    return iQuality >= 0 && iQuality < 4 ? &s_qualities[iQuality] : nullptr;
}

// The encoder settings, written in the option names the transcoder (5.x) accepts. Each row
// keeps one setting of the original list; the comment gives its old spelling.
//   -acodec libvo_aacenc   -> -c:a aac          -b            -> -b:v
//   -flags2 +mixed_refs    -> -mixed-refs 1     -rc_eq ...    -> (ignored by the encoder; left out)
//   -complexityblur 20.0   -> -cplxblur 20.0    -flags2 +dct8x8 / -dct8x8 -> -8x8dct 1 / 0
//   -vprofile baseline     -> -profile:v baseline
//   -flags2 -bpyramid      -> -b-pyramid none   -bframebias 0 -> -x264-params b-bias=0
//   -directpred 1          -> -direct-pred spatial
//   -flags2 +wpred         -> -weightb 1        -me_method epzs / hex -> -motion-est dia / hex
//   -partitions 0 / +parti4x4+... -> none / i4x4,i8x8,p4x4,p8x8,b8x8
QStringList buildArguments(int iQuality, int iPass)
{
    const QualityInfo& info = s_qualities[iQuality];
    const QString strRate = QString::number(info.iBitRate) + QLatin1Char('k');
    QStringList lst{"-y",
                    "-c:a", "aac",
                    "-ar", "44100",
                    "-ab", QLatin1String(info.pszAudioRate),
                    "-ac", "2",
                    "-pass", QString::number(iPass),
                    "-vcodec", "libx264",
                    // 8-bit 4:2:0 whatever the source, so that every profile of the table takes it.
                    "-pix_fmt", "yuv420p",
                    "-b:v", strRate,
                    "-bt", strRate,
                    "-flags", "+loop",
                    "-mixed-refs", "1",
                    "-me_range", "16",
                    "-cmp", "+chroma",
                    "-chromaoffset", "0",
                    "-g", "60",
                    "-keyint_min", "25",
                    "-sc_threshold", "40",
                    "-qcomp", "0.60",
                    "-qmin", "10",
                    "-qmax", "51",
                    "-qdiff", "4",
                    "-cplxblur", "20.0",
                    "-qblur", "0.5",
                    "-i_qfactor", "0.71"};
    const bool blHigh = iQuality == 0;
    const bool blMedium = iQuality == 1;
    lst << "-8x8dct" << (blHigh ? "1" : "0");
    if (!blHigh && !blMedium)
        lst << "-profile:v" << "baseline";
    lst << "-level" << (blHigh ? "41" : blMedium ? "31" : "13");
    lst << "-coder" << (blHigh ? "1" : "0");
    lst << "-refs" << (blHigh ? "3" : blMedium ? "4" : "1");
    lst << "-bf" << (blHigh || blMedium ? "2" : "0");
    if (blHigh || blMedium) {
        lst << "-b_qfactor" << "1.30"
            << "-b-pyramid" << "none"
            << "-b_strategy" << "1"
            << "-x264-params" << "b-bias=0"
            << "-direct-pred" << "spatial"
            << "-weightb" << "1";
    }
    const bool blFirst = iPass == 1;
    lst << "-subq" << (blFirst ? "1" : "5");
    lst << "-trellis" << (blHigh && !blFirst ? "1" : "0");
    lst << "-motion-est" << (blFirst ? "dia" : "hex");
    lst << "-partitions" << (blFirst ? "none" : "i4x4,i8x8,p4x4,p8x8,b8x8");
    lst << "-f" << "mp4";
    return lst;
}

// The two-pass statistics the encoder wrote for "-passlogfile <strPrefix>pass": "<prefix>pass-0.log",
// its ".mbtree", and their ".temp" forms when a first pass was cut short.
void removePassLogs(const QString& strPrefix)
{
    const QFileInfo prefix(strPrefix);
    QDir folder = prefix.absoluteDir();
    const QStringList lstLogs =
        folder.entryList({prefix.fileName() + QLatin1String("pass-*.log*")}, QDir::Files | QDir::Hidden);
    for (const QString& strLog : lstLogs)
        folder.remove(strLog);
}

// The time the transcoder last reported reaching ("time=00:00:01.96"), in seconds; -1 when none.
double reachedSeconds(const QByteArray& baOutput)
{
    const qsizetype iAt = baOutput.lastIndexOf("time=");
    return iAt < 0 ? -1 : VideoProbe::clockSeconds(QString::fromLatin1(baOutput.mid(iAt + 5, 11)).trimmed());
}

} // namespace

VideoConverter::VideoConverter(const QList<int>& lstQualities)
    : m_lstQualities(lstQualities), m_strFfmpegTool(ToolLocator::path(ToolLocator::Ffmpeg)),
      m_strFaststartTool(ToolLocator::path(ToolLocator::QtFaststart)),
      m_strConvertTool(ToolLocator::path(ToolLocator::Convert))
{
    for (int iQuality = 0; iQuality < 4; ++iQuality) {
        m_mapFirstPass.insert(iQuality, buildArguments(iQuality, 1));
        m_mapSecondPass.insert(iQuality, buildArguments(iQuality, 2));
    }
}

QStringList VideoConverter::passArguments(int iQuality, int iPass) const
{
    return (iPass == 1 ? m_mapFirstPass : m_mapSecondPass).value(iQuality);
}

QStringList VideoConverter::capBitRate(QStringList lstArguments, int iVideoBitRate, int iTableBitRate)
{
    if (iVideoBitRate <= 0 || iVideoBitRate >= iTableBitRate)
        return lstArguments;
    for (int i = 1; i < lstArguments.size(); ++i) {
        if (lstArguments.at(i - 1) == QLatin1String("-b:v") || lstArguments.at(i - 1) == QLatin1String("-bt"))
            lstArguments[i] = QString::number(iVideoBitRate) + QLatin1Char('k');
    }
    return lstArguments;
}

QString VideoConverter::fitResolution(const QString& strFrameSize, const QString& strAspect, int iQuality)
{
    QString strResult;
    const QStringList lstFrame = strFrameSize.split(QLatin1Char('x'));
    const int iFrameWidth = lstFrame.size() == 2 ? lstFrame.at(0).toInt() : 0;
    const int iFrameHeight = lstFrame.size() == 2 ? lstFrame.at(1).toInt() : 0;
    if (iFrameWidth != 0 && iFrameHeight != 0) {
        const QualityInfo* pInfo = quality(iQuality);
        const QStringList lstBox = pInfo ? QString::fromLatin1(pInfo->pszBox).split(QLatin1Char('x')) : QStringList();
        double dBoxWidth = lstBox.size() == 2 ? lstBox.at(0).toDouble() : 0;
        double dBoxHeight = lstBox.size() == 2 ? lstBox.at(1).toDouble() : 0;
        if (dBoxWidth <= 0 || dBoxHeight <= 0)
            dBoxWidth = dBoxHeight = 1;

        const double dWidth = VideoProbe::shownWidth(iFrameWidth, strAspect);
        const double dHeight = iFrameHeight;
        // A portrait picture keeps the detail of a landscape one: the box is turned upright.
        if (dHeight > dWidth && dBoxWidth > dBoxHeight)
            std::swap(dBoxWidth, dBoxHeight);

        int iWidth = 0;
        int iHeight = 0;
        if (dWidth > dBoxWidth) {
            if (dBoxHeight >= dHeight || dWidth / dBoxWidth > dHeight / dBoxHeight) {
                iWidth = int(dBoxWidth);
                iHeight = int(dBoxWidth / dWidth * dHeight);
            } else {
                iWidth = int(dBoxHeight / dHeight * dWidth);
                iHeight = int(dBoxHeight);
            }
        } else if (dBoxHeight >= dHeight) {
            iWidth = int(dWidth);
            iHeight = int(dHeight);
        } else {
            iWidth = int(dBoxHeight / dHeight * dWidth);
            iHeight = int(dBoxHeight);
        }
        strResult = QString::number(iWidth & ~1) + QLatin1Char('x') + QString::number(iHeight & ~1);
    }
    if (strResult.isEmpty() && iQuality == 3)
        strResult = QStringLiteral("320x240");
    return strResult;
}

QString VideoConverter::pictureFilter(const VideoProbe& probe)
{
    QStringList lstFilters;
    // The transcoder turns the picture by a display matrix itself, never by a tag alone.
    if (probe.rotationFromTag) {
        if (probe.rotation == 90)
            lstFilters << QStringLiteral("transpose=clock");
        else if (probe.rotation == 180)
            lstFilters << QStringLiteral("hflip") << QStringLiteral("vflip");
        else if (probe.rotation == 270)
            lstFilters << QStringLiteral("transpose=cclock");
    }
    if (probe.isHdr()) {
        // The colour description of the source stated in full (BT.2020 where it is silent), to
        // linear light, tone mapped, and back to BT.709 in 8-bit 4:2:0.
        auto known = [](const QString& strValue, const QStringList& lstKnown, const char* pszDefault) {
            return lstKnown.contains(strValue) ? strValue : QLatin1String(pszDefault);
        };
        const QString strPrimaries = known(probe.primaries, {"bt2020", "bt709", "smpte432", "smpte431"}, "bt2020");
        const QString strMatrix = known(probe.matrix, {"bt2020nc", "bt2020c", "bt709"}, "bt2020nc");
        const QString strRange = known(probe.range, {"tv", "pc"}, "tv");
        lstFilters << QStringLiteral("zscale=tin=%1:pin=%2:min=%3:rin=%4:t=linear:npl=100")
                          .arg(probe.transfer, strPrimaries, strMatrix, strRange)
                   << QStringLiteral("format=gbrpf32le") << QStringLiteral("zscale=p=bt709")
                   << QStringLiteral("tonemap=tonemap=hable:desat=0")
                   << QStringLiteral("zscale=t=bt709:m=bt709:r=tv") << QStringLiteral("format=yuv420p");
    }
    return lstFilters.join(QLatin1Char(','));
}

QString VideoConverter::note() const
{
    QStringList lstNotes;
    if (m_blDamaged)
        lstNotes << VelmLocale::message("err_upd_video_damaged");
    if (m_probe.oddRotation != 0)
        lstNotes << VelmLocale::message("err_upd_odd_rotation").arg(QString::number(m_probe.oddRotation, 'g', 4));
    return lstNotes.join(QLatin1Char(' '));
}

int VideoConverter::convertVideo(const QString& strPath, quint32 uId)
{
    m_probe = VideoProbe();
    m_blDamaged = false;
    if (!QFileInfo::exists(strPath) || !TempFiles::ensureFolder())
        return -1;
    const QString strPrefix = TempFiles::tempFilePrefix(uId);
    ToolRunner runner(&m_blAbort);
    runner.setWorkingDirectory(TempFiles::folderPath());
    auto aborted = [](const ToolRunner::Result& result) { return result.status == ToolRunner::Aborted; };

    m_probe = VideoProbe::run(strPath, &m_blAbort);
    const VideoProbe& probe = m_probe;
    // Every size comes from the frame as it is shown: pixel aspect applied, turned upright.
    const QString strShown = probe.displaySize();
    const QString strFilter = pictureFilter(probe);
    QStringList lstPicture;
    if (!strFilter.isEmpty())
        lstPicture << QStringLiteral("-vf") << strFilter;
    if (probe.isHdr())
        lstPicture << "-color_primaries" << "bt709" << "-color_trc" << "bt709" << "-colorspace" << "bt709";

    // One frame, at 3 s or else at the start, for all five thumbnails.
    const QString strSize = strShown.isEmpty() ? QString() : fitResolution(strShown, QString(), 0);
    const QString strFrame = strPrefix + QLatin1String("TEMP.jpg");
    // Seeking before the input jumps to the frame instead of decoding everything before it.
    QStringList lstGrab{"-ss", "00:00:03", "-i", strPath, "-y", "-vframes", "1", "-an", "-q:v", "2", "-f", "mjpeg"};
    lstGrab << lstPicture;
    if (!strSize.isEmpty())
        lstGrab << "-s" << strSize << "-aspect" << QString(strSize).replace(QLatin1Char('x'), QLatin1Char(':'));
    lstGrab << strFrame;
    const auto removeFrame = qScopeGuard([&strFrame]() { QFile::remove(strFrame); });
    // The frame counts only when the transcoder succeeded and the JPEG is whole.
    auto frameMade = [&](const ToolRunner::Result& result) {
        if (result.ok() && MediaCheck::isCompleteJpegFile(strFrame))
            return true;
        QFile::remove(strFrame);
        return false;
    };
    qDebug("Make Thumbnail image: %s", qPrintable(ToolRunner::commandLine(m_strFfmpegTool, lstGrab)));
    ToolRunner::Result grab = runner.run(m_strFfmpegTool, lstGrab, QString(), "kill video convert process");
    if (!frameMade(grab)) {
        if (aborted(grab))
            return -1;
        lstGrab[lstGrab.indexOf(QStringLiteral("00:00:03"))] = QStringLiteral("00:00:00");
        qDebug("%s", qPrintable(ToolRunner::commandLine(m_strFfmpegTool, lstGrab)));
        grab = runner.run(m_strFfmpegTool, lstGrab, QString(), "kill video convert process");
        if (!frameMade(grab))
            return -1;
    }

    // Three large thumbnails from the frame (enlarged to the box), two small ones from the first.
    const QStringList lstBigSizes{"640x640", "800x800", "1280x1280"};
    const QStringList lstBigFiles{"THUMB_B.jpg", "THUMB_L.jpg", "THUMB_XL.jpg"};
    const QStringList lstSmallSizes{"320x320", "120x120"};
    const QStringList lstSmallFiles{"THUMB_M.jpg", "THUMB_S.jpg"};
    const QString strThumbB = strPrefix + QLatin1String("THUMB_B.jpg");
    for (int iPass = 0; iPass < 2; ++iPass) {
        const bool blBig = iPass == 0;
        const QStringList& lstSizes = blBig ? lstBigSizes : lstSmallSizes;
        const QStringList& lstFiles = blBig ? lstBigFiles : lstSmallFiles;
        for (int i = 0; i < lstSizes.size(); ++i) {
            const QString strOutput = strPrefix + lstFiles.at(i);
            // The decoder's size hint goes before the input, where the converter reads it.
            const QStringList lstArguments{"-define", "jpeg:size=" + lstSizes.at(i), blBig ? strFrame : strThumbB,
                                           "-thumbnail", lstSizes.at(i), "-quality", "70", "-type", "truecolor",
                                           strOutput};
            qDebug(blBig ? "Video Bigger Thumb Convert: %s" : "Video Smaller Thumb Convert: %s",
                   qPrintable(ToolRunner::commandLine(m_strConvertTool, lstArguments)));
            const ToolRunner::Result result =
                runner.run(m_strConvertTool, lstArguments, QString(), "kill video convert process");
            if (aborted(result)) {
                QFile::remove(strOutput);
                return -1;
            }
            qDebug("%s", qPrintable((blBig ? QLatin1String("VdoConvert Out ") : QLatin1String("Vdo222 Out ")) +
                                    QString::fromLocal8Bit(result.standardOutput)));
            if (!result.ok() || !MediaCheck::isCompleteJpegFile(strOutput)) {
                if (!blBig)
                    qDebug("Small thumb not exist");
                QFile::remove(strOutput);
                return -1;
            }
        }
    }

    bool blFailed = false;
    for (int iQuality : std::as_const(m_lstQualities)) {
        qDebug("iVideoConvertQty = %d", iQuality);
        const QualityInfo* pInfo = quality(iQuality);
        QString strOutSize;
        QString strAspect;
        if (iQuality == 3) {
            strOutSize = QStringLiteral("320x240");
            strAspect = QStringLiteral("320:240");
        }
        const QString strName = pInfo ? QLatin1String(pInfo->pszFile) : QString();
        const int iTableRate = pInfo ? pInfo->iBitRate : 0;
        const QString strTemp = strPrefix + QLatin1String("tmp") + strName;
        const QString strFinal = strPrefix + strName;
        if (!pInfo)
            continue;
        // Whatever happens below, the intermediate file and the statistics of this quality go.
        const auto removeIntermediates = qScopeGuard([&]() {
            QFile::remove(strTemp);
            removePassLogs(strPrefix);
        });
        if (!strShown.isEmpty()) {
            strOutSize = fitResolution(strShown, QString(), iQuality);
            if (!strOutSize.isEmpty())
                strAspect = QString(strOutSize).replace(QLatin1Char('x'), QLatin1Char(':'));
        }
        qDebug("%s", qPrintable(QLatin1String("Target mobile video resolution = ") + strOutSize +
                                QLatin1String(" aspect ratio = ") + strAspect));

        // Each conversion keeps its own two-pass statistics.
        const QStringList lstPassLog{"-passlogfile", strPrefix + QLatin1String("pass")};
        auto arguments = [&](int iPass) {
            QStringList lst = QStringList{"-i", strPath} + capBitRate(passArguments(iQuality, iPass), probe.videoBitRate,
                                                                      iTableRate) +
                              lstPassLog + lstPicture;
            if (!strOutSize.isEmpty())
                lst << "-s" << strOutSize << "-aspect" << strAspect;
            lst << strTemp;
            return lst;
        };

        const QStringList lstFirst = arguments(1);
        qDebug("Convert video to H264: %s", qPrintable(ToolRunner::commandLine(m_strFfmpegTool, lstFirst)));
        ToolRunner::Result result = runner.run(m_strFfmpegTool, lstFirst, QString(), "kill video convert process");
        if (aborted(result))
            return -1;
        qDebug("%s", qPrintable(QLatin1String("Out ") + QString::fromLocal8Bit(result.standardOutput)));

        QStringList lstSecond = arguments(2);
        qDebug("Convert video to H264 Pass2: %s", qPrintable(ToolRunner::commandLine(m_strFfmpegTool, lstSecond)));
        result = runner.run(m_strFfmpegTool, lstSecond, QString(), "kill video convert process");
        if (aborted(result))
            return -1;
        qDebug("%s", qPrintable(QLatin1String("Out ") + QString::fromLocal8Bit(result.standardOutput)));
        if (!result.ok()) {
            qDebug("%s", qPrintable(QLatin1String("pass 2 error, delete file:") + strTemp));
            QFile::remove(strTemp);
        }

        if (!MediaCheck::isCompleteMp4File(strTemp)) {
            QFile::remove(strTemp);
            lstSecond.insert(2, QStringLiteral("-an"));
            qDebug("%s", qPrintable(QLatin1String("Disable Audio Encoding!! Program: ") + m_strFfmpegTool));
            qDebug("Disable Audio Encoding: %s", qPrintable(ToolRunner::commandLine(m_strFfmpegTool, lstSecond)));
            result = runner.run(m_strFfmpegTool, lstSecond, QString(), "kill video convert process");
            if (aborted(result))
                return -1;
            if (!result.ok() || !MediaCheck::isCompleteMp4File(strTemp)) {
                qDebug("%s", qPrintable(QLatin1String("video convert still error with disable audio, delete file:") +
                                        strTemp));
                blFailed = true;
                continue;
            }
        }
        // A transcode that stops well before the end the container states: the file is cut short.
        const double dReached = reachedSeconds(result.standardError);
        if (probe.duration > 1.0 && dReached >= 0 && dReached < probe.duration * 0.9 - 0.5) {
            qDebug("video ends at %.2f s of %.2f s: damaged", dReached, probe.duration);
            m_blDamaged = true;
        }

        const QStringList lstMove{strTemp, strFinal};
        qDebug("Move moov atom %s", qPrintable(ToolRunner::commandLine(m_strFaststartTool, lstMove)));
        result = runner.run(m_strFaststartTool, lstMove, QString(), "kill video convert process");
        // Half the space of a transcode comes back before the next quality starts.
        QFile::remove(strTemp);
        if (aborted(result)) {
            QFile::remove(strFinal);
            return -1;
        }
        qDebug("%s", qPrintable(QLatin1String("Out ") + QString::fromLocal8Bit(result.standardOutput)));
        if (!result.ok() || !MediaCheck::isCompleteMp4File(strFinal)) {
            qDebug("%s", qPrintable(QLatin1String("moov move error, delete file:") + strFinal));
            QFile::remove(strFinal);
            blFailed = true;
        }
    }
    return blFailed ? -1 : 0;
}
