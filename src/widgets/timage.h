// A picture cell: shows one picture unscaled at its top-left corner and
// reports left clicks. The picture is shared, not copied, so a board of a
// hundred cells switching among a few pictures costs no image copies.
#pragma once

#include "tclick.h"

#include <QImage>
#include <QWidget>

class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);

    // The picture to show; it must outlive the cell or be replaced first.
    // Null shows nothing, so what lies beneath shows through.
    void setPicture(const QImage* picture);
    const QImage* picture() const { return m_picture; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    const QImage* m_picture = nullptr;
    TClick m_click;
};
