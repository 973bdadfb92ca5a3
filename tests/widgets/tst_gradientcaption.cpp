// The gradient title bar and the frameless window frame: band colours, the
// layout of icon, text and buttons per border style, the buttons' mouse
// handling, double clicks, the window menu and the window's exact size.
#include "testmain.h"
#include "testutil.h"

#include "tform.h"
#include "tgradientcaption.h"
#include "tpanel.h"

#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int kClientWidth = 300; // so every bar below is 300 pixels wide

// A window set up as the program's windows are, with a fixed client size.
std::unique_ptr<TForm> makeForm(TBorderStyle style, TBorderIcons icons, const QString& title = QStringLiteral("Окно"))
{
    auto form = std::make_unique<TForm>(QStringLiteral("F"));
    form->setWindowTitle(title);
    form->setBorderStyle(style);
    form->setBorderIcons(icons);
    form->setClientSize(kClientWidth, 120);
    return form;
}

// Shown at a known place, so global and window coordinates can be compared.
bool showAt(TForm& form, const QPoint& at = QPoint(100, 100))
{
    form.move(at);
    form.show();
    form.activateWindow();
    return QTest::qWaitForWindowActive(&form);
}

// Runs `action` on the popup menu once it is open (inside its exec()).
// Gives up after a few seconds.
void whenPopupShown(std::function<void(QMenu*)> action)
{
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, action, tries] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        const bool open = menu && menu->isVisible();
        if (open || ++*tries > 1000) {
            timer->stop();
            timer->deleteLater();
        }
        if (open)
            action(menu);
    });
    timer->start(5);
}

} // namespace

class TstGradientCaption : public QObject {
    Q_OBJECT
private slots:
    void gradientColours_data();
    void gradientColours();
    void layoutPerBorderStyle_data();
    void layoutPerBorderStyle();
    void hitRectangles_data();
    void hitRectangles();
    void buttonActsOnlyOnReleaseOverIt_data();
    void buttonActsOnlyOnReleaseOverIt();
    void maximizeAndRestore_data();
    void maximizeAndRestore();
    void windowMenuGreying_data();
    void windowMenuGreying();
    void iconPressOpensMenuBelowBar();
    void doubleClickOnIcon_data();
    void doubleClickOnIcon();
    void rightClickOpensMenuAtCursor();
    void longCaptionEndsWithEllipsisBeforeButtons();
    void barFollowsActivation();
    void ownerMustBeForm_data();
    void ownerMustBeForm();
    void windowSizeIsClientPlusFrame_data();
    void windowSizeIsClientPlusFrame();
    void framePixels();
};

void TstGradientCaption::gradientColours_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("numColors");
    QTest::addColumn<int>("x"); // from the bar's left edge
    QTest::addColumn<QColor>("expected");

    // 300 pixels in 255 bands: band i starts at round(i * 300 / 255).
    QTest::newRow("band 0 is navy") << true << 255 << 0 << QColor(0, 0, 128);
    QTest::newRow("band 1 rounds the half blue step up") << true << 255 << 1 << QColor(1, 0, 129);
    QTest::newRow("band 127 rounds both halves up") << true << 255 << 149 << QColor(128, 0, 192);
    QTest::newRow("band 254 is fuchsia") << true << 255 << 299 << QColor(255, 0, 255);
    QTest::newRow("inactive band 0 is navy") << false << 255 << 0 << QColor(0, 0, 128);
    QTest::newRow("inactive band 127") << false << 255 << 149 << QColor(128, 128, 192);
    QTest::newRow("inactive band 254 is white") << false << 255 << 299 << QColor(255, 255, 255);
    QTest::newRow("one colour, left end") << true << 1 << 0 << QColor(0, 0, 128);
    QTest::newRow("one colour, right end") << true << 1 << 299 << QColor(0, 0, 128);
    QTest::newRow("more colours than pixels, left end") << true << 1000 << 0 << QColor(0, 0, 128);
    QTest::newRow("more colours than pixels, right end") << true << 1000 << 299 << QColor(255, 0, 255);
    QTest::newRow("no colours leaves the face") << true << 0 << 150 << QColor(192, 192, 192);
}

