#include "AppIdentity.h"
#include "MediaFixtures.h"
#include "RefServerProcess.h"
#include "ServerLogin.h"
#include "TestEnvironment.h"
#include "upload/FileConverter.h"
#include "upload/FileUploader.h"
#include "upload/MediaCheck.h"
#include "TempFiles.h"
#include "upload/UploadPlan.h"
#include "upload/UploadQueue.h"
#include "upload/VideoConverter.h"
#include "VelmLocale.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

QStringList s_logLines;

void captureLog(QtMsgType, const QMessageLogContext&, const QString& strMessage)
{
    s_logLines.append(strMessage);
}

const char* const s_filmFiles[] = {"FILM_H.mp4", "FILM_M.mp4", "FILM_L.mp4", "FILM_MOBILE.mp4"};
const char* const s_thumbFiles[] = {"THUMB_B.jpg", "THUMB_L.jpg", "THUMB_M.jpg", "THUMB_S.jpg", "THUMB_XL.jpg"};

struct ToolRun
{
    int exitCode = -1;
    QByteArray standardOutput;
    QByteArray standardError;
};

ToolRun runTool(const QString& strProgram, const QStringList& lstArgs, const QString& strWorkDir = QString())
{
    ToolRun run;
    QProcess process;
    if (!strWorkDir.isEmpty())
        process.setWorkingDirectory(strWorkDir);
    process.start(strProgram, lstArgs);
    if (!process.waitForStarted(-1))
        return run;
    process.closeWriteChannel();
    process.waitForFinished(-1);
    run.standardOutput = process.readAllStandardOutput();
    run.standardError = process.readAllStandardError();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

// The streams of a media file as ffprobe reports them.
QList<QJsonObject> probeStreams(const QString& strPath)
{
    const ToolRun run = runTool(QStringLiteral("ffprobe"),
                                {"-v", "error", "-show_entries",
                                 "stream=codec_type,codec_name,width,height,profile,level,sample_aspect_ratio,bit_rate,"
                                 "pix_fmt,color_transfer:stream_side_data=rotation:stream_tags=rotate",
                                 "-of", "json", strPath});
    QList<QJsonObject> lstStreams;
    for (const QJsonValue& stream : QJsonDocument::fromJson(run.standardOutput).object().value("streams").toArray())
        lstStreams.append(stream.toObject());
    return lstStreams;
}

QList<QJsonObject> streamsOfType(const QList<QJsonObject>& lstStreams, const char* pszType)
{
    QList<QJsonObject> lstOfType;
    for (const QJsonObject& stream : lstStreams) {
        if (stream.value("codec_type").toString() == QLatin1String(pszType))
            lstOfType.append(stream);
    }
    return lstOfType;
}

// The top-level box types of an MP4 file, in file order.
QStringList topLevelBoxes(const QString& strPath)
{
    QStringList lstTypes;
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return lstTypes;
    const qint64 iSize = file.size();
    qint64 iPos = 0;
    while (iPos + 8 <= iSize && file.seek(iPos)) {
        const QByteArray baHead = file.read(16);
        quint64 uLength = qFromBigEndian<quint32>(baHead.constData());
        if (uLength == 1 && baHead.size() == 16)
            uLength = qFromBigEndian<quint64>(baHead.constData() + 8);
        else if (uLength == 0)
            uLength = quint64(iSize - iPos);
        if (uLength < 8)
            break;
        lstTypes.append(QString::fromLatin1(baHead.mid(4, 4)));
        iPos += qint64(uLength);
    }
    return lstTypes;
}

// The index (moov) ahead of the media data (mdat), so that playback starts before the whole file has arrived.
bool moovFirst(const QString& strPath)
{
    const QStringList lstBoxes = topLevelBoxes(strPath);
    const qsizetype iMoov = lstBoxes.indexOf(QLatin1String("moov"));
    const qsizetype iMdat = lstBoxes.indexOf(QLatin1String("mdat"));
    return iMoov >= 0 && iMdat >= 0 && iMoov < iMdat;
}

// Value that follows the first of the flags present, or "<absent>".
QString valueAfter(const QStringList& lstArgs, const QStringList& lstFlags)
{
    for (int i = 0; i + 1 < lstArgs.size(); ++i) {
        if (lstFlags.contains(lstArgs.at(i)))
            return lstArgs.at(i + 1);
    }
    return QStringLiteral("<absent>");
}

bool isOneOf(const QString& strValue, const QStringList& lstAccepted)
{
    return lstAccepted.contains(strValue);
}

const char* const s_qualityNames[] = {"high", "medium", "low", "mobile"};

// Central European time while it lives: UTC 12:03 on 1 May is 14:03 there.
class CentralEuropeanTime
{
public:
    CentralEuropeanTime() : m_baZone(qgetenv("TZ")) { qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3"); }
    ~CentralEuropeanTime()
    {
        if (m_baZone.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", m_baZone);
    }

private:
    const QByteArray m_baZone;
};

// Lines of the captured log that match.
QStringList logMatching(const QString& strPattern)
{
    return s_logLines.filter(QRegularExpression(strPattern));
}

} // namespace

// The video converter with the real ffmpeg, qt-faststart and convert: the transcoder's stream
// description, sizes, encoder arguments, the renditions on disk, and the upload to the server.
class TestVideoConverter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void parseProbe_data();
    void parseProbe();
    void probeDetails_data();
    void probeDetails();
    void fitResolution_data();
    void fitResolution();
    void arguments_data();
    void arguments();
    void capBitRate_data();
    void capBitRate();
    void ffmpegAcceptsEveryOption_data();
    void ffmpegAcceptsEveryOption();
    void realTranscodes_data();
    void realTranscodes();
    void uprightAndPlayable_data();
    void uprightAndPlayable();
    void captureTime_data();
    void captureTime();
    void throughTheServer();

private:
    QString clip(const QString& strName) const { return m_clips.path() + QLatin1Char('/') + strName; }
    bool makeClip(const QString& strName, const QStringList& lstArgs);

    TestEnvironment m_env; // TMPDIR first, so that every temporary file lands inside it
    QTemporaryDir m_clips;
};

bool TestVideoConverter::makeClip(const QString& strName, const QStringList& lstArgs)
{
    const ToolRun run =
        runTool(QStringLiteral("ffmpeg"), QStringList{"-v", "error", "-y"} + lstArgs + QStringList{clip(strName)});
    if (run.exitCode != 0)
        qWarning("cannot make %s: %s", qPrintable(strName), run.standardError.constData());
    return run.exitCode == 0 && QFileInfo(clip(strName)).size() > 0;
}

void TestVideoConverter::initTestCase()
{
    VelmLocale::fillMessageTable();
    QVERIFY(m_env.isValid());
    QVERIFY(m_clips.isValid());

    const auto picture = [](const char* pszSize, const char* pszSeconds) {
        return QStringList{"-f", "lavfi", "-i",
                           QStringLiteral("testsrc2=size=%1:rate=25:duration=%2").arg(pszSize, pszSeconds)};
    };
    const auto tone = [](const char* pszSeconds) {
        return QStringList{"-f", "lavfi", "-i", QStringLiteral("sine=frequency=440:duration=%1").arg(pszSeconds)};
    };
    const QStringList lstH264{"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"};
    const QStringList lstAac{"-c:a", "aac", "-shortest"};

    QVERIFY(makeClip("hd.mp4", picture("1920x1080", "1") + tone("1") + lstH264 + lstAac));
    QVERIFY(makeClip("anamorphic.mp4",
                     picture("1440x1080", "1") + tone("1") + QStringList{"-vf", "setsar=4/3"} + lstH264 + lstAac));
    QVERIFY(makeClip("pal.mp4",
                     picture("720x576", "1") + tone("1") + QStringList{"-vf", "setsar=16/15"} + lstH264 + lstAac));
    QVERIFY(makeClip("vga.mp4", picture("640x480", "1") + tone("1") + lstH264 + lstAac));
    QVERIFY(makeClip("rate800.mp4",
                     picture("640x360", "2") + tone("2") + QStringList{"-c:v", "libx264", "-b:v", "800k"} + lstAac));
    QVERIFY(makeClip("short.mp4", picture("320x240", "2") + tone("2") + lstH264 + lstAac));
    QVERIFY(makeClip("long.mp4", picture("320x240", "4") + tone("4") + lstH264 + lstAac));
    QVERIFY(makeClip("silent.mp4", picture("320x240", "1") + lstH264));
    QVERIFY(makeClip("tiny.mp4", picture("160x120", "0.5") + tone("0.5") + lstH264 + lstAac));
    // Float samples that turn into NaN in the last milliseconds: the AAC encoder refuses them when it
    // flushes, after the video is complete, so the first pass leaves whole statistics and the second
    // pass fails only because of the audio.
    QVERIFY(makeClip("badaudio.mov", picture("320x240", "1") +
                                         QStringList{"-f", "lavfi", "-i",
                                                     "aevalsrc=if(gt(t\\,0.999)\\,0/0\\,sin(2*PI*440*t)):s=44100:d=1"} +
                                         lstH264 + QStringList{"-c:a", "pcm_f32le"}));
    QVERIFY(TestFiles::writeBytes(clip("notes.mp4"), "holiday notes, not a video\n"));
}

void TestVideoConverter::cleanup()
{
    TempFiles::emptyFolder();
}

void TestVideoConverter::parseProbe_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("pattern"); // an edit of the captured text (regular expression, multi-line)
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("video");
    QTest::addColumn<int>("audio");
    QTest::addColumn<QString>("frameSize");
    QTest::addColumn<QString>("aspect");

    // clang-format off
    QTest::newRow("1920x1080 SAR 1:1 with AAC") << "hd-1920x1080-aac.txt" << "" << ""
        << 13261 << 13180 << 69 << "1920x1080" << "1:1";
    QTest::newRow("same with the version banner") << "hd-1920x1080-aac-full.txt" << "" << ""
        << 13261 << 13180 << 69 << "1920x1080" << "1:1";
    QTest::newRow("1440x1080 SAR 4:3") << "anamorphic-1440x1080-sar4-3.txt" << "" << ""
        << 10736 << 10648 << 70 << "1440x1080" << "4:3";
    QTest::newRow("1440x1080 in the PAR form") << "anamorphic-1440x1080-sar4-3.txt" << "\\[SAR " << "[PAR "
        << 10736 << 10648 << 70 << "1440x1080" << "4:3";
    QTest::newRow("720x576 SAR 16:15") << "pal-720x576-sar16-15.txt" << "" << ""
        << 3315 << 3227 << 70 << "720x576" << "16:15";
    QTest::newRow("640x480") << "vga-640x480.txt" << "" << ""
        << 2345 << 2257 << 70 << "640x480" << "1:1";
    QTest::newRow("no audio stream") << "no-audio-640x360.txt" << "" << ""
        << 1756 << 1748 << 0 << "640x360" << "1:1";
    QTest::newRow("800 kbit/s input") << "rate-800k.txt" << "" << ""
        << 810 << 727 << 69 << "640x360" << "1:1";
    QTest::newRow("AVI, no video rate: total - audio") << "mpeg4-avi.txt" << "" << ""
        << 793 << 793 - 64 << 64 << "320x240" << "1:1";
    QTest::newRow("AVI, no rates, no audio: total") << "mpeg4-avi.txt" << "^.*Audio:.*$" << ""
        << 793 << 793 << 0 << "320x240" << "1:1";
    QTest::newRow("mp4v tag next to the size") << "mpeg4-mp4v.txt" << "" << ""
        << 756 << 667 << 70 << "320x240" << "1:1";
    QTest::newRow("hex tag alone is no size") << "mpeg4-mp4v.txt" << " 320x240" << ""
        << 756 << 667 << 70 << "" << "1:1";
    QTest::newRow("later streams overwrite") << "two-video-two-audio.txt" << "" << ""
        << 7361 << 728 << 48 << "320x240" << "1:1";
    QTest::newRow("container SAR after the codec's") << "container-aspect.txt" << "" << ""
        << 2345 << 2257 << 70 << "640x480" << "4:3";
    QTest::newRow("zero aspect is ignored") << "vga-640x480.txt" << "SAR 1:1" << "SAR 0:1"
        << 2345 << 2257 << 70 << "640x480" << "";
    QTest::newRow("audio rate above the total: no video rate")
        << "mpeg4-avi.txt" << "64 kb/s" << "900 kb/s" << 793 << 0 << 900 << "320x240" << "1:1";
    QTest::newRow("a rate below zero is none") << "mpeg4-avi.txt" << "793 kb/s" << "-5 kb/s"
        << 0 << 0 << 64 << "320x240" << "1:1";
    QTest::newRow("not a video")                   << "not-a-video.txt" << "" << "" << 0 << 0 << 0 << "" << "";
    // clang-format on
}

