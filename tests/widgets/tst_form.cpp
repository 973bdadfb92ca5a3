// The window base: client geometry, modal and modeless showing, closing that
// hides, keyboard defaults, the activation rule and the error report.
#include "testmain.h"
#include "testutil.h"

#include "tform.h"
#include "tpanel.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

class CountingForm : public TForm {
public:
    explicit CountingForm(const QString& name)
        : TForm(name)
    {
        setClientSize(200, 100);
    }
    void FormActivate() override { ++activations; }
    void FormClose() override { ++closes; }
    int activations = 0;
    int closes = 0;
};

// A window whose activation fails, as one with an unreadable score file does.
class FailingForm : public CountingForm {
public:
    using CountingForm::CountingForm;
    void FormActivate() override
    {
        CountingForm::FormActivate();
        throw EError(QStringLiteral("activation %1 failed").arg(activations));
    }
};

bool becomeActive(QWidget* w)
{
    return QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 2000);
}

} // namespace

class TstForm : public QObject {
    Q_OBJECT
private slots:
    void clientSizeIsExactWithAndWithoutMenu();
    void closingOnlyHides();
    void activationFollowsModelessSwitches();
    void returnFromModalDialogIsNoActivation();
    void modalDialogActivatesEachShowing();
    void returnFromAnotherWindowIsNoActivation();
    void showingAgainAfterHideActivates();
    void enterPressesDefaultButtonAndEscCancels();
    void menuShortcutsReachTheirHandlers();
    void handlerErrorsReachTheReportAndTheProgramGoesOn();
    void errorReportShowsMessageBoxWithText();
    void errorsDuringOpenReportWaitTheirTurn();
};

void TstForm::clientSizeIsExactWithAndWithoutMenu()
{
    CountingForm plain(QStringLiteral("plain"));
    plain.setClientSize(289, 144);
    QCOMPARE(plain.clientArea()->size(), QSize(289, 144));
    QCOMPARE(plain.Wallpaper1->size(), QSize(289, 144));
    const TNonClientMetrics m = plain.nonClient();
    QCOMPARE(plain.size(), QSize(289 + 2 * m.frame, 144 + 2 * m.frame + m.caption));

    CountingForm withMenu(QStringLiteral("menu"));
    withMenu.addMenu(QStringLiteral("И&гра"));
    withMenu.setClientSize(245, 303);
    const TNonClientMetrics mm = withMenu.nonClient();
    QVERIFY(mm.menu > 0);
    QCOMPARE(withMenu.clientArea()->geometry(), QRect(mm.frame, mm.frame + mm.caption + mm.menu, 245, 303));
    QCOMPARE(withMenu.size(), QSize(245 + 2 * mm.frame, 303 + 2 * mm.frame + mm.caption + mm.menu));
    QCOMPARE(withMenu.minimumSize(), withMenu.maximumSize());
}

void TstForm::closingOnlyHides()
{
    QPointer<CountingForm> form = new CountingForm(QStringLiteral("f"));
    form->Show();
    QVERIFY(form->isVisible());
    QVERIFY(form->close());
    QVERIFY(!form->isVisible());
    QVERIFY(form); // still alive
    QCOMPARE(form->closes, 1);
    delete form;
}

void TstForm::activationFollowsModelessSwitches()
{
    CountingForm a(QStringLiteral("a")), b(QStringLiteral("b"));
    a.Show();
    QVERIFY(becomeActive(&a));
    QCOMPARE(a.activations, 1);
    b.Show();
    QVERIFY(becomeActive(&b));
    QCOMPARE(b.activations, 1);
    a.Show(); // a visible window is brought to the front and activated
    QVERIFY(becomeActive(&a));
    QCOMPARE(a.activations, 2);
    a.Show(); // already the active window: nothing new
    QTest::qWait(20);
    QCOMPARE(a.activations, 2);
    QCOMPARE(TForm::lastActiveModeless(), &a);
}