void TstGradientCaption::gradientColours()
{
    QFETCH(bool, active);
    QFETCH(int, numColors);
    QFETCH(int, x);
    QFETCH(QColor, expected);
    // An empty caption keeps the text off the sampled pixels.
    auto form = makeForm(bsDialog, biSystemMenu, QString());
    form->GradientCaption1->setNumColors(numColors);
    const QImage bar = form->GradientCaption1->composeBar(active);
    const TCaptionLayout l = form->GradientCaption1->layOut();
    QCOMPARE(l.bar.width(), 300);
    QCOMPARE(bar.pixelColor(l.bar.x() + x, l.bar.y() + 1), expected);
}

void TstGradientCaption::layoutPerBorderStyle_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("icons");
    QTest::addColumn<QRect>("bar");
    QTest::addColumn<QRect>("icon");
    QTest::addColumn<QRect>("buttons");
    QTest::addColumn<QRect>("text");
    QTest::addColumn<QRect>("close"); // an empty rectangle: hidden
    QTest::addColumn<QRect>("maximize");
    QTest::addColumn<QRect>("minimize");
    QTest::addColumn<QRect>("help");
    QTest::addColumn<bool>("maximizeEnabled");

    const QRect hidden;
    QTest::newRow("game window: greyed maximize beside minimize")
        << int(bsSingle) << (biSystemMenu | biMinimize) << QRect(3, 3, 300, 18) << QRect(3, 3, 18, 18)
        << QRect(253, 5, 50, 14) << QRect(23, 5, 228, 14) << QRect(285, 5, 16, 14) << QRect(267, 5, 16, 14)
        << QRect(251, 5, 16, 14) << hidden << false;
    QTest::newRow("table window: maximize works")
        << int(bsSingle) << (biSystemMenu | biMinimize | biMaximize) << QRect(3, 3, 300, 18) << QRect(3, 3, 18, 18)
        << QRect(253, 5, 50, 14) << QRect(23, 5, 228, 14) << QRect(285, 5, 16, 14) << QRect(267, 5, 16, 14)
        << QRect(251, 5, 16, 14) << hidden << true;
    QTest::newRow("single border without system menu: no icon, no buttons")
        << int(bsSingle) << (biMinimize | biMaximize) << QRect(3, 3, 300, 18) << QRect(3, 3, 0, 18)
        << QRect(303, 5, 0, 14) << QRect(5, 5, 296, 14) << hidden << hidden << hidden << hidden << true;
    QTest::newRow("dialog: close only, no icon")
        << int(bsDialog) << int(biSystemMenu) << QRect(3, 3, 300, 18) << QRect(3, 3, 0, 18) << QRect(285, 5, 18, 14)
        << QRect(5, 5, 278, 14) << QRect(285, 5, 16, 14) << hidden << hidden << hidden << false;
    QTest::newRow("dialog asking for help and boxes: close and help")
        << int(bsDialog) << (biSystemMenu | biHelp | biMinimize | biMaximize) << QRect(3, 3, 300, 18)
        << QRect(3, 3, 0, 18) << QRect(269, 5, 34, 14) << QRect(5, 5, 262, 14) << QRect(285, 5, 16, 14) << hidden
        << hidden << QRect(267, 5, 16, 14) << true;
    QTest::newRow("sizeable: four-pixel frame")
        << int(bsSizeable) << (biSystemMenu | biMaximize) << QRect(4, 4, 300, 18) << QRect(4, 4, 18, 18)
        << QRect(254, 6, 50, 14) << QRect(24, 6, 228, 14) << QRect(286, 6, 16, 14) << QRect(268, 6, 16, 14)
        << QRect(252, 6, 16, 14) << hidden << true;
    QTest::newRow("tool window: small close only")
        << int(bsToolWindow) << (biSystemMenu | biMinimize) << QRect(3, 3, 300, 14) << QRect(3, 3, 0, 14)
        << QRect(287, 5, 16, 10) << QRect(5, 5, 280, 10) << QRect(289, 5, 12, 10) << hidden << hidden << hidden
        << true;
    QTest::newRow("no border: no bar")
        << int(bsNone) << int(biSystemMenu) << QRect(0, 0, 300, 0) << QRect(0, 0, 18, 0) << QRect(282, 2, 18, 0)
        << QRect(20, 2, 260, 0) << hidden << hidden << hidden << hidden << true;
}

