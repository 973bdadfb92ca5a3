// The sea battle's window. The model places and resolves everything; the
// window turns keys into placement, clicks into shots, runs the computer's
// turn through the shared turn driver, and shows each step with its picture,
// status text and cue while the cue sounds.
#include "tformsea.h"

#include "accessibility.h"
#include "datafiles.h"
#include "errorreport.h"
#include "icons.h"
#include "look.h"
#include "readimage.h"
#include "tboard.h"
#include "tdigitaldisplay.h"
#include "tflatspeedbutton.h"
#include "themispherebutton.h"
#include "timage.h"
#include "tindicatorrow.h"
#include "tpanel.h"
#include "tshadowlabel.h"

#include <QActionGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>

#include <iterator>

TFormSea* FormSea = nullptr;

namespace {

const QString kPlaceShips = QStringLiteral("Расставьте свои корабли, используя клавиши Q, A, I, O, Enter и Пробел");
const QString kYourTurn = QStringLiteral("Ваш ход...");
const QString kNewGameHint = QStringLiteral("F2 - новая игра");
const QColor kGray(128, 128, 128);
const QColor kRed(255, 0, 0);
constexpr int kCell = 25;

const char* const kPictureFiles[TFormSea::pcCount] = {"seaclear.bmp", "seaship.bmp",   "seaset.bmp",
                                                      "seagoal.bmp",  "seakilled.bmp", "seamissed.bmp"};

TGameInfo seaInfo()
{
    TGameInfo info;
    info.number = 3;
    info.objectName = QStringLiteral("FormSea");
    info.caption = QStringLiteral("Морской бой");
    info.icon = icons::sea();
    info.clientSize = QSize(554, 366);
    info.newGameItem = QStringLiteral("&Новая игра");
    info.newGameGlyph = QStringLiteral(":/images/glyph_sea.bmp");
    info.recordDialogHeight = 171;
    info.counterName = QStringLiteral("TimerBoard");
    info.counterMeaning = QStringLiteral("Ходы");
    info.counterPos = QPoint(257, 23);
    info.newGameButtonPos = QPoint(20, 11);
    info.hasClock = false;
    // A click queued while the computer's turn sounded would fire a shot the
    // player made without seeing the board it was aimed at.
    info.dropsInputMadeDuringCues = true;
    return info;
}

// The picture a cell shows when its file is missing or unreadable: plain,
// but each still tells its meaning at a glance.
QImage plainPicture(TFormSea::Picture p)
{
    QImage image(kCell, kCell, QImage::Format_RGB32);
    const QColor water(0, 80, 184), grid(0, 40, 110);
    image.fill(water);
    QPainter painter(&image);
    painter.fillRect(0, 0, kCell, 1, grid);
    painter.fillRect(0, 0, 1, kCell, grid);
    const QRect plate(4, 4, 17, 17);
    switch (p) {
    case TFormSea::pcClear:
    case TFormSea::pcCount:
        break;
    case TFormSea::pcShip:
        painter.fillRect(plate, QColor(160, 164, 172));
        break;
    case TFormSea::pcSet:
        painter.fillRect(plate, QColor(255, 255, 0));
        break;
    case TFormSea::pcGoal:
        painter.fillRect(plate, QColor(160, 164, 172));
        painter.fillRect(plate.adjusted(4, 4, -4, -4), kRed);
        break;
    case TFormSea::pcKilled:
        painter.fillRect(plate, QColor(48, 48, 56));
        painter.setPen(kRed);
        painter.drawLine(plate.topLeft(), plate.bottomRight());
        painter.drawLine(plate.topRight(), plate.bottomLeft());
        break;
    case TFormSea::pcMissed:
        painter.fillRect(QRect(10, 10, 5, 5), Qt::white);
        break;
    }
    return image;
}

// The picture of each cell code; the computer's ships stay hidden.
constexpr TFormSea::Picture kPlayerPictures[] = {TFormSea::pcClear, TFormSea::pcShip,   TFormSea::pcSet,
                                                 TFormSea::pcSet,   TFormSea::pcGoal,   TFormSea::pcKilled,
                                                 TFormSea::pcMissed};
constexpr TFormSea::Picture kComputerPictures[] = {TFormSea::pcClear, TFormSea::pcClear, TFormSea::pcGoal,
                                                   TFormSea::pcMissed, TFormSea::pcKilled};
static_assert(std::size(kPlayerPictures) == psMiss + 1 && std::size(kComputerPictures) == csSunk + 1);

// What a cell of each code is read as, after its coordinate. The computer's
// ships stay hidden here too.
const char* const kPlayerNames[] = {"вода", "корабль", "курсор", "корабль, курсор", "ранен", "потоплен", "промах"};
const char* const kComputerNames[] = {"не обстреляна", "не обстреляна", "ранен", "промах", "потоплен"};
static_assert(std::size(kPlayerNames) == psMiss + 1 && std::size(kComputerNames) == csSunk + 1);

} // namespace

