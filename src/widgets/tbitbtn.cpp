#include "tbitbtn.h"

#include "icons.h"

#include <QBitmap>
#include <QImage>
#include <QPixmap>

TBitBtn::TBitBtn(const QString& caption, TBitBtnGlyph glyph, QWidget* parent)
    : QPushButton(caption, parent)
{
    setAutoDefault(false);
    QString file;
    if (glyph == bgCheck)
        file = QStringLiteral(":/images/glyph_ok.bmp");
    else if (glyph == bgCross)
        file = QStringLiteral(":/images/glyph_cancel.bmp");
    if (!file.isEmpty()) {
        const QImage image(file);
        if (!image.isNull()) {
            // Drawn as pixel art, so the glyph stays sharp on a scaled display.
            setIcon(icons::pixelArt({keyedGlyph(image).toImage()}));
            setIconSize(image.size());
        }
    }
}

QPixmap TBitBtn::keyedGlyph(const QImage& glyph)
{
    QPixmap pixmap = QPixmap::fromImage(glyph);
    const QColor key = glyph.pixelColor(0, glyph.height() - 1);
    pixmap.setMask(QBitmap::fromImage(glyph.createMaskFromColor(key.rgb(), Qt::MaskInColor)));
    return pixmap;
}
