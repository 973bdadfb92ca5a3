// The flat speed button: a push button with a glyph and a caption that can lie
// on its parent's picture and show its frame only while the mouse is over it.
#pragma once

#include "tflatbuttonglyph.h"

#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QWidget>

enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };

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
    // The space bar and Enter click a button that has the keyboard focus.
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

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
    // The focus is shown once the keyboard is used on the button, not when
    // a window hands it the focus by itself.
    bool m_focusShown = false;
};
