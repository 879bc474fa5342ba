// The image library first: GLib names a member "signals", which Qt defines.
#include <vips/vips8>

#include "MediaFixtures.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QtEndian>

#include <exiv2/exiv2.hpp>
#include <libheif/heif.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

const int kToolTimeoutMs = 180000;

// Runs an image tool (no shell); true when it exits with 0. Its output goes to *pOut when given.
bool runTool(const QString& strProgram, const QStringList& lstArgs, QByteArray* pOut = nullptr)
{
    QProcess process;
    process.start(strProgram, lstArgs);
    if (!process.waitForStarted() || !process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        qWarning("MediaFixtures: %s did not run or did not finish", qPrintable(strProgram));
        return false;
    }
    const QByteArray baOut = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning("MediaFixtures: %s failed: %s", qPrintable(strProgram),
                 process.readAllStandardError().trimmed().constData());
        return false;
    }
    if (pOut)
        *pOut = baOut;
    return true;
}

// The same picture for the same file name, a different one for another name.
QString seedFor(const QString& strPath)
{
    quint32 uHash = 2166136261u;
    for (const char c : QFileInfo(strPath).fileName().toUtf8())
        uHash = (uHash ^ quint8(c)) * 16777619u;
    return QString::number(uHash % 1000000u + 1);
}

QString geometry(int iWidth, int iHeight)
{
    return QString::number(iWidth) + QLatin1Char('x') + QString::number(iHeight);
}

// A soft fractal at a quarter of the size, scaled up: far quicker than a full-size plasma.
QStringList plasmaArgs(const QString& strPath, int iWidth, int iHeight)
{
    const int iSmallW = std::max(1, (iWidth + 3) / 4);
    const int iSmallH = std::max(1, (iHeight + 3) / 4);
    return {QStringLiteral("-size"), geometry(iSmallW, iSmallH), QStringLiteral("-seed"), seedFor(strPath),
            QStringLiteral("plasma:fractal"), QStringLiteral("-resize"), geometry(iWidth, iHeight) + QLatin1Char('!')};
}

bool ensureParent(const QString& strPath)
{
    return QDir().mkpath(QFileInfo(strPath).absolutePath());
}

bool writeExifTags(const QString& strPath, const QList<QPair<QString, QString>>& lstTags)
{
    try {
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(strPath).toStdString());
        if (!image.get())
            return false;
        image->readMetadata();
        Exiv2::ExifData& exif = image->exifData();
        for (const auto& tag : lstTags) {
            const Exiv2::ExifKey key(tag.first.toStdString());
            auto value = Exiv2::Value::create(key.defaultTypeId());
            if (value->read(tag.second.toStdString()) != 0) {
                qWarning("MediaFixtures: bad value for %s: %s", qPrintable(tag.first), qPrintable(tag.second));
                return false;
            }
            const auto it = exif.findKey(key);
            if (it != exif.end())
                exif.erase(it);
            exif.add(key, value.get());
        }
        image->writeMetadata();
        return true;
    } catch (const Exiv2::AnyError& error) {
        qWarning("MediaFixtures: cannot write EXIF into %s: %s", qPrintable(strPath), error.what());
        return false;
    }
}

// DateTimeOriginal and Orientation, those given (an empty time, orientation 0: not written).
bool writeTakenAndTurn(const QString& strPath, const QString& strDateTime, int iOrientation)
{
    QList<QPair<QString, QString>> lstTags;
    if (!strDateTime.isEmpty())
        lstTags.append({QStringLiteral("Exif.Photo.DateTimeOriginal"), strDateTime});
    if (iOrientation > 0)
        lstTags.append({QStringLiteral("Exif.Image.Orientation"), QString::number(iOrientation)});
    return lstTags.isEmpty() || writeExifTags(strPath, lstTags);
}

// ---- TIFF / DNG writing ----

enum TiffType : quint16 { TiffByte = 1, TiffAscii = 2, TiffShort = 3, TiffLong = 4, TiffRational = 5,
                          TiffSRational = 10 };

