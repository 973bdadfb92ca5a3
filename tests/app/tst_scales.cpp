// Every window of the program at the display scale this run was started with
// (QT_SCALE_FACTOR; the suite runs it at 1.25, 1.5, 1.75 and 2), as a player
// sees it: the counters show every digit whole, in dots of one size on an
// even grid; each bevel is as wide on every side; no control sticks out of
// its window or cuts off its text; and the pictures are their sources scaled
// evenly, without lost or doubled rows. A window is compared with its own
// picture at scale 1, rendered in the same run.
#include "datafiles.h"
#include "testmain.h"

#include "registry.h"
#include "tdigitaldisplay.h"
#include "tflatspeedbutton.h"
#include "tform.h"
#include "tgradientcaption.h"
#include "timage.h"
#include "tmemoform.h"
#include "tpanel.h"
#include "tshadowlabel.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace {

qreal displayScale()
{
    return qApp->devicePixelRatio();
}

// Where Qt puts a rectangle given in window coordinates on the device grid.
QRect onDevice(const QRect& logical, qreal s)
{
    const int left = qRound(logical.left() * s), top = qRound(logical.top() * s);
    const int right = qRound((logical.left() + logical.width()) * s);
    const int bottom = qRound((logical.top() + logical.height()) * s);
    return QRect(left, top, right - left, bottom - top);
}

