// The shadow label: where the text and its shadow land, auto size, vertical
// layout, ampersands, transparency, the accelerator, the focus rectangle and
// clicks.
#include "testmain.h"

#include "look.h"
#include "tpanel.h"
#include "tshadowlabel.h"

#include <QLineEdit>
#include <QSignalSpy>

#include <functional>

namespace {

const QColor background(0, 128, 128);
const QColor ink(0, 0, 255);
const QColor shade(255, 0, 0);

// Unsmoothed text, so every drawn pixel has exactly the colour it was drawn in.
QFont crispFont(int px = 11, bool bold = true)
{
    QFont f = look::font(px, bold);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

void style(TShadowLabel& label, const QString& caption)
{
    label.setFont(crispFont());
    label.setColor(background);
    label.setFontColor(ink);
    label.setShadowColor(shade);
    label.setCaption(caption);
}

QImage grabImage(QWidget& w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRect boundsOf(const QImage& image, const QColor& c)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == c.rgb())
                r |= QRect(x, y, 1, 1);
    return r;
}

int countOf(const QImage& image, const QColor& c, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixel(x, y) == c.rgb();
    return n;
}

// A top-level window with an edit that has the focus, and another one.
struct FocusScene {
    QWidget window;
    QLineEdit* first = new QLineEdit(&window);
    QLineEdit* target = new QLineEdit(&window);
    TShadowLabel* label = new TShadowLabel(&window);

    FocusScene()
    {
        window.resize(200, 100);
        first->setGeometry(10, 40, 80, 20);
        target->setGeometry(100, 40, 80, 20);
        label->move(10, 10);
        style(*label, QStringLiteral("&Name"));
        label->setFocusControl(target);
    }
    bool show()
    {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        first->setFocus();
        return QTest::qWaitFor([this] { return first->hasFocus(); });
    }
};

} // namespace

using LabelAction = std::function<void(TShadowLabel&)>;
Q_DECLARE_METATYPE(LabelAction)

class TstShadowLabel : public QObject {
    Q_OBJECT
private slots:
    void shadowPlacement_data();
    void shadowPlacement();
    void autoSizeFitsText_data();
    void autoSizeFitsText();
    void autoSizeKeepsEdge_data();
    void autoSizeKeepsEdge();
    void autoSizeTriggers_data();
    void autoSizeTriggers();
    void layoutShiftsBlock_data();
    void layoutShiftsBlock();
    void ampersands_data();
    void ampersands();
    void acceleratorUnderlined();
    void backgroundBetweenLetters_data();
    void backgroundBetweenLetters();
    void acceleratorMovesFocus_data();
    void acceleratorMovesFocus();
    void destroyedFocusControlClears();
    void focusRectangle_data();
    void focusRectangle();
    void clicks_data();
    void clicks();
    void clickStaysWithTheControlUnderTheMouse();
};

void TstShadowLabel::shadowPlacement_data()
{
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QPoint>("textShift");
    QTest::addColumn<QPoint>("shadowShift"); // (-1, -1): no shadow pixels at all

    QTest::newRow("left top 2: shadow at the origin, text 2 right and down")
        << int(spLeftTop) << 2 << true << QPoint(2, 2) << QPoint(0, 0);
    QTest::newRow("left bottom 2") << int(spLeftBottom) << 2 << true << QPoint(2, 0) << QPoint(0, 2);
    QTest::newRow("right bottom 3") << int(spRightBottom) << 3 << true << QPoint(0, 0) << QPoint(3, 3);
    QTest::newRow("right top 1") << int(spRightTop) << 1 << true << QPoint(0, 1) << QPoint(1, 0);
    QTest::newRow("size 0 enabled: plain text") << int(spLeftTop) << 0 << true << QPoint(0, 0) << QPoint(-1, -1);
    QTest::newRow("size 0 disabled: highlight 1 px lower right")
        << int(spLeftTop) << 0 << false << QPoint(0, 0) << QPoint(1, 1);
    QTest::newRow("disabled keeps size and side") << int(spLeftTop) << 2 << false << QPoint(2, 2) << QPoint(0, 0);
}

