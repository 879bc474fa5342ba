// The image library's headers come first: GLib names a member "signals", which Qt defines.
#include <vips/vips8>

#include "FastThumbnails.h"

#include <QDebug>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

using vips::VImage;

namespace FastThumbnails {

namespace {

bool initLibrary()
{
    static std::once_flag s_once;
    static bool s_blReady = false;
    std::call_once(s_once, []() {
        s_blReady = VIPS_INIT("pictarium-uploader") == 0;
        // Decoded images are not kept between photos.
        vips_cache_set_max(0);
    });
    return s_blReady;
}

// The loader's class name, such as "VipsForeignLoadJpegFile".
std::string loaderOf(const QByteArray& baPath)
{
    const char* pszLoader = vips_foreign_find_load(baPath.constData());
    return pszLoader ? std::string(pszLoader) : std::string();
}

// Loaders that hold the whole decoded picture in memory at once.
bool decodesWhole(const std::string& strLoader)
{
    for (const char* pszName : {"Heif", "Jxl", "Webp"}) {
        if (strLoader.find(pszName) != std::string::npos)
            return true;
    }
    return false;
}

// Above this a whole decode would take gigabytes: a 30000 x 30000 picture is refused.
const double kMaxWholePixels = 200e6;

// The picture's header. The HEIF library's own size limit is lifted so that the size is known;
// the limit above decides instead.
VImage openHeader(const QByteArray& baPath, const std::string& strLoader)
{
    const bool blHeif = strLoader.find("Heif") != std::string::npos;
    return VImage::new_from_file(baPath.constData(), blHeif ? VImage::option()->set("unlimited", true) : nullptr);
}

// Logs a library error and clears the library's error text, which all threads share.
void logError(const QByteArray& baPath, const vips::VError& error)
{
    qDebug("FastThumbnails: %s: %s", baPath.constData(), error.what());
    vips_error_clear();
}

// sRGB <-> linear light through tables: 8-bit sRGB to 16-bit linear, and back.
const VImage& linearTable(bool blToLinear)
{
    static const auto make = [](bool blForward) {
        const int nSize = blForward ? 256 : 65536;
        std::vector<double> lstValues(std::size_t(nSize), 0.0);
        for (int i = 0; i < nSize; ++i) {
            if (blForward) {
                const double c = i / 255.0;
                const double l = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
                lstValues[std::size_t(i)] = std::round(l * 65535.0);
            } else {
                const double l = i / 65535.0;
                const double c = l <= 0.0031308 ? l * 12.92 : 1.055 * std::pow(l, 1.0 / 2.4) - 0.055;
                lstValues[std::size_t(i)] = std::round(c * 255.0);
            }
        }
        const VImage table = VImage::new_matrix(nSize, 1, lstValues.data(), int(lstValues.size()));
        return table.cast(blForward ? VIPS_FORMAT_USHORT : VIPS_FORMAT_UCHAR).copy_memory();
    };
    static const VImage s_toLinear = make(true);
    static const VImage s_fromLinear = make(false);
    return blToLinear ? s_toLinear : s_fromLinear;
}

// Unsharp mask in linear light (radius and sigma 0.5, amount 1.25, no threshold), 8-bit sRGB
// in and out.
VImage sharpened(const VImage& image)
{
    const VImage linear = image.maplut(linearTable(true));
    // A 3-tap kernel, as the converter uses for a radius of 0.5.
    const VImage blurred =
        linear.gaussblur(0.5, VImage::option()->set("precision", VIPS_PRECISION_INTEGER)->set("min_ampl", 0.1));
    const VImage sharp = (linear * 2.25 - blurred * 1.25).cast(VIPS_FORMAT_USHORT);
    return sharp.maplut(linearTable(false)).copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

VImage resizedTo(const VImage& image, QSize target)
{
    if (image.width() == target.width() && image.height() == target.height())
        return image;
    const double dH = double(target.width()) / image.width();
    const double dV = double(target.height()) / image.height();
    VImage result = image.resize(dH, VImage::option()->set("vscale", dV));
    // Rounding inside the resampler may leave a pixel over: the size is the converter's.
    if (result.width() != target.width() || result.height() != target.height())
        result = result.embed(0, 0, target.width(), target.height(), VImage::option()->set("extend", VIPS_EXTEND_COPY));
    return result;
}

} // namespace

QSize fitted(QSize srcSize, int iBox)
{
    const int w = srcSize.width();
    const int h = srcSize.height();
    if (w <= iBox && h <= iBox)
        return srcSize;
    const double dScale = std::min(double(iBox) / w, double(iBox) / h);
    return QSize(std::max(1, int(std::floor(dScale * w + 0.5))), std::max(1, int(std::floor(dScale * h + 0.5))));
}

QSize imageSize(const QString& strPath)
{
    if (!initLibrary())
        return QSize();
    try {
        const QByteArray baPath = QFile::encodeName(strPath);
        const VImage header = openHeader(baPath, loaderOf(baPath));
        return QSize(header.width(), header.height());
    } catch (const vips::VError&) {
        vips_error_clear();
        return QSize();
    }
}

Result make(const QString& strSource, const QList<Output>& lstOutputs, int iQuality, const std::atomic_bool* pAbort)
{
    if (lstOutputs.isEmpty() || !initLibrary())
        return Failed;
    const QByteArray baSource = QFile::encodeName(strSource);
    const std::string strLoader = loaderOf(baSource);
    VImage header;
    try {
        header = openHeader(baSource, strLoader);
    } catch (const vips::VError& error) {
        logError(baSource, error);
        return Unreadable;
    }
    const QSize stored(header.width(), header.height());
    const bool blJpeg = strLoader.find("Jpeg") != std::string::npos;
    if (decodesWhole(strLoader) && double(stored.width()) * stored.height() > kMaxWholePixels) {
        qDebug("FastThumbnails: %s: %dx%d is too large to decode", baSource.constData(), stored.width(),
               stored.height());
        return TooLarge;
    }
    const int iLargest = std::max_element(lstOutputs.cbegin(), lstOutputs.cend(), [](const Output& a, const Output& b) {
                             return a.iSize < b.iSize;
                         })->iSize;
    const QSize largest = fitted(stored, iLargest);

    // One decode: a JPEG is scaled down while it is decoded, as far as the decoded image still
    // holds the largest thumbnail in both directions. The largest thumbnail is kept in memory
    // unsharpened: the smaller ones are made from it.
    int iShrink = 1;
    if (blJpeg) {
        const int iRoom =
            std::min(stored.width() / std::max(1, largest.width()), stored.height() / std::max(1, largest.height()));
        for (int iStep : {8, 4, 2}) {
            if (iRoom >= iStep) {
                iShrink = iStep;
                break;
            }
        }
    }
    auto decode = [&](VipsFailOn failOn) {
        auto* pOptions = VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL)->set("fail_on", failOn);
        if (blJpeg)
            pOptions->set("shrink", iShrink);
        if (strLoader.find("Heif") != std::string::npos)
            pOptions->set("unlimited", true);
        VImage image = VImage::new_from_file(baSource.constData(), pOptions);
        // Every thumbnail is 8-bit sRGB; transparency goes onto white.
        if (image.interpretation() != VIPS_INTERPRETATION_sRGB || image.format() != VIPS_FORMAT_UCHAR)
            image = image.colourspace(VIPS_INTERPRETATION_sRGB);
        if (image.format() != VIPS_FORMAT_UCHAR)
            image = image.cast(VIPS_FORMAT_UCHAR);
        if (image.has_alpha())
            image = image.flatten(VImage::option()->set("background", std::vector<double>{255.0}));
        if (image.bands() > 3)
            image = image.extract_band(0, VImage::option()->set("n", 3));
        return resizedTo(image, largest).copy_memory();
    };
    // A picture cut short or corrupt is read as far as it goes, and said to be damaged.
    VImage base;
    bool blDamaged = false;
    try {
        base = decode(VIPS_FAIL_ON_TRUNCATED);
    } catch (const vips::VError& error) {
        logError(baSource, error);
        try {
            base = decode(VIPS_FAIL_ON_NONE);
            blDamaged = true;
        } catch (const vips::VError& lenientError) {
            logError(baSource, lenientError);
            return Unreadable;
        }
    }