QImage loadSeaPicture(const QString& fileName)
{
    // Anything but a regular file stays unopened: a named pipe with no
    // writer would hold the window's creation, and the program's start, for
    // good.
    const QString path = datafiles::locate(fileName);
    if (!datafiles::isRegularFile(path))
        return {};
    // Read as the BMP it is named: a file that is something else counts as
    // unreadable rather than sending Qt through every image format it has.
    QImage image = readImage(path);
    if (image.isNull())
        return image;
    // Drawn unscaled at the cell's corner: nothing beyond the cell is ever seen.
    return image.copy(0, 0, qMin(image.width(), kCell), qMin(image.height(), kCell))
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TFormSea::TFormSea()
    : TGameForm(seaInfo())
{
    TimerBoard = Counter;

    QMenu* level = addGameSubmenu(QStringLiteral("У&ровень сложности"));
    level->menuAction()->setShortcut(QKeySequence(Qt::Key_F9));
    auto* levels = new QActionGroup(this);
    BeginnerItem = addItem(level, QStringLiteral("Новичок"), {}, [this] { setStrength(Strength::Beginner); });
    ProfessionalItem =
        addItem(level, QStringLiteral("Профессионал"), {}, [this] { setStrength(Strength::Professional); });
    for (QAction* item : {BeginnerItem, ProfessionalItem}) {
        item->setCheckable(true);
        levels->addAction(item);
    }
    ProfessionalItem->setChecked(true);

    Label1 = new TShadowLabel(Wallpaper1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAutoSize(false);
    Label1->setGeometry(259, 4, 35, 14);
    Label1->setAlignment(taCenter);
    Label1->setTransparent(true);
    Label1->setFont(look::font(11, true));
    Label1->setCaption(QStringLiteral("Ходы"));

    // Each row of lamps lies in a row of its own, which draws nothing.
    ComputerLamps = new TIndicatorRow(Wallpaper1);
    ComputerLamps->setObjectName(QStringLiteral("ComputerLamps"));
    ComputerLamps->setGeometry(320, 24, 16 * 9 + 9, 9);
    PlayerLamps = new TIndicatorRow(Wallpaper1);
    PlayerLamps->setObjectName(QStringLiteral("PlayerLamps"));
    PlayerLamps->setGeometry(80, 24, 16 * 9 + 9, 9);
    for (int i = 1; i <= 20; ++i) {
        auto* lamp = new THemisphereButton(i <= 10 ? ComputerLamps : PlayerLamps);
        lamp->setObjectName(QStringLiteral("Lamp%1").arg(i));
        lamp->setBevelOuter(hbLowered);
        lamp->setBevelWidth(2);
        lamp->setBevelInner(hbNone);
        lamp->setBorderStyle(hbsNone);
        lamp->setFaceShaded(true);
        lamp->setFaceColor(kGray);
        lamp->setEnabled(false);
        lamp->setGeometry(16 * ((i - 1) % 10), 0, 9, 9);
        Lamps[i - 1] = lamp;
    }
    nameLamps();

    // The boards: the player's at the left, the computer's at the right.
    // Only the computer's is played; both are read, the player's also to
    // follow the placement cursor.
    PlayerBoard = new TBoard(cellgrid::Size, cellgrid::Size, Wallpaper1);
    PlayerBoard->setObjectName(QStringLiteral("PlayerBoard"));
    PlayerBoard->setAccessibleName(QStringLiteral("Ваше поле"));
    PlayerBoard->setGeometry(16, 60, kCell * cellgrid::Size, kCell * cellgrid::Size);
    ComputerBoard = new TBoard(cellgrid::Size, cellgrid::Size, Wallpaper1);
    ComputerBoard->setObjectName(QStringLiteral("ComputerBoard"));
    ComputerBoard->setAccessibleName(QStringLiteral("Поле противника"));
    ComputerBoard->setGeometry(288, 60, kCell * cellgrid::Size, kCell * cellgrid::Size);
    for (TBoard* board : {PlayerBoard, ComputerBoard}) {
        board->setBevelOuter(bvNone);
        board->setTransparent(true);
        // The placement keys (space and Enter among them) belong to the
        // placement; the arrows then do nothing.
        board->setKeysActive([this] { return Battle.Phase() != gpPlacing; });
    }

    for (int i = 0; i < cellgrid::Cells; ++i) {
        const cellgrid::Cell cell = cellgrid::cellAt(i);
        auto* mine = new TImage(PlayerBoard);
        mine->setObjectName(QStringLiteral("Image%1").arg(101 + i));
        mine->setGeometry(kCell * (cell.column - 1), kCell * (cell.row - 1), kCell, kCell);
        Images2[i] = mine;
        PlayerBoard->setCell(i, mine);
        auto* theirs = new TImage(ComputerBoard);
        theirs->setObjectName(QStringLiteral("Image%1").arg(1 + i));
        theirs->setGeometry(kCell * (cell.column - 1), kCell * (cell.row - 1), kCell, kCell);
        connect(theirs, &TImage::clicked, this, errorreport::guard([this, cell] { Image1Click(cell.row, cell.column); }));
        Images[i] = theirs;
        ComputerBoard->setCell(i, theirs);
    }
    // Enter or the space bar on a cell of the computer's board fires there,
    // as a click does.
    connect(ComputerBoard, &TBoard::cellActivated, this, [this](int index) {
        errorreport::run([&] {
            const cellgrid::Cell cell = cellgrid::cellAt(index);
            Image1Click(cell.row, cell.column);
        });
    });
    // The computer's board comes first: it has the keys when the window opens.
    setTabOrder(ComputerBoard, PlayerBoard);
    setTabOrder(PlayerBoard, SpeedButton1);
    SpeedButton1->installEventFilter(this);

    StatusPanel = new TPanel(Wallpaper1);
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    StatusPanel->setGeometry(16, 328, 523, 25);
    StatusPanel->setBevelOuter(bvLowered);
    StatusPanel->setColor(QColor(215, 215, 215));
    StatusLabel = new QLabel(kNewGameHint, StatusPanel);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setGeometry(5, 6, 514, 13);
}

void TFormSea::loadPictures()
{
    m_missingPictures.clear();
    for (int p = 0; p < pcCount; ++p) {
        const QString name = QString::fromLatin1(kPictureFiles[p]);
        m_pictures[p] = loadSeaPicture(name);
        if (m_pictures[p].isNull()) {
            m_pictures[p] = plainPicture(Picture(p));
            m_missingPictures << name;
        }
    }
}

void TFormSea::FormCreate()
{
    loadPictures();
    repaint2();
    repaint3();
}

void TFormSea::FormActivate()
{
    LoadTable();
    // Said once, when the player first comes to the game: it stays playable
    // with plain cells, and the player learns which files to restore.
    if (!m_missingPictures.isEmpty() && !m_missingReported) {
        m_missingReported = true;
        errorreport::report(QStringLiteral("Cannot load picture %1; plain cells are shown instead")
                                .arg(m_missingPictures.join(QStringLiteral(", "))));
    }
}

void TFormSea::setStatus(const QString& text)
{
    StatusLabel->setText(text);
}

void TFormSea::setStrength(Strength strength)
{
    m_strength = strength;
    BeginnerItem->setChecked(strength == Strength::Beginner);
    ProfessionalItem->setChecked(strength == Strength::Professional);
}

void TFormSea::repaint2()
{
    showBoard(Board::Player);
}

void TFormSea::repaint3()
{
    showBoard(Board::Computer);
}

void TFormSea::showBoard(Board board)
{
    const bool player = board == Board::Player;
    for (int i = 0; i < cellgrid::Cells; ++i) {
        const auto [r, c] = cellgrid::cellAt(i);
        const Picture p = player ? kPlayerPictures[Battle.PlayerAt(r, c)] : kComputerPictures[Battle.ComputerAt(r, c)];
        TImage* image = (player ? Images2 : Images)[i];
        image->setPicture(&m_pictures[p]);
        const char* name = player ? kPlayerNames[Battle.PlayerAt(r, c)] : kComputerNames[Battle.ComputerAt(r, c)];
        accessibility::setName(image, TBoard::coordinate(r - 1, c - 1) + QStringLiteral(", ") + QString::fromUtf8(name));
    }
    // A screen reader follows the placement cursor by its first cell.
    if (player && Battle.Phase() == gpPlacing)
        PlayerBoard->setFocusCell(cellgrid::indexOf(Battle.Cursor().top, Battle.Cursor().left));
}

void TFormSea::nameLamps()
{
    const auto nameRow = [this](TIndicatorRow* row, int first, const QString& what) {
        int lit = 0;
        for (int i = first; i < first + 10; ++i) {
            const bool on = Lamps[i]->faceColor() == kRed;
            lit += on;
            accessibility::setName(Lamps[i], QStringLiteral("Лампа %1, %2").arg(i - first + 1).arg(on ? "горит" : "не горит"));
        }
        accessibility::setName(row, what + QStringLiteral(": %1 из 10").arg(lit));
    };
    nameRow(ComputerLamps, 0, QStringLiteral("Потоплено кораблей противника"));
    nameRow(PlayerLamps, 10, QStringLiteral("Потоплено ваших кораблей"));
}

void TFormSea::ShowSunkLamps()
{
    for (int i = 1; i <= 10; ++i) {
        Lamps[i - 1]->setFaceColor(i <= Battle.EnemySunk() ? kRed : kGray);
        Lamps[i + 9]->setFaceColor(i <= Battle.PlayerSunk() ? kRed : kGray);
    }
    nameLamps();
}

void TFormSea::N5Click()
{
    setStatus(kPlaceShips);
    Battle.NewGame(random());
    repaint3();
    repaint2();
    // The keys go to the placement; the player's board follows the cursor.
    ComputerBoard->setFocusCell(0);
    PlayerBoard->setFocus(Qt::OtherFocusReason);
}

bool TFormSea::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == SpeedButton1 && event->type() == QEvent::KeyPress && Battle.Phase() == gpPlacing) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) {
            keyPressEvent(key);
            return key->isAccepted();
        }
    }
    return TGameForm::eventFilter(watched, event);
}