void TestVideoConverter::parseProbe()
{
    QFETCH(QString, file);
    QFETCH(QString, pattern);
    QFETCH(QString, replacement);
    QFETCH(int, total);
    QFETCH(int, video);
    QFETCH(int, audio);
    QFETCH(QString, frameSize);
    QFETCH(QString, aspect);

    QString strText = QString::fromUtf8(TestFiles::readBytes(QStringLiteral(TEST_DATA_DIR "/ffmpeg-banners/") + file));
    QVERIFY2(!strText.isEmpty(), qPrintable(file));
    if (!pattern.isEmpty()) {
        const QString strBefore = strText;
        strText.replace(QRegularExpression(pattern, QRegularExpression::MultilineOption), replacement);
        QVERIFY(strText != strBefore);
    }
    const VideoProbe probe = VideoProbe::parse(strText);
    QCOMPARE(probe.totalBitRate, total);
    QCOMPARE(probe.videoBitRate, video);
    QCOMPARE(probe.audioBitRate, audio);
    QCOMPARE(probe.frameSize, frameSize);
    QCOMPARE(probe.aspect, aspect);
}

// The turn, colours and dates the stream description states, as the transcoder prints them.
void TestVideoConverter::probeDetails_data()
{
    QTest::addColumn<QString>("info");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<bool>("fromTag");
    QTest::addColumn<double>("odd");
    QTest::addColumn<bool>("hdr");
    QTest::addColumn<int>("bitDepth");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("created"); // local wall time, yyyyMMdd_hhmmss; empty: none

    const auto banner = [](const QString& strContainer, const QString& strFormat, const QString& strStream,
                           const QString& strExtra = QString()) -> QString {
        return QLatin1String("Input #0, mov,mp4,m4a,3gp,3g2,mj2, from 'a.mov':\n  Metadata:\n") + strContainer +
               QLatin1String("  Duration: 00:00:04.02, start: 0.000000, bitrate: 900 kb/s\n"
                             "  Stream #0:0[0x1](und): Video: hevc (Main 10) (hvc1 / 0x31637668), ") +
               strFormat + QLatin1String(", 1920x1080 [SAR 1:1 DAR 16:9], 800 kb/s, 30 fps, 30 tbr (default)\n"
                                         "    Metadata:\n      handler_name    : Core Media Video\n") +
               strStream + strExtra;
    };
    const QString str8 = QStringLiteral("yuv420p(tv, bt709)");
    const QString strHlg = QStringLiteral("yuv420p10le(tv, bt2020nc/bt2020/arib-std-b67, progressive)");
    const QString strMatrix = QStringLiteral("    Side data:\n      displaymatrix: rotation of %1 degrees\n");
    const QString strRotate = QStringLiteral("      rotate          : %1\n");
    const QString strCover = QStringLiteral("  Stream #0:2: Video: mjpeg (Baseline), yuvj420p(pc, bt470bg/unknown/unknown), "
                                            "320x240, 90k tbr, 90k tbn (attached pic)\n");
    const QString strUtc = QStringLiteral("    creation_time   : 2024-05-01T12:03:07.000000Z\n");
    const QString strTrack = QStringLiteral("      creation_time   : 2024-05-01T12:03:07.000000Z\n");
    const QString strQuickTime = QStringLiteral("    com.apple.quicktime.creationdate: 2024-05-01T14:03:07+0200\n");
    // clang-format off
    QTest::newRow("upright SDR") << banner("", str8, "") << 0 << false << 0.0 << false << 8 << "1920x1080" << "";
    QTest::newRow("phone portrait: matrix -90") << banner("", str8, "", strMatrix.arg("-90.00"))
        << 90 << false << 0.0 << false << 8 << "1080x1920" << "";
    QTest::newRow("matrix 90 is a turn of 270") << banner("", str8, "", strMatrix.arg("90.00"))
        << 270 << false << 0.0 << false << 8 << "1080x1920" << "";
    QTest::newRow("matrix -180") << banner("", str8, "", strMatrix.arg("-180.00"))
        << 180 << false << 0.0 << false << 8 << "1920x1080" << "";
    QTest::newRow("rotate tag alone") << banner("", str8, strRotate.arg(90))
        << 90 << true << 0.0 << false << 8 << "1080x1920" << "";
    QTest::newRow("matrix before the tag") << banner("", str8, strRotate.arg(90), strMatrix.arg("-90.00"))
        << 90 << false << 0.0 << false << 8 << "1080x1920" << "";
    QTest::newRow("odd angle left as stored") << banner("", str8, "", strMatrix.arg("-45.00"))
        << 0 << false << 45.0 << false << 8 << "1920x1080" << "";
    QTest::newRow("HLG, 10 bits") << banner("", strHlg, "") << 0 << false << 0.0 << true << 10 << "1920x1080" << "";
    QTest::newRow("PQ") << banner("", "yuv420p10le(tv, bt2020nc/bt2020/smpte2084)", "")
        << 0 << false << 0.0 << true << 10 << "1920x1080" << "";
    QTest::newRow("10-bit SDR is not HDR") << banner("", "p010le(tv, bt709)", "")
        << 0 << false << 0.0 << false << 10 << "1920x1080" << "";
    QTest::newRow("cover art after the video") << banner("", str8, "", strMatrix.arg("-90.00") + strCover)
        << 90 << false << 0.0 << false << 8 << "1080x1920" << "";
    QTest::newRow("creation_time in UTC") << banner(strUtc, str8, "")
        << 0 << false << 0.0 << false << 8 << "1920x1080" << "20240501_140307";
    QTest::newRow("QuickTime date in its zone first") << banner(strUtc + strQuickTime, str8, "")
        << 0 << false << 0.0 << false << 8 << "1920x1080" << "20240501_140307";
    QTest::newRow("the video track's date") << banner("", str8, strTrack)
        << 0 << false << 0.0 << false << 8 << "1920x1080" << "20240501_140307";
    QTest::newRow("an empty date") << banner("    creation_time   : 1970-01-01T00:00:00.000000Z\n", str8, "")
        << 0 << false << 0.0 << false << 8 << "1920x1080" << "";
    // clang-format on
}