QRect inWindow(const QWidget* w)
{
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

QImage shot(QWidget* window)
{
    return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The window drawn at scale 1, whatever the display's scale.
QImage shotAtScaleOne(QWidget* window)
{
    QImage picture(window->size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    window->render(&picture);
    return picture;
}

QImage shotAtScale(QWidget* window, qreal s)
{
    QImage picture((QSizeF(window->size()) * s).toSize(), QImage::Format_RGB32);
    picture.setDevicePixelRatio(s);
    picture.fill(Qt::black);
    window->render(&picture);
    return picture;
}

// The colours from one side of a rectangle inwards along its middle line:
// side 0 is the left, 1 the top, 2 the right, 3 the bottom.
QList<QRgb> inwards(const QImage& image, const QRect& r, int side, int count)
{
    QList<QRgb> colours;
    for (int i = 0; i < count; ++i) {
        const QPoint p = side == 0 ? QPoint(r.left() + i, r.center().y())
            : side == 1            ? QPoint(r.center().x(), r.top() + i)
            : side == 2            ? QPoint(r.right() - i, r.center().y())
                                   : QPoint(r.center().x(), r.bottom() - i);
        colours << (image.rect().contains(p) ? image.pixel(p) : 0u);
    }
    return colours;
}

QString grays(const QList<QRgb>& colours)
{
    QStringList g;
    for (QRgb c : colours)
        g << QString::number(qGray(c));
    return g.join(QLatin1Char(' '));
}

int leadingRun(const QList<QRgb>& colours)
{
    int n = 1;
    while (n < colours.size() && colours[n] == colours[0])
        ++n;
    return n;
}

// A framed control: its rectangle in window coordinates, how many frame
// lines deep its frame is, and which of its sides to look at (bit 0 left,
// 1 top, 2 right, 3 bottom; a side another control covers is left out).
struct Framed {
    QString what;
    QRect rect;
    int depth;
    int sides;
    bool ownDrawing; // drawn by the program, not by Qt's style
};

// What is uneven about a control's frame at scale s, or nothing. Every frame
// line must be a band of one width on all sides. The program's own frames
// must be their scale-1 picture with each line that wide; of those Qt's
// style draws (whose scale-1 picture this run cannot render, since the style
// scales for the screen, not for the picture) the top must mirror the left
// and the bottom the right.
QString bevelFault(const QImage& one, const QImage& scaled, const Framed& f, qreal s)
{
    const QRect device = onDevice(f.rect, s);
    const int reach = f.depth * int(std::ceil(s)) + 1;
    QList<QRgb> got[4], want[4];
    for (int side = 0; side < 4; ++side) {
        got[side] = inwards(scaled, device, side, reach);
        want[side] = inwards(one, f.rect, side, f.depth + 1);
    }
    // The width of a line, from a side where the first line ends within the frame.
    int width = 0;
    for (int side = 0; side < 4 && width == 0; ++side)
        if ((f.sides >> side & 1) && (!f.ownDrawing || leadingRun(want[side]) < want[side].size()))
            width = f.ownDrawing ? leadingRun(got[side]) / leadingRun(want[side]) : leadingRun(got[side]);
    if (width == 0)
        return {};
    for (int side = 0; side < 4; ++side) {
        if (!(f.sides >> side & 1))
            continue;
        QList<QRgb> expected;
        if (f.ownDrawing) {
            for (QRgb c : want[side].mid(0, f.depth))
                expected << QList<QRgb>(width, c);
        } else {
            if (leadingRun(got[side]) != width)
                return QStringLiteral("side %1 starts %2 pixels wide, not %3").arg(side).arg(leadingRun(got[side])).arg(width);
            const int mirror = side ^ 1; // left with top, right with bottom
            if (!(f.sides >> mirror & 1))
                continue;
            expected = got[mirror].mid(0, f.depth + 1);
        }
        const QList<QRgb> shown = got[side].mid(0, expected.size());
        if (shown != expected)
            return QStringLiteral("side %1: %2 instead of %3").arg(side).arg(grays(shown), grays(expected));
    }
    return {};
}

// The lit dots of a display's picture, read as glyphs: each glyph a 5 × 9
// matrix of '#' and '.', rows joined by '|', placed by its top-left dot. A
// dot must be a solid square, all dots of one size, and every dot of a glyph
// on one grid of one pitch; otherwise the reading says what is wrong.
QStringList readDots(const QImage& picture)
{
    const int w = picture.width(), h = picture.height();
    auto lit = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && (picture.pixel(x, y) & 0xffffff) != 0; };
    QList<QRect> squares;
    std::vector<char> seen(std::size_t(w) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!lit(x, y) || seen[std::size_t(y) * w + x])
                continue;
            int right = x, bottom = y;
            while (lit(right + 1, y))
                ++right;
            while (lit(x, bottom + 1))
                ++bottom;
            const QRect square(QPoint(x, y), QPoint(right, bottom));
            for (int yy = y; yy <= bottom; ++yy)
                for (int xx = x; xx <= right; ++xx) {
                    if (!lit(xx, yy))
                        return {QStringLiteral("a dot that is not a square at %1,%2").arg(x).arg(y)};
                    seen[std::size_t(yy) * w + xx] = 1;
                }
            // Nothing lit beside the square: dots do not touch.
            for (int yy = y - 1; yy <= bottom + 1; ++yy)
                for (int xx = x - 1; xx <= right + 1; ++xx)
                    if (!square.contains(xx, yy) && lit(xx, yy))
                        return {QStringLiteral("dots merge at %1,%2").arg(xx).arg(yy)};
            squares << square;
        }
    if (squares.isEmpty())
        return {};
    const QSize dot = squares.front().size();
    if (dot.width() != dot.height())
        return {QStringLiteral("dots of %1 x %2").arg(dot.width()).arg(dot.height())};
    for (const QRect& q : squares)
        if (q.size() != dot)
            return {QStringLiteral("dots of two sizes")};
    // The pitch: the nearest neighbour in a row.
    int pitch = w;
    for (const QRect& a : squares)
        for (const QRect& b : squares)
            if (a.top() == b.top() && b.left() > a.left())
                pitch = std::min(pitch, b.left() - a.left());
    // Glyphs: runs of columns no further apart than the pitch.
    std::sort(squares.begin(), squares.end(), [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
    QList<QList<QRect>> glyphs;
    for (const QRect& q : squares) {
        if (glyphs.isEmpty() || q.left() - glyphs.back().back().left() > pitch)
            glyphs.append(QList<QRect>());
        glyphs.back().append(q);
    }
    QStringList read;
    for (const QList<QRect>& glyph : glyphs) {
        int left = w, top = h;
        for (const QRect& q : glyph) {
            left = std::min(left, q.left());
            top = std::min(top, q.top());
        }
        QString matrix = QStringLiteral(".....|.....|.....|.....|.....|.....|.....|.....|.....");
        for (const QRect& q : glyph) {
            const int dx = q.left() - left, dy = q.top() - top;
            if (dx % pitch || dy % pitch || dx / pitch > 4 || dy / pitch > 8)
                return {QStringLiteral("a dot off the grid of pitch %1").arg(pitch)};
            matrix[dy / pitch * 6 + dx / pitch] = QLatin1Char('#');
        }
        read << matrix;
    }
    return read;
}

// A picture reduced or enlarged to `size` by averaging the source over each
// target pixel's area: how a picture scaled evenly looks.
QImage areaAverage(const QImage& source, const QSize& size)
{
    const QImage src = source.convertToFormat(QImage::Format_RGB32);
    QImage out(size, QImage::Format_RGB32);
    const double fx = double(src.width()) / size.width(), fy = double(src.height()) / size.height();
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            double r = 0, g = 0, b = 0, total = 0;
            const double x0 = x * fx, x1 = (x + 1) * fx, y0 = y * fy, y1 = (y + 1) * fy;
            for (int sy = int(y0); sy < std::ceil(y1) && sy < src.height(); ++sy)
                for (int sx = int(x0); sx < std::ceil(x1) && sx < src.width(); ++sx) {
                    const double a = (std::min<double>(sx + 1, x1) - std::max<double>(sx, x0))
                        * (std::min<double>(sy + 1, y1) - std::max<double>(sy, y0));
                    const QRgb c = src.pixel(sx, sy);
                    r += a * qRed(c);
                    g += a * qGreen(c);
                    b += a * qBlue(c);
                    total += a;
                }
            out.setPixel(x, y, qRgb(qRound(r / total), qRound(g / total), qRound(b / total)));
        }
    return out;
}

// The largest difference of a colour component between the picture shown in
// `area` and `expected`, over the pixels `counts` accepts.
template <typename Counts>
int largestDifference(const QImage& shown, const QRect& area, const QImage& expected, Counts counts)
{
    int worst = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QPoint p = area.topLeft() + QPoint(x, y);
            if (!shown.rect().contains(p) || !counts(p))
                continue;
            const QRgb a = shown.pixel(p), b = expected.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    return worst;
}

QString textOf(const QWidget* w)
{
    QString text;
    if (auto* label = qobject_cast<const QLabel*>(w); label && !label->wordWrap())
        text = label->text();
    else if (auto* shadow = qobject_cast<const TShadowLabel*>(w))
        text = shadow->caption();
    else if (auto* button = qobject_cast<const QAbstractButton*>(w))
        text = button->text();
    else if (auto* flat = qobject_cast<const TFlatSpeedButton*>(w))
        text = flat->caption();
    return text.remove(QLatin1Char('&'));
}

} // namespace

class TstScales : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void controlsStayInsideTheirWindows_data();
    void controlsStayInsideTheirWindows();
    void bevelsAreEvenAllRound_data();
    void bevelsAreEvenAllRound();
    void countersShowEveryDigitWhole();
    void picturesAreScaledEvenly();

private:
    void windowRows();
    QTemporaryDir m_dir;
    QString m_oldCwd;
};