void TstGradientCaption::layoutPerBorderStyle()
{
    QFETCH(int, style);
    QFETCH(int, icons);
    QFETCH(QRect, bar);
    QFETCH(QRect, icon);
    QFETCH(QRect, buttons);
    QFETCH(QRect, text);
    QFETCH(QRect, close);
    QFETCH(QRect, maximize);
    QFETCH(QRect, minimize);
    QFETCH(QRect, help);
    QFETCH(bool, maximizeEnabled);

    auto form = makeForm(TBorderStyle(style), icons);
    TGradientCaption* caption = form->GradientCaption1;
    const TCaptionLayout l = caption->layOut();
    QCOMPARE(l.bar, bar);
    if (bar.height() > 0) {
        QCOMPARE(l.icon, icon);
        QCOMPARE(l.buttons, buttons);
        QCOMPARE(l.text, text);
    }
    auto placed = [&](TCaptionButtonKind kind) {
        const TGradientCaptionButton* b = caption->button(kind);
        return b->isVisible() ? b->rect() : QRect();
    };
    QCOMPARE(placed(cbClose), close);
    QCOMPARE(placed(cbMaximize), maximize);
    QCOMPARE(placed(cbMinimize), minimize);
    QCOMPARE(placed(cbHelp), help);
    if (!maximize.isEmpty())
        QCOMPARE(caption->button(cbMaximize)->isEnabled(), maximizeEnabled);
    QCOMPARE(caption->composeBar(true).isNull(), bar.height() == 0);
}

void TstGradientCaption::hitRectangles_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("pressed"); // kind of the button pressed, -1 none

    // Table window, 306 wide: close 285..300, maximize 267..282, minimize
    // 251..266, all from y 5 to 18; the bar ends at x 302.
    QTest::newRow("close face") << QPoint(292, 11) << int(cbClose);
    QTest::newRow("2 above close") << QPoint(292, 3) << int(cbClose);
    QTest::newRow("2 below close") << QPoint(292, 20) << int(cbClose);
    QTest::newRow("2 right of close") << QPoint(302, 11) << int(cbClose);
    QTest::newRow("3 above close is the frame") << QPoint(292, 2) << -1;
    QTest::newRow("gap left of close") << QPoint(284, 11) << -1;
    QTest::newRow("right of maximize is the gap") << QPoint(283, 11) << -1;
    QTest::newRow("2 above maximize") << QPoint(275, 3) << int(cbMaximize);
    QTest::newRow("maximize and minimize touch") << QPoint(266, 11) << int(cbMinimize);
    QTest::newRow("2 below minimize") << QPoint(251, 20) << int(cbMinimize);
    QTest::newRow("left of minimize") << QPoint(250, 11) << -1;
}

void TstGradientCaption::hitRectangles()
{
    QFETCH(QPoint, point);
    QFETCH(int, pressed);
    auto form = makeForm(bsSingle, biSystemMenu | biMinimize | biMaximize);
    QVERIFY(showAt(*form));
    TGradientCaption* caption = form->GradientCaption1;
    QTest::mousePress(form.get(), Qt::LeftButton, {}, point);
    for (TCaptionButtonKind kind : {cbClose, cbMaximize, cbMinimize, cbHelp})
        QCOMPARE(caption->button(kind)->isPressed(), kind == pressed);
    // Let go far away, so nothing acts.
    QTest::mouseRelease(form.get(), Qt::LeftButton, {}, QPoint(150, 100));
    QVERIFY(form->isVisible());
    QVERIFY(!form->isMaximized());
}

void TstGradientCaption::buttonActsOnlyOnReleaseOverIt_data()
{
    QTest::addColumn<QList<QPoint>>("moves");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<bool>("closes");

    const QPoint on(292, 11), off(200, 60);
    QTest::newRow("click") << QList<QPoint>{} << on << true;
    QTest::newRow("moved off and released") << QList<QPoint>{off} << off << false;
    QTest::newRow("moved off and back on") << QList<QPoint>{off, on} << on << true;
    QTest::newRow("released 2 right of the face") << QList<QPoint>{} << QPoint(302, 11) << true;
    QTest::newRow("released on another button") << QList<QPoint>{} << QPoint(258, 11) << false;
}

