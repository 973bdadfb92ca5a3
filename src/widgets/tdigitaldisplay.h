// The LED-style counter of the game windows: a short text drawn as glowing
// dot-matrix glyphs on black, with colour escapes inside the text.
#pragma once

#include "vcltypes.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>
#include <QWidget>

class QPainter;

#include <array>

class TDigitalDisplay : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(int Margins READ margins WRITE setMargins)
    Q_PROPERTY(quint8 Spacing READ spacing WRITE setSpacing)
    Q_PROPERTY(TAlignment Alignment READ alignment WRITE setAlignment)

public:
    static constexpr int maxTextLength = 255;
    static constexpr int cellWidth = 11;
    static constexpr int cellHeight = 19;

    explicit TDigitalDisplay(QWidget* parent = nullptr);

    // The text with its colour escapes ("~R", "~[FF8000]"). Only the first
    // 255 characters are kept; a longer text shows those and no more.
    // Throws EError when the new text has a malformed hex colour escape: the
    // text is kept, but nothing is drawn.
    QString text() const { return m_text; }
    void setText(const QString& text);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);

    int margins() const { return m_margins; }
    void setMargins(int margins);

    quint8 spacing() const { return m_spacing; }
    void setSpacing(quint8 spacing);

    TAlignment alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment);

    // How many redraws have run (property changes and paint requests), so
    // that tests can tell whether a change redrew the display.
    int redrawCount() const { return m_redrawCount; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Glyph {
        int cell;
        QRgb colour;
    };
    struct GlyphRun {
        std::array<Glyph, maxTextLength> glyphs;
        int count = 0;
    };

    // A property changed: redraw on the spot, letting a bad escape escape.
    void redraw();
    // Applies the escapes; throws EError on a malformed hex colour.
    void collectGlyphs(GlyphRun& run) const;
    // The lit dots in device pixels, for a paint through `p` onto `device`.
    QImage compose(const GlyphRun& run, const QPainter& p, const QRect& device) const;
    void collectDots();

    // Where the dots of a glyph go in device pixels: a square of `dot` pixels
    // every `pitch` pixels.
    struct DotGrid {
        int pitch = 2;
        int dot = 1;
        static DotGrid forScale(qreal scale);
        // Device offset of a dot at this strip pixel from the first dot.
        int offset(int stripPixel) const;
    };

    QString m_text;
    QByteArray m_bytes; // m_text in the program's single-byte code page
    QColor m_color;
    int m_margins = 0;
    quint8 m_spacing = 0;
    TAlignment m_alignment = taLeftJustify;

    QImage m_strip; // the 69 glyph cells, 32-bit for fast copying
    std::array<QList<QPoint>, 69> m_dots; // the lit strip pixels of each cell
    const GlyphRun* m_prepared = nullptr; // glyphs redraw() collected for the paint it forces
    int m_redrawCount = 0;
};