void TstForm::returnFromModalDialogIsNoActivation()
{
    CountingForm game(QStringLiteral("game")), dialog(QStringLiteral("dialog"));
    dialog.setBorderStyle(bsDialog);
    game.Show();
    QVERIFY(becomeActive(&game));
    QCOMPARE(game.activations, 1);
    whenModalShown([&](QWidget* w) {
        QCOMPARE(w, &dialog);
        dialog.setModalResult(mrOk);
    });
    QCOMPARE(dialog.ShowModal(), int(mrOk));
    QVERIFY(!dialog.isVisible());
    QVERIFY(becomeActive(&game));
    QTest::qWait(20);
    QCOMPARE(game.activations, 1);
    QCOMPARE(dialog.activations, 1);
}

void TstForm::modalDialogActivatesEachShowing()
{
    CountingForm owner(QStringLiteral("owner")), dialog(QStringLiteral("dialog"));
    owner.Show();
    QVERIFY(becomeActive(&owner));
    for (int i = 1; i <= 3; ++i) {
        whenModalShown([&](QWidget*) { dialog.close(); });
        QCOMPARE(dialog.ShowModal(), int(mrNone)); // closed without a result
        QCOMPARE(dialog.activations, i);
    }
    QCOMPARE(owner.activations, 1);
}

void TstForm::returnFromAnotherWindowIsNoActivation()
{
    CountingForm game(QStringLiteral("game"));
    game.Show();
    QVERIFY(becomeActive(&game));
    // A window that is not one of the program's forms stands for another
    // application taking the focus.
    QLabel other(QStringLiteral("elsewhere"));
    other.show();
    other.activateWindow();
    QVERIFY(becomeActive(&other));
    game.activateWindow();
    QVERIFY(becomeActive(&game));
    QTest::qWait(20);
    QCOMPARE(game.activations, 1);
}

void TstForm::showingAgainAfterHideActivates()
{
    CountingForm launcher(QStringLiteral("launcher")), game(QStringLiteral("game"));
    launcher.Show();
    QVERIFY(becomeActive(&launcher));
    game.Show();
    QVERIFY(becomeActive(&game));
    game.close();
    QVERIFY(!game.isVisible());
    // Whether or not the focus moved on when it hid, showing it again is an
    // activation.
    game.Show();
    QVERIFY(becomeActive(&game));
    QCOMPARE(game.activations, 2);
}

void TstForm::enterPressesDefaultButtonAndEscCancels()
{
    CountingForm dialog(QStringLiteral("dialog"));
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog.Wallpaper1);
    auto* other = new QPushButton(QStringLiteral("Другая"), dialog.Wallpaper1);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), dialog.Wallpaper1);
    other->move(0, 40);
    cancel->move(0, 70);
    dialog.setDefaultButton(ok);
    dialog.setCancelButton(cancel);
    int okClicks = 0, otherClicks = 0, cancelClicks = 0;
    connect(ok, &QPushButton::clicked, [&] { ++okClicks; });
    connect(other, &QPushButton::clicked, [&] { ++otherClicks; });
    connect(cancel, &QPushButton::clicked, [&] { ++cancelClicks; });
    dialog.Show();
    QVERIFY(becomeActive(&dialog));

    dialog.Wallpaper1->setFocus();
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(okClicks, 1);
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Return); // a focused button takes Enter itself
    QCOMPARE(otherClicks, 1);
    QCOMPARE(okClicks, 1);
    dialog.Wallpaper1->setFocus();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(cancelClicks, 1);
    ok->setEnabled(false);
    QTest::keyClick(&dialog, Qt::Key_Enter);
    QCOMPARE(okClicks, 1); // a disabled default button is not pressed
}