void TFormSea::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString key = enter ? QStringLiteral("\r") : event->text();
    bool taken = false;
    errorreport::run([&] { taken = FormKeyPress(key); });
    if (taken)
        event->accept();
    else
        TGameForm::keyPressEvent(event);
}

bool TFormSea::FormKeyPress(const QString& key)
{
    if (Battle.Phase() != gpPlacing || key.size() != 1)
        return false;
    const QChar c = key.at(0).toLower();
    bool moved = false;
    if (c == u'q' || c == u'й')
        moved = Battle.MoveCursor(Direction::Up);
    else if (c == u'a' || c == u'ф')
        moved = Battle.MoveCursor(Direction::Down);
    else if (c == u'i' || c == u'ш')
        moved = Battle.MoveCursor(Direction::Left);
    else if (c == u'o' || c == u'щ')
        moved = Battle.MoveCursor(Direction::Right);
    else if (c == u' ')
        moved = Battle.RotateCursor();
    else if (c == u'\r')
        placeShip();
    if (moved)
        repaint2();
    return true;
}

void TFormSea::placeShip()
{
    const PlaceResult result = Battle.PlaceShip();
    switch (result) {
    case PlaceResult::RefusedOccupied:
        setStatus(QStringLiteral("Здесь уже находится ваш корабль..."));
        return;
    case PlaceResult::RefusedTooClose:
        setStatus(QStringLiteral("Недостаточно места для размещения вашего корабля..."));
        return;
    case PlaceResult::Ignored:
        return;
    case PlaceResult::Placed:
    case PlaceResult::PlacedLast:
        break;
    }
    repaint2();
    playCueOrReport(QStringLiteral("15.wav"));
    RepaintNow();
    repaint2();
    if (result == PlaceResult::Placed) {
        setStatus(kPlaceShips);
    } else {
        ShowSunkLamps();
        TimerBoard->setText(QStringLiteral("000"));
        setStatus(kYourTurn);
        // The battle is played on the computer's board.
        if (focusWidget() == PlayerBoard)
            ComputerBoard->setFocus(Qt::OtherFocusReason);
    }
}