void TstScales::initTestCase()
{
    QVERIFY(displayScale() > 1);
    datafiles::setProgramPath(m_dir.filePath(QStringLiteral("tivorama")));
    // The sea battle's cell pictures and the rules texts lie in the build folder.
    m_oldCwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(TIVORAMA_BUILD_DIR)));
    CreateForms();
    RulesFileName = QStringLiteral("2.doc");
    for (const QString& name : FormNames()) {
        TForm* form = FindForm(name);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }
}

void TstScales::cleanupTestCase()
{
    DestroyForms();
    datafiles::setProgramPath(QString());
    QDir::setCurrent(m_oldCwd);
}

void TstScales::cleanup()
{
    if (!QTest::currentTestFailed())
        return;
    // The sea battle window shows most kinds of drawing at once.
    TForm* sea = FindForm(QStringLiteral("TFormSea"));
    for (qreal s : {1.5, 2.0}) {
        const QString file = QDir(m_oldCwd).filePath(QStringLiteral("tst_scales_sea_%1.png").arg(s));
        if (shotAtScale(sea, s).save(file))
            qInfo("The sea battle window at %g: %s", s, qPrintable(file));
    }
}

void TstScales::windowRows()
{
    QTest::addColumn<QString>("name");
    for (const QString& name : FormNames())
        QTest::newRow(qPrintable(name)) << name;
}

