// The fifteen puzzle's window. The board model decides every move; the window
// turns clicks into moves, draws the tiles, runs the clock and the cues, and
// hands a solved game to the end-of-game rule.
#include "tformfifteen.h"

#include "accessibility.h"
#include "errorreport.h"
#include "icons.h"
#include "look.h"
#include "tboard.h"
#include "tdigitaldisplay.h"
#include "tflatspeedbutton.h"
#include "tpanel.h"
#include "tshadowlabel.h"

TFormFifteen* FormFifteen = nullptr;

namespace {

const QString kMoveCue = QStringLiteral("2.wav");

TGameInfo fifteenInfo()
{
    TGameInfo info;
    info.number = 1;
    info.objectName = QStringLiteral("FormFifteen");
    info.caption = QStringLiteral("Пятнашки");
    info.icon = icons::fifteen();
    info.clientSize = QSize(245, 303);
    info.newGameItem = QStringLiteral("&Новый расклад");
    info.newGameGlyph = QStringLiteral(":/images/glyph_fifteen.bmp");
    info.recordDialogHeight = 172;
    info.counterName = QStringLiteral("Label1");
    info.counterMeaning = QStringLiteral("Время");
    info.counterPos = QPoint(180, 17);
    info.newGameButtonPos = QPoint(22, 11);
    info.hasClock = true;
    return info;
}

} // namespace

TFormFifteen::TFormFifteen()
    : TGameForm(fifteenInfo())
{
    // Aligned to the top and two pixels taller than the client area.
    setWallpaperHeight(305);
    Label1 = Counter;

    Panel = new TBoard(4, 4, Wallpaper1);
    Panel->setObjectName(QStringLiteral("Panel"));
    Panel->setAccessibleName(QStringLiteral("Коробка с фишками"));
    Panel->setGeometry(9, 56, 226, 233);
    Panel->setBevelInner(bvRaised);
    Panel->setBevelOuter(bvLowered);

    for (int k = 1; k <= 16; ++k) {
        auto* tile = new TPanel(Panel);
        tile->setObjectName(QStringLiteral("Panel%1").arg(k));
        tile->setGeometry(13 + 50 * ((k - 1) % 4), 18 + 50 * ((k - 1) / 4), 50, 50);
        tile->setBevelOuter(bvRaised);
        tile->setBevelWidth(2);
        tile->setColor(QColor(192, 192, 192));
        Tiles[k - 1] = tile;

        auto* label = new TShadowLabel(tile);
        label->setObjectName(QStringLiteral("ShadowLabel%1").arg(k));
        label->setAutoSize(false);
        label->setGeometry(10, k == 1 ? 12 : 13, 30, 25);
        label->setAlignment(taCenter);
        label->setFont(look::font(19, true));
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, QColor(0, 0, 128));
        label->setPalette(pal);
        label->setColor(QColor(192, 192, 192));
        label->setCaption(k < 16 ? QString::number(k) : QString());
        Labels[k - 1] = label;

        connect(tile, &TPanel::clicked, this, errorreport::guard([this, k] { TileClick(k); }));
        connect(label, &TShadowLabel::clicked, this, errorreport::guard([this, k] { TileClick(k); }));
        Panel->setCell(k - 1, tile);
    }
    // Enter or the space bar on a position is a click on its tile.
    connect(Panel, &TBoard::cellActivated, this, [this](int index) { errorreport::run([&] { TileClick(index + 1); }); });
    // The board comes first: it has the keys when the window opens.
    setTabOrder(Panel, SpeedButton1);
    // Before the first deal the tiles show the solved picture.
    Tiles[15]->hide();
    nameTiles();
}

void TFormFifteen::nameTiles()
{
    // What the player sees: before the first deal the board holds no tiles
    // yet, and the panels show the solved picture.
    for (int k = 1; k <= 16; ++k)
        accessibility::setName(Tiles[k - 1], Tiles[k - 1]->isHidden() ? QStringLiteral("пусто") : Labels[k - 1]->caption());
}

void TFormFifteen::FormCreate()
{
    cuePlayer().close();
}

void TFormFifteen::FormActivate()
{
    if (Board.InProgress())
        return;
    LoadTable();
    Board.ResetClock();
    Label1->setText(QStringLiteral("000"));
}

void TFormFifteen::NewGame()
{
    Label1->setText(QStringLiteral("000"));
    startCueOrThrow(QStringLiteral("1.wav"));
    Board.Deal(random());
    // The running game, if any, ends with its board: should the move cue
    // fail to open below, no clock may go on counting for the new deal.
    Board.ResetClock();
    Redraw(true);
    Panel->setFocusCell(0);
    // The new deal shows while the start cue sounds.
    RepaintNow();
    finishCueOrThrow();
    openHeldCueOrThrow(kMoveCue);
    Board.Start();
}

void TFormFifteen::TileClick(int position)
{
    // Tiles move only in a game that runs: a deal whose move cue could not be
    // opened never started its clock, and solving it would score 0 seconds.
    if (!Board.InProgress() || !Board.TryMove(position))
        return;
    playHeldCueOrReport(kMoveCue);
    Redraw(false);
}

void TFormFifteen::Redraw(bool afterDeal)
{
    if (afterDeal)
        for (TPanel* tile : Tiles)
            tile->hide();
    for (int k = 1; k <= 16; ++k)
        Labels[k - 1]->setCaption(QString::number(Board.TileAt(k)));
    for (int k = 1; k <= 16; ++k)
        Tiles[k - 1]->setVisible(Board.TileAt(k) != 16);
    nameTiles();
    if (!afterDeal && Board.IsSolved())
        EndOfGame();
}

void TFormFifteen::EndOfGame()
{
    // The last slide must be on screen before the sounds start.
    RepaintNow();
    Board.Finish();
    cuePlayer().close();
    EndOfWonGame(CounterValue());
}

void TFormFifteen::Timer1Timer()
{
    Board.Tick();
    if (Board.InProgress())
        ShowCount(Board.Seconds());
}