void TestVideoConverter::probeDetails()
{
    QFETCH(QString, info);
    QFETCH(int, rotation);
    QFETCH(bool, fromTag);
    QFETCH(double, odd);
    QFETCH(bool, hdr);
    QFETCH(int, bitDepth);
    QFETCH(QString, shown);
    QFETCH(QString, created);

    const CentralEuropeanTime zone;
    const VideoProbe probe = VideoProbe::parse(info);
    QCOMPARE(probe.rotation, rotation);
    QCOMPARE(probe.rotationFromTag, fromTag);
    QCOMPARE(probe.oddRotation, odd);
    QCOMPARE(probe.isHdr(), hdr);
    QCOMPARE(probe.bitDepth, bitDepth);
    QCOMPARE(probe.displaySize(), shown);
    QCOMPARE(probe.creationTime.toString(QStringLiteral("yyyyMMdd_hhmmss")), created);
    QCOMPARE(probe.duration, 4.02);
}

void TestVideoConverter::fitResolution_data()
{
    QTest::addColumn<QString>("frameSize");
    QTest::addColumn<QString>("aspect");
    QTest::addColumn<int>("quality");
    QTest::addColumn<QString>("expected");

    // clang-format off
    QTest::newRow("1920x1080 high")               << "1920x1080" << "1:1" << 0 << "1920x1080";
    QTest::newRow("1920x1080 medium")             << "1920x1080" << "1:1" << 1 << "1280x720";
    QTest::newRow("1920x1080 low")                << "1920x1080" << "1:1" << 2 << "640x360";
    QTest::newRow("1920x1080 mobile")             << "1920x1080" << "1:1" << 3 << "320x180";
    QTest::newRow("1440x1080 4:3 is 1920 wide")   << "1440x1080" << "4:3" << 0 << "1920x1080";
    QTest::newRow("1440x1080 without aspect")     << "1440x1080" << "" << 0 << "1440x1080";
    QTest::newRow("720x576 16:15 low")            << "720x576" << "16:15" << 2 << "480x360";
    QTest::newRow("640x480 high is not enlarged") << "640x480" << "1:1" << 0 << "640x480";
    QTest::newRow("640x480 mobile")               << "640x480" << "1:1" << 3 << "320x240";
    QTest::newRow("portrait: the box turned")     << "1080x1920" << "1:1" << 0 << "1080x1920";
    QTest::newRow("portrait low")                 << "1080x1920" << "1:1" << 2 << "360x640";
    QTest::newRow("portrait mobile")              << "1080x1920" << "1:1" << 3 << "180x320";
    QTest::newRow("square stays in the box")      << "1500x1500" << "1:1" << 1 << "720x720";
    QTest::newRow("odd height made even")         << "854x480" << "1:1" << 2 << "640x358";
    QTest::newRow("odd size kept but even")       << "1001x563" << "" << 1 << "1000x562";
    QTest::newRow("unknown size high")            << "" << "" << 0 << "";
    QTest::newRow("unknown size medium")          << "" << "" << 1 << "";
    QTest::newRow("unknown size low")             << "" << "" << 2 << "";
    QTest::newRow("unknown size mobile")          << "" << "" << 3 << "320x240";
    QTest::newRow("zero width")                   << "0x480" << "1:1" << 0 << "";
    QTest::newRow("zero height")                  << "640x0" << "1:1" << 1 << "";
    QTest::newRow("zero part mobile")             << "0x480" << "1:1" << 3 << "320x240";
    QTest::newRow("three parts")                  << "640x480x2" << "" << 0 << "";
    QTest::newRow("zero aspect is ignored")       << "720x576" << "0:1" << 2 << "450x360";
    // clang-format on
}

