// A round control drawn as a shaded dome lit from the upper left, inside up
// to two shaded bevel rings, with an optional caption and glyph; it works as a
// push button, a toggle button or one button of a radio group.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

// How a bevel ring slopes: a lowered ring is dark at its upper left, a raised
// one at its lower right; hbNone draws no ring.
enum THemisphereBevel { hbNone, hbLowered, hbRaised };

// hbsSingle draws a one-pixel ellipse in the border colour round the face's
// outer edge on both pictures; hbsNone draws nothing.
enum THemisphereBorder { hbsNone, hbsSingle };

class THemisphereButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool AllowAllUp READ allowAllUp WRITE setAllowAllUp)
    Q_PROPERTY(double AttenControl READ attenControl WRITE setAttenControl)
    Q_PROPERTY(THemisphereBevel BevelInner READ bevelInner WRITE setBevelInner)
    Q_PROPERTY(THemisphereBevel BevelOuter READ bevelOuter WRITE setBevelOuter)
    Q_PROPERTY(int BevelWidth READ bevelWidth WRITE setBevelWidth)
    Q_PROPERTY(QColor BorderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(THemisphereBorder BorderStyle READ borderStyle WRITE setBorderStyle)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(bool Down READ isDown WRITE setDown)
    Q_PROPERTY(QColor FaceColor READ faceColor WRITE setFaceColor)
    Q_PROPERTY(bool FaceShaded READ faceShaded WRITE setFaceShaded)
    Q_PROPERTY(bool FaceTransparent READ faceTransparent WRITE setFaceTransparent)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(QImage Glyph READ glyph WRITE setGlyph)
    Q_PROPERTY(int GlyphIndex READ glyphIndex WRITE setGlyphIndex)
    Q_PROPERTY(bool GlyphMapped READ glyphMapped WRITE setGlyphMapped)
    Q_PROPERTY(bool GlyphShaded READ glyphShaded WRITE setGlyphShaded)
    Q_PROPERTY(bool GlyphTransparent READ glyphTransparent WRITE setGlyphTransparent)
    Q_PROPERTY(int GroupIndex READ groupIndex WRITE setGroupIndex)
    Q_PROPERTY(int NumGlyphs READ numGlyphs WRITE setNumGlyphs)

public:
    explicit THemisphereButton(QWidget* parent = nullptr);

    // Every setter below does nothing when given the current value. Those
    // that change the look rebuild the three pictures and repaint; the
    // exceptions say so.

    // Spread over every button of the same window and group (a button of
    // group 0 keeps it to itself).
    bool allowAllUp() const { return m_allowAllUp; }
    void setAllowAllUp(bool on);
    // Scales the face shading: 0 flat, 1 normal.
    double attenControl() const { return m_attenControl; }
    void setAttenControl(double value);
    THemisphereBevel bevelInner() const { return m_bevelInner; }
    void setBevelInner(THemisphereBevel bevel);
    THemisphereBevel bevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(THemisphereBevel bevel);
    // Widths below 1 are refused.
    int bevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int width);
    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor& color);
    THemisphereBorder borderStyle() const { return m_borderStyle; }
    void setBorderStyle(THemisphereBorder style);
    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    // Repaints at once; builds nothing.
    bool isDown() const { return m_down; }
    void setDown(bool down);
    // Only the red, green and blue parts are kept; alpha is dropped.
    QColor faceColor() const { return QColor(m_faceRed, m_faceGreen, m_faceBlue); }
    void setFaceColor(const QColor& color);
    bool faceShaded() const { return m_faceShaded; }
    void setFaceShaded(bool on);
    // The face shows what lies beneath, except where glyph or caption are.
    bool faceTransparent() const { return m_faceTransparent; }
    void setFaceTransparent(bool on);
    // Hides QWidget::setFont so that every assignment rebuilds, even of the
    // font already set; a font inherited from the parent rebuilds too.
    void setFont(const QFont& font);
    // The caption's colour.
    QColor fontColor() const { return m_fontColor; }
    void setFontColor(const QColor& color);

    // A strip of NumGlyphs equal cells side by side. Assigning a picture sets
    // NumGlyphs to width ÷ height when that divides exactly (else 1) and
    // GlyphIndex to 1; a null image removes the glyph. Assigning the image
    // already held (the same shared data) does nothing.
    QImage glyph() const { return m_glyph; }
    void setGlyph(const QImage& glyph);
    // 1-based cell of the strip; values outside 1..NumGlyphs are refused.
    int glyphIndex() const { return m_glyphIndex; }
    void setGlyphIndex(int index);
    // Wraps the glyph over the dome instead of centring it.
    bool glyphMapped() const { return m_glyphMapped; }
    void setGlyphMapped(bool on);
    bool glyphShaded() const { return m_glyphShaded; }
    void setGlyphShaded(bool on);
    // Glyph pixels of the colour at the strip's bottom-left corner show the face.
    bool glyphTransparent() const { return m_glyphTransparent; }
    void setGlyphTransparent(bool on);
    // 0 is a push button; buttons of one window sharing another index form a
    // radio group. Builds nothing.
    int groupIndex() const { return m_groupIndex; }
    void setGroupIndex(int index) { m_groupIndex = index; }
    // Counts below 1 are refused: a strip has at least one cell.
    int numGlyphs() const { return m_numGlyphs; }
    void setNumGlyphs(int count);

    // Moves and resizes; a size other than the last one built rebuilds.
    void SetBounds(int left, int top, int width, int height);
    // Whether a point (widget coordinates) lies on the face, inside the bevels.
    bool PointInFace(int x, int y) const;
    // Renders ImageOut, ImageIn and ImageMask for the current size and look.
    // Below 2 × 2 pixels it keeps the pictures it has.
    void BuildImages();

    // The released and pressed pictures and the mask (white where the
    // control is transparent), all RGB32.
    const QImage& ImageOut() const { return m_imageOut; }
    const QImage& ImageIn() const { return m_imageIn; }
    const QImage& ImageMask() const { return m_imageMask; }
    // How many times the pictures were built: setFont() counts on it to
    // tell whether the font change already rebuilt them.
    int buildCount() const { return m_buildCount; }

