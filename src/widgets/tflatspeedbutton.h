// The flat speed button: a push button with a glyph and a caption that can lie
// on its parent's picture and show its frame only while the mouse is over it.
#pragma once

#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };

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

class TFlatSpeedButton : public QWidget {
    Q_OBJECT
public:
    explicit TFlatSpeedButton(QWidget* parent = nullptr);
    ~TFlatSpeedButton() override;

    QImage glyph() const { return m_glyph.glyph(); }
    void setGlyph(const QImage& glyph);
    int numGlyphs() const { return m_glyph.numGlyphs(); }
    // 1 to 5; larger values become 5 and 0 is ignored.
    void setNumGlyphs(int n);
    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    bool flat() const { return m_flat; }
    void setFlat(bool on);
    bool transparent() const { return m_transparent; }
    void setTransparent(bool on);
    bool grayedInactive() const { return m_grayedInactive; }
    void setGrayedInactive(bool on);
    TButtonLayout buttonLayout() const { return m_layout; }
    using QWidget::setLayout;
    void setLayout(TButtonLayout layout);
    int margin() const { return m_margin; }
    // -1 centres glyph and caption; values below -1 are ignored.
    void setMargin(int margin);
    int spacing() const { return m_spacing; }
    // -1 spreads glyph and caption evenly.
    void setSpacing(int spacing);
    TButtonStyle buttonStyle() const { return m_style; }
    using QWidget::setStyle;
    void setStyle(TButtonStyle style);
    int groupIndex() const { return m_groupIndex; }
    void setGroupIndex(int index);
    bool isDown() const { return m_down; }
    // Only a grouped button goes down; a down button is raised by the setter
    // only when AllowAllUp is on (another button of the group going down
    // raises it regardless).
    void setDown(bool down);
    bool allowAllUp() const { return m_allowAllUp; }
    void setAllowAllUp(bool on);
    QMenu* dropDownMenu() const { return m_menu; }
    void setDropDownMenu(QMenu* menu);
    bool markDropDown() const { return m_markDropDown; }
    void setMarkDropDown(bool on);
    bool wordWrap() const { return m_glyph.wordWrap(); }
    void setWordWrap(bool on);
    bool showHint() const { return m_showHint; }
    void setShowHint(bool on) { m_showHint = on; }

    bool isHot() const { return m_hot; }

    // Fires clicked(), as a mouse click on the button or its accelerator does.
    void click();

signals:
    void clicked();
    void doubleClicked();

protected:
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void press(Qt::MouseButton button, const QPoint& pos);
    void release(Qt::MouseButton button, const QPoint& pos);
    void popupMenu(const QPoint& pressPoint);
    void updateHotTracking();
    void announceToGroup();
    void groupButtonPressed(const TFlatSpeedButton* sender);
    bool inside(const QPoint& pos) const;
    void paintParentBackground(QPainter& p);
    void drawFrame(QPainter& p, QRect& r, bool pressed) const;
    static const QImage& checkerboard();

    TFlatButtonGlyph m_glyph;
    QImage m_image;
    QString m_caption;
    QPointer<QMenu> m_menu;
    TFlatButtonState m_state = TFlatButtonState::Up;
    TButtonLayout m_layout = blGlyphTop;
    TButtonStyle m_style = bsAutoDetect;
    int m_margin = -1;
    int m_spacing = 1;
    int m_groupIndex = 0;
    int m_shortcutId = 0;
    bool m_down = false;
    bool m_allowAllUp = false;
    bool m_flat = false;
    bool m_transparent = false;
    bool m_grayedInactive = true;
    bool m_markDropDown = true;
    bool m_showHint = true;
    bool m_hot = false;
    bool m_dragging = false;
    bool m_menuTracking = false;
};