void TestVideoConverter::fitResolution()
{
    QFETCH(QString, frameSize);
    QFETCH(QString, aspect);
    QFETCH(int, quality);
    QFETCH(QString, expected);
    QCOMPARE(VideoConverter::fitResolution(frameSize, aspect, quality), expected);
}

void TestVideoConverter::arguments_data()
{
    QTest::addColumn<int>("quality");
    QTest::addColumn<int>("pass");
    for (int iQuality = 0; iQuality < 4; ++iQuality) {
        for (int iPass = 1; iPass <= 2; ++iPass)
            QTest::addRow("%s pass %d", s_qualityNames[iQuality], iPass) << iQuality << iPass;
    }
}

void TestVideoConverter::arguments()
{
    QFETCH(int, quality);
    QFETCH(int, pass);
    static const char* const s_videoRates[] = {"2000k", "1000k", "256k", "256k"};

    const QStringList lstArgs = VideoConverter(QList<int>{quality}).passArguments(quality, pass);
    const QString strJoined = lstArgs.join(QLatin1Char(' '));
    // Each option once: a repeated one would silently replace the first.
    QStringList lstSeen;
    for (const QString& strArg : lstArgs) {
        if (strArg.size() > 1 && strArg.at(0) == QLatin1Char('-') && strArg.at(1).isLetter()) {
            QVERIFY2(!lstSeen.contains(strArg), qPrintable(strArg + QLatin1String(" twice in: ") + strJoined));
            lstSeen.append(strArg);
        }
    }
    // Old names that ffmpeg 5 rejects; input and size come per call.
    for (const char* pszOld : {"-flags2", "-complexityblur", "-bframebias", "-directpred", "-me_method", "-sameq",
                               "-vpre", "-b", "-i", "-s"})
        QVERIFY2(!lstArgs.contains(QLatin1String(pszOld)),
                 qPrintable(QLatin1String(pszOld) + QLatin1String(" in: ") + strJoined));
    QVERIFY2(!strJoined.contains(QLatin1String("libvo_aacenc")), qPrintable(strJoined));

    const QString strPadded = QLatin1Char(' ') + strJoined + QLatin1Char(' ');
    for (const QString& strPair :
         {QStringLiteral("-c:a aac"), QStringLiteral("-ar 44100"), QStringLiteral("-ac 2"),
          QStringLiteral("-pass %1").arg(pass), QStringLiteral("-b:v %1").arg(s_videoRates[quality]),
          QStringLiteral("-bt %1").arg(s_videoRates[quality]), QStringLiteral("-subq %1").arg(pass == 1 ? 1 : 5),
          QStringLiteral("-f mp4")})
        QVERIFY2(strPadded.contains(QLatin1Char(' ') + strPair + QLatin1Char(' ')),
                 qPrintable(strPair + QLatin1String(" missing in: ") + strJoined));
    QCOMPARE(valueAfter(lstArgs, {"-b:a", "-ab"}), quality == 3 ? QStringLiteral("64k") : QStringLiteral("96k"));
    QCOMPARE(valueAfter(lstArgs, {"-c:v", "-vcodec"}), QStringLiteral("libx264"));

    // The old -flags2, -complexityblur, -me_method and -partitions settings in the encoder's own names.
    QVERIFY2(isOneOf(valueAfter(lstArgs, {"-mixed-refs"}), {"1", "true"}), qPrintable(strJoined));
    QCOMPARE(valueAfter(lstArgs, {"-cplxblur"}).toDouble(), 20.0);
    QVERIFY2(
        isOneOf(valueAfter(lstArgs, {"-8x8dct"}), quality == 0 ? QStringList{"1", "true"} : QStringList{"0", "false"}),
        qPrintable(strJoined));
    QVERIFY2(
        isOneOf(valueAfter(lstArgs, {"-motion-est"}), pass == 1 ? QStringList{"dia", "0"} : QStringList{"hex", "1"}),
        qPrintable(strJoined));
    const QString strPartitions = valueAfter(lstArgs, {"-partitions"});
    if (pass == 1) {
        QCOMPARE(strPartitions, QStringLiteral("none"));
    } else if (strPartitions != QLatin1String("all")) {
        for (const char* pszPart : {"p8x8", "p4x4", "b8x8", "i8x8", "i4x4"})
            QVERIFY2(strPartitions.split(QLatin1Char(',')).contains(QLatin1String(pszPart)), qPrintable(strPartitions));
    }
    // B-frame settings for high and medium only; baseline for low and mobile.
    const bool blBFrames = quality < 2;
    const QString strAbsent = QStringLiteral("<absent>");
    QCOMPARE(valueAfter(lstArgs, {"-b-pyramid"}), blBFrames ? QStringLiteral("none") : strAbsent);
    QCOMPARE(valueAfter(lstArgs, {"-x264-params"}).contains(QLatin1String("b-bias=0")), blBFrames);
    QVERIFY2(isOneOf(valueAfter(lstArgs, {"-direct-pred"}),
                     blBFrames ? QStringList{"spatial", "1"} : QStringList{strAbsent}),
             qPrintable(strJoined));
    QVERIFY2(isOneOf(valueAfter(lstArgs, {"-weightb"}), blBFrames ? QStringList{"1", "true"} : QStringList{strAbsent}),
             qPrintable(strJoined));
    QCOMPARE(valueAfter(lstArgs, {"-profile:v", "-vprofile"}), blBFrames ? strAbsent : QStringLiteral("baseline"));
}

