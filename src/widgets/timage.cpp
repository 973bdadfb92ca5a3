// The picture cell.
#include "timage.h"

#include "pixelart.h"

#include <QPainter>

TImage::TImage(QWidget* parent)
    : QWidget(parent)
{
}

void TImage::setPicture(const QImage* picture)
{
    if (picture == m_picture)
        return;
    m_picture = picture;
    update();
}

void TImage::paintEvent(QPaintEvent*)
{
    if (!m_picture || m_picture->isNull())
        return;
    QPainter p(this);
    pixelart::draw(p, QPointF(0, 0), *m_picture);
}

void TImage::mousePressEvent(QMouseEvent* e)
{
    if (!m_click.press(e))
        QWidget::mousePressEvent(e);
}

void TImage::mouseReleaseEvent(QMouseEvent* e)
{
    const TClick::Release r = m_click.release(e, this);
    if (r == TClick::NotLeft)
        QWidget::mouseReleaseEvent(e);
    else if (r == TClick::Clicked)
        emit clicked();
}