void TstScales::controlsStayInsideTheirWindows_data()
{
    windowRows();
}

void TstScales::controlsStayInsideTheirWindows()
{
    QFETCH(QString, name);
    TForm* form = FindForm(name);
    const QRect window = form->rect();
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(form) || w->isWindow())
            continue;
        const QString what = w->metaObject()->className() + QStringLiteral(" ") + w->objectName();
        QVERIFY2(window.contains(inWindow(w)), qPrintable(what + QStringLiteral(" leaves the window")));
        const QString text = textOf(w);
        if (text.isEmpty())
            continue;
        const int room = qobject_cast<const QLabel*>(w) ? static_cast<QLabel*>(w)->contentsRect().width() : w->width();
        QVERIFY2(w->fontMetrics().horizontalAdvance(text) <= room,
                 qPrintable(what + QStringLiteral(" cuts off \"") + text + QLatin1Char('"')));
    }
}

void TstScales::bevelsAreEvenAllRound_data()
{
    windowRows();
}

void TstScales::bevelsAreEvenAllRound()
{
    QFETCH(QString, name);
    TForm* form = FindForm(name);
    const qreal s = displayScale();
    const QImage one = shotAtScaleOne(form);
    const QImage scaled = shot(form);

    std::vector<Framed> framed;
    framed.push_back({QStringLiteral("window frame"), form->rect(), 2, 15, true});
    for (TCaptionButtonKind kind : {cbClose, cbMinimize, cbMaximize, cbHelp}) {
        const TGradientCaptionButton* b = form->GradientCaption1->button(kind);
        if (b->isVisible())
            framed.push_back({QStringLiteral("caption button %1").arg(kind), b->rect(), 2, 15, true});
    }
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(form))
            continue;
        Framed f{w->metaObject()->className() + QStringLiteral(" ") + w->objectName(), inWindow(w), 0, 15, true};
        if (auto* panel = qobject_cast<TPanel*>(w))
            f.depth = panel->frameWidth();
        else if (qobject_cast<TBevel*>(w))
            f.depth = 1;
        else if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w))
            f = {f.what, f.rect, 2, 15, false};
        else if (auto* frame = qobject_cast<QFrame*>(w))
            f = {f.what, f.rect, frame->frameWidth(), 15, false};
        if (f.depth == 0)
            continue;
        // A side too short to have a middle, cut off by the parent, or
        // covered by a later sibling (the minesweeper's cells share their
        // edge line) is left out.
        const QRect parent = w->parentWidget()->rect();
        const QRect g = w->geometry();
        if (g.left() < 0)
            f.sides &= ~0b0001;
        if (g.top() < 0)
            f.sides &= ~0b0010;
        if (g.right() >= parent.width())
            f.sides &= ~0b0100;
        if (g.bottom() >= parent.height())
            f.sides &= ~0b1000;
        if (w->height() <= 2 * f.depth)
            f.sides &= ~0b0101;
        if (w->width() <= 2 * f.depth)
            f.sides &= ~0b1010;
        const QWidgetList siblings = w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (qsizetype i = siblings.indexOf(w) + 1; i < siblings.size(); ++i) {
            const QRect other = siblings[i]->geometry();
            if (!siblings[i]->isVisibleTo(form))
                continue;
            if (other.intersects(QRect(g.right(), g.top(), 1, g.height())))
                f.sides &= ~0b0100;
            if (other.intersects(QRect(g.left(), g.bottom(), g.width(), 1)))
                f.sides &= ~0b1000;
        }
        framed.push_back(f);
    }
    for (const Framed& f : framed) {
        const QString fault = bevelFault(one, scaled, f, s);
        QVERIFY2(fault.isEmpty(), qPrintable(f.what + QStringLiteral(", ") + fault));
    }
}