void TstGradientCaption::buttonActsOnlyOnReleaseOverIt()
{
    QFETCH(QList<QPoint>, moves);
    QFETCH(QPoint, release);
    QFETCH(bool, closes);
    auto form = makeForm(bsSingle, biSystemMenu | biMinimize | biMaximize);
    QVERIFY(showAt(*form));
    const TGradientCaptionButton* close = form->GradientCaption1->button(cbClose);
    QTest::mousePress(form.get(), Qt::LeftButton, {}, QPoint(292, 11));
    QVERIFY(close->isPressed());
    for (const QPoint& p : moves) {
        QTest::mouseMove(form.get(), p);
        QCOMPARE(close->isPressed(), p == QPoint(292, 11));
    }
    QTest::mouseRelease(form.get(), Qt::LeftButton, {}, release);
    QVERIFY(!close->isPressed());
    QVERIFY(!close->isTracking());
    QCOMPARE(form->isVisible(), !closes);
    QVERIFY(!form->isMinimized());
}

void TstGradientCaption::maximizeAndRestore_data()
{
    QTest::addColumn<int>("icons");
    QTest::addColumn<bool>("byButton"); // else by a double click on the text
    QTest::addColumn<bool>("maximizes");

    QTest::newRow("table window, maximize button") << (biSystemMenu | biMinimize | biMaximize) << true << true;
    QTest::newRow("table window, double click on the text") << (biSystemMenu | biMinimize | biMaximize) << false
                                                             << true;
    QTest::newRow("game window, greyed maximize button") << (biSystemMenu | biMinimize) << true << false;
    QTest::newRow("game window, double click on the text") << (biSystemMenu | biMinimize) << false << false;
}

void TstGradientCaption::maximizeAndRestore()
{
    QFETCH(int, icons);
    QFETCH(bool, byButton);
    QFETCH(bool, maximizes);
    auto form = makeForm(bsSingle, icons);
    form->menuBar()->addMenu(QStringLiteral("&Игра"));
    const QSize fixed = form->size();
    QVERIFY(showAt(*form));
    const QPoint place = form->pos();
    auto toggle = [&] {
        // The maximize button keeps its distance from the right edge.
        if (byButton)
            QTest::mouseClick(form.get(), Qt::LeftButton, {}, QPoint(form->width() - 31, 11));
        else
            QTest::mouseDClick(form.get(), Qt::LeftButton, {}, QPoint(100, 11));
    };

    toggle();
    if (!maximizes) {
        QCoreApplication::processEvents();
        QVERIFY(!form->isMaximized());
        QCOMPARE(form->size(), fixed);
        return;
    }
    QTRY_VERIFY(form->isMaximized());
    const QSize screen = form->screen()->availableGeometry().size();
    QTRY_COMPARE(form->size(), screen);
    // The client area grows with the window, and the wallpaper fills it.
    QCOMPARE(form->clientArea()->size(), screen - QSize(6, 6 + 19 + 19));
    QCOMPARE(form->Wallpaper1->size(), form->clientArea()->size());

    toggle();
    QTRY_VERIFY(!form->isMaximized());
    QTRY_COMPARE(form->size(), fixed);
    QCOMPARE(form->pos(), place);
    QCOMPARE(form->minimumSize(), fixed);
    QCOMPARE(form->maximumSize(), fixed);
    QCOMPARE(form->Wallpaper1->size(), QSize(kClientWidth, 120));
}

void TstGradientCaption::windowMenuGreying_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("icons");
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<QString>("enabled"); // initials of the enabled items, in menu order
    QTest::addColumn<QString>("byDefault");

    // Restore, Move, Size, Minimize (Свернуть), Maximize (Развернуть), Close.
    QTest::newRow("game window") << int(bsSingle) << (biSystemMenu | biMinimize) << false << QStringLiteral("ПСЗ")
                                 << QStringLiteral("&Закрыть");
    QTest::newRow("table window") << int(bsSingle) << (biSystemMenu | biMinimize | biMaximize) << false
                                  << QStringLiteral("ПСРЗ") << QStringLiteral("&Закрыть");
    QTest::newRow("table window maximized") << int(bsSingle) << (biSystemMenu | biMinimize | biMaximize) << true
                                            << QStringLiteral("ВСЗ") << QStringLiteral("&Восстановить");
    QTest::newRow("dialog") << int(bsDialog) << int(biSystemMenu) << false << QStringLiteral("ПЗ")
                            << QStringLiteral("&Закрыть");
}

