#include "tbitbtn.h"

#include "icons.h"
#include "readimage.h"

#include <QBitmap>
#include <QImage>
#include <QPixmap>

TBitBtn::TBitBtn(const QString& caption, TBitBtnGlyph glyph, QWidget* parent)
    : QPushButton(caption, parent)
{
    setAutoDefault(false);
    // Every dialog has such a button: each glyph is made once for all.
    struct Glyph {
        QIcon icon;
        QSize size;
    };
    auto make = [](const QString& file) {
        const QImage image = readImage(file);
        // Drawn as pixel art, so the glyph stays sharp on a scaled display.
        return image.isNull() ? Glyph{} : Glyph{icons::pixelArt({keyedGlyph(image).toImage()}), image.size()};
    };
    static const Glyph check = make(QStringLiteral(":/images/glyph_ok.bmp"));
    static const Glyph cross = make(QStringLiteral(":/images/glyph_cancel.bmp"));
    const Glyph* shown = glyph == bgCheck ? &check : glyph == bgCross ? &cross : nullptr;
    if (shown && !shown->icon.isNull()) {
        setIcon(shown->icon);
        setIconSize(shown->size);
    }
}

QPixmap TBitBtn::keyedGlyph(const QImage& glyph)
{
    QPixmap pixmap = QPixmap::fromImage(glyph);
    const QColor key = glyph.pixelColor(0, glyph.height() - 1);
    pixmap.setMask(QBitmap::fromImage(glyph.createMaskFromColor(key.rgb(), Qt::MaskInColor)));
    return pixmap;
}