void TstShadowLabel::shadowPlacement()
{
    QFETCH(int, pos);
    QFETCH(int, size);
    QFETCH(bool, enabled);
    QFETCH(QPoint, textShift);
    QFETCH(QPoint, shadowShift);

    auto make = [](TShadowLabel& label) {
        style(label, QStringLiteral("Hm"));
        label.setAutoSize(false);
        label.resize(60, 30);
    };
    TShadowLabel plain;
    make(plain);
    plain.setShadowSize(0);
    const QRect plainInk = boundsOf(grabImage(plain), ink);
    QVERIFY(!plainInk.isEmpty());

    TShadowLabel label;
    make(label);
    label.setShadowPos(TShadowPosition(pos));
    label.setShadowSize(quint8(size));
    label.setEnabled(enabled);
    const QImage image = grabImage(label);
    const QColor textColour = enabled ? ink : look::grayText();
    const QColor shadowColour = enabled ? shade : look::btnHighlight();

    const QRect text = boundsOf(image, textColour);
    QCOMPARE(text, plainInk.translated(textShift));
    if (shadowShift == QPoint(-1, -1)) {
        QCOMPARE(countOf(image, shadowColour, image.rect()), 0);
    } else {
        // The text covers part of its shadow; together they span both copies.
        QVERIFY(countOf(image, shadowColour, image.rect()) > 0);
        QCOMPARE(boundsOf(image, shadowColour) | text, plainInk.translated(textShift) | plainInk.translated(shadowShift));
    }
}

void TstShadowLabel::autoSizeFitsText_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("shadow");
    QTest::addColumn<QString>("shown"); // one line as drawn

    QTest::newRow("word, default shadow") << QStringLiteral("Ходы") << 1 << QStringLiteral("Ходы");
    QTest::newRow("shadow 2 grows both ways") << QStringLiteral("Hm") << 2 << QStringLiteral("Hm");
    QTest::newRow("no shadow") << QStringLiteral("Hm") << 0 << QStringLiteral("Hm");
    QTest::newRow("empty caption keeps a line") << QString() << 1 << QStringLiteral(" ");
    QTest::newRow("lone ampersand keeps a line") << QStringLiteral("&") << 1 << QStringLiteral(" ");
    QTest::newRow("accelerator mark takes no room") << QStringLiteral("&File") << 1 << QStringLiteral("File");
    QTest::newRow("two lines") << QStringLiteral("a\nbbbb") << 1 << QString();
    QTest::newRow("tab expanded") << QStringLiteral("a\tb") << 1 << QString();
}

void TstShadowLabel::autoSizeFitsText()
{
    QFETCH(QString, caption);
    QFETCH(int, shadow);
    QFETCH(QString, shown);

    TShadowLabel label;
    style(label, caption);
    label.setShadowSize(quint8(shadow));
    const QSize fitted = label.size();
    if (!shown.isEmpty()) {
        // One pixel either side of the text, the shadow's offset on top.
        const QSize text = QFontMetrics(label.font()).boundingRect(QRect(), 0, shown).size();
        QCOMPARE(fitted, text + QSize(shadow + 2, shadow));
    }

    // Drawn with room to spare, nothing lands outside the fitted size.
    TShadowLabel roomy;
    style(roomy, caption);
    roomy.setShadowSize(quint8(shadow));
    roomy.setAutoSize(false);
    roomy.resize(fitted + QSize(40, 40));
    const QImage wide = grabImage(roomy);
    QCOMPARE(grabImage(label), wide.copy(QRect(QPoint(0, 0), fitted)));
    const QRect drawn = boundsOf(wide, ink) | boundsOf(wide, shade);
    QVERIFY(QRect(QPoint(0, 0), fitted).contains(drawn) || drawn.isEmpty());
}

void TstShadowLabel::autoSizeKeepsEdge_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("keepsRight");

    QTest::newRow("left justified keeps its left edge") << int(taLeftJustify) << false;
    QTest::newRow("centred keeps its left edge") << int(taCenter) << false;
    QTest::newRow("right justified keeps its right edge") << int(taRightJustify) << true;
}

void TstShadowLabel::autoSizeKeepsEdge()
{
    QFETCH(int, alignment);
    QFETCH(bool, keepsRight);

    QWidget parent;
    parent.resize(300, 100);
    TShadowLabel label(&parent);
    label.setAlignment(TAlignment(alignment));
    label.move(150, 20);
    style(label, QStringLiteral("ab"));
    const QRect before = label.geometry();
    label.setCaption(QStringLiteral("a much longer caption"));
    const QRect after = label.geometry();

    QVERIFY(after.width() > before.width());
    QCOMPARE(after.top(), before.top());
    if (keepsRight)
        QCOMPARE(after.right(), before.right());
    else
        QCOMPARE(after.left(), before.left());
}