void TstGradientCaption::windowMenuGreying()
{
    QFETCH(int, style);
    QFETCH(int, icons);
    QFETCH(bool, maximized);
    QFETCH(QString, enabled);
    QFETCH(QString, byDefault);
    auto form = makeForm(TBorderStyle(style), icons);
    QVERIFY(showAt(*form));
    if (maximized) {
        form->maximize();
        QTRY_VERIFY(form->isMaximized());
    }
    QMenu* menu = form->GradientCaption1->prepareWindowMenu();
    QString initials;
    for (QAction* a : menu->actions())
        if (!a->isSeparator() && a->isEnabled())
            initials += a->text().remove(QLatin1Char('&')).at(0);
    QCOMPARE(initials, enabled);
    QVERIFY(menu->defaultAction());
    QVERIFY(menu->defaultAction()->text().startsWith(byDefault));
}

void TstGradientCaption::iconPressOpensMenuBelowBar()
{
    auto form = makeForm(bsSingle, biSystemMenu | biMinimize);
    QVERIFY(showAt(*form, QPoint(100, 100)));
    QPoint menuAt;
    whenPopupShown([&](QMenu* menu) {
        menuAt = menu->pos();
        menu->close();
    });
    QTest::mousePress(form.get(), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(menuAt, QPoint(100 + 3, 100 + 3 + 18));
    QVERIFY(form->isVisible());
}

void TstGradientCaption::doubleClickOnIcon_data()
{
    QTest::addColumn<int>("secondPressAfterMs");
    QTest::addColumn<bool>("closes");

    QTest::newRow("second press within the double-click time") << 0 << true;
    QTest::newRow("second press later only closes the menu") << 60 << false;
}

void TstGradientCaption::doubleClickOnIcon()
{
    QFETCH(int, secondPressAfterMs);
    QFETCH(bool, closes);
    const int interval = QApplication::doubleClickInterval();
    QApplication::setDoubleClickInterval(secondPressAfterMs > 0 ? secondPressAfterMs / 2 : 400);
    auto restoreInterval = qScopeGuard([interval] { QApplication::setDoubleClickInterval(interval); });

    auto form = makeForm(bsSingle, biSystemMenu | biMinimize);
    QVERIFY(showAt(*form));
    const QPoint icon(10, 10);
    bool menuClosed = false;
    whenPopupShown([&](QMenu* menu) {
        QTest::qWait(secondPressAfterMs);
        // The second press goes through the window system, which hands it
        // to the open menu.
        QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, icon);
        menuClosed = !menu->isVisible();
        QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, icon);
    });
    QTest::mousePress(form.get(), Qt::LeftButton, {}, icon);
    QVERIFY(menuClosed);
    QTest::qWait(20); // anything the menu left behind for the window
    QCOMPARE(form->isVisible(), !closes);
    QVERIFY(!QApplication::activePopupWidget()); // the menu did not open again
}

void TstGradientCaption::rightClickOpensMenuAtCursor()
{
    auto form = makeForm(bsSingle, biSystemMenu | biMinimize);
    QVERIFY(showAt(*form, QPoint(100, 100)));
    QPoint menuAt;
    int opened = 0;
    whenPopupShown([&](QMenu* menu) {
        ++opened;
        menuAt = menu->pos();
        menu->close();
    });
    const QPoint text(120, 10);
    QTest::mousePress(form.get(), Qt::RightButton, {}, text);
    QCOMPARE(opened, 0); // the menu waits for the release
    QTest::mouseRelease(form.get(), Qt::RightButton, {}, text);
    QCOMPARE(opened, 1);
    QCOMPARE(menuAt, form->mapToGlobal(text));
}

void TstGradientCaption::longCaptionEndsWithEllipsisBeforeButtons()
{
    auto form = makeForm(bsSingle, biSystemMenu | biMinimize,
                         QStringLiteral("Морской бой - лучшие результаты всех игроков за всё время игры"));
    TGradientCaption* caption = form->GradientCaption1;
    const QImage bar = caption->composeBar(true);
    const TCaptionLayout l = caption->layOut();
    // The active gradient has no green; the white text has.
    auto inkAt = [&](int x) {
        for (int y = l.text.top(); y <= l.text.bottom(); ++y)
            if (qGreen(bar.pixel(x, y)) > 100)
                return true;
        return false;
    };
    int rightmost = -1;
    for (int x = l.text.left(); x < caption->button(cbMinimize)->rect().left(); ++x)
        if (inkAt(x))
            rightmost = x;
    QVERIFY(rightmost <= l.text.right());
    // Cut, not merely clipped: the dots of the ellipsis reach close to the end.
    QVERIFY2(rightmost > l.text.right() - 12, qPrintable(QString::number(rightmost)));
    QCOMPARE(inkAt(rightmost - 1) && inkAt(rightmost - 2), false); // the last dot stands alone
}