    const bool blTurn = stored.width() > stored.height() && header.get_typeof(VIPS_META_ORIENTATION) != 0;
    // Colour resolution as the converter writes it: a JPEG's own, else halved both ways.
    const bool blFullChroma = header.get_typeof("jpeg-chroma-subsample") != 0 &&
                              std::string(header.get_string("jpeg-chroma-subsample")) == "4:4:4";
    try {
        for (const Output& output : lstOutputs) {
            if (pAbort && pAbort->load())
                return Failed;
            VImage thumb = sharpened(resizedTo(base, fitted(stored, output.iSize)));
            if (blTurn) {
                thumb.set(VIPS_META_ORIENTATION, header.get_int(VIPS_META_ORIENTATION));
                thumb = thumb.autorot();
            }
            thumb.jpegsave(QFile::encodeName(output.strPath).constData(),
                           VImage::option()->set("Q", iQuality)->set("strip", true)->set(
                               "subsample_mode", blFullChroma ? VIPS_FOREIGN_SUBSAMPLE_OFF : VIPS_FOREIGN_SUBSAMPLE_ON));
        }
    } catch (const vips::VError& error) {
        logError(baSource, error);
        return Failed;
    }
    return blDamaged ? Damaged : Made;
}

} // namespace FastThumbnails