void TstScales::countersShowEveryDigitWhole()
{
    const qreal s = displayScale();
    for (const QString& name : {QStringLiteral("TFormFifteen"), QStringLiteral("TFormSaper"), QStringLiteral("TFormSea")}) {
        TForm* form = FindForm(name);
        TDigitalDisplay* counter = form->findChild<TDigitalDisplay*>();
        QVERIFY(counter);
        for (const QString& digits : {QStringLiteral("012"), QStringLiteral("345"), QStringLiteral("678"),
                                      QStringLiteral("999")}) {
            counter->setText(digits);
            const QRect area = inWindow(counter);
            const QStringList atOne = readDots(shotAtScaleOne(form).copy(area));
            const QStringList atScale = readDots(shot(form).copy(onDevice(area, s)));
            QCOMPARE(atOne.size(), 3);
            QCOMPARE(atScale.join(QLatin1String("  ")), atOne.join(QLatin1String("  ")));
        }
        counter->setText(QStringLiteral("000"));
    }
}

void TstScales::picturesAreScaledEvenly()
{
    const qreal s = displayScale();
    // Tolerance for the rounding of a smooth reduction.
    constexpr int tolerance = 4;

    // Every kind of sea cell, one on each of the first cells of the board.
    TForm* sea = FindForm(QStringLiteral("TFormSea"));
    QList<QImage> pictures;
    for (const char* file : {"seaclear.bmp", "seaship.bmp", "seaset.bmp", "seagoal.bmp", "seakilled.bmp", "seamissed.bmp"})
        pictures << QImage(QString::fromLatin1(file)).copy(0, 0, 25, 25);
    QList<TImage*> cells = sea->findChildren<TImage*>();
    QVERIFY(cells.size() >= pictures.size());
    for (int i = 0; i < pictures.size(); ++i)
        cells[i]->setPicture(&pictures[i]);
    const QImage seaShot = shot(sea);
    for (TImage* cell : cells) {
        if (!cell->picture())
            continue;
        const QRect area = onDevice(inWindow(cell), s);
        const QImage expected = areaAverage(*cell->picture(), area.size());
        QVERIFY2(largestDifference(seaShot, area, expected, [](QPoint) { return true; }) <= tolerance,
                 qPrintable(cell->objectName()));
    }
    for (TImage* cell : cells)
        cell->setPicture(nullptr);

    // The first tile of every window's wallpaper, where no control covers it.
    for (const QString& name : FormNames()) {
        TForm* form = FindForm(name);
        TWallpaper* wallpaper = form->Wallpaper1;
        const QImage picture = shot(form);
        const QRect panel = onDevice(inWindow(wallpaper), s);
        // Tiles begin inside the bevel, as wide as the window frame's lines.
        int line = 1;
        while (picture.pixel(panel.left() + line, panel.center().y()) == picture.pixel(panel.left(), panel.center().y()))
            ++line;
        const QImage& tile = TWallpaper::sharedTile();
        const QRect area(panel.topLeft() + QPoint(line, line), (QSizeF(tile.size()) * s).toSize());
        QList<QRect> covered;
        for (QWidget* child : wallpaper->findChildren<QWidget*>())
            if (child->isVisibleTo(form))
                covered << onDevice(inWindow(child), s).adjusted(-1, -1, 1, 1);
        const QRect inside = panel.adjusted(line, line, -line, -line);
        auto uncovered = [&](QPoint p) {
            return inside.contains(p)
                && std::none_of(covered.begin(), covered.end(), [&](const QRect& r) { return r.contains(p); });
        };
        QVERIFY2(largestDifference(picture, area, areaAverage(tile, area.size()), uncovered) <= tolerance,
                 qPrintable(name));
    }
}

TIVORAMA_TEST_MAIN(TstScales)
#include "tst_scales.moc"