void TstGradientCaption::barFollowsActivation()
{
    auto first = makeForm(bsSingle, biSystemMenu | biMinimize);
    auto second = makeForm(bsSingle, biSystemMenu | biMinimize);
    QVERIFY(showAt(*first, QPoint(50, 50)));
    const QPoint barEnd(3 + 299, 10);
    QCOMPARE(first->grab().toImage().pixelColor(barEnd), QColor(255, 0, 255));
    QVERIFY(showAt(*second, QPoint(400, 50)));
    QCOMPARE(first->grab().toImage().pixelColor(barEnd), QColor(255, 255, 255));
    QCOMPARE(second->grab().toImage().pixelColor(barEnd), QColor(255, 0, 255));
}

void TstGradientCaption::ownerMustBeForm_data()
{
    QTest::addColumn<bool>("widget");
    QTest::newRow("plain object") << false;
    QTest::newRow("widget that is no form") << true;
}

void TstGradientCaption::ownerMustBeForm()
{
    QFETCH(bool, widget);
    std::unique_ptr<QObject> owner(widget ? new QWidget : new QObject);
    QString error;
    try {
        TGradientCaption caption(owner.get());
    } catch (const EError& e) {
        error = e.text();
    }
    QCOMPARE(error, QStringLiteral("The GradientCaption's owner must be a Form!"));
    QVERIFY(owner->children().isEmpty());
}

void TstGradientCaption::windowSizeIsClientPlusFrame_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("menu");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QPoint>("clientAt");

    QTest::newRow("single") << int(bsSingle) << false << QSize(306, 145) << QPoint(3, 22);
    QTest::newRow("single with menu bar") << int(bsSingle) << true << QSize(306, 164) << QPoint(3, 41);
    QTest::newRow("dialog") << int(bsDialog) << false << QSize(306, 145) << QPoint(3, 22);
    QTest::newRow("sizeable") << int(bsSizeable) << false << QSize(308, 147) << QPoint(4, 23);
    QTest::newRow("tool window") << int(bsToolWindow) << false << QSize(306, 141) << QPoint(3, 18);
    QTest::newRow("no border") << int(bsNone) << false << QSize(300, 120) << QPoint(0, 0);
}

void TstGradientCaption::windowSizeIsClientPlusFrame()
{
    QFETCH(int, style);
    QFETCH(bool, menu);
    QFETCH(QSize, window);
    QFETCH(QPoint, clientAt);
    auto form = makeForm(TBorderStyle(style), biSystemMenu | biMinimize);
    if (menu)
        form->addMenu(QStringLiteral("&Игра"));
    QCOMPARE(form->size(), window);
    QCOMPARE(form->clientArea()->geometry(), QRect(clientAt, QSize(kClientWidth, 120)));
    // Centred by that exact size.
    form->Show();
    const QRect screen = form->screen()->availableGeometry();
    QCOMPARE(form->geometry().center(), screen.center());
}

void TstGradientCaption::framePixels()
{
    auto form = makeForm(bsSingle, biSystemMenu | biMinimize);
    QVERIFY(showAt(*form));
    const QImage picture = form->grab().toImage();
    const int right = form->width() - 1, bottom = form->height() - 1;
    const QColor face(192, 192, 192), white(255, 255, 255), grey(128, 128, 128), black(0, 0, 0);
    QCOMPARE(picture.pixelColor(0, 50), face);
    QCOMPARE(picture.pixelColor(50, 0), face);
    QCOMPARE(picture.pixelColor(right, 50), black);
    QCOMPARE(picture.pixelColor(50, bottom), black);
    QCOMPARE(picture.pixelColor(1, 50), white);
    QCOMPARE(picture.pixelColor(right - 1, 50), grey);
    QCOMPARE(picture.pixelColor(50, bottom - 1), grey);
    QCOMPARE(picture.pixelColor(2, 50), face);
    QCOMPARE(picture.pixelColor(50, 3 + 18), face); // the line below the bar
    QCOMPARE(picture.pixelColor(3, 3), QColor(0, 0, 128)); // the bar starts inside the frame
}

TIVORAMA_TEST_MAIN(TstGradientCaption)
#include "tst_gradientcaption.moc"