void TFormSea::Image1Click(int row, int column)
{
    // Outside the battle the model ignores the shot.
    const PlayerShot shot = Battle.ResolvePlayerShot(row, column);
    if (shot.result == ShotResult::Ignored)
        return;
    ShowCount(shot.turn);
    if (shot.result == ShotResult::Miss || shot.result == ShotResult::Wasted) {
        if (shot.result == ShotResult::Miss)
            repaint3();
        playCueOrReport(QStringLiteral("23.wav"), 4);
        playCueOrReport(randomCueName(random(), 18, 19, false));
        computerTurn();
    } else {
        setStatus(QStringLiteral("Корабль противника подбит... Ваш ход..."));
        repaint3();
        playCueOrReport(QStringLiteral("14.wav"), 4);
        if (shot.result == ShotResult::FatalHit) {
            const SinkResult sunk = Battle.SinkShip(Board::Computer, shot.extent);
            repaint3();
            RepaintNow();
            ShowSunkLamps();
            setStatus(QStringLiteral("Корабль противника потоплен... Ваш ход..."));
            if (sunk == SinkResult::Won) {
                setStatus(kNewGameHint);
                repaint3();
                playerWins();
            } else {
                playCueOrReport(QStringLiteral("7.wav"));
            }
        }
    }
}