struct TiffEntry
{
    quint16 uTag = 0;
    quint16 uType = 0;
    quint32 uCount = 0;
    QByteArray baValue; // little-endian
};

void putU16(QByteArray& ba, quint16 uValue)
{
    char buffer[2];
    qToLittleEndian(uValue, buffer);
    ba.append(buffer, 2);
}

void putU32(QByteArray& ba, quint32 uValue)
{
    char buffer[4];
    qToLittleEndian(uValue, buffer);
    ba.append(buffer, 4);
}

TiffEntry bytesEntry(quint16 uTag, std::initializer_list<quint8> values)
{
    TiffEntry entry{uTag, TiffByte, quint32(values.size()), QByteArray()};
    for (const quint8 v : values)
        entry.baValue.append(char(v));
    return entry;
}

TiffEntry shortsEntry(quint16 uTag, std::initializer_list<quint16> values)
{
    TiffEntry entry{uTag, TiffShort, quint32(values.size()), QByteArray()};
    for (const quint16 v : values)
        putU16(entry.baValue, v);
    return entry;
}

TiffEntry longEntry(quint16 uTag, quint32 uValue)
{
    TiffEntry entry{uTag, TiffLong, 1, QByteArray()};
    putU32(entry.baValue, uValue);
    return entry;
}

TiffEntry asciiEntry(quint16 uTag, const QByteArray& baText)
{
    TiffEntry entry{uTag, TiffAscii, quint32(baText.size() + 1), baText};
    entry.baValue.append('\0');
    return entry;
}

// Numerators over one common denominator.
TiffEntry rationalsEntry(quint16 uTag, bool blSigned, std::initializer_list<qint32> numerators, qint32 iDenominator)
{
    TiffEntry entry{uTag, quint16(blSigned ? TiffSRational : TiffRational), quint32(numerators.size()), QByteArray()};
    for (const qint32 n : numerators) {
        putU32(entry.baValue, quint32(n));
        putU32(entry.baValue, quint32(iDenominator));
    }
    return entry;
}

class TiffIfd
{
public:
    void add(const TiffEntry& entry) { m_entries.push_back(entry); }

    void setLong(quint16 uTag, quint32 uValue)
    {
        for (TiffEntry& entry : m_entries) {
            if (entry.uTag == uTag) {
                entry.baValue.clear();
                putU32(entry.baValue, uValue);
            }
        }
    }

    // Bytes of the directory and of its values that do not fit in an entry.
    quint32 size() const
    {
        quint32 uSize = 2 + 12 * quint32(m_entries.size()) + 4;
        for (const TiffEntry& entry : m_entries) {
            if (entry.baValue.size() > 4)
                uSize += quint32(entry.baValue.size() + (entry.baValue.size() & 1));
        }
        return uSize;
    }

    QByteArray serialize(quint32 uOffset, quint32 uNextIfd) const
    {
        std::vector<TiffEntry> entries = m_entries;
        std::sort(entries.begin(), entries.end(),
                  [](const TiffEntry& a, const TiffEntry& b) { return a.uTag < b.uTag; });
        QByteArray baDir;
        QByteArray baData;
        const quint32 uDataOffset = uOffset + 2 + 12 * quint32(entries.size()) + 4;
        putU16(baDir, quint16(entries.size()));
        for (const TiffEntry& entry : entries) {
            putU16(baDir, entry.uTag);
            putU16(baDir, entry.uType);
            putU32(baDir, entry.uCount);
            if (entry.baValue.size() <= 4) {
                QByteArray baInline = entry.baValue;
                baInline.append(4 - baInline.size(), '\0');
                baDir.append(baInline);
            } else {
                putU32(baDir, uDataOffset + quint32(baData.size()));
                baData.append(entry.baValue);
                if (baData.size() & 1)
                    baData.append('\0');
            }
        }
        putU32(baDir, uNextIfd);
        return baDir + baData;
    }

private:
    std::vector<TiffEntry> m_entries;
};