void TstShadowLabel::autoSizeTriggers_data()
{
    QTest::addColumn<LabelAction>("setup");
    QTest::addColumn<LabelAction>("change");
    QTest::addColumn<bool>("resizes");

    const LabelAction none = [](TShadowLabel&) {};
    QTest::newRow("caption") << none << LabelAction([](TShadowLabel& l) { l.setCaption(QStringLiteral("Longer")); })
                             << true;
    QTest::newRow("font") << none << LabelAction([](TShadowLabel& l) { l.setFont(crispFont(19)); }) << true;
    QTest::newRow("shadow size") << none << LabelAction([](TShadowLabel& l) { l.setShadowSize(4); }) << true;
    QTest::newRow("auto size switched on")
        << LabelAction([](TShadowLabel& l) { l.setAutoSize(false); l.resize(200, 50); })
        << LabelAction([](TShadowLabel& l) { l.setAutoSize(true); }) << true;
    QTest::newRow("word wrap on a narrow label")
        << LabelAction([](TShadowLabel& l) {
               l.setAutoSize(false);
               l.resize(30, 17);
               l.setAutoSize(true);
               l.setCaption(QStringLiteral("one two three"));
               l.resize(30, l.height());
           })
        << LabelAction([](TShadowLabel& l) { l.setWordWrap(true); }) << true;
    QTest::newRow("auto size off: caption leaves the size")
        << LabelAction([](TShadowLabel& l) { l.setAutoSize(false); })
        << LabelAction([](TShadowLabel& l) { l.setCaption(QStringLiteral("Longer")); }) << false;
    QTest::newRow("alignment alone leaves the size")
        << none << LabelAction([](TShadowLabel& l) { l.setAlignment(taRightJustify); }) << false;
}

void TstShadowLabel::autoSizeTriggers()
{
    QFETCH(LabelAction, setup);
    QFETCH(LabelAction, change);
    QFETCH(bool, resizes);

    TShadowLabel label;
    style(label, QStringLiteral("Hm"));
    setup(label);
    const QSize before = label.size();
    change(label);
    QCOMPARE(label.size() != before, resizes);
}

void TstShadowLabel::layoutShiftsBlock_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("extraHeight"); // label height minus the text block's
    QTest::addColumn<QPoint>("shift");

    // Off the top, the block spans the full width without the 1-pixel margins.
    QTest::newRow("top") << int(tlTop) << int(taLeftJustify) << 20 << QPoint(0, 0);
    QTest::newRow("bottom") << int(tlBottom) << int(taLeftJustify) << 20 << QPoint(-1, 20);
    QTest::newRow("centre") << int(tlCenter) << int(taCenter) << 21 << QPoint(0, 10);
    QTest::newRow("centre, taller than the label") << int(tlCenter) << int(taCenter) << -5 << QPoint(0, -2);
    QTest::newRow("bottom, taller than the label") << int(tlBottom) << int(taCenter) << -6 << QPoint(0, -6);
}

void TstShadowLabel::layoutShiftsBlock()
{
    QFETCH(int, layout);
    QFETCH(int, alignment);
    QFETCH(int, extraHeight);
    QFETCH(QPoint, shift);

    const QString caption = QStringLiteral("Wide\nH");
    TShadowLabel fitted;
    style(fitted, caption);
    const int block = fitted.height();
    const int width = 70;

    TShadowLabel top;
    style(top, caption);
    top.setAutoSize(false);
    top.setAlignment(TAlignment(alignment));
    top.resize(width, block + 40);
    const QImage reference = grabImage(top);

    TShadowLabel label;
    style(label, caption);
    label.setAutoSize(false);
    label.setAlignment(TAlignment(alignment));
    label.setTextLayout(TTextLayout(layout));
    label.resize(width, block + extraHeight);
    const QImage image = grabImage(label);

    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QPoint from = QPoint(x, y) - shift;
            const QRgb want = reference.rect().contains(from) ? reference.pixel(from) : background.rgb();
            if (image.pixel(x, y) != want)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) differs").arg(x).arg(y)));
        }
}

void TstShadowLabel::ampersands_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("accel");
    QTest::addColumn<QString>("sameAs"); // drawn without accelerator processing

    QTest::newRow("double ampersand shows one") << QStringLiteral("&&") << true << QStringLiteral("&");
    QTest::newRow("double ampersand inside words") << QStringLiteral("Tom && Jerry") << true
                                                   << QStringLiteral("Tom & Jerry");
    QTest::newRow("without accelerators both show") << QStringLiteral("&&") << false << QStringLiteral("&&");
}

