// The program as a screen reader and a keyboard-only player meet it: every
// control of every window read with a role and a name, the launcher and the
// dialogs worked with Tab, the space bar, Enter and Esc, and each game played
// to its end with the keys alone while a screen reader listens.
#include "datafiles.h"
#include "testmain.h"
#include "testutil.h"

#include "accessibilityspy.h"
#include "minefieldlayout.h"
#include "registry.h"
#include "scriptedopponent.h"
#include "seabattlelayout.h"
#include "tboard.h"
#include "tdigitaldisplay.h"
#include "tflatspeedbutton.h"
#include "tform.h"
#include "tformfifteen.h"
#include "tformsaper.h"
#include "tformsea.h"
#include "themispherebutton.h"
#include "tindicatorrow.h"
#include "tmainform.h"
#include "tmainforminfo.h"
#include "tmemoform.h"
#include "resultdialogs.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>

namespace {

// Sends a key where the window system would: to the focused control, or to
// the active window when none has the focus.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    QVERIFY(target);
    // Letters beyond ASCII (the Cyrillic access letters) carry their text.
    const QString text = key > 0x7f && key < 0xffff ? QString(QChar(key)).toLower() : QString();
    if (text.isEmpty())
        QTest::keyClick(target, Qt::Key(key), modifiers);
    else
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key(key), text, modifiers);
}

// Moves a board's focus cell to a row and column (from 1) with the arrows.
void goTo(TBoard* board, int row, int column)
{
    QCOMPARE(QApplication::focusWidget(), board);
    while (board->focusCell() / board->columns() + 1 != row)
        press(board->focusCell() / board->columns() + 1 < row ? Qt::Key_Down : Qt::Key_Up);
    while (board->focusCell() % board->columns() + 1 != column)
        press(board->focusCell() % board->columns() + 1 < column ? Qt::Key_Right : Qt::Key_Left);
}

// What a screen reader reads for each cell of a board, through its table.
QStringList cellNames(TBoard* board)
{
    QStringList names;
    QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(board)->tableInterface();
    for (int r = 0; r < table->rowCount(); ++r)
        for (int c = 0; c < table->columnCount(); ++c)
            names << table->cellAt(r, c)->text(QAccessible::Name);
    return names;
}

// Pixels of the focus frame's yellow in a picture of a board.
int framePixels(QWidget* board)
{
    const QImage image = board->grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == QColor(255, 255, 0);
    return n;
}

// Answers the record dialog with Enter and then the table window with Esc,
// as they come up at the end of a won game.
void answerRecordAndTable(bool* answered)
{
    whenModalShown([answered](QWidget* record) {
        QVERIFY(record->inherits("TRecordDialog"));
        whenModalShown([answered](QWidget* table) {
            *answered = table->inherits("TRecordTable");
            press(Qt::Key_Escape);
        });
        press(Qt::Key_Return);
    });
}

// Roles that say nothing of what a control is: a container may have them,
// a control a player uses or reads may not.
bool genericRole(QAccessible::Role role)
{
    return role == QAccessible::NoRole || role == QAccessible::Client || role == QAccessible::Pane
           || role == QAccessible::Grouping;
}

QString describe(QAccessibleInterface* iface)
{
    const QObject* o = iface->object();
    QString what = o ? (o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : o->objectName())
                     : QStringLiteral("?");
    return what + QStringLiteral(" (role 0x%1)").arg(int(iface->role()), 0, 16);
}

// Walks a window's tree as a screen reader does, through the interfaces
// alone. A control counts as one a player uses or reads when it is shown and
// either takes the keyboard focus or shows something itself (it has no shown
// children); separators are decoration and a scroll bar says what it is by
// its position. Each such control needs a role of its own and a name.
void walk(QAccessibleInterface* iface, const QString& path, QStringList& faults)
{
    const QAccessible::State state = iface->state();
    if (state.invisible)
        return;
    const QString here = path + QLatin1Char('/') + describe(iface);
    int shownChildren = 0;
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (!child) {
            faults << here + QStringLiteral(": child %1 has no interface").arg(i);
            continue;
        }
        if (child->parent() && child->parent()->object() != iface->object())
            faults << here + QStringLiteral(": child %1 names another parent").arg(i);
        if (!child->state().invisible)
            ++shownChildren;
        walk(child, here, faults);
    }
    const QAccessible::Role role = iface->role();
    if (role == QAccessible::Separator || role == QAccessible::ScrollBar)
        return;
    if (!state.focusable && shownChildren > 0)
        return;
    if (genericRole(role))
        faults << here + QStringLiteral(": no role");
    if (iface->text(QAccessible::Name).trimmed().isEmpty())
        faults << here + QStringLiteral(": no name");
}

} // namespace

class TstAccessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyControlOfEveryWindowHasARoleAndAName();
    void launcherByTabAndSpace();
    void dialogsByEnterAndEsc();
    void fifteenSolvedByKeyboard();
    void minesweeperClearedAndLostByKeyboard();
    void seaBattlePlacedAndWonByKeyboard();

private:
    QStringList walkWindow(TForm* form);
    // Names told with the notices of one kind for the cells of a board.
    QStringList cellNotices(QAccessible::Event type, const TBoard* board) const;
    QTemporaryDir m_dir;
    ErrorCatcher m_errors;
    AccessibilitySpy* m_spy = nullptr;
};

void TstAccessibility::initTestCase()
{
    datafiles::setProgramPath(m_dir.filePath(QStringLiteral("tivorama")));
    QDir::setCurrent(m_dir.path());
    for (int n = 1; n <= 23; ++n)
        QVERIFY(writeTestWav(QStringLiteral("%1.wav").arg(n), 10));
    // The sea battle's cell pictures and the rules, as the build makes them.
    const QDir build(QStringLiteral(TIVORAMA_BUILD_DIR));
    for (const QString& file : build.entryList({QStringLiteral("sea*.bmp"), QStringLiteral("?.doc")}, QDir::Files))
        QVERIFY(QFile::copy(build.filePath(file), file));
    m_spy = new AccessibilitySpy;
    QVERIFY(AccessibilitySpy::active());
    CreateForms();
    MainForm->Show();
    QTRY_COMPARE(QApplication::activeWindow(), MainForm);
}

void TstAccessibility::cleanupTestCase()
{
    QCOMPARE(m_errors.errors, QStringList());
    DestroyForms();
    delete m_spy;
    datafiles::setProgramPath(QString());
}

QStringList TstAccessibility::walkWindow(TForm* form)
{
    QStringList faults;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(form);
    if (!iface)
        return {form->objectName() + QStringLiteral(": no interface")};
    if (iface->role() != QAccessible::Window && iface->role() != QAccessible::Dialog)
        faults << form->objectName() + QStringLiteral(": not read as a window");
    if (iface->text(QAccessible::Name).isEmpty())
        faults << form->objectName() + QStringLiteral(": no title");
    walk(iface, QString(), faults);
    return faults;
}

void TstAccessibility::everyControlOfEveryWindowHasARoleAndAName()
{
    // Each window as a player meets it: shown, activated (the table windows
    // fill their rows then), in the state it opens in.
    QStringList faults;
    for (const QString& name : FormNames()) {
        TForm* form = FindForm(name);
        QVERIFY2(form, qPrintable(name));
        if (form == MemoForm)
            MemoForm->ShowRules(QStringLiteral("1.doc"), QStringLiteral("Пятнашки - правила игры"), QIcon());
        if (form == MainForm || form == MemoForm || form->inherits("TGameForm")) {
            form->Show();
            QTRY_COMPARE(QApplication::activeWindow(), form);
            faults << walkWindow(form);
            if (form != MainForm)
                form->close();
        } else {
            whenModalShown([&](QWidget* w) {
                faults << walkWindow(static_cast<TForm*>(w));
                w->close();
            });
            form->ShowModal();
        }
    }
    for (const QString& fault : faults)
        qWarning("%s", qPrintable(fault));
    QVERIFY2(faults.isEmpty(), "controls without a role or a name, listed above");
}

void TstAccessibility::launcherByTabAndSpace()
{
    MainForm->Show();
    QTRY_COMPARE(QApplication::activeWindow(), MainForm);
    // The first game button has the focus as the launcher opens; Tab walks
    // the buttons in their order and a screen reader hears each.
    QTRY_COMPARE(QApplication::focusWidget(), MainForm->FlatSpeedButton1);
    m_spy->clear();
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), MainForm->FlatSpeedButton2);
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), MainForm->FlatSpeedButton4);
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), MainForm->FlatSpeedButton5);
    press(Qt::Key_Backtab);
    QCOMPARE(m_spy->names(QAccessible::Focus),
             QStringList({"Сапер", "Морской бой", "Выход", "Морской бой"}));
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(MainForm->FlatSpeedButton4);
    QCOMPARE(iface->role(), QAccessible::Button);
    QVERIFY(iface->state().focused);
    // The menus open with Alt and their access letters.
    press(QChar(u'С').unicode(), Qt::AltModifier);
    QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
    QCOMPARE(static_cast<QMenu*>(QApplication::activePopupWidget())->title(), QStringLiteral("&Справка"));
    press(Qt::Key_Escape);
    press(Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QCOMPARE(QApplication::focusWidget(), MainForm->FlatSpeedButton4);
    press(Qt::Key_Space);
    QTRY_COMPARE(QApplication::activeWindow(), FindForm(QStringLiteral("TFormSea")));
    QApplication::activeWindow()->close();
    MainForm->Show();
    QTRY_COMPARE(QApplication::activeWindow(), MainForm);
}