void TestVideoConverter::capBitRate_data()
{
    QTest::addColumn<int>("quality");
    QTest::addColumn<int>("pass");
    QTest::addColumn<int>("inputRate");
    QTest::addColumn<int>("tableRate");
    QTest::addColumn<QString>("expected"); // value after -b:v and -bt

    QTest::newRow("800 under high's 2000") << 0 << 1 << 800 << 2000 << "800k";
    QTest::newRow("800 under medium's 1000, pass 2") << 1 << 2 << 800 << 1000 << "800k";
    QTest::newRow("800 over low's 256") << 2 << 1 << 800 << 256 << "256k";
    QTest::newRow("800 over mobile's 256") << 3 << 2 << 800 << 256 << "256k";
    QTest::newRow("equal rate stays") << 1 << 1 << 1000 << 1000 << "1000k";
    QTest::newRow("unknown rate stays") << 0 << 2 << 0 << 2000 << "2000k";
}

void TestVideoConverter::capBitRate()
{
    QFETCH(int, quality);
    QFETCH(int, pass);
    QFETCH(int, inputRate);
    QFETCH(int, tableRate);
    QFETCH(QString, expected);

    const QStringList lstArgs = VideoConverter(QList<int>{quality}).passArguments(quality, pass);
    const QStringList lstCapped = VideoConverter::capBitRate(lstArgs, inputRate, tableRate);
    QCOMPARE(valueAfter(lstCapped, {"-b:v"}), expected);
    QCOMPARE(valueAfter(lstCapped, {"-bt"}), expected);
    // Nothing else changes.
    QStringList lstUncapped = lstCapped;
    for (int i = 1; i < lstUncapped.size(); ++i) {
        if (lstUncapped.at(i - 1) == QLatin1String("-b:v") || lstUncapped.at(i - 1) == QLatin1String("-bt"))
            lstUncapped[i] = valueAfter(lstArgs, {"-b:v"});
    }
    QCOMPARE(lstUncapped, lstArgs);
}

void TestVideoConverter::ffmpegAcceptsEveryOption_data()
{
    QTest::addColumn<int>("quality");
    for (int iQuality = 0; iQuality < 4; ++iQuality)
        QTest::newRow(s_qualityNames[iQuality]) << iQuality;
}

void TestVideoConverter::ffmpegAcceptsEveryOption()
{
    QFETCH(int, quality);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const VideoConverter converter(QList<int>{quality});
    for (int iPass = 1; iPass <= 2; ++iPass) {
        const QString strOutput = dir.path() + QStringLiteral("/out%1.mp4").arg(iPass);
        const QStringList lstArgs = QStringList{"-i", clip("tiny.mp4")} + converter.passArguments(quality, iPass) +
                                    QStringList{"-passlogfile", dir.path() + QLatin1String("/stats"), strOutput};
        const ToolRun run = runTool(QStringLiteral("ffmpeg"), lstArgs, dir.path());
        const QString strError = QString::fromUtf8(run.standardError);
        QVERIFY2(run.exitCode == 0, qPrintable(QLatin1String("ffmpeg ") + lstArgs.join(QLatin1Char(' ')) +
                                               QLatin1String("\n") + strError.right(1500)));
        QVERIFY(QFileInfo(strOutput).size() > 0);
        // Accepted but ignored by the H.264 encoder: worth knowing, not a failure.
        for (const QString& strLine : strError.split(QLatin1Char('\n'))) {
            if (strLine.contains(QLatin1String("has not been used for any stream")))
                qInfo("pass %d: %s", iPass, qPrintable(strLine.trimmed()));
        }
    }
}

void TestVideoConverter::realTranscodes_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QList<int>>("qualities");
    QTest::addColumn<QList<QSize>>("sizes"); // of the transcodes, in quality order
    QTest::addColumn<bool>("audio");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("frameRetry");     // the frame is taken at 00:00:00 after 00:00:03 failed
    QTest::addColumn<QList<QSize>>("thumbs"); // B, L, M, S, XL; empty: none may exist
    QTest::addColumn<QStringList>("logHas");
    QTest::addColumn<QStringList>("logHasNot");

    const QList<QSize> lstWideThumbs{{640, 360}, {800, 450}, {320, 180}, {120, 68}, {1280, 720}};
    const QList<QSize> lstFourThreeThumbs{{640, 480}, {800, 600}, {320, 240}, {120, 90}, {1280, 960}};
    const QStringList lstClean{"pass 2 error", "Disable Audio Encoding"};

    // clang-format off
    QTest::newRow("1920x1080 in all four") << "hd.mp4" << QList<int>{0, 1, 2, 3}
        << QList<QSize>{{1920, 1080}, {1280, 720}, {640, 360}, {320, 180}} << true << 0 << true << lstWideThumbs
        << QStringList() << lstClean;
    QTest::newRow("1440x1080 SAR 4:3 high") << "anamorphic.mp4" << QList<int>{0}
        << QList<QSize>{{1920, 1080}} << true << 0 << true << lstWideThumbs << QStringList() << lstClean;
    QTest::newRow("720x576 SAR 16:15 low") << "pal.mp4" << QList<int>{2}
        << QList<QSize>{{480, 360}} << true << 0 << true << lstFourThreeThumbs << QStringList() << lstClean;
    QTest::newRow("640x480 high is not enlarged") << "vga.mp4" << QList<int>{0}
        << QList<QSize>{{640, 480}} << true << 0 << true << lstFourThreeThumbs << QStringList() << lstClean;
    QTest::newRow("800k input high and medium") << "rate800.mp4" << QList<int>{0, 1}
        << QList<QSize>{{640, 360}, {640, 360}} << true << 0 << true << lstWideThumbs << QStringList() << lstClean;
    QTest::newRow("two seconds: frame from the start") << "short.mp4" << QList<int>()
        << QList<QSize>() << true << 0 << true << lstFourThreeThumbs << QStringList{"Make Thumbnail image: "}
        << QStringList();
    QTest::newRow("four seconds: frame at 3 s") << "long.mp4" << QList<int>()
        << QList<QSize>() << true << 0 << false << lstFourThreeThumbs << QStringList() << QStringList();
    QTest::newRow("no audio stream") << "silent.mp4" << QList<int>{2}
        << QList<QSize>{{320, 240}} << false << 0 << true << lstFourThreeThumbs << QStringList() << lstClean;
    QTest::newRow("audio the encoder refuses: -an retry") << "badaudio.mov" << QList<int>{2}
        << QList<QSize>{{320, 240}} << false << 0 << true << lstFourThreeThumbs
        << QStringList{"pass 2 error, delete file:", "Disable Audio Encoding!! Program: ", "Disable Audio Encoding: "}
        << QStringList{"video convert still error"};
    QTest::newRow("not a video") << "notes.mp4" << QList<int>{0}
        << QList<QSize>() << false << -1 << true << QList<QSize>() << QStringList()
        << QStringList{"Convert video to H264"};
    // clang-format on
}

