// The shadow label. Painting and measuring go through one routine, so the
// size auto size picks always holds exactly what is drawn, shadow included.
#include "tshadowlabel.h"

#include "accessibility.h"
#include "look.h"
#include "tpanel.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QKeySequence>
#include <QShortcut>

#include <algorithm>

namespace {

int alignmentFlag(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify:
        return Qt::AlignRight;
    case taCenter:
        return Qt::AlignHCenter;
    case taLeftJustify:
        break;
    }
    return Qt::AlignLeft;
}

// Where the text and its shadow copy go, relative to the rectangle drawn into.
struct Offsets {
    QPoint text;
    QPoint shadow;
};

Offsets offsetsFor(TShadowPosition pos, int s)
{
    switch (pos) {
    case spLeftTop:
        return {QPoint(s, s), QPoint(0, 0)};
    case spLeftBottom:
        return {QPoint(s, 0), QPoint(0, s)};
    case spRightBottom:
        return {QPoint(0, 0), QPoint(s, s)};
    case spRightTop:
        return {QPoint(0, s), QPoint(s, 0)};
    }
    return {};
}

} // namespace

TShadowLabel::TShadowLabel(QWidget* parent)
    : QWidget(parent)
    , m_shadowColor(look::btnHighlight())
{
    resize(65, 17);
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
    m_accelerator = new QShortcut(this);
    m_accelerator->setContext(Qt::WindowShortcut);
    m_accelerator->setEnabled(false);
    connect(m_accelerator, &QShortcut::activated, this, &TShadowLabel::acceleratorPressed);
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        connect(app, &QApplication::focusChanged, this, &TShadowLabel::focusMoved);
}

void TShadowLabel::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    updateAccelerator();
    update();
    adjustBounds();
    accessibility::nameChanged(this);
}

void TShadowLabel::setAlignment(TAlignment alignment)
{
    if (alignment != m_alignment) {
        m_alignment = alignment;
        update();
    }
}

void TShadowLabel::setTextLayout(TTextLayout layout)
{
    if (layout != m_layout) {
        m_layout = layout;
        update();
    }
}

void TShadowLabel::setAutoSize(bool on)
{
    if (on != m_autoSize) {
        m_autoSize = on;
        adjustBounds();
    }
}

void TShadowLabel::setWordWrap(bool on)
{
    if (on != m_wordWrap) {
        m_wordWrap = on;
        adjustBounds();
        // Same size or not, the lines break differently now.
        update();
    }
}

void TShadowLabel::setShadowColor(const QColor& color)
{
    if (color != m_shadowColor) {
        m_shadowColor = color;
        update();
    }
}

void TShadowLabel::setShadowSize(quint8 size)
{
    if (size != m_shadowSize) {
        m_shadowSize = size;
        adjustBounds();
        update();
    }
}

void TShadowLabel::setShadowPos(TShadowPosition pos)
{
    if (pos != m_shadowPos) {
        m_shadowPos = pos;
        update();
    }
}

void TShadowLabel::setShowAccelChar(bool on)
{
    if (on != m_showAccelChar) {
        m_showAccelChar = on;
        updateAccelerator();
        update();
    }
}

void TShadowLabel::setShowFocus(bool on)
{
    if (on != m_showFocus) {
        m_showFocus = on;
        update();
    }
}

void TShadowLabel::setFocusControl(QWidget* control)
{
    if (control == m_focusControl)
        return;
    disconnect(m_focusControlWatch);
    m_focusControl = control;
    if (control)
        m_focusControlWatch = connect(control, &QObject::destroyed, this, &TShadowLabel::focusControlDestroyed);
    m_controlFocused = control && control->hasFocus();
    updateAccelerator();
    if (m_showFocus)
        update();
}

void TShadowLabel::setTransparent(bool on)
{
    if (on != m_transparent) {
        m_transparent = on;
        // An opaque label covers every pixel, so Qt need not paint the parent below it.
        setAttribute(Qt::WA_OpaquePaintEvent, !on);
        update();
    }
}

QColor TShadowLabel::color() const
{
    if (!m_parentColor)
        return m_color;
    const QWidget* parent = parentWidget();
    if (const auto* panel = qobject_cast<const TPanel*>(parent))
        return panel->color();
    if (parent)
        return parent->palette().color(parent->backgroundRole());
    return look::window();
}

void TShadowLabel::setColor(const QColor& color)
{
    if (!m_parentColor && color == m_color)
        return;
    m_color = color;
    m_parentColor = false;
    update();
}

void TShadowLabel::setParentColor(bool on)
{
    if (on != m_parentColor) {
        if (!on)
            m_color = color();
        m_parentColor = on;
        update();
    }
}

QColor TShadowLabel::fontColor() const
{
    return palette().color(QPalette::Active, QPalette::WindowText);
}

void TShadowLabel::setFontColor(const QColor& color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, color);
    setPalette(pal);
}