void TstAccessibility::dialogsByEnterAndEsc()
{
    // Esc leaves a dialog that has no cancel button as its close box does,
    // Enter presses its default button.
    bool closedByEsc = false;
    whenModalShown([&](QWidget* w) {
        press(Qt::Key_Escape);
        closedByEsc = w == MainFormInfo && !w->isVisible();
    });
    press(Qt::Key_F1);
    QVERIFY(closedByEsc);

    FormFifteen->Show();
    QTRY_COMPARE(QApplication::activeWindow(), FormFifteen);
    whenModalShown([&](QWidget* w) {
        closedByEsc = false;
        press(Qt::Key_Escape);
        closedByEsc = w == FormFifteen->Table && !w->isVisible();
    });
    press(Qt::Key_F3);
    QVERIFY(closedByEsc);
    QTRY_COMPARE(QApplication::activeWindow(), FormFifteen);

    // The rules viewer closes on Esc as on Enter.
    press(Qt::Key_F1);
    QTRY_COMPARE(QApplication::activeWindow(), MemoForm);
    press(Qt::Key_Escape);
    QVERIFY(!MemoForm->isVisible());
    FormFifteen->close();
}

QStringList TstAccessibility::cellNotices(QAccessible::Event type, const TBoard* board) const
{
    QStringList names;
    for (const AccessibilitySpy::Notice& n : m_spy->all())
        if (n.type == type && n.object && board->indexOf(n.object) >= 0)
            names << n.name;
    return names;
}

void TstAccessibility::fifteenSolvedByKeyboard()
{
    FormFifteen->Show();
    QTRY_COMPARE(QApplication::activeWindow(), FormFifteen);
    FormFifteen->Timer1->stop();
    TBoard* board = FormFifteen->Panel;
    // The board has the keys as the window opens; F2 deals.
    QCOMPARE(QApplication::focusWidget(), board);
    press(Qt::Key_F2);
    QVERIFY(FormFifteen->Board.InProgress());
    QCOMPARE(board->focusCell(), 0);
    // Two slides from solved: tile 11 left of the gap, tile 12 below it.
    FormFifteen->Board.SetTiles({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 16, 11, 13, 14, 15, 12});
    FormFifteen->Redraw(false);
    QCOMPARE(cellNames(board), QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "пусто", "11", "13",
                                            "14", "15", "12"}));
    // No frame until an arrow is pressed: a mouse player sees the board as ever.
    QCOMPARE(framePixels(board), 0);
    m_spy->clear();
    goTo(board, 3, 4);
    QVERIFY(framePixels(board) > 0);
    QCOMPARE(m_spy->names(QAccessible::Focus), QStringList({"5", "9", "10", "пусто", "11"}));
    // It does not wrap.
    press(Qt::Key_Right);
    QCOMPARE(board->focusCell(), 11);
    press(Qt::Key_Return);
    QCOMPARE(cellNotices(QAccessible::NameChanged, board), QStringList({"11", "пусто"}));

    // The clock is told at most once a second, the last value of that second.
    QTest::qWait(1100);
    m_spy->clear();
    for (int i = 0; i < 3; ++i)
        FormFifteen->Timer1Timer();
    QCOMPARE(m_spy->values(FormFifteen->Label1), QList<QVariant>({1}));
    QTRY_COMPARE(m_spy->values(FormFifteen->Label1), QList<QVariant>({1, 3}));
    QCOMPARE(m_spy->names(QAccessible::NameChanged, FormFifteen->Label1),
             QStringList({"Время: 1", "Время: 3"}));

    bool answered = false;
    answerRecordAndTable(&answered);
    m_spy->clear();
    press(Qt::Key_Down);
    press(Qt::Key_Space);
    QVERIFY(answered);
    QVERIFY(!FormFifteen->Board.InProgress());
    QCOMPARE(cellNotices(QAccessible::NameChanged, board), QStringList({"12", "пусто"}));
    FormFifteen->close();
    FormFifteen->Timer1->start();
}

