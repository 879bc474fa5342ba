#include "VideoProbe.h"

#include "ToolRunner.h"

#include <QDate>
#include <QDebug>
#include <QRegularExpression>
#include <QStringList>
#include <QTime>

#include <algorithm>
#include <cmath>

namespace {

QString withoutTrailingComma(QString strToken)
{
    if (strToken.endsWith(QLatin1Char(',')))
        strToken.chop(1);
    return strToken;
}

// The fields of a stream line after its "Video:", split at the commas outside parentheses.
QStringList videoFields(const QString& strLine)
{
    const QString strRest = strLine.mid(strLine.indexOf(QLatin1String("Video:")) + 6);
    QStringList lstFields;
    QString strField;
    int iDepth = 0;
    for (const QChar c : strRest) {
        if (c == QLatin1Char('('))
            ++iDepth;
        else if (c == QLatin1Char(')') && iDepth > 0)
            --iDepth;
        if (c == QLatin1Char(',') && iDepth == 0) {
            lstFields.append(strField.trimmed());
            strField.clear();
        } else {
            strField += c;
        }
    }
    lstFields.append(strField.trimmed());
    return lstFields;
}

// Bits per sample of a pixel format name: "yuv420p10le" 10, "p010le" 10, "rgb48le" 16, else 8.
int bitDepthOf(const QString& strFormat)
{
    static const QRegularExpression s_planar(QStringLiteral("p(\\d{2,3})(le|be)$"));
    static const QRegularExpression s_packed(QStringLiteral("(48|64)(le|be)$"));
    const QRegularExpressionMatch planar = s_planar.match(strFormat);
    if (planar.hasMatch())
        return planar.captured(1).toInt();
    return s_packed.match(strFormat).hasMatch() ? 16 : 8;
}

// The pixel format field, such as "yuv420p10le(tv, bt2020nc/bt2020/arib-std-b67, progressive)".
void readPixelFormat(const QString& strField, VideoProbe& probe)
{
    const qsizetype iParen = strField.indexOf(QLatin1Char('('));
    probe.pixelFormat = (iParen < 0 ? strField : strField.left(iParen)).trimmed();
    probe.bitDepth = bitDepthOf(probe.pixelFormat);
    probe.range.clear();
    probe.matrix.clear();
    probe.primaries.clear();
    probe.transfer.clear();
    if (iParen < 0 || !strField.endsWith(QLatin1Char(')')))
        return;
    static const QStringList s_notColours{"progressive", "top first", "bottom first", "top coded first (swapped)",
                                          "bottom coded first (swapped)", "left", "center", "topleft", "top",
                                          "bottomleft", "bottom", "unknown"};
    bool blColourSeen = false;
    const QStringList lstParts = strField.mid(iParen + 1, strField.size() - iParen - 2).split(QLatin1String(", "));
    for (const QString& strPart : lstParts) {
        if (strPart == QLatin1String("tv") || strPart == QLatin1String("pc")) {
            probe.range = strPart;
            continue;
        }
        // Matrix, primaries and transfer, or one name when the three are the same.
        if (blColourSeen || s_notColours.contains(strPart))
            continue;
        blColourSeen = true;
        const QStringList lstColour = strPart.split(QLatin1Char('/'));
        if (lstColour.size() == 3) {
            probe.matrix = lstColour.at(0);
            probe.primaries = lstColour.at(1);
            probe.transfer = lstColour.at(2);
        } else if (lstColour.size() == 1) {
            probe.matrix = probe.primaries = probe.transfer = strPart;
        }
    }
}

// "2024-05-01T14:03:07..." as the wall-clock time it states; invalid when it is no such time or
// an empty default (a year before 1971).
QDateTime wallTime(const QString& strValue, Qt::TimeSpec spec)
{
    const QDate date = QDate::fromString(strValue.left(10), QStringLiteral("yyyy-MM-dd"));
    const QTime time = QTime::fromString(strValue.mid(11, 8), QStringLiteral("HH:mm:ss"));
    if (!date.isValid() || !time.isValid() || strValue.size() < 19 || date.year() < 1971)
        return QDateTime();
    return QDateTime(date, time, spec);
}

// A clockwise turn in degrees brought into [0, 360).
double normalizedTurn(double dDegrees)
{
    return dDegrees - 360.0 * std::floor(dDegrees / 360.0);
}

} // namespace

double VideoProbe::clockSeconds(const QString& strClock)
{
    const QStringList lstParts = strClock.split(QLatin1Char(':'));
    if (lstParts.size() != 3)
        return -1;
    bool blH = false, blM = false, blS = false;
    const double dSeconds =
        lstParts.at(0).toInt(&blH) * 3600.0 + lstParts.at(1).toInt(&blM) * 60.0 + lstParts.at(2).toDouble(&blS);
    return blH && blM && blS ? dSeconds : -1;
}

