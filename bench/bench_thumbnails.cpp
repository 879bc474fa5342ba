// bench_thumbnails [PHOTOS]: makes PHOTOS (default 3) noisy 6000x4000 JPEGs, then makes the five
// thumbnails of each with `convert`, once with the JPEG decode-size hint before the input and once
// after it, and once with the program's ImageThumbnailer. Prints wall time and the tools' CPU time
// (user + system) per photo for each way, the cost of decoding one photo alone, and the ratios.

#include "MediaFixtures.h"
#include "upload/ImageThumbnailer.h"
#include "TempFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/resource.h>

#include "BenchMeter.h"

#include <cstdio>

namespace {

const int kThumbnailSizes[] = {640, 800, 320, 120, 1280};
const int kPhotoWidth = 6000;
const int kPhotoHeight = 4000;


bool runConvert(const QStringList& lstArgs)
{
    QProcess process;
    process.start(QStringLiteral("convert"), lstArgs);
    if (!process.waitForStarted() || !process.waitForFinished(600000)) {
        process.kill();
        process.waitForFinished();
        std::fprintf(stderr, "bench_thumbnails: convert did not run or did not finish\n");
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "bench_thumbnails: convert failed: %s\n",
                     process.readAllStandardError().trimmed().constData());
        return false;
    }
    return true;
}

QStringList thumbnailTail(const QString& strGeometry, const QString& strOutput)
{
    return {QStringLiteral("-thumbnail"), strGeometry, QStringLiteral("-strip"), QStringLiteral("-flatten"),
            QStringLiteral("-quality"), QStringLiteral("80"), QStringLiteral("-auto-orient"),
            QStringLiteral("-colorspace"), QStringLiteral("RGB"), QStringLiteral("-unsharp"),
            QStringLiteral("0.5x0.5+1.25+0.0"), QStringLiteral("-colorspace"), QStringLiteral("sRGB"), strOutput};
}

// The five thumbnails of one photo, each from the source; the hint goes before or after the input.
bool makeFive(const QString& strInput, const QString& strOutPrefix, bool blHintBefore)
{
    for (const int iSize : kThumbnailSizes) {
        const QString strGeometry = QString::number(iSize) + QLatin1Char('x') + QString::number(iSize) + QLatin1Char('>');
        const QString strHint = QLatin1String("jpeg:size=") + strGeometry;
        const QString strOutput = strOutPrefix + QString::number(iSize) + QLatin1String(".jpg");
        QStringList lstArgs;
        if (blHintBefore)
            lstArgs << QStringLiteral("-define") << strHint << strInput;
        else
            lstArgs << strInput << QStringLiteral("-define") << strHint;
        lstArgs << thumbnailTail(strGeometry, strOutput);
        if (!runConvert(lstArgs))
            return false;
    }
    return true;
}

void printCost(const char* pszName, const Cost& total, int iPhotos)
{
    std::printf("%s wall_s=%.2f cpu_s=%.2f per_photo\n", pszName, total.wall / iPhotos, total.cpu / iPhotos);
}

int fail(const char* pszWhat)
{
    std::fprintf(stderr, "bench_thumbnails: %s\n", pszWhat);
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int iPhotos = argc > 1 ? QByteArray(argv[1]).toInt() : 3;
    if (iPhotos <= 0)
        return fail("usage: bench_thumbnails [PHOTOS]");

    QTemporaryDir dir;
    if (!dir.isValid())
        return fail("cannot make a temporary folder");
    // The program's renditions land in this folder too.
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    const QString strOut = dir.path() + QLatin1String("/out");
    QDir().mkpath(strOut);

    QStringList lstPhotos;
    qint64 iBytes = 0;
    Meter making;
    for (int i = 0; i < iPhotos; ++i) {
        const QString strPhoto = dir.path() + QStringLiteral("/photo_%1.jpg").arg(i + 1);
        if (!MediaFixtures::makeJpeg(strPhoto, kPhotoWidth, kPhotoHeight, QStringLiteral("2024:05:01 10:00:00")))
            return fail("cannot make the photos");
        iBytes += QFileInfo(strPhoto).size();
        lstPhotos << strPhoto;
    }
    std::printf("photos=%d size=%dx%d avg_bytes=%lld made_in_s=%.1f\n", iPhotos, kPhotoWidth, kPhotoHeight,
                static_cast<long long>(iBytes / iPhotos), making.elapsed().wall);
    std::fflush(stdout);

    // Decoding one photo alone, the floor for a thumbnail made from the full picture.
    Meter decoding;
    if (!runConvert({lstPhotos.first(), QStringLiteral("null:")}))
        return fail("cannot decode a photo");
    const Cost decode = decoding.elapsed();
    std::printf("decode_only wall_s=%.2f cpu_s=%.2f one_photo\n", decode.wall, decode.cpu);
    std::fflush(stdout);

    Cost before;
    Cost after;
    Cost program;
    bool blProgram = TempFiles::ensureFolder();
    for (int i = 0; i < iPhotos; ++i) {
        const QString& strPhoto = lstPhotos.at(i);
        const QString strTag = QString::number(i + 1) + QLatin1Char('_');

        Meter meterBefore;
        if (!makeFive(strPhoto, strOut + QLatin1String("/before_") + strTag, true))
            return fail("the thumbnails with the hint before the input failed");
        before += meterBefore.elapsed();

        Meter meterAfter;
        if (!makeFive(strPhoto, strOut + QLatin1String("/after_") + strTag, false))
            return fail("the thumbnails with the hint after the input failed");
        after += meterAfter.elapsed();

        if (blProgram) {
            ImageThumbnailer thumbnailer;
            const quint32 uId = TempFiles::nextConversionId();
            Meter meterProgram;
            const int iResult = thumbnailer.makeThumbnails(strPhoto, uId);
            program += meterProgram.elapsed();
            blProgram = iResult == 0;
            TempFiles::emptyFolder();
        }
    }

    // Both ways must give the same thumbnail sizes, or the times compare different work.
    for (const int iSize : kThumbnailSizes) {
        const QString strName = QStringLiteral("1_%1.jpg").arg(iSize);
        const QSize sizeBefore = MediaFixtures::imageSize(strOut + QLatin1String("/before_") + strName);
        const QSize sizeAfter = MediaFixtures::imageSize(strOut + QLatin1String("/after_") + strName);
        if (!sizeBefore.isValid() || sizeBefore != sizeAfter)
            return fail("the two ways made thumbnails of different sizes");
    }

    printCost("hint_before", before, iPhotos);
    printCost("hint_after", after, iPhotos);
    if (blProgram)
        printCost("program", program, iPhotos);
    else
        std::printf("program=unavailable\n");
    if (before.wall > 0 && before.cpu > 0) {
        std::printf("ratio hint_after/hint_before wall=%.2f cpu=%.2f", after.wall / before.wall, after.cpu / before.cpu);
        if (blProgram)
            std::printf(" program/hint_before wall=%.2f cpu=%.2f", program.wall / before.wall,
                        program.cpu / before.cpu);
        std::printf("\n");
    }
    return 0;
}