void TFormSea::computerTurn()
{
    setStatus(QString());
    ComputerTurnHooks hooks;
    hooks.beforeShot = [this] { playCueOrReport(randomCueName(random(), 20, 22)); };
    hooks.afterShot = [this](const ComputerShot& shot) {
        if (shot.result == ShotResult::Miss) {
            repaint2();
            playCueOrReport(QStringLiteral("23.wav"), 4);
            setStatus(StatusLabel->text() + kYourTurn);
        } else if (shot.result == ShotResult::Hit || shot.result == ShotResult::FatalHit) {
            setStatus(QStringLiteral("Ваш корабль подбит... "));
            repaint2();
            playCueOrReport(QStringLiteral("14.wav"), 4);
        }
    };
    hooks.afterSink = [this](SinkResult) {
        ShowSunkLamps();
        setStatus(QStringLiteral("Ваш корабль потоплен... "));
        repaint2();
        RepaintNow();
        playCueOrReport(QStringLiteral("9.wav"));
    };
    const TurnEnd end = PlayComputerTurn(Battle, *m_opponent, random(), [this] { return m_strength; }, hooks);
    if (end != TurnEnd::Lost)
        return;
    repaint2();
    setStatus(kNewGameHint);
    RepaintNow();
    EndOfLostGame();
}

void TFormSea::playerWins()
{
    bool number = false;
    int score = TimerBoard->text().toInt(&number, 10);
    if (!number)
        score = 130;
    EndOfWonGame(score);
}