bool VideoProbe::isHdr() const
{
    return transfer == QLatin1String("arib-std-b67") || transfer == QLatin1String("smpte2084");
}

double VideoProbe::shownWidth(double dWidth, const QString& strAspect)
{
    const QStringList lstAspect = strAspect.split(QLatin1Char(':'));
    bool blA = false, blB = false;
    const uint uA = lstAspect.size() == 2 ? lstAspect.at(0).toUInt(&blA) : 0;
    const uint uB = lstAspect.size() == 2 ? lstAspect.at(1).toUInt(&blB) : 0;
    return blA && blB && uA > 0 && uB > 0 ? std::floor(double(uA) / double(uB) * dWidth) : dWidth;
}

QString VideoProbe::displaySize() const
{
    const QStringList lstFrame = frameSize.split(QLatin1Char('x'));
    const int iWidth = lstFrame.size() == 2 ? lstFrame.at(0).toInt() : 0;
    const int iHeight = lstFrame.size() == 2 ? lstFrame.at(1).toInt() : 0;
    if (iWidth <= 0 || iHeight <= 0)
        return QString();
    const QString strWidth = QString::number(qint64(shownWidth(iWidth, aspect)));
    const QString strHeight = QString::number(iHeight);
    return rotation == 90 || rotation == 270 ? strHeight + QLatin1Char('x') + strWidth
                                             : strWidth + QLatin1Char('x') + strHeight;
}