void TstAccessibility::minesweeperClearedAndLostByKeyboard()
{
    FormSaper->Show();
    QTRY_COMPARE(QApplication::activeWindow(), FormSaper);
    FormSaper->Timer1->stop();
    TBoard* board = FormSaper->MainPanel;
    QCOMPARE(QApplication::focusWidget(), board);
    press(Qt::Key_F2);
    const std::vector<std::pair<int, int>> mines{{1, 2}, {4, 4}, {6, 9}, {9, 1}, {10, 10}};
    layMines(FormSaper->Field, mines);
    auto isMine = [&](int r, int c) { return std::find(mines.begin(), mines.end(), std::pair{r, c}) != mines.end(); };
    m_spy->clear();
    press(Qt::Key_Return);
    QCOMPARE(cellNotices(QAccessible::NameChanged, board), QStringList({"А1, 1"}));
    press(Qt::Key_Right);
    QCOMPARE(m_spy->names(QAccessible::Focus), QStringList({"Б1, закрыта"}));

    // Every safe cell opened, row by row, snaking so each step is one arrow.
    bool answered = false;
    for (int r = 1; r <= 10; ++r) {
        for (int i = 1; i <= 10; ++i) {
            const int c = r % 2 ? i : 11 - i;
            if (r == 10 && i == 9)
                answerRecordAndTable(&answered); // the last safe cell: К10 is a mine
            goTo(board, r, c);
            if (!isMine(r, c))
                press(Qt::Key_Return);
        }
    }
    QVERIFY(answered);
    QCOMPARE(FormSaper->Field.state(), Minefield::State::Won);
    QTRY_COMPARE(QApplication::activeWindow(), FormSaper);
    QStringList expected;
    for (int r = 1; r <= 10; ++r) {
        for (int c = 1; c <= 10; ++c) {
            const int value = FormSaper->Field.ValueAt(r, c);
            expected << TBoard::coordinate(r - 1, c - 1) + QStringLiteral(", ")
                            + (isMine(r, c) ? QStringLiteral("мина")
                                            : value == 0 ? QStringLiteral("пусто") : QString::number(value));
        }
    }
    QCOMPARE(cellNames(board), expected);

    // A lost game: a click opens Д5 and moves the focus cell there; the
    // arrows go on from it to the mine at Г4, which is told as it is hit.
    press(Qt::Key_F2);
    QCOMPARE(board->focusCell(), 0);
    layMines(FormSaper->Field, mines);
    QTest::mouseClick(FormSaper->Cells[44], Qt::LeftButton);
    QCOMPARE(board->focusCell(), 44);
    m_spy->clear();
    press(Qt::Key_Up);
    press(Qt::Key_Left);
    QCOMPARE(m_spy->names(QAccessible::Focus), QStringList({"Д4, закрыта", "Г4, закрыта"}));
    press(Qt::Key_Return);
    QCOMPARE(FormSaper->Field.state(), Minefield::State::Lost);
    const QStringList told = cellNotices(QAccessible::NameChanged, board);
    QCOMPARE(told.value(0), QStringLiteral("Г4, мина"));
    QCOMPARE(told.filter(QStringLiteral("мина")).size(), 5);
    FormSaper->close();
    FormSaper->Timer1->start();
}