void TestVideoConverter::realTranscodes()
{
    QFETCH(QString, source);
    QFETCH(QList<int>, qualities);
    QFETCH(QList<QSize>, sizes);
    QFETCH(bool, audio);
    QFETCH(int, result);
    QFETCH(bool, frameRetry);
    QFETCH(QList<QSize>, thumbs);
    QFETCH(QStringList, logHas);
    QFETCH(QStringList, logHasNot);

    const quint32 uId = TempFiles::nextConversionId();
    const QString strPrefix = TempFiles::tempFilePrefix(uId);
    VideoConverter converter(qualities);
    s_logLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureLog);
    const int iResult = converter.convertVideo(clip(source), uId);
    qInstallMessageHandler(previous);
    const QString strLog = s_logLines.join(QLatin1Char('\n'));
    QVERIFY2(iResult == result, qPrintable(strLog.right(3000)));

    for (const QString& strText : logHas)
        QVERIFY2(strLog.contains(strText), qPrintable(strText));
    for (const QString& strText : logHasNot)
        QVERIFY2(!strLog.contains(strText), qPrintable(strText + QLatin1String("\n") + strLog.right(3000)));
    // No intermediate transcode or two-pass statistics outlive the call.
    const QString strBase = QFileInfo(strPrefix).fileName();
    QCOMPARE(
        QDir(TempFiles::folderPath()).entryList({strBase + QLatin1String("tmp*"), strBase + QLatin1String("pass*")}),
        QStringList());

    // The frame: at 3 s first, at 0 s only when that gave nothing.
    if (result == 0) {
        const QStringList lstAtThree = logMatching(QStringLiteral("-ss\\s+\"?00:00:03"));
        const QStringList lstAtZero = logMatching(QStringLiteral("-ss\\s+\"?00:00:00"));
        QVERIFY2(!lstAtThree.isEmpty(), qPrintable(strLog.left(3000)));
        QCOMPARE(lstAtZero.isEmpty(), !frameRetry);
        if (frameRetry)
            QVERIFY(s_logLines.indexOf(lstAtThree.first()) < s_logLines.indexOf(lstAtZero.first()));
        // Each thumbnail's size hint comes before its input, where the converter reads it.
        const QStringList lstThumbs = logMatching(QStringLiteral("Video (Bigger|Smaller) Thumb Convert"));
        QCOMPARE(lstThumbs.size(), 5);
        for (const QString& strLine : lstThumbs) {
            // The big ones are made from the frame, the small ones from the big thumbnail.
            const QString strInput = strLine.contains(QLatin1String("TEMP.jpg")) ? QStringLiteral("TEMP.jpg")
                                                                                  : QStringLiteral("THUMB_B.jpg");
            const qsizetype iHint = strLine.indexOf(QLatin1String("jpeg:size="));
            QVERIFY2(iHint >= 0 && iHint < strLine.indexOf(strInput), qPrintable(strLine));
        }
    }

    for (int i = 0; i < 5; ++i) {
        const QString strThumb = strPrefix + QLatin1String(s_thumbFiles[i]);
        if (thumbs.isEmpty()) {
            QVERIFY2(!QFile::exists(strThumb), qPrintable(strThumb));
            continue;
        }
        QCOMPARE(MediaFixtures::imageSize(strThumb), thumbs.at(i));
    }

    // The low-rate input keeps its own rate in both passes of both qualities.
    if (source == QLatin1String("rate800.mp4")) {
        const QList<QJsonObject> lstInput = streamsOfType(probeStreams(clip(source)), "video");
        QCOMPARE(lstInput.size(), 1);
        const int iInputRate = int(lstInput.first().value("bit_rate").toString().toLongLong() / 1000);
        QVERIFY2(iInputRate > 0 && iInputRate < 1000, qPrintable(QString::number(iInputRate)));
        const QString strRate = QString::number(iInputRate) + QLatin1Char('k');
        const QStringList lstConvert = s_logLines.filter(QLatin1String("Convert video to H264"));
        QCOMPARE(lstConvert.size(), 4);
        for (const QString& strLine : lstConvert) {
            for (const char* pszFlag : {"-b:v", "-bt"}) {
                const QRegularExpression rate(QLatin1String(pszFlag) + QLatin1String("\\s+\"?") + strRate +
                                              QLatin1String("\"?(\\s|$)"));
                QVERIFY2(rate.match(strLine).hasMatch(), qPrintable(strRate + QLatin1String(" not in: ") + strLine));
            }
        }
    }

    for (int iQuality = 0; iQuality < 4; ++iQuality) {
        const QString strFilm = strPrefix + QLatin1String(s_filmFiles[iQuality]);
        const int iIndex = int(qualities.indexOf(iQuality));
        if (iIndex < 0 || result != 0) {
            QVERIFY2(!QFile::exists(strFilm), qPrintable(strFilm));
            continue;
        }
        QVERIFY2(MediaCheck::isCompleteMp4File(strFilm),
                 qPrintable(strFilm + QLatin1String("\n") + strLog.right(3000)));
        const QList<QJsonObject> lstStreams = probeStreams(strFilm);
        const QList<QJsonObject> lstVideo = streamsOfType(lstStreams, "video");
        const QList<QJsonObject> lstAudio = streamsOfType(lstStreams, "audio");
        QCOMPARE(lstVideo.size(), 1);
        const QJsonObject& video = lstVideo.first();
        QCOMPARE(video.value("codec_name").toString(), QStringLiteral("h264"));
        QCOMPARE(QSize(video.value("width").toInt(), video.value("height").toInt()), sizes.at(iIndex));
        QCOMPARE(video.value("sample_aspect_ratio").toString(), QStringLiteral("1:1"));
        // The encoder profile of the quality.
        static const char* const s_profiles[] = {"High", "Main", "Baseline", "Baseline"};
        static const int s_levels[] = {41, 31, 13, 13};
        QVERIFY2(video.value("profile").toString().endsWith(QLatin1String(s_profiles[iQuality])),
                 qPrintable(video.value("profile").toString()));
        QCOMPARE(video.value("level").toInt(), s_levels[iQuality]);
        QCOMPARE(lstAudio.size(), audio ? 1 : 0);
        if (audio)
            QCOMPARE(lstAudio.first().value("codec_name").toString(), QStringLiteral("aac"));
        QVERIFY2(moovFirst(strFilm), qPrintable(topLevelBoxes(strFilm).join(QLatin1Char(' '))));
    }
}