VideoProbe VideoProbe::parse(const QString& strInfo)
{
    VideoProbe probe;
    // Where the line stands: the container's own lines, a video stream's, or another stream's.
    enum Section { Container, Video, OtherStream } section = Container;
    double dMatrixTurn = 0;
    bool blMatrix = false;
    double dTagTurn = 0;
    bool blTag = false;
    QDateTime quickTimeDate;
    QDateTime creationTime;
    QDateTime trackCreationTime;

    static const QRegularExpression s_matrix(QStringLiteral("rotation of (-?\\d+(?:\\.\\d+)?) degrees"));
    const QStringList lstLines = strInfo.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& strLine : lstLines) {
        const QStringList lstTokens = strLine.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString strTrimmed = strLine.trimmed();
        if (strLine.contains(QLatin1String("Duration:")) && strLine.contains(QLatin1String("bitrate:"))) {
            for (int j = 1; j < lstTokens.size(); ++j) {
                if (lstTokens.at(j).startsWith(QLatin1String("kb/s"))) {
                    probe.totalBitRate = lstTokens.at(j - 1).toInt();
                    qDebug("%s", qPrintable(QStringLiteral("iInputVideoTotalBitRate = %1").arg(probe.totalBitRate)));
                }
                if (lstTokens.at(j - 1) == QLatin1String("Duration:"))
                    probe.duration = std::max(0.0, clockSeconds(withoutTrailingComma(lstTokens.at(j))));
            }
            continue;
        }
        if (strLine.contains(QLatin1String("Stream #"))) {
            section = OtherStream;
            // Cover art is a picture beside the video, not the video.
            if (strLine.contains(QLatin1String("Video:")) && !strLine.contains(QLatin1String("(attached pic)"))) {
                section = Video;
                blMatrix = blTag = false;
                for (int j = 1; j < lstTokens.size(); ++j) {
                    const QString& strToken = lstTokens.at(j);
                    if (strToken.startsWith(QLatin1String("kb/s"))) {
                        probe.videoBitRate = lstTokens.at(j - 1).toInt();
                        qDebug("%s", qPrintable(QStringLiteral("iInputVideoBitRate = %1").arg(probe.videoBitRate)));
                    }
                    if (strToken.contains(QLatin1Char('x'))) {
                        const QString strCandidate = withoutTrailingComma(strToken);
                        const QStringList lstParts = strCandidate.split(QLatin1Char('x'));
                        bool blWidth = false, blHeight = false;
                        if (lstParts.size() == 2 && lstParts.at(0).toInt(&blWidth) > 0 &&
                            lstParts.at(1).toInt(&blHeight) > 0 && blWidth && blHeight) {
                            probe.frameSize = strCandidate;
                            qDebug("%s", qPrintable(QLatin1String("strInputVideoResolution = ") + probe.frameSize));
                        }
                    }
                    if ((strToken == QLatin1String("PAR") || strToken == QLatin1String("[PAR") ||
                         strToken == QLatin1String("SAR") || strToken == QLatin1String("[SAR")) &&
                        j + 1 < lstTokens.size()) {
                        const QString strCandidate = withoutTrailingComma(lstTokens.at(j + 1));
                        const QStringList lstParts = strCandidate.split(QLatin1Char(':'));
                        bool blA = false, blB = false;
                        if (lstParts.size() == 2 && lstParts.at(0).toUInt(&blA) > 0 &&
                            lstParts.at(1).toUInt(&blB) > 0 && blA && blB) {
                            probe.aspect = strCandidate;
                            qDebug("%s", qPrintable(QLatin1String("strInputVideoPAR = ") + probe.aspect));
                        }
                    }
                }
                readPixelFormat(videoFields(strLine).value(1), probe);
            }
            if (strLine.contains(QLatin1String("Audio:"))) {
                for (int j = 1; j < lstTokens.size(); ++j) {
                    if (lstTokens.at(j).startsWith(QLatin1String("kb/s"))) {
                        probe.audioBitRate = lstTokens.at(j - 1).toInt();
                        qDebug("%s", qPrintable(QStringLiteral("iInputAudioBitRate = %1").arg(probe.audioBitRate)));
                    }
                }
            }
            continue;
        }
        if (section == Video && strTrimmed.startsWith(QLatin1String("displaymatrix:"))) {
            const QRegularExpressionMatch match = s_matrix.match(strTrimmed);
            if (match.hasMatch()) {
                // The matrix states the counter-clockwise angle.
                dMatrixTurn = -match.captured(1).toDouble();
                blMatrix = true;
            }
            continue;
        }
        // Metadata lines: "key : value".
        const qsizetype iColon = strTrimmed.indexOf(QLatin1Char(':'));
        if (iColon <= 0)
            continue;
        const QString strKey = strTrimmed.left(iColon).trimmed();
        const QString strValue = strTrimmed.mid(iColon + 1).trimmed();
        if (section == Video && strKey.compare(QLatin1String("rotate"), Qt::CaseInsensitive) == 0) {
            bool blOk = false;
            dTagTurn = strValue.toDouble(&blOk);
            blTag = blOk;
        } else if (section == Video && strKey == QLatin1String("creation_time") && !trackCreationTime.isValid()) {
            trackCreationTime = wallTime(strValue, Qt::UTC).toLocalTime();
        } else if (section == Container && strKey == QLatin1String("com.apple.quicktime.creationdate")) {
            quickTimeDate = wallTime(strValue, Qt::LocalTime);
        } else if (section == Container && strKey == QLatin1String("creation_time")) {
            creationTime = wallTime(strValue, Qt::UTC).toLocalTime();
        }
    }
    if (probe.videoBitRate < 1 && probe.totalBitRate > 0 && probe.audioBitRate >= 0)
        probe.videoBitRate = probe.totalBitRate - probe.audioBitRate;
    // A rate below zero (printed so, or an audio rate above the total) is one not known.
    probe.totalBitRate = std::max(0, probe.totalBitRate);
    probe.videoBitRate = std::max(0, probe.videoBitRate);
    probe.audioBitRate = std::max(0, probe.audioBitRate);
    qDebug("%s", qPrintable(QStringLiteral("Input file bitrate = %1").arg(probe.videoBitRate)));

    if (blMatrix || blTag) {
        const double dTurn = normalizedTurn(blMatrix ? dMatrixTurn : dTagTurn);
        const double dQuarters = std::round(dTurn / 90.0);
        if (std::fabs(dTurn - dQuarters * 90.0) < 1.0) {
            probe.rotation = int(dQuarters) % 4 * 90;
            probe.rotationFromTag = !blMatrix && probe.rotation != 0;
        } else {
            probe.oddRotation = dTurn;
        }
    }
    // The video track's date where the container has none (a copy of the streams keeps only that).
    probe.creationTime = quickTimeDate.isValid() ? quickTimeDate
                         : creationTime.isValid() ? creationTime
                                                  : trackCreationTime;
    return probe;
}

VideoProbe VideoProbe::run(const QString& strPath, const std::atomic_bool* pAbort)
{
    const ToolRunner runner(pAbort);
    const QString strTool = ToolLocator::path(ToolLocator::Ffmpeg);
    const QStringList lstArguments{QStringLiteral("-i"), strPath};
    qDebug("Get Video Info: %s", qPrintable(ToolRunner::commandLine(strTool, lstArguments)));
    const ToolRunner::Result result = runner.run(strTool, lstArguments, QString(), "kill video convert process");
    const QString strInfo = QString::fromLocal8Bit(result.standardError);
    qDebug("%s", qPrintable(QLatin1String("Out ") + strInfo));
    return parse(strInfo);
}