void TstShadowLabel::ampersands()
{
    QFETCH(QString, caption);
    QFETCH(bool, accel);
    QFETCH(QString, sameAs);

    TShadowLabel label;
    label.setShowAccelChar(accel);
    style(label, caption);
    TShadowLabel literal;
    literal.setShowAccelChar(false);
    style(literal, sameAs);
    QCOMPARE(label.size(), literal.size());
    QCOMPARE(grabImage(label), grabImage(literal));
    if (!accel) {
        TShadowLabel single;
        single.setShowAccelChar(false);
        style(single, QStringLiteral("&"));
        QVERIFY(label.width() > single.width());
    }
}

void TstShadowLabel::acceleratorUnderlined()
{
    TShadowLabel marked;
    style(marked, QStringLiteral("&W"));
    marked.setShadowSize(0);
    TShadowLabel plain;
    style(plain, QStringLiteral("W"));
    plain.setShadowSize(0);
    QCOMPARE(marked.size(), plain.size());

    const QImage withMark = grabImage(marked);
    const QImage without = grabImage(plain);
    const QRect glyph = boundsOf(without, ink);
    QRect extra;
    for (int y = 0; y < withMark.height(); ++y)
        for (int x = 0; x < withMark.width(); ++x)
            if (withMark.pixel(x, y) == ink.rgb() && without.pixel(x, y) != ink.rgb())
                extra |= QRect(x, y, 1, 1);
    // A line under the letter, not a second glyph.
    QVERIFY(!extra.isEmpty());
    QVERIFY(extra.top() > glyph.center().y());
    QVERIFY(extra.width() >= glyph.width() / 2);
    QVERIFY(extra.height() <= 2);
}

void TstShadowLabel::backgroundBetweenLetters_data()
{
    QTest::addColumn<bool>("transparent");

    QTest::newRow("transparent shows the tiles") << true;
    QTest::newRow("opaque fills with the panel's colour") << false;
}

void TstShadowLabel::backgroundBetweenLetters()
{
    QFETCH(bool, transparent);

    QImage tile(128, 128, QImage::Format_RGB32);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            tile.setPixel(x, y, qRgb(x * 2, y * 2, 100));
    TWallpaper panel;
    panel.resize(200, 80);
    panel.setWallpaper(tile);
    auto* label = new TShadowLabel(&panel);
    label->move(20, 30);
    label->setFont(crispFont());
    label->setFontColor(Qt::black);
    label->setTransparent(transparent);
    label->setCaption(QStringLiteral("Ходы"));

    const QImage image = grabImage(panel);
    const QRect area = label->geometry();
    int background = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb got = image.pixel(x, y);
            if (got == qRgb(0, 0, 0) || got == look::btnHighlight().rgb())
                continue;
            const QRgb want = transparent ? tile.pixel((x - 1) % 128, (y - 1) % 128) : panel.color().rgb();
            if (got != want)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is neither text nor background").arg(x).arg(y)));
            ++background;
        }
    QVERIFY(background > area.width() * area.height() / 2);
    QVERIFY(countOf(image, Qt::black, area) > 10);
}

void TstShadowLabel::acceleratorMovesFocus_data()
{
    QTest::addColumn<LabelAction>("setup");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("moves");

    const LabelAction none = [](TShadowLabel&) {};
    QTest::newRow("Alt+accelerator focuses the control") << none << int(Qt::Key_N) << true;
    QTest::newRow("another letter does nothing") << none << int(Qt::Key_M) << false;
    QTest::newRow("accelerators off") << LabelAction([](TShadowLabel& l) { l.setShowAccelChar(false); })
                                      << int(Qt::Key_N) << false;
    QTest::newRow("label disabled") << LabelAction([](TShadowLabel& l) { l.setEnabled(false); })
                                    << int(Qt::Key_N) << false;
    QTest::newRow("control cannot take the focus")
        << LabelAction([](TShadowLabel& l) { l.focusControl()->setEnabled(false); }) << int(Qt::Key_N) << false;
    QTest::newRow("caption changed to another accelerator")
        << LabelAction([](TShadowLabel& l) { l.setCaption(QStringLiteral("Na&me")); }) << int(Qt::Key_M) << true;
}

