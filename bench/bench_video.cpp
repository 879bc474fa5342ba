// bench_video [SECONDS]: makes a SECONDS-long (default 10) 1920x1080 clip with a tone, then has the
// program's VideoConverter make it once per quality (a converter with just that quality). Prints the
// wall time and the tools' CPU time (user + system) of each call and per second of video, and the
// thumbnail step alone (a converter with no quality: probe, frame grab, five thumbnails), which
// every quality's call includes.

#include "TempFiles.h"
#include "upload/VideoConverter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include "BenchMeter.h"

#include <cstdio>

namespace {

const char* const kQualityNames[] = {"high", "medium", "low", "mobile"};
const char* const kOutputFiles[] = {"FILM_H.mp4", "FILM_M.mp4", "FILM_L.mp4", "FILM_MOBILE.mp4"};

// One convertVideo call with the given qualities; result in *piResult.
Cost convertOnce(const QString& strClip, const QList<int>& lstQualities, int* piResult, quint32* puId)
{
    VideoConverter converter(lstQualities);
    *puId = TempFiles::nextConversionId();
    const Meter meter;
    *piResult = converter.convertVideo(strClip, *puId);
    return meter.elapsed();
}

int fail(const char* pszWhat)
{
    std::fprintf(stderr, "bench_video: %s\n", pszWhat);
    return 1;
}

// Keeps the converter's debug lines off the benchmark's output.
void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int iSeconds = argc > 1 ? QByteArray(argv[1]).toInt() : 10;
    if (iSeconds <= 0)
        return fail("usage: bench_video [SECONDS]");

    QTemporaryDir dir;
    if (!dir.isValid())
        return fail("cannot make a temporary folder");
    // The program's renditions land in this folder too.
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    if (!TempFiles::ensureFolder())
        return fail("cannot make the program's temporary folder");

    const QString strClip = dir.path() + QLatin1String("/clip.mp4");
    QElapsedTimer making;
    making.start();
    const QString strDuration = QString::number(iSeconds);
    const int iMade =
        QProcess::execute(QStringLiteral("ffmpeg"), {"-v",
                                                     "error",
                                                     "-y",
                                                     "-f",
                                                     "lavfi",
                                                     "-i",
                                                     "testsrc2=size=1920x1080:rate=25:duration=" + strDuration,
                                                     "-f",
                                                     "lavfi",
                                                     "-i",
                                                     "sine=frequency=440:duration=" + strDuration,
                                                     "-c:v",
                                                     "libx264",
                                                     "-preset",
                                                     "veryfast",
                                                     "-pix_fmt",
                                                     "yuv420p",
                                                     "-c:a",
                                                     "aac",
                                                     "-shortest",
                                                     strClip});
    if (iMade != 0 || QFileInfo(strClip).size() == 0)
        return fail("cannot make the clip");
    std::printf("clip=1920x1080 seconds=%d bytes=%lld made_in_s=%.1f\n", iSeconds,
                static_cast<long long>(QFileInfo(strClip).size()), double(making.elapsed()) / 1000.0);
    std::fflush(stdout);

    qInstallMessageHandler(quiet);
    int iResult = -1;
    quint32 uId = 0;
    const Cost thumbs = convertOnce(strClip, {}, &iResult, &uId);
    if (iResult != 0 || QFileInfo(TempFiles::tempFilePrefix(uId) + QLatin1String("THUMB_XL.jpg")).size() == 0)
        return fail("the thumbnail step failed");
    std::printf("step=thumbnails wall_s=%.2f cpu_s=%.2f\n", thumbs.wall, thumbs.cpu);
    std::fflush(stdout);
    TempFiles::emptyFolder();

    int iFailed = 0;
    for (int iQuality = 0; iQuality < 4; ++iQuality) {
        const Cost cost = convertOnce(strClip, {iQuality}, &iResult, &uId);
        const QString strOutput = TempFiles::tempFilePrefix(uId) + QLatin1String(kOutputFiles[iQuality]);
        const qint64 iBytes = QFileInfo(strOutput).size();
        if (iResult != 0 || iBytes == 0) {
            std::printf("quality=%s failed result=%d\n", kQualityNames[iQuality], iResult);
            ++iFailed;
        } else {
            std::printf("quality=%s wall_s=%.2f per_second_of_video=%.3f cpu_s=%.2f output_bytes=%lld\n",
                        kQualityNames[iQuality], cost.wall, cost.wall / iSeconds, cost.cpu,
                        static_cast<long long>(iBytes));
        }
        std::fflush(stdout);
        TempFiles::emptyFolder();
    }
    return iFailed == 0 ? 0 : 1;
}