signals:
    void clicked();
    void doubleClicked();
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void press(QMouseEvent* event, bool doubleClick);
    void lookChanged();
    void sizeChanged();
    // The dome, glyph included, into both face pictures; transparent face
    // pixels turn white on the mask instead.
    void shadeFace(QImage& out, QImage& in, const QImage& innerFaceMask, QImage& mask, int nb) const;
    void drawCaption(QImage& out, QImage& in, QImage& mask) const;
    // Every button of this window with this group index, this one included.
    QList<THemisphereButton*> groupMembers() const;
    int bevelCount() const;

    bool m_allowAllUp = false;
    double m_attenControl = 1.0;
    THemisphereBevel m_bevelInner = hbNone;
    THemisphereBevel m_bevelOuter = hbLowered;
    int m_bevelWidth = 2;
    QColor m_borderColor{128, 128, 128};
    THemisphereBorder m_borderStyle = hbsNone;
    QString m_caption;
    bool m_down = false;
    int m_faceRed = 128;
    int m_faceGreen = 128;
    int m_faceBlue = 128;
    bool m_faceShaded = true;
    bool m_faceTransparent = false;
    QColor m_fontColor;
    QImage m_glyph; // RGB32 copy of the assigned strip; null when there is none
    int m_glyphIndex = 1;
    bool m_glyphMapped = false;
    bool m_glyphShaded = true;
    bool m_glyphTransparent = true;
    int m_groupIndex = 0;
    int m_numGlyphs = 1;

    QImage m_imageOut;
    QImage m_imageIn;
    QImage m_imageMask;
    // ImageOut and ImageIn with the mask folded into their alpha, so a paint
    // is one drawImage over whatever the parent painted.
    QImage m_paintOut;
    QImage m_paintIn;
    int m_builtWidth = -1;
    int m_builtHeight = -1;
    int m_buildCount = 0;

    bool m_tracking = false;  // the left button went down on the face
    bool m_savedDown = false; // Down when it went down
};
