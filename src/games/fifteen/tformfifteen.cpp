// The fifteen puzzle's window. The board model decides every move; the window
// turns clicks into moves, draws the tiles, runs the clock and the cues, and
// hands a solved game to the end-of-game rule.
#include "tformfifteen.h"

#include "cues.h"
#include "errorreport.h"
#include "icons.h"
#include "look.h"
#include "tdigitaldisplay.h"
#include "tflatspeedbutton.h"
#include "tmediaplayer.h"
#include "tmemoform.h"
#include "tpanel.h"
#include "tshadowlabel.h"

#include <QMenu>
#include <QTimer>

TFormFifteen* FormFifteen = nullptr;
TForm15badover* Form15badover = nullptr;
TForm15Over* Form15Over = nullptr;
TForm15table* Form15table = nullptr;

namespace {
const QString kMoveCue = QStringLiteral("2.wav");
}

TGameScores TFormFifteen::scores()
{
    TGameScores s;
    s.game = 1;
    s.caption = QStringLiteral("Пятнашки");
    s.tableCaption = QStringLiteral("Пятнашки - лучшие результаты");
    s.icon = icons::fifteen();
    s.recordDialogHeight = 172;
    s.table = []() -> Ttop& { return FormFifteen->Top; };
    s.scoreText = [] { return FormFifteen->Label1->text(); };
    return s;
}

TFormFifteen::TFormFifteen()
    : TForm(QStringLiteral("FormFifteen"))
{
    setWindowTitle(QStringLiteral("Пятнашки"));
    setWindowIcon(icons::fifteen());
    setBorderIcons(biSystemMenu | biMinimize);

    QMenu* game = addMenu(QStringLiteral("И&гра"));
    addItem(game, QStringLiteral("&Новый расклад"), QKeySequence(Qt::Key_F2), [this] { NewGame(); });
    addItem(game, QStringLiteral("&Лучшие результаты"), QKeySequence(Qt::Key_F3), [this] { ShowTable(); });
    game->addSeparator();
    addItem(game, QStringLiteral("&Выход"), QKeySequence(Qt::CTRL | Qt::Key_F10), [this] { close(); });
    QMenu* help = addMenu(QStringLiteral("&Справка"));
    addItem(help, QStringLiteral("&Правила игры"), QKeySequence(Qt::Key_F1), [this] { ShowRules(); });

    setClientSize(245, 303);
    // Aligned to the top and two pixels taller than the client area.
    setWallpaperHeight(305);

    Label1 = new TDigitalDisplay(Wallpaper1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(180, 17, 41, 25);
    Label1->setColor(QColor(0, 255, 0));
    Label1->setMargins(0);
    Label1->setSpacing(0);
    Label1->setAlignment(taCenter);
    Label1->setText(QStringLiteral("000"));

    Bevel1 = new TBevel(Wallpaper1, bvLowered);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(178, 15, 45, 29);

    SpeedButton1 = new TFlatSpeedButton(Wallpaper1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(22, 11, 34, 34);
    SpeedButton1->setFlat(true);
    SpeedButton1->setTransparent(true);
    SpeedButton1->setGrayedInactive(false);
    SpeedButton1->setGlyph(QImage(QStringLiteral(":/images/glyph_fifteen.bmp")));
    SpeedButton1->setToolTip(QStringLiteral("Новая игра"));
    connect(SpeedButton1, &TFlatSpeedButton::clicked, this, &TFormFifteen::NewGame);

    Panel = new TPanel(Wallpaper1);
    Panel->setObjectName(QStringLiteral("Panel"));
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

        connect(tile, &TPanel::clicked, this, [this, k] { TileClick(k); });
        connect(label, &TShadowLabel::clicked, this, [this, k] { TileClick(k); });
    }
    // Before the first deal the tiles show the solved picture.
    Tiles[15]->hide();

    MediaPlayer1 = new TMediaPlayer(this);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TFormFifteen::Timer1Timer);
    Timer1->start();
}

void TFormFifteen::FormCreate()
{
    MediaPlayer1->Close();
}

void TFormFifteen::FormActivate()
{
    if (Board.InProgress())
        return;
    Top = Ttop{};
    LoadTop(Top, 1);
    Board.ResetClock();
    Label1->setText(QStringLiteral("000"));
}

void TFormFifteen::FormClose()
{
    MediaPlayer1->Close();
}

void TFormFifteen::NewGame()
{
    Label1->setText(QStringLiteral("000"));
    startCue(*MediaPlayer1, QStringLiteral("1.wav"));
    Board.Deal(*m_random);
    // The running game, if any, ends with its board: should the move cue
    // fail to open below, no clock may go on counting for the new deal.
    Board.ResetClock();
    Redraw(true);
    // The new deal shows while the start cue sounds.
    RepaintNow();
    finishCue(*MediaPlayer1);
    openHeldCue(*MediaPlayer1, kMoveCue);
    Board.Start();
}

void TFormFifteen::playMoveSound()
{
    // Closing the window released the move cue; the first move after the
    // window is shown again opens it afresh.
    if (!MediaPlayer1->isOpen())
        openHeldCue(*MediaPlayer1, kMoveCue);
    MediaPlayer1->Play();
}

void TFormFifteen::TileClick(int position)
{
    // Tiles move only in a game that runs: a deal whose move cue could not be
    // opened never started its clock, and solving it would score 0 seconds.
    if (!Board.InProgress() || !Board.TryMove(position))
        return;
    // A failing sound is reported, but the board must still show the move
    // and make the solved test, or what is shown would no longer be the game.
    try {
        playMoveSound();
    } catch (const std::exception& e) {
        errorreport::report(QString::fromUtf8(e.what()));
    }
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
    if (!afterDeal && Board.IsSolved())
        EndOfGame();
}

void TFormFifteen::EndOfGame()
{
    // The last slide must be on screen before the sounds start.
    RepaintNow();
    Board.Finish();
    MediaPlayer1->Close();
    EndOfGameRule(scores(), scoreValue(Label1->text()), *m_random,
                  [this](const QString& cue) { playCue(*MediaPlayer1, cue); }, Form15Over, Form15badover,
                  Form15table);
}

void TFormFifteen::Timer1Timer()
{
    Board.Tick();
    if (Board.InProgress())
        Label1->setText(QStringLiteral("%1").arg(Board.Seconds(), 3, 10, QLatin1Char('0')));
}

void TFormFifteen::ShowTable()
{
    Form15table->ShowModal();
}

void TFormFifteen::ShowRules()
{
    RulesFileName = QStringLiteral("1.doc");
    MemoForm->setWindowTitle(QStringLiteral("Пятнашки - правила игры"));
    MemoForm->setWindowIcon(windowIcon());
    MemoForm->Show();
}

TForm15Over::TForm15Over()
    : TRecordDialog(QStringLiteral("Form15Over"), TFormFifteen::scores())
{
}

TForm15badover::TForm15badover()
    : TNoRecordDialog(QStringLiteral("Form15badover"), TFormFifteen::scores())
{
}

TForm15table::TForm15table()
    : TRecordTable(QStringLiteral("Form15table"), TFormFifteen::scores())
{
}