// Phone and camera videos of today: turned by a display matrix or a tag, HDR in 10 bits, HEVC,
// VP9 and AV1. Every transcode and thumbnail is upright (the red block in the corner a player
// shows it in), shaped as shown, 8-bit 4:2:0 in the quality's profile, without HDR transfer or
// turn left in it.
void TestVideoConverter::uprightAndPlayable_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("encode"); // codec arguments for the marked clip
    QTest::addColumn<QString>("turn");        // metadata set by a stream copy afterwards
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<QString>("corner");
    QTest::addColumn<bool>("matrix"); // the transcoder's own player turns it too: its frame is the reference
    QTest::addColumn<bool>("hdr");

    const QStringList lstH264{"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac"};
    const auto hevc10 = [](const char* pszTransfer) {
        return QStringList{"-c:v", "libx265", "-preset", "ultrafast", "-pix_fmt", "yuv420p10le", "-x265-params",
                           QStringLiteral("log-level=error:colorprim=bt2020:colormatrix=bt2020nc:transfer=%1")
                               .arg(QLatin1String(pszTransfer)),
                           "-c:a", "aac"};
    };
    // The low quality's box is 640x360, turned upright for a picture higher than wide.
    const QSize wide(640, 360);
    const QSize tall(360, 640);
    // clang-format off
    QTest::newRow("no turn") << "plain.mp4" << lstH264 << "" << wide << "tl" << true << false;
    QTest::newRow("matrix 90") << "m90.mp4" << lstH264 << "rotate=90" << tall << "bl" << true << false;
    QTest::newRow("matrix 180") << "m180.mp4" << lstH264 << "rotate=180" << wide << "br" << true << false;
    QTest::newRow("matrix 270") << "m270.mp4" << lstH264 << "rotate=270" << tall << "tr" << true << false;
    QTest::newRow("legacy tag 90") << "tag90.mkv" << lstH264 << "ROTATE=90" << tall << "tr" << false << false;
    QTest::newRow("HLG 10-bit HEVC") << "hlg.mp4" << hevc10("arib-std-b67") << "" << wide << "tl" << true << true;
    QTest::newRow("PQ 10-bit HEVC, turned") << "pq.mov" << hevc10("smpte2084") << "rotate=90" << tall << "bl" << true
                                            << true;
    QTest::newRow("HEVC in mkv") << "hevc.mkv"
        << QStringList{"-c:v", "libx265", "-preset", "ultrafast", "-x265-params", "log-level=error", "-c:a", "aac"}
        << "" << wide << "tl" << true << false;
    QTest::newRow("VP9 in webm") << "vp9.webm"
        << QStringList{"-c:v", "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8", "-c:a", "libopus"}
        << "" << wide << "tl" << true << false;
    QTest::newRow("AV1 in mp4") << "av1.mp4"
        << QStringList{"-c:v", "libaom-av1", "-cpu-used", "8", "-crf", "40", "-c:a", "aac"}
        << "" << wide << "tl" << true << false;
    // clang-format on
}

void TestVideoConverter::uprightAndPlayable()
{
    QFETCH(QString, file);
    QFETCH(QStringList, encode);
    QFETCH(QString, turn);
    QFETCH(QSize, shown);
    QFETCH(QString, corner);
    QFETCH(bool, matrix);
    QFETCH(bool, hdr);

    const QStringList lstMarked{"-f", "lavfi", "-i",
                                "color=c=0x1e3cc8:s=640x360:r=25:d=1,drawbox=x=0:y=0:w=128:h=72:color=0xdc1e1e:t=fill",
                                "-f", "lavfi", "-i", "sine=frequency=440:duration=1", "-shortest"};
    const QString strSuffix = QLatin1Char('.') + QFileInfo(file).suffix();
    QVERIFY(makeClip(turn.isEmpty() ? file : QLatin1String("unturned") + strSuffix, lstMarked + encode));
    if (!turn.isEmpty())
        QVERIFY(makeClip(file, {"-i", clip(QLatin1String("unturned") + strSuffix), "-c", "copy", "-metadata:s:v:0", turn}));
    if (matrix)
        QCOMPARE(MediaFixtures::redCorner(clip(file)), corner);

    const QList<int> lstQualities{0, 2};
    VideoConverter converter(lstQualities);
    const quint32 uId = TempFiles::nextConversionId();
    s_logLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureLog);
    const int iResult = converter.convertVideo(clip(file), uId);
    qInstallMessageHandler(previous);
    QVERIFY2(iResult == 0, qPrintable(s_logLines.join(QLatin1Char('\n')).right(3000)));
    QCOMPARE(converter.lastProbe().isHdr(), hdr);
    QCOMPARE(converter.note(), QString());

    const QString strPrefix = TempFiles::tempFilePrefix(uId);
    for (int iQuality : lstQualities) {
        const QString strFilm = strPrefix + QLatin1String(s_filmFiles[iQuality]);
        const QList<QJsonObject> lstVideo = streamsOfType(probeStreams(strFilm), "video");
        QCOMPARE(lstVideo.size(), 1);
        const QJsonObject& video = lstVideo.first();
        const QByteArray baWhat = QByteArray(s_qualityNames[iQuality]) + ": " + QJsonDocument(video).toJson();
        QVERIFY2(QSize(video.value("width").toInt(), video.value("height").toInt()) == shown, baWhat.constData());
        QVERIFY2(video.value("pix_fmt").toString() == QLatin1String("yuv420p"), baWhat.constData());
        QVERIFY2(video.value("profile").toString().endsWith(QLatin1String(iQuality == 0 ? "High" : "Baseline")),
                 baWhat.constData());
        QVERIFY2(video.value("color_transfer").toString() == (hdr ? QLatin1String("bt709") : QString()),
                 baWhat.constData());
        QVERIFY2(!video.contains("side_data_list") && video.value("tags").toObject().isEmpty(), baWhat.constData());
        QCOMPARE(MediaFixtures::redCorner(strFilm), corner);
        // HDR tone mapped into BT.709 keeps the red saturated; a picture only relabelled comes out
        // washed out (green and blue near 30 in the red block).
        const QList<double> lstRed = MediaFixtures::cornerColours(strFilm).value(corner);
        QVERIFY2(!hdr || (lstRed.size() == 3 && lstRed.at(1) < 20 && lstRed.at(2) < 20),
                 qPrintable(QStringLiteral("%1 %2 %3").arg(lstRed.value(0)).arg(lstRed.value(1)).arg(lstRed.value(2))));
    }
    // The frame thumbnails: the video's shape, enlarged to the box, upright.
    const QSize xl = shown.width() > shown.height() ? QSize(1280, 720) : QSize(720, 1280);
    QCOMPARE(MediaFixtures::imageSize(strPrefix + QLatin1String("THUMB_XL.jpg")), xl);
    QCOMPARE(MediaFixtures::redCorner(strPrefix + QLatin1String("THUMB_XL.jpg")), corner);
    QCOMPARE(MediaFixtures::redCorner(strPrefix + QLatin1String("THUMB_S.jpg")), corner);
}

