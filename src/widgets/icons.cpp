// The icons and the engine that scales them as pixel art: Qt's own engine
// scales a 16-pixel picture to 24 pixels by blending neighbours, which
// smears its one-pixel lines.
#include "icons.h"

#include "pixelart.h"
#include "readimage.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace icons {

namespace {

class PixelArtEngine : public QIconEngine {
public:
    explicit PixelArtEngine(QList<QImage> pictures)
        : m_pictures(std::move(pictures))
    {
        std::sort(m_pictures.begin(), m_pictures.end(),
                  [](const QImage& a, const QImage& b) { return a.width() < b.width(); });
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QRect device = pixelart::deviceRect(*painter, rect);
        const qreal scale = pixelart::scaleOf(*painter);
        const QImage shown = scaledPixmap(device.size(), mode, state, scale).toImage();
        pixelart::drawDevice(*painter, device, shown);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        if (m_pictures.isEmpty() || size.isEmpty())
            return {};
        const QSize logical = (QSizeF(size) / qMax(scale, 1e-3)).toSize();
        QPixmap shown = QPixmap::fromImage(pixelart::resized(pictureFor(logical), size));
        if (mode != QIcon::Normal) {
            // The disabled, active and selected looks as Qt's own icons get them.
            QStyleOption option;
            option.palette = QApplication::palette();
            shown = QApplication::style()->generatedIconPixmap(mode, shown, &option);
        }
        return shown;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return m_pictures.isEmpty() ? QSize() : size;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const QImage& picture : m_pictures)
            sizes << picture.size();
        return sizes;
    }

    QString key() const override { return QStringLiteral("tivorama.pixelart"); }
    QIconEngine* clone() const override { return new PixelArtEngine(m_pictures); }

private:
    const QImage& pictureFor(const QSize& logical) const
    {
        const QImage* best = &m_pictures.front();
        for (const QImage& picture : m_pictures)
            if (picture.width() <= logical.width() && picture.height() <= logical.height())
                best = &picture;
        return *best;
    }

    QList<QImage> m_pictures;
};

QIcon make(const char* name)
{
    const QString base = QStringLiteral(":/images/") + QLatin1String(name);
    QList<QImage> pictures;
    for (const char* size : {"16", "32"}) {
        const QImage picture = readImage(base + QLatin1String(size) + QStringLiteral(".png"));
        if (!picture.isNull())
            pictures << picture;
    }
    return pixelArt(pictures);
}

} // namespace

QIcon pixelArt(const QList<QImage>& pictures)
{
    QList<QImage> usable;
    for (const QImage& picture : pictures)
        if (!picture.isNull())
            usable << picture;
    if (usable.isEmpty())
        return QIcon();
    return QIcon(new PixelArtEngine(usable));
}

// Each is made once: a game's window and its dialogs all carry its icon.
QIcon application()
{
    static const QIcon icon = make("app");
    return icon;
}
QIcon fifteen()
{
    static const QIcon icon = make("fifteen");
    return icon;
}
QIcon saper()
{
    static const QIcon icon = make("saper");
    return icon;
}
QIcon sea()
{
    static const QIcon icon = make("sea");
    return icon;
}

} // namespace icons