void TShadowLabel::drawCaption(QPainter* p, QRect& r, int flags) const
{
    const bool measuring = p == nullptr;
    QString text = m_caption;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // An empty caption would measure as nothing; a space keeps one line's height.
    if (measuring && (text.isEmpty() || (m_showAccelChar && text == QLatin1String("&"))))
        text = QStringLiteral(" ");
    if (m_showAccelChar)
        flags |= Qt::TextShowMnemonic;

    QColor textColor = fontColor();
    QColor shadowColor = m_shadowColor;
    int size = m_shadowSize;
    TShadowPosition pos = m_shadowPos;
    if (!isEnabled()) {
        textColor = look::grayText();
        shadowColor = look::btnHighlight();
        // Disabled text always looks engraved, even with no shadow of its own.
        if (size == 0) {
            size = 1;
            pos = spRightBottom;
        }
    }

    const Offsets offsets = offsetsFor(pos, size);
    QRect textRect = r.translated(offsets.text);
    QRect shadowRect = r.translated(offsets.shadow);
    if (measuring) {
        const QFontMetrics fm(font(), this);
        const QRect bounds(0, 0, std::max(r.width(), 0), std::max(r.height(), 0));
        const QSize need = fm.boundingRect(bounds, flags, text).size();
        textRect.setSize(need);
        shadowRect.setSize(need);
    } else {
        p->setFont(font());
        // A zero-size shadow would lie right under the text; drawing it would
        // only tint the text's smoothed edges.
        if (size > 0) {
            p->setPen(shadowColor);
            p->drawText(shadowRect, flags, text);
        }
        p->setPen(textColor);
        p->drawText(textRect, flags, text);
    }
    r = textRect.united(shadowRect);
}

void TShadowLabel::drawFocusRect(QPainter& p, const QRect& r) const
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    // A dotted outline that inverts what it covers, every other pixel.
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(Qt::NoPen);
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            p.fillRect(x, y, 1, 1, Qt::white);
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        dot(x, r.top());
        if (r.bottom() != r.top())
            dot(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        dot(r.left(), y);
        if (r.right() != r.left())
            dot(r.right(), y);
    }
    p.restore();
}

void TShadowLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!m_transparent)
        p.fillRect(rect(), color());

    QRect r = rect().adjusted(1, 0, -1, 0);
    int flags = Qt::TextExpandTabs | alignmentFlag(m_alignment);
    if (m_wordWrap)
        flags |= Qt::TextWordWrap;
    if (m_layout != tlTop) {
        drawCaption(nullptr, r, flags);
        // A block taller than the label gives a negative shift: it overflows
        // at both ends alike when centred.
        int shift = height() - (r.y() + r.height());
        if (m_layout == tlCenter)
            shift /= 2;
        r = QRect(0, r.y() + shift, width(), r.height());
    }
    drawCaption(&p, r, flags);

    if (m_showFocus && m_focusControl && m_controlFocused)
        drawFocusRect(p, r.adjusted(-1, 0, 1, 0));
}

void TShadowLabel::adjustBounds()
{
    if (!m_autoSize)
        return;
    QRect r(1, 0, std::max(width() - 2, 0), height());
    drawCaption(nullptr, r, Qt::TextExpandTabs | (m_wordWrap ? Qt::TextWordWrap : 0));
    // One pixel of margin either side of the text, none above or below.
    const int newWidth = r.x() + r.width() + 1;
    const int newHeight = r.y() + r.height();
    const QRect old = geometry();
    const int left = m_alignment == taRightJustify ? old.x() + old.width() - newWidth : old.x();
    setGeometry(left, old.y(), newWidth, newHeight);
}

void TShadowLabel::updateAccelerator()
{
    const QKeySequence key = m_focusControl && m_showAccelChar ? QKeySequence::mnemonic(m_caption) : QKeySequence();
    m_accelerator->setKey(key);
    m_accelerator->setEnabled(!key.isEmpty());
}

void TShadowLabel::acceleratorPressed()
{
    // The shortcut only fires while this label is visible and enabled.
    QWidget* target = m_focusControl;
    if (target && m_showAccelChar && target->isVisible() && target->isEnabled())
        target->setFocus(Qt::ShortcutFocusReason);
}

void TShadowLabel::focusMoved()
{
    const bool focused = m_focusControl && m_focusControl->hasFocus();
    if (focused != m_controlFocused) {
        m_controlFocused = focused;
        if (m_showFocus)
            update();
    }
}

void TShadowLabel::focusControlDestroyed()
{
    m_focusControl = nullptr;
    m_controlFocused = false;
    updateAccelerator();
    if (m_showFocus)
        update();
}

void TShadowLabel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
        adjustBounds();
        update();
        break;
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
        update();
        break;
    default:
        break;
    }
}

void TShadowLabel::mousePressEvent(QMouseEvent* event)
{
    if (!m_click.press(event))
        QWidget::mousePressEvent(event);
}

void TShadowLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const TClick::Release r = m_click.release(event, this);
    if (r == TClick::NotLeft)
        QWidget::mouseReleaseEvent(event);
    else if (r == TClick::Clicked)
        emit clicked();
}