void TstShadowLabel::acceleratorMovesFocus()
{
    QFETCH(LabelAction, setup);
    QFETCH(int, key);
    QFETCH(bool, moves);

    FocusScene scene;
    setup(*scene.label);
    QVERIFY(scene.show());
    QTest::keyClick(scene.first, Qt::Key(key), Qt::AltModifier);
    QCOMPARE(scene.target->hasFocus(), moves);
}

void TstShadowLabel::destroyedFocusControlClears()
{
    FocusScene scene;
    scene.label->setShowFocus(true);
    QVERIFY(scene.show());
    delete scene.target;
    QCOMPARE(scene.label->focusControl(), nullptr);
    QTest::keyClick(scene.first, Qt::Key_N, Qt::AltModifier);
    QVERIFY(scene.first->hasFocus());
    QVERIFY(!grabImage(*scene.label).isNull());
}

void TstShadowLabel::focusRectangle_data()
{
    QTest::addColumn<bool>("showFocus");
    QTest::addColumn<bool>("focusTarget");
    QTest::addColumn<bool>("dotted");

    QTest::newRow("shown while the control has the focus") << true << true << true;
    QTest::newRow("not while another control has it") << true << false << false;
    QTest::newRow("not without ShowFocus") << false << true << false;
}

void TstShadowLabel::focusRectangle()
{
    QFETCH(bool, showFocus);
    QFETCH(bool, focusTarget);
    QFETCH(bool, dotted);

    FocusScene scene;
    scene.label->setShowFocus(showFocus);
    QVERIFY(scene.show());
    int paints = 0;
    struct PaintCounter : QObject {
        int* n;
        explicit PaintCounter(int* n) : n(n) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            *n += e->type() == QEvent::Paint;
            return false;
        }
    } counter(&paints);
    scene.label->installEventFilter(&counter);
    if (focusTarget)
        scene.target->setFocus();
    if (showFocus && focusTarget)
        QTRY_VERIFY(paints > 0);

    // The dots invert the background along the top row, every other pixel.
    const QImage image = grabImage(*scene.label);
    const QColor inverted(background.rgb() ^ 0x00ffffff);
    const int dots = countOf(image, inverted, QRect(0, 0, image.width(), 1));
    if (dotted) {
        QCOMPARE(dots, (image.width() + 1) / 2);
        QCOMPARE(countOf(image, inverted, QRect(0, 0, 1, image.height())), (image.height() + 1) / 2);
    } else {
        QCOMPARE(dots, 0);
    }
}

void TstShadowLabel::clicks_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QPoint>("releaseAt");
    QTest::addColumn<int>("expected");

    QTest::newRow("left press and release inside") << int(Qt::LeftButton) << QPoint(5, 5) << 1;
    QTest::newRow("released outside") << int(Qt::LeftButton) << QPoint(200, 5) << 0;
    QTest::newRow("right button") << int(Qt::RightButton) << QPoint(5, 5) << 0;
}

void TstShadowLabel::clicks()
{
    QFETCH(int, button);
    QFETCH(QPoint, releaseAt);
    QFETCH(int, expected);

    TShadowLabel label;
    style(label, QStringLiteral("15"));
    QSignalSpy spy(&label, &TShadowLabel::clicked);
    QTest::mousePress(&label, Qt::MouseButton(button), {}, QPoint(5, 5));
    QTest::mouseRelease(&label, Qt::MouseButton(button), {}, releaseAt);
    QCOMPARE(spy.count(), expected);
}

void TstShadowLabel::clickStaysWithTheControlUnderTheMouse()
{
    // A tile: a label on a panel on a panel. Each click reaches one of them.
    TPanel board;
    board.resize(100, 100);
    auto* tile = new TPanel(&board);
    tile->setGeometry(10, 10, 50, 50);
    auto* label = new TShadowLabel(tile);
    label->setAutoSize(false);
    label->setGeometry(10, 13, 30, 25);
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    QSignalSpy boardClicks(&board, &TPanel::clicked), tileClicks(tile, &TPanel::clicked),
        labelClicks(label, &TShadowLabel::clicked);
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(labelClicks.count(), 1);
    QCOMPARE(tileClicks.count(), 0);
    QTest::mouseClick(tile, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(tileClicks.count(), 1);
    QCOMPARE(boardClicks.count(), 0);
}

TIVORAMA_TEST_MAIN(TstShadowLabel)
#include "tst_shadowlabel.moc"