enum : quint16 {
    TagNewSubFileType = 254, TagImageWidth = 256, TagImageLength = 257, TagBitsPerSample = 258,
    TagCompression = 259, TagPhotometric = 262, TagMake = 271, TagModel = 272, TagStripOffsets = 273,
    TagOrientation = 274,
    TagSamplesPerPixel = 277, TagRowsPerStrip = 278, TagStripByteCounts = 279, TagPlanarConfig = 284,
    TagCfaRepeatPatternDim = 33421, TagCfaPattern = 33422, TagDngVersion = 50706,
    TagUniqueCameraModel = 50708, TagColorMatrix1 = 50721, TagAsShotNeutral = 50728,
    TagCalibrationIlluminant1 = 50778
};

// 16-bit CFA samples (R G / G B): smooth gradients per colour with soft blocks, never flat.
QByteArray rawPixels(int iWidth, int iHeight)
{
    QByteArray baPixels(qsizetype(iWidth) * iHeight * 2, Qt::Uninitialized);
    uchar* pOut = reinterpret_cast<uchar*>(baPixels.data());
    for (int y = 0; y < iHeight; ++y) {
        const double dY = double(y) / iHeight;
        for (int x = 0; x < iWidth; ++x) {
            const double dX = double(x) / iWidth;
            const int iCell = (y & 1) * 2 + (x & 1);
            const int iColour = iCell == 0 ? 0 : (iCell == 3 ? 2 : 1);
            const double dScale = iColour == 0 ? 0.7 + 0.5 * dY : (iColour == 2 ? 1.2 - 0.5 * dX : 1.0);
            int iValue = int((2500 + 30000 * dX + 15000 * dY) * dScale);
            if (((x / 96) + (y / 96)) & 1)
                iValue += 4000;
            qToLittleEndian(quint16(std::clamp(iValue, 0, 65535)), pOut);
            pOut += 2;
        }
    }
    return baPixels;
}


bool vipsReady()
{
    static const bool s_blReady = VIPS_INIT("testsupport") == 0;
    return s_blReady;
}

// The marked picture's pixel: blue, a red block over the top-left fifth.
void markedPixel(int x, int y, int iWidth, int iHeight, quint8* pRgb)
{
    const bool blRed = x < iWidth / 5 && y < iHeight / 5;
    pRgb[0] = blRed ? 220 : 30;
    pRgb[1] = blRed ? 30 : 60;
    pRgb[2] = blRed ? 30 : 200;
}

// EXIF as a TIFF block, with the orientation and the time taken when given.
QByteArray exifBlock(int iOrientation, const QString& strDateTime)
{
    Exiv2::ExifData exif;
    if (iOrientation > 0)
        exif["Exif.Image.Orientation"] = uint16_t(iOrientation);
    if (!strDateTime.isEmpty())
        exif["Exif.Photo.DateTimeOriginal"] = strDateTime.toStdString();
    if (exif.empty())
        return QByteArray();
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, Exiv2::littleEndian, exif);
    return QByteArray(reinterpret_cast<const char*>(blob.data()), qsizetype(blob.size()));
}

