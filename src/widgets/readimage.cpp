// Reads a picture with QImageReader told its format and kept from guessing.
#include "readimage.h"

#include <QImageReader>

QImage readImage(const QString& path)
{
    const QByteArray format = path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) ? "png" : "bmp";
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}
