// bench_todaysphotos [ROUNDS]: the five thumbnails of photos of today's phones and cameras, on one
// core. A 12-megapixel HEIC (made from a noisy, photo-like JPEG); a 24-megapixel RAW (DNG) with an
// embedded 1616x1080 preview, through the RAW library and through the dcraw tool; and the same RAW
// without a preview (the library's half-size decode against dcraw's full decode). Prints wall and
// CPU time (the process and its tools) per photo, the best of ROUNDS (default 3).

// The image library first: GLib names a member "signals", which Qt defines.
#include <vips/vips8>

#include "MediaFixtures.h"
#include "upload/FastThumbnails.h"
#include "upload/ImageThumbnailer.h"
#include "TempFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QThread>

#include <sched.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// User + system time of this process and of its tools that have ended.
double cpuSeconds()
{
    double dTotal = 0;
    for (int iWho : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        if (getrusage(iWho, &usage) == 0)
            dTotal += double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                      double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    return dTotal;
}

struct Best
{
    double wall = 1e9;
    double cpu = 1e9;
};

// The best wall time (and the CPU time of that round) of fnWork over iRounds; false when it fails.
bool measure(int iRounds, const std::function<bool()>& fnWork, Best* pBest)
{
    for (int i = 0; i < iRounds; ++i) {
        QElapsedTimer timer;
        const double dCpu = cpuSeconds();
        timer.start();
        const bool blOk = fnWork();
        const double dWall = double(timer.nsecsElapsed()) / 1e9;
        const double dUsed = cpuSeconds() - dCpu;
        TempFiles::emptyFolder();
        if (!blOk)
            return false;
        if (dWall < pBest->wall)
            *pBest = Best{dWall, dUsed};
    }
    return true;
}

bool thumbnails(const QString& strPhoto, ImageThumbnailer::Engine engine)
{
    ImageThumbnailer thumbnailer;
    thumbnailer.setEngine(engine);
    return thumbnailer.makeThumbnails(strPhoto, TempFiles::nextConversionId()) == 0;
}

// The dcraw tool for the RAW step, the in-process engine for the thumbnails: the RAW decoders alone
// differ from the library's way.
bool dcrawThenFast(const QString& strPhoto)
{
    ImageThumbnailer thumbnailer;
    const QString strPrefix = TempFiles::tempFilePrefix(TempFiles::nextConversionId());
    const QString strSource = thumbnailer.extractRawSource(strPhoto, strPrefix);
    if (strSource.isEmpty())
        return false;
    QList<FastThumbnails::Output> lstOutputs;
    for (int iSize : {640, 800, 320, 120, 1280})
        lstOutputs.append({iSize, strPrefix + QStringLiteral("T%1.jpg").arg(iSize)});
    return FastThumbnails::make(strSource, lstOutputs, 80, nullptr) == FastThumbnails::Made;
}

void print(const char* pszName, const Best& best)
{
    std::printf("%-28s wall_s=%.3f cpu_s=%.3f\n", pszName, best.wall, best.cpu);
    std::fflush(stdout);
}

int fail(const char* pszWhat)
{
    std::fprintf(stderr, "bench_todaysphotos: %s\n", pszWhat);
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The figures only: the program's diagnostics stay out of the way.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    if (VIPS_INIT(argv[0]) != 0)
        return fail("cannot start the image library");
    const int iRounds = argc > 1 ? QByteArray(argv[1]).toInt() : 3;
    if (iRounds <= 0)
        return fail("usage: bench_todaysphotos [ROUNDS]");
    QTemporaryDir dir;
    if (!dir.isValid())
        return fail("cannot make a temporary folder");
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    if (!TempFiles::ensureFolder())
        return fail("cannot make the temporary folder");

    // The photos, made before the process is held to one core.
    const QString strJpeg = dir.path() + QLatin1String("/source.jpg");
    const QString strHeic = dir.path() + QLatin1String("/IMG_0001.HEIC");
    if (!MediaFixtures::makeJpeg(strJpeg, 4032, 3024, QStringLiteral("2024:05:01 14:03:07"), 6))
        return fail("cannot make the JPEG");
    try {
        vips::VImage::new_from_file(QFile::encodeName(strJpeg).constData())
            .heifsave(QFile::encodeName(strHeic).constData(), vips::VImage::option()->set("Q", 50));
    } catch (const vips::VError& error) {
        return fail(error.what());
    }
    const QString strRawPreview = dir.path() + QLatin1String("/preview.dng");
    const QString strRawBare = dir.path() + QLatin1String("/bare.dng");
    if (!MediaFixtures::makeDng(strRawPreview, 6000, 4000, 1616, 1080) || !MediaFixtures::makeDng(strRawBare, 6000, 4000))
        return fail("cannot make the RAW photos");
    std::printf("heic=%dx%d %lld bytes; raw=6000x4000 %lld bytes with a 1616x1080 preview\n", 4032, 3024,
                static_cast<long long>(QFileInfo(strHeic).size()), static_cast<long long>(QFileInfo(strRawPreview).size()));

    // The HEIC once with every core the machine has, for comparison.
    Best heicAllCores;
    if (!measure(iRounds, [&]() { return thumbnails(strHeic, ImageThumbnailer::Fast); }, &heicAllCores))
        return fail("the HEIC thumbnails failed");
    std::printf("cores=%d\n", QThread::idealThreadCount());
    print("heic_12mp_all_cores", heicAllCores);

    // One core for this process and every tool it starts.
    cpu_set_t cpus;
    CPU_ZERO(&cpus);
    CPU_SET(0, &cpus);
    if (sched_setaffinity(0, sizeof(cpus), &cpus) != 0)
        return fail("cannot hold the process to one core");
    std::printf("rounds=%d, one core; best round per way\n", iRounds);

    Best heic, rawLibrary, rawDcrawFast, rawTools, bareLibrary, bareDcrawFast;
    if (!measure(iRounds, [&]() { return thumbnails(strHeic, ImageThumbnailer::Fast); }, &heic))
        return fail("the HEIC thumbnails failed");
    print("heic_12mp", heic);
    // The floor: the HEIF library's decode of the whole picture alone, nothing made from it.
    Best heicDecode;
    if (!measure(
            iRounds,
            [&]() {
                try {
                    vips::VImage::new_from_file(QFile::encodeName(strHeic).constData()).copy_memory();
                    return true;
                } catch (const vips::VError&) {
                    return false;
                }
            },
            &heicDecode))
        return fail("the HEIC decode failed");
    print("heic_12mp_decode_only", heicDecode);
    if (!measure(iRounds, [&]() { return thumbnails(strRawPreview, ImageThumbnailer::Fast); }, &rawLibrary) ||
        !measure(iRounds, [&]() { return dcrawThenFast(strRawPreview); }, &rawDcrawFast) ||
        !measure(iRounds, [&]() { return thumbnails(strRawPreview, ImageThumbnailer::Tools); }, &rawTools))
        return fail("the RAW thumbnails failed");
    print("raw_preview_libraw", rawLibrary);
    print("raw_preview_dcraw_then_vips", rawDcrawFast);
    print("raw_preview_dcraw_convert", rawTools);
    if (!measure(iRounds, [&]() { return thumbnails(strRawBare, ImageThumbnailer::Fast); }, &bareLibrary) ||
        !measure(iRounds, [&]() { return dcrawThenFast(strRawBare); }, &bareDcrawFast))
        return fail("the RAW decodes failed");
    print("raw_decode_libraw_half", bareLibrary);
    print("raw_decode_dcraw_full", bareDcrawFast);
    std::printf("ratio raw_preview dcraw_then_vips/libraw wall=%.2f; raw_decode dcraw/libraw wall=%.2f; "
                "heic target 0.6 s on one core: %s\n",
                rawDcrawFast.wall / rawLibrary.wall, bareDcrawFast.wall / bareLibrary.wall,
                heic.wall <= 0.6 ? "met" : "missed");
    return 0;
}
