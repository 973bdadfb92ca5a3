// The glyph strip of a flat speed button and the state images made from it,
// and where glyph and caption go inside the button.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <functional>

class QColor;
class QPainter;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The button's state; Inactive is only ever a paint state, for a flat button
// that is not under the mouse. The values index the glyph strip's cells.
enum class TFlatButtonState { Up = 0, Disabled = 1, Pressed = 2, Exclusive = 3, Inactive = 4 };

// Where glyph and caption go inside the content rectangle, relative to its
// top-left corner.
struct TFlatButtonPlacement {
    QPoint glyph;
    QRect text;
};

// The glyph strip of a button and the state images made from it.
class TFlatButtonGlyph {
public:
    // `changed` runs whenever the strip or the cell count changes.
    explicit TFlatButtonGlyph(std::function<void()> changed);

    const QImage& glyph() const { return m_glyph; }
    // Copies the strip, takes its bottom-left pixel as the transparent colour
    // and, when the width is n times the height, sets NumGlyphs to n (1 if n > 5).
    void setGlyph(const QImage& glyph);
    int numGlyphs() const { return m_numGlyphs; }
    void setNumGlyphs(int n);
    QRgb transparentColor() const { return m_transparent; }
    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on) { m_wordWrap = on; }

    bool isEmpty() const { return m_glyph.isNull(); }
    // One cell of the strip: (width / NumGlyphs, height).
    QSize cellSize() const;
    // The picture for a state, built on first use and kept until the strip,
    // the cell count or the system colours change. Pixels of the transparent
    // colour are fully transparent in it.
    const QImage& stateImage(TFlatButtonState state);
    void invalidate();

    // Places a glyph of `glyphSize` and a caption of `textSize` in a content
    // rectangle of `content` size. `mark` reserves room for the drop-down mark.
    static TFlatButtonPlacement place(QSize content, QSize glyphSize, QSize textSize, TButtonLayout layout,
                                      int margin, int spacing, bool mark);

    // Lays out and draws glyph, caption and (when `mark`) the drop-down mark
    // into `content` with the painter's font.
    void draw(QPainter& p, const QRect& content, const QString& caption, const QColor& textColor,
              TButtonLayout layout, int margin, int spacing, TFlatButtonState state, bool mark);

private:
    QImage buildStateImage(TFlatButtonState state) const;

    QImage m_glyph;
    QRgb m_transparent;
    int m_numGlyphs = 1;
    bool m_wordWrap = false;
    std::array<QImage, 5> m_cache;
    std::function<void()> m_changed;
};