bool makeHeif(const QString& strPath, int iWidth, int iHeight, int iOrientation, const QString& strDateTime)
{
    const bool blAvif = QFileInfo(strPath).suffix().toLower() == QLatin1String("avif");
    heif_context* pContext = heif_context_alloc();
    heif_image* pImage = nullptr;
    heif_encoder* pEncoder = nullptr;
    heif_encoding_options* pOptions = heif_encoding_options_alloc();
    heif_image_handle* pHandle = nullptr;
    bool blOk = heif_image_create(iWidth, iHeight, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &pImage).code ==
                    heif_error_Ok &&
                heif_image_add_plane(pImage, heif_channel_interleaved, iWidth, iHeight, 8).code == heif_error_Ok;
    if (blOk) {
        int iStride = 0;
        quint8* pPlane = heif_image_get_plane(pImage, heif_channel_interleaved, &iStride);
        for (int y = 0; y < iHeight; ++y) {
            for (int x = 0; x < iWidth; ++x)
                markedPixel(x, y, iWidth, iHeight, pPlane + qsizetype(y) * iStride + x * 3);
        }
        blOk = heif_context_get_encoder_for_format(pContext, blAvif ? heif_compression_AV1 : heif_compression_HEVC,
                                                   &pEncoder)
                   .code == heif_error_Ok;
    }
    if (blOk) {
        heif_encoder_set_lossy_quality(pEncoder, 85);
        if (iOrientation > 0)
            pOptions->image_orientation = heif_orientation(iOrientation);
        blOk = heif_context_encode_image(pContext, pImage, pEncoder, pOptions, &pHandle).code == heif_error_Ok;
    }
    const QByteArray baExif = exifBlock(iOrientation, strDateTime);
    if (blOk && !baExif.isEmpty())
        blOk = heif_context_add_exif_metadata(pContext, pHandle, baExif.constData(), int(baExif.size())).code ==
               heif_error_Ok;
    if (blOk)
        blOk = heif_context_write_to_file(pContext, QFile::encodeName(strPath).constData()).code == heif_error_Ok;
    if (pHandle)
        heif_image_handle_release(pHandle);
    if (pEncoder)
        heif_encoder_release(pEncoder);
    heif_encoding_options_free(pOptions);
    if (pImage)
        heif_image_release(pImage);
    heif_context_free(pContext);
    if (!blOk)
        qWarning("MediaFixtures: cannot make %s", qPrintable(strPath));
    return blOk;
}
} // namespace