// A video's capture-time name: the container's creation date, else its file time.
void TestVideoConverter::captureTime_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("metadata");
    QTest::addColumn<QString>("name");

    // clang-format off
    QTest::newRow("QuickTime date in its own zone, before creation_time") << "phone.mov"
        << QStringList{"-metadata", "com.apple.quicktime.creationdate=2024-05-01T14:03:07+0200",
                       "-metadata", "creation_time=2024-05-01T09:00:00Z", "-movflags", "use_metadata_tags"}
        << "IMG_20240501_140307.mov";
    QTest::newRow("creation_time in UTC, named in local time") << "cam.mp4"
        << QStringList{"-metadata", "creation_time=2024-05-01T12:03:07.000000Z"} << "IMG_20240501_140307.mp4";
    QTest::newRow("no date: the file time") << "copy.mkv" << QStringList() << "IMG_20200202_020202.mkv";
    QTest::newRow("an empty 1970 date: the file time") << "zero.mp4"
        << QStringList{"-metadata", "creation_time=1970-01-01T00:00:00Z"} << "IMG_20200202_020202.mp4";
    // clang-format on
}

void TestVideoConverter::captureTime()
{
    QFETCH(QString, file);
    QFETCH(QStringList, metadata);
    QFETCH(QString, name);
    QVERIFY(makeClip(file, QStringList{"-i", clip("tiny.mp4"), "-c", "copy"} + metadata));
    const CentralEuropeanTime zone;
    QVERIFY(TestFiles::setModified(clip(file), QDateTime(QDate(2020, 2, 2), QTime(2, 2, 2))));
    QCOMPARE(UploadPlan::baseStoredName(clip(file), true), name);
    QCOMPARE(UploadPlan::baseStoredName(clip(file), false), file);
}

void TestVideoConverter::throughTheServer()
{
    QVERIFY(AppIdentity::ensureDataFolder());
    QVERIFY(VelmDatabase::open());
    const auto closeDatabase = qScopeGuard([]() { VelmDatabase::close(); });
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);

    const QString strRoot = m_env.root() + QLatin1String("/server");
    QVERIFY(QDir().mkpath(strRoot + QLatin1String("/photo/2013/trip")));
    RefServerProcess server(strRoot);
    server.setAccounts(QJsonObject{{"accounts", QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}}}}});
    QVERIFY(server.start());
    ServerProfile profile;
    ProfileStore::fillRecord(profile, QStringLiteral("home"), server.host(), server.port(), false,
                             QStringLiteral("ann"), QStringLiteral("pw"), true, QString(), false, true, true, false,
                             QStringLiteral("RENAME"), QString(), {});
    profile.qualities = {2, 0};
    QNetworkAccessManager nam;
    QVERIFY(logIn(&nam, &profile));

    const QString strVideo = m_env.root() + QLatin1String("/local/clip.mp4");
    QVERIFY(QDir().mkpath(QFileInfo(strVideo).absolutePath()));
    QVERIFY(QFile::copy(clip("short.mp4"), strVideo));

    UploadQueue queue;
    const UploadJobList lstJobs{{{JobLocalPath, strVideo}, {JobDestination, QStringLiteral("2013/trip")}}};
    QVERIFY(convertAndUpload(lstJobs, &queue, &nam, &profile));
    QCOMPARE(queue.succeeded, 1);
    QCOMPARE(queue.failed, 0);

    QStringList lstTypes;
    for (const QJsonObject& entry : server.journalFor(QStringLiteral("rada_file_upload.php"))) {
        for (const QJsonValue& header : entry.value("headers").toArray()) {
            const QJsonArray pair = header.toArray();
            if (pair.at(0).toString().compare(QLatin1String("X-UPLOAD-TYPE"), Qt::CaseInsensitive) == 0)
                lstTypes.append(pair.at(1).toString().trimmed());
        }
    }
    QCOMPARE(lstTypes,
             QStringList({"THUM_B", "THUM_L", "THUM_M", "THUM_S", "THUM_XL", "MP4_LOW", "MP4_HIGH", "ORIG_FILE"}));

    const QString strAlbum = strRoot + QLatin1String("/photo/2013/trip/");
    QCOMPARE(TestFiles::readBytes(strAlbum + QLatin1String("clip.mp4")), TestFiles::readBytes(strVideo));
    const QString strRenditions = strAlbum + QLatin1String(".renditions/clip.mp4/");
    QCOMPARE(QDir(strRenditions).entryList(QDir::Files, QDir::Name),
             QStringList({"MP4_HIGH.mp4", "MP4_LOW.mp4", "THUM_B.jpg", "THUM_L.jpg", "THUM_M.jpg", "THUM_S.jpg",
                          "THUM_XL.jpg"}));
    // What arrived is the transcode itself.
    for (const char* pszName : {"MP4_HIGH.mp4", "MP4_LOW.mp4"}) {
        const QString strPath = strRenditions + QLatin1String(pszName);
        const QList<QJsonObject> lstVideo = streamsOfType(probeStreams(strPath), "video");
        QCOMPARE(lstVideo.size(), 1);
        QCOMPARE(lstVideo.first().value("width").toInt(), 320);
        QVERIFY(moovFirst(strPath));
    }
}

QTEST_GUILESS_MAIN(TestVideoConverter)
#include "tst_videoconverter.moc"
