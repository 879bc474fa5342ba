#pragma once

#include <QList>
#include <QMap>
#include <QSize>
#include <QString>
namespace MediaFixtures {
// A JPEG of w x h with noisy, photo-like content (so its size and decode cost are realistic), made
// with ImageMagick `convert`; with EXIF Exif.Photo.DateTimeOriginal when strDateTime is not empty
// and Exif.Image.Orientation when iOrientation > 0, written with Exiv2.
bool makeJpeg(const QString& strPath, int iWidth, int iHeight, const QString& strDateTime = QString(), int iOrientation = 0);
// Any other image (format by the file's extension: png, gif, tif, bmp) of w x h.
bool makeImage(const QString& strPath, int iWidth, int iHeight);
// A scene that stays smooth at thumbnail scale (sky gradient, a sun, a bright block), of w x h,
// format by the file's extension; with EXIF Exif.Image.Orientation when iOrientation > 0 (JPEG),
// and with a transparent left quarter when blTransparent (PNG).
bool makeScene(const QString& strPath, int iWidth, int iHeight, int iOrientation = 0, bool blTransparent = false);
// Peak signal-to-noise ratio of b against a in dB, by ImageMagick's compare; -1 when it cannot
// be measured (different sizes, unreadable); 999 for identical images.
double psnr(const QString& strA, const QString& strB);
// Writes one EXIF ascii/short tag with Exiv2 (key like "Exif.Photo.DateTimeOriginal").
bool setExif(const QString& strPath, const QString& strKey, const QString& strValue);
// A small DNG: little-endian TIFF, IFD0 the CFA raw data (rawW x rawH, 16-bit, uncompressed, one strip),
// and, when iPreviewWidth > 0, a second IFD chained from IFD0 with a baseline JPEG preview of that size.
// iOrientation > 0 writes the camera's orientation (TIFF Orientation) into IFD0.
bool makeDng(const QString& strPath, int iRawWidth, int iRawHeight, int iPreviewWidth = 0, int iPreviewHeight = 0,
             int iOrientation = 0);
// Pixel size of an image file by `identify -ping`; invalid QSize when it cannot be read.
QSize imageSize(const QString& strPath);

// A picture stored w x h: blue, with a red block in its top-left corner. Format by the extension:
// jpg, png (16-bit samples when iBitDepth is 16), webp through libvips, jxl from the JPEG by
// cjxl (which keeps its EXIF and takes its orientation into the picture's own), heic and avif
// through the HEIF library (iOrientation also turns it in the container, as phones do).
// EXIF Orientation and DateTimeOriginal when given.
bool makeMarked(const QString& strPath, int iWidth, int iHeight, int iOrientation = 0,
                const QString& strDateTime = QString(), int iBitDepth = 8);
// Average R, G and B (0-255) of the four corners ("tl", "tr", "bl", "br"; an eighth of each side)
// of a picture, or of a video's first frame as the transcoder shows it; empty when unreadable.
QMap<QString, QList<double>> cornerColours(const QString& strPath);
// Which corner holds the red block; empty when no corner or several are red.
QString redCorner(const QString& strPath);
}