namespace MediaFixtures {

bool makeJpeg(const QString& strPath, int iWidth, int iHeight, const QString& strDateTime, int iOrientation)
{
    if (iWidth <= 0 || iHeight <= 0 || !ensureParent(strPath))
        return false;
    // Fine sensor-like grain over the fractal, so the file is about as large as a camera's.
    QStringList lstArgs = plasmaArgs(strPath, iWidth, iHeight);
    lstArgs << QStringLiteral("-attenuate") << QStringLiteral("0.25") << QStringLiteral("+noise")
            << QStringLiteral("Gaussian") << QStringLiteral("-quality") << QStringLiteral("90")
            << QLatin1String("jpg:") + strPath;
    if (!runTool(QStringLiteral("convert"), lstArgs))
        return false;
    return writeTakenAndTurn(strPath, strDateTime, iOrientation);
}

bool makeImage(const QString& strPath, int iWidth, int iHeight)
{
    if (iWidth <= 0 || iHeight <= 0 || !ensureParent(strPath))
        return false;
    const QString strSuffix = QFileInfo(strPath).suffix().toLower();
    QString strFormat;
    if (strSuffix == QLatin1String("png") || strSuffix == QLatin1String("gif") || strSuffix == QLatin1String("bmp"))
        strFormat = strSuffix;
    else if (strSuffix == QLatin1String("tif") || strSuffix == QLatin1String("tiff"))
        strFormat = QStringLiteral("tiff");
    else if (strSuffix == QLatin1String("jpg") || strSuffix == QLatin1String("jpeg"))
        strFormat = QStringLiteral("jpg");
    else
        return false;
    QStringList lstArgs = plasmaArgs(strPath, iWidth, iHeight);
    lstArgs << strFormat + QLatin1Char(':') + strPath;
    return runTool(QStringLiteral("convert"), lstArgs);
}

bool makeScene(const QString& strPath, int iWidth, int iHeight, int iOrientation, bool blTransparent)
{
    if (iWidth <= 0 || iHeight <= 0 || !ensureParent(strPath))
        return false;
    // Drawn at a quarter of the size and then enlarged: smooth, and quick to make.
    const int w = std::max(8, iWidth / 4);
    const int h = std::max(8, iHeight / 4);
    QStringList lstArgs{QStringLiteral("-size"), geometry(w, h), QStringLiteral("gradient:skyblue-darkgreen"),
                        QStringLiteral("-fill"), QStringLiteral("orange"), QStringLiteral("-draw"),
                        QStringLiteral("circle %1,%2 %1,%3").arg(w / 3).arg(h / 2).arg(h * 3 / 4),
                        QStringLiteral("-fill"), QStringLiteral("white"), QStringLiteral("-draw"),
                        QStringLiteral("rectangle %1,%2 %3,%4").arg(w * 5 / 8).arg(h / 6).arg(w * 7 / 8).arg(h * 7 / 12),
                        QStringLiteral("-blur"), QStringLiteral("0x%1").arg(std::max(1, std::max(w, h) / 100)),
                        QStringLiteral("-resize"), geometry(iWidth, iHeight) + QLatin1Char('!')};
    if (blTransparent)
        lstArgs << QStringLiteral("-alpha") << QStringLiteral("set") << QStringLiteral("-region")
                << geometry(iWidth / 4, iHeight) << QStringLiteral("-alpha") << QStringLiteral("transparent")
                << QStringLiteral("+region");
    lstArgs << QStringLiteral("-quality") << QStringLiteral("92") << strPath;
    if (!runTool(QStringLiteral("convert"), lstArgs))
        return false;
    return iOrientation <= 0 ||
           writeExifTags(strPath, {{QStringLiteral("Exif.Image.Orientation"), QString::number(iOrientation)}});
}

double psnr(const QString& strA, const QString& strB)
{
    QProcess compare;
    compare.start(QStringLiteral("compare"), {QStringLiteral("-metric"), QStringLiteral("PSNR"), strA, strB,
                                              QStringLiteral("null:")});
    if (!compare.waitForFinished(60000))
        return -1;
    const QString strOut = QString::fromLocal8Bit(compare.readAllStandardError()).trimmed();
    if (strOut == QLatin1String("inf"))
        return 999;
    bool blOk = false;
    const double dValue = strOut.section(QLatin1Char(' '), 0, 0).toDouble(&blOk);
    return blOk && compare.exitCode() <= 1 ? dValue : -1;
}

bool setExif(const QString& strPath, const QString& strKey, const QString& strValue)
{
    return writeExifTags(strPath, {{strKey, strValue}});
}

bool makeDng(const QString& strPath, int iRawWidth, int iRawHeight, int iPreviewWidth, int iPreviewHeight,
             int iOrientation)
{
    if (iRawWidth < 2 || iRawHeight < 2 || (iPreviewWidth > 0 && iPreviewHeight <= 0) || !ensureParent(strPath))
        return false;
    const bool blPreview = iPreviewWidth > 0;

    QByteArray baJpeg;
    if (blPreview) {
        const QStringList lstArgs = {QStringLiteral("-size"), geometry(iPreviewWidth, iPreviewHeight),
                                     QStringLiteral("-seed"), seedFor(strPath), QStringLiteral("plasma:"),
                                     QStringLiteral("-interlace"), QStringLiteral("none"),
                                     QStringLiteral("-sampling-factor"), QStringLiteral("2x2"),
                                     QStringLiteral("jpg:-")};
        if (!runTool(QStringLiteral("convert"), lstArgs, &baJpeg) || !baJpeg.startsWith("\xFF\xD8"))
            return false;
        if (baJpeg.size() & 1)
            baJpeg.append('\0');
    }
    const QByteArray baRaw = rawPixels(iRawWidth, iRawHeight);

    TiffIfd raw;
    raw.add(longEntry(TagNewSubFileType, 0));
    raw.add(longEntry(TagImageWidth, quint32(iRawWidth)));
    raw.add(longEntry(TagImageLength, quint32(iRawHeight)));
    raw.add(shortsEntry(TagBitsPerSample, {16}));
    raw.add(shortsEntry(TagCompression, {1}));
    raw.add(shortsEntry(TagPhotometric, {32803}));
    raw.add(asciiEntry(TagMake, "Velmora"));
    raw.add(asciiEntry(TagModel, "Test Camera"));
    raw.add(longEntry(TagStripOffsets, 0));
    raw.add(shortsEntry(TagSamplesPerPixel, {1}));
    raw.add(longEntry(TagRowsPerStrip, quint32(iRawHeight)));
    raw.add(longEntry(TagStripByteCounts, quint32(baRaw.size())));
    raw.add(shortsEntry(TagPlanarConfig, {1}));
    if (iOrientation > 0)
        raw.add(shortsEntry(TagOrientation, {quint16(iOrientation)}));
    raw.add(shortsEntry(TagCfaRepeatPatternDim, {2, 2}));
    raw.add(bytesEntry(TagCfaPattern, {0, 1, 1, 2}));
    raw.add(bytesEntry(TagDngVersion, {1, 4, 0, 0}));
    raw.add(asciiEntry(TagUniqueCameraModel, "Velmora Test Camera"));
    // XYZ to camera, in ten-thousandths: a daylight-balanced sensor of the usual kind.
    raw.add(rationalsEntry(TagColorMatrix1, true, {7000, -1800, -600, -4200, 12000, 2000, -800, 1600, 6200}, 10000));
    raw.add(shortsEntry(TagCalibrationIlluminant1, {21}));
    raw.add(rationalsEntry(TagAsShotNeutral, false, {1, 1, 1}, 1));

    TiffIfd preview;
    if (blPreview) {
        preview.add(longEntry(TagNewSubFileType, 1));
        preview.add(longEntry(TagImageWidth, quint32(iPreviewWidth)));
        preview.add(longEntry(TagImageLength, quint32(iPreviewHeight)));
        preview.add(shortsEntry(TagBitsPerSample, {8, 8, 8}));
        preview.add(shortsEntry(TagCompression, {7}));
        preview.add(shortsEntry(TagPhotometric, {6}));
        preview.add(longEntry(TagStripOffsets, 0));
        preview.add(shortsEntry(TagSamplesPerPixel, {3}));
        preview.add(longEntry(TagRowsPerStrip, quint32(iPreviewHeight)));
        preview.add(longEntry(TagStripByteCounts, quint32(baJpeg.size())));
        preview.add(shortsEntry(TagPlanarConfig, {1}));
    }

    // Header, IFD0 and its values, the preview IFD, the raw strip, the JPEG strip.
    const quint32 uRawIfd = 8;
    const quint32 uPreviewIfd = blPreview ? uRawIfd + raw.size() : 0;
    const quint32 uRawData = uRawIfd + raw.size() + (blPreview ? preview.size() : 0);
    const quint32 uJpegData = uRawData + quint32(baRaw.size());
    raw.setLong(TagStripOffsets, uRawData);
    preview.setLong(TagStripOffsets, uJpegData);

    QByteArray baFile("II*\0", 4);
    putU32(baFile, uRawIfd);
    baFile += raw.serialize(uRawIfd, uPreviewIfd);
    if (blPreview)
        baFile += preview.serialize(uPreviewIfd, 0);
    if (quint32(baFile.size()) != uRawData)
        return false;
    baFile += baRaw;
    baFile += baJpeg;

    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(baFile) == baFile.size() && file.flush();
}

QSize imageSize(const QString& strPath)
{
    if (!QFileInfo(strPath).isFile())
        return QSize();
    QByteArray baOut;
    if (!runTool(QStringLiteral("identify"),
                 {QStringLiteral("-ping"), QStringLiteral("-format"), QStringLiteral("%w %h\\n"), strPath}, &baOut))
        return QSize();
    const QList<QByteArray> lstFields = baOut.split('\n').value(0).trimmed().split(' ');
    bool blWidthOk = false;
    bool blHeightOk = false;
    const int iWidth = lstFields.value(0).toInt(&blWidthOk);
    const int iHeight = lstFields.value(1).toInt(&blHeightOk);
    if (lstFields.size() != 2 || !blWidthOk || !blHeightOk || iWidth <= 0 || iHeight <= 0)
        return QSize();
    return QSize(iWidth, iHeight);
}

bool makeMarked(const QString& strPath, int iWidth, int iHeight, int iOrientation, const QString& strDateTime,
                int iBitDepth)
{
    if (iWidth <= 0 || iHeight <= 0 || !ensureParent(strPath))
        return false;
    const QString strSuffix = QFileInfo(strPath).suffix().toLower();
    if (strSuffix == QLatin1String("heic") || strSuffix == QLatin1String("heif") || strSuffix == QLatin1String("avif"))
        return makeHeif(strPath, iWidth, iHeight, iOrientation, strDateTime);
    if (strSuffix == QLatin1String("jxl")) {
        QTemporaryDir dir;
        const QString strJpeg = dir.filePath(QStringLiteral("source.jpg"));
        return makeMarked(strJpeg, iWidth, iHeight, iOrientation, strDateTime) &&
               runTool(QStringLiteral("cjxl"), {strJpeg, strPath, QStringLiteral("--quiet")});
    }
    if (!vipsReady())
        return false;
    QByteArray baPixels(qsizetype(iWidth) * iHeight * 3, Qt::Uninitialized);
    for (int y = 0; y < iHeight; ++y) {
        for (int x = 0; x < iWidth; ++x)
            markedPixel(x, y, iWidth, iHeight, reinterpret_cast<quint8*>(baPixels.data()) + (qsizetype(y) * iWidth + x) * 3);
    }
    try {
        vips::VImage image =
            vips::VImage::new_from_memory(baPixels.data(), size_t(baPixels.size()), iWidth, iHeight, 3, VIPS_FORMAT_UCHAR)
                .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
        if (iBitDepth == 16)
            image = image.colourspace(VIPS_INTERPRETATION_RGB16);
        image.write_to_file(QFile::encodeName(strPath).constData());
    } catch (const vips::VError& error) {
        qWarning("MediaFixtures: cannot make %s: %s", qPrintable(strPath), error.what());
        return false;
    }
    return writeTakenAndTurn(strPath, strDateTime, iOrientation);
}

QMap<QString, QList<double>> cornerColours(const QString& strPath)
{
    QTemporaryDir dir;
    QString strImage = strPath;
    const QString strSuffix = QFileInfo(strPath).suffix().toLower();
    if (QStringList{"mp4", "mov", "mkv", "webm"}.contains(strSuffix)) {
        strImage = dir.filePath(QStringLiteral("frame.png"));
        if (!runTool(QStringLiteral("ffmpeg"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"),
                                                strPath, QStringLiteral("-frames:v"), QStringLiteral("1"), strImage}))
            return {};
    }
    QMap<QString, QList<double>> mapColours;
    if (!vipsReady())
        return mapColours;
    try {
        vips::VImage image = vips::VImage::new_from_file(QFile::encodeName(strImage).constData());
        image = image.colourspace(VIPS_INTERPRETATION_sRGB).cast(VIPS_FORMAT_UCHAR);
        const int w = std::max(1, image.width() / 8);
        const int h = std::max(1, image.height() / 8);
        const struct
        {
            const char* pszName;
            int x, y;
        } corners[] = {{"tl", 0, 0},
                       {"tr", image.width() - w, 0},
                       {"bl", 0, image.height() - h},
                       {"br", image.width() - w, image.height() - h}};
        for (const auto& corner : corners) {
            const vips::VImage area = image.extract_area(corner.x, corner.y, w, h);
            mapColours.insert(QLatin1String(corner.pszName),
                              {area.extract_band(0).avg(), area.extract_band(1).avg(), area.extract_band(2).avg()});
        }
    } catch (const vips::VError& error) {
        qWarning("MediaFixtures: cannot read %s: %s", qPrintable(strImage), error.what());
        return {};
    }
    return mapColours;
}

QString redCorner(const QString& strPath)
{
    QStringList lstRed;
    const QMap<QString, QList<double>> mapColours = cornerColours(strPath);
    for (auto it = mapColours.cbegin(); it != mapColours.cend(); ++it) {
        if (it.value().at(0) > 140 && it.value().at(1) < 110 && it.value().at(2) < 110)
            lstRed.append(it.key());
    }
    return lstRed.size() == 1 ? lstRed.first() : QString();
}

} // namespace MediaFixtures
