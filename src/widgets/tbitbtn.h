// A push button with a glyph left of its caption, as the dialogs' OK,
// cancel and close buttons are.
#pragma once

#include <QPushButton>

enum TBitBtnGlyph { bgNone, bgCheck, bgCross };

class TBitBtn : public QPushButton {
    Q_OBJECT
public:
    TBitBtn(const QString& caption, TBitBtnGlyph glyph, QWidget* parent);

    // A glyph bitmap with its bottom-left pixel's colour made transparent.
    static QPixmap keyedGlyph(const QImage& glyph);
};