void TstForm::menuShortcutsReachTheirHandlers()
{
    CountingForm form(QStringLiteral("menu"));
    QMenu* game = form.addMenu(QStringLiteral("И&гра"));
    int f2 = 0, exit = 0;
    form.addItem(game, QStringLiteral("&Новый расклад"), QKeySequence(Qt::Key_F2), [&] { ++f2; });
    QAction* check = form.addItem(game, QStringLiteral("Новичок"), {}, {});
    check->setCheckable(true);
    form.addItem(game, QStringLiteral("&Выход"), QKeySequence(Qt::CTRL | Qt::Key_F10), [&] { ++exit; });
    form.setClientSize(100, 100);
    form.Show();
    QVERIFY(becomeActive(&form));
    QTest::keyClick(&form, Qt::Key_F2);
    QTest::keyClick(&form, Qt::Key_F10, Qt::ControlModifier);
    QCOMPARE(f2, 1);
    QCOMPARE(exit, 1);
    QVERIFY(game->actions().at(0)->text().contains(QLatin1Char('&')));
    QCOMPARE(game->actions().at(0)->shortcut(), QKeySequence(Qt::Key_F2));
}

void TstForm::handlerErrorsReachTheReportAndTheProgramGoesOn()
{
    ErrorCatcher catcher;
    FailingForm failing(QStringLiteral("failing"));
    auto* edit = new QLineEdit(failing.Wallpaper1);
    CountingForm other(QStringLiteral("other"));
    for (int round = 0; round < 2; ++round) {
        failing.Show();
        QVERIFY(becomeActive(&failing));
        // The error stopped our handler only: Qt's activation went on to
        // give the window's control the focus.
        QTRY_COMPARE(QApplication::focusWidget(), edit);
        other.Show();
        QVERIFY(becomeActive(&other));
    }
    QCOMPARE(catcher.errors,
             (QStringList{QStringLiteral("activation 1 failed"), QStringLiteral("activation 2 failed")}));

    // Handlers connected to signals are wrapped where they are connected: a
    // menu item, a button and a timer each report their error and run again
    // the next time.
    CountingForm form(QStringLiteral("guarded"));
    QMenu* menu = form.addMenu(QStringLiteral("И&гра"));
    form.addItem(menu, QStringLiteral("&Новый расклад"), QKeySequence(Qt::Key_F2),
                 [] { throw EError(QStringLiteral("menu failed")); });
    auto* button = new QPushButton(QStringLiteral("OK"), form.Wallpaper1);
    connect(button, &QPushButton::clicked, &form,
            errorreport::guard([] { throw EError(QStringLiteral("button failed")); }));
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, &form, errorreport::guard([&] {
                ++ticks;
                throw std::runtime_error("tick failed");
            }));
    form.Show();
    QVERIFY(becomeActive(&form));
    catcher.errors.clear();
    for (int round = 0; round < 2; ++round) {
        QTest::keyClick(&form, Qt::Key_F2);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    timer.start(5);
    QTRY_VERIFY(ticks >= 2);
    timer.stop();
    QCOMPARE(catcher.errors.mid(0, 4), (QStringList{QStringLiteral("menu failed"), QStringLiteral("button failed"),
                                                    QStringLiteral("menu failed"), QStringLiteral("button failed")}));
    QCOMPARE(catcher.errors.count(QStringLiteral("tick failed")), ticks);
}

void TstForm::errorReportShowsMessageBoxWithText()
{
    QString shownText;
    whenModalShown([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY(box);
        shownText = box->text();
        box->accept();
    });
    QTimer::singleShot(0, [] { throw EError(QStringLiteral("Файл 1.wav не найден")); });
    QTRY_COMPARE(shownText, QStringLiteral("Файл 1.wav не найден"));
}

void TstForm::errorsDuringOpenReportWaitTheirTurn()
{
    QStringList shown;
    errorreport::setHandler([&](const QString& text) {
        shown.append(text);
        if (text == QLatin1String("first")) {
            // While the first box is open, a repaint fails twice the same way
            // and another error follows.
            errorreport::report(QStringLiteral("repaint"));
            errorreport::report(QStringLiteral("repaint"));
            errorreport::report(QStringLiteral("other"));
            QCOMPARE(shown.size(), 1);
        }
    });
    errorreport::report(QStringLiteral("first"));
    errorreport::setHandler({});
    QCOMPARE(shown, (QStringList{QStringLiteral("first"), QStringLiteral("repaint"), QStringLiteral("other")}));
}

TIVORAMA_TEST_MAIN(TstForm)
#include "tst_form.moc"