void TstAccessibility::seaBattlePlacedAndWonByKeyboard()
{
    ScriptedOpponent opponent;
    opponent.targets = {{10, 10}};
    FormSea->setOpponent(&opponent);
    FormSea->Show();
    QTRY_COMPARE(QApplication::activeWindow(), FormSea);
    QCOMPARE(QApplication::focusWidget(), FormSea->ComputerBoard);
    m_spy->clear();
    press(Qt::Key_F2);
    // The keys go to the placement, and a screen reader follows the cursor
    // on the player's board.
    QCOMPARE(QApplication::focusWidget(), FormSea->PlayerBoard);
    QTRY_COMPARE(m_spy->names(QAccessible::Focus), QStringList({"Ваше поле", "А1, курсор"}));
    // The computer's fleet: rows 1, 3 and 5.
    const std::string fleet = "####.###.#|..........|###.##.##.|..........|##.#.#.#..|"
                              "..........|..........|..........|..........|..........";
    QVERIFY(SeaBattleLayout::setBoard(FormSea->Battle, Board::Computer, fleet));
    // The arrows do nothing while the fleet is placed.
    press(Qt::Key_Right);
    QCOMPARE(FormSea->Battle.Cursor(), (ShipExtent{1, 1, 1, 4}));

    // Ten ships on rows 1, 3, 5, 7 and 9, in both keyboard layouts; each
    // placement starts again at the top left.
    auto place = [](const QString& keys) {
        typeText(QApplication::focusWidget(), keys);
        press(Qt::Key_Return);
    };
    place(QString());
    place(QStringLiteral("aa  "));
    // The new-game button with the focus takes no placement key from it.
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), FormSea->SpeedButton1);
    place(QStringLiteral("фффф"));
    QCOMPARE(FormSea->Battle.ShipIndex(), 4);
    place(QStringLiteral("aaaaaa"));
    place(QStringLiteral("aaaaaaaa"));
    place(QStringLiteral("OOOOOO"));
    place(QStringLiteral("aaщщщщщщ"));
    place(QStringLiteral("aaaaoooooo"));
    place(QStringLiteral("aaaaaaoooooo"));
    m_spy->clear();
    place(QStringLiteral("aaaaaaaaoooooo"));
    QCOMPARE(FormSea->Battle.Phase(), gpBattle);
    QCOMPARE(SeaBattleLayout::picture(FormSea->Battle, Board::Player),
             std::string("####..##..|..........|###...#...|..........|###...#...|"
                         "..........|##....#...|..........|##....#...|.........."));
    QCOMPARE(m_spy->names(QAccessible::NameChanged, FormSea->StatusLabel), QStringList({"Ваш ход..."}));
    QCOMPARE(FormSea->ComputerLamps->accessibleName(), QStringLiteral("Потоплено кораблей противника: 0 из 10"));

    // The battle on the computer's board: a miss first, then every ship.
    FormSea->SpeedButton1->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Backtab);
    press(Qt::Key_Backtab);
    TBoard* board = FormSea->ComputerBoard;
    QCOMPARE(QApplication::focusWidget(), board);
    m_spy->clear();
    goTo(board, 2, 1);
    press(Qt::Key_Return);
    QCOMPARE(cellNotices(QAccessible::NameChanged, board), QStringList({"А2, промах"}));
    QCOMPARE(cellNotices(QAccessible::NameChanged, FormSea->PlayerBoard), QStringList({"К10, промах"}));
    QCOMPARE(m_spy->names(QAccessible::NameChanged, FormSea->StatusLabel), QStringList({"", "Ваш ход..."}));

    bool answered = false;
    m_spy->clear();
    int cell = 0;
    for (const char c : fleet) {
        if (c == '|')
            continue;
        if (c == '#') {
            if (FormSea->Battle.EnemySunk() == 9)
                answerRecordAndTable(&answered); // the last ship, a single
            goTo(board, cell / 10 + 1, cell % 10 + 1);
            press(Qt::Key_Space);
        }
        ++cell;
    }
    QVERIFY(answered);
    QCOMPARE(FormSea->Battle.Phase(), gpIdle);
    const QStringList told = cellNotices(QAccessible::NameChanged, board);
    QCOMPARE(told.value(0), QStringLiteral("А1, ранен"));
    QVERIFY(told.contains(QStringLiteral("Г1, потоплен")));
    QVERIFY(told.contains(QStringLiteral("Д1, промах")));
    const QStringList status = m_spy->names(QAccessible::NameChanged, FormSea->StatusLabel);
    QCOMPARE(status.value(0), QStringLiteral("Корабль противника подбит... Ваш ход..."));
    QVERIFY(status.contains(QStringLiteral("Корабль противника потоплен... Ваш ход...")));
    QCOMPARE(status.last(), QStringLiteral("F2 - новая игра"));
    QCOMPARE(m_spy->names(QAccessible::NameChanged, FormSea->ComputerLamps).last(),
             QStringLiteral("Потоплено кораблей противника: 10 из 10"));
    QCOMPARE(FormSea->Lamps[9]->accessibleName(), QStringLiteral("Лампа 10, горит"));
    QCOMPARE(FormSea->PlayerLamps->accessibleName(), QStringLiteral("Потоплено ваших кораблей: 0 из 10"));
    QCOMPARE(cellNames(board).filter(QStringLiteral("потоплен")).size(), 20);
    // The counter counts turns: the second began with the first shot here,
    // within a second of the first, so it is told once that second is over.
    QTRY_COMPARE(m_spy->names(QAccessible::NameChanged, FormSea->TimerBoard), QStringList({"Ходы: 2"}));
    FormSea->close();
    FormSea->setOpponent(nullptr);
}

TIVORAMA_TEST_MAIN(TstAccessibility)
#include "tst_accessibility.moc"
