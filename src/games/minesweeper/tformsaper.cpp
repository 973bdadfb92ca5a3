// The minesweeper's window. The minefield decides every opening; the window
// turns clicks into openings, shows each cell's look, runs the clock, pause
// and the cues, and hands a cleared field to the end-of-game rule.
#include "tformsaper.h"

#include "accessibility.h"
#include "errorreport.h"
#include "icons.h"
#include "look.h"
#include "pixelart.h"
#include "readimage.h"
#include "tbitbtn.h"
#include "tboard.h"
#include "tdigitaldisplay.h"
#include "tflatspeedbutton.h"
#include "tshadowlabel.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

TFormSaper* FormSaper = nullptr;
TFormSaperOptions* FormSaperOptions = nullptr;

namespace {

const QString kCellCue = QStringLiteral("15.wav");

// The colour of each number 0..8.
const QColor kNumberColors[9] = {
    QColor(0, 0, 0),     QColor(0, 0, 255),   QColor(0, 128, 0), QColor(255, 0, 0),   QColor(0, 0, 128),
    QColor(128, 0, 0),   QColor(128, 0, 128), QColor(0, 128, 128), QColor(0, 255, 0),
};

const QColor kRed(255, 0, 0);

const QImage& bomb()
{
    static const QImage image = readImage(QStringLiteral(":/images/bomb.png"));
    return image;
}

const QImage& skull()
{
    static const QImage image = readImage(QStringLiteral(":/images/skull.png"));
    return image;
}

TGameInfo saperInfo()
{
    TGameInfo info;
    info.number = 2;
    info.objectName = QStringLiteral("FormSaper");
    info.caption = QStringLiteral("Сапер");
    info.icon = icons::saper();
    info.clientSize = QSize(274, 327);
    info.newGameItem = QStringLiteral("&Новый расклад");
    info.newGameGlyph = QStringLiteral(":/images/glyph_saper.bmp");
    info.recordDialogHeight = 171;
    info.counterName = QStringLiteral("TimerBoard");
    info.counterMeaning = QStringLiteral("Время");
    info.counterPos = QPoint(212, 17);
    info.newGameButtonPos = QPoint(20, 11);
    info.hasClock = true;
    return info;
}

QString minesCaption(int n)
{
    return QString::number(n) + QStringLiteral(" мин");
}

} // namespace

TMineCell::TMineCell(QWidget* parent)
    : TPanel(parent)
{
}

void TMineCell::setText(const QString& text, const QColor& color)
{
    if (text == m_text && color == m_textColor)
        return;
    m_text = text;
    m_textColor = color;
    update();
}

void TMineCell::setImage(const QImage& image)
{
    m_image = image;
    update();
}

void TMineCell::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect face = paintPanel(p);
    if (!m_image.isNull()) {
        pixelart::draw(p, QPoint(face.x() + (face.width() - m_image.width()) / 2,
                                 face.y() + (face.height() - m_image.height()) / 2), m_image);
    } else if (!m_text.isEmpty()) {
        p.setPen(m_textColor);
        p.setFont(font());
        p.drawText(face, Qt::AlignCenter | Qt::TextSingleLine, m_text);
    }
}

TFormSaper::TFormSaper()
    : TGameForm(saperInfo())
{
    TimerBoard = Counter;
    PauseItem = addGameItem(QStringLiteral("Пауза "), QKeySequence(Qt::Key_F6), [this] { PauseClick(); });
    addGameItem(QStringLiteral("О&пции"), {}, [this] { OptionsClick(); });

    FlatSpeedButton1 = new TFlatSpeedButton(Wallpaper1);
    FlatSpeedButton1->setObjectName(QStringLiteral("FlatSpeedButton1"));
    FlatSpeedButton1->setGeometry(56, 11, 34, 34);
    FlatSpeedButton1->setFlat(true);
    FlatSpeedButton1->setTransparent(true);
    FlatSpeedButton1->setGlyph(readImage(QStringLiteral(":/images/glyph_pause.bmp")));
    FlatSpeedButton1->setToolTip(QStringLiteral("Пауза..."));
    connect(FlatSpeedButton1, &TFlatSpeedButton::clicked, this, errorreport::guard([this] { PauseClick(); }));

    ShadowLabel1 = new TShadowLabel(Wallpaper1);
    ShadowLabel1->setObjectName(QStringLiteral("ShadowLabel1"));
    ShadowLabel1->setAutoSize(false);
    ShadowLabel1->setGeometry(104, 18, 89, 23);
    ShadowLabel1->setAlignment(taCenter);
    ShadowLabel1->setTransparent(true);
    ShadowLabel1->setFont(look::font(19, true));
    ShadowLabel1->setCaption(minesCaption(Field.MineCount()));

    MainPanel = new TBoard(cellgrid::Size, cellgrid::Size, Wallpaper1);
    MainPanel->setObjectName(QStringLiteral("MainPanel"));
    MainPanel->setAccessibleName(QStringLiteral("Минное поле"));
    MainPanel->setGeometry(8, 56, 257, 257);
    MainPanel->setBevelInner(bvLowered);
    MainPanel->setBevelOuter(bvLowered);

    const QFont cellFont = look::font(13, true);
    for (int k = 1; k <= cellgrid::Cells; ++k) {
        const cellgrid::Cell at = cellgrid::cellAt(k - 1);
        auto* cell = new TMineCell(MainPanel);
        cell->setObjectName(QStringLiteral("Panel%1").arg(k));
        // 25 pixels wide on a 24-pixel pitch: neighbours share their edge line.
        cell->setGeometry(8 + 24 * (at.column - 1), 8 + 24 * (at.row - 1), 25, 25);
        cell->setBorderSingle(true);
        cell->setBevelOuter(bvRaised);
        cell->setBevelInner(bvRaised);
        cell->setFont(cellFont);
        Cells[k - 1] = cell;
        connect(cell, &TPanel::clicked, this, errorreport::guard([this, k] { Panel1Click(k); }));
        MainPanel->setCell(k - 1, cell);
    }
    // Enter or the space bar on a cell is a click on it.
    connect(MainPanel, &TBoard::cellActivated, this,
            [this](int index) { errorreport::run([&] { Panel1Click(index + 1); }); });
    // The field comes first: it has the keys when the window opens.
    setTabOrder(MainPanel, SpeedButton1);
    setTabOrder(SpeedButton1, FlatSpeedButton1);
}

void TFormSaper::nameCells()
{
    for (int i = 0; i < cellgrid::Cells; ++i) {
        const TMineCell* cell = Cells[i];
        QString state;
        // The mine that was hit shows red before the bombs appear.
        if (!cell->image().isNull() || cell->color() == kRed)
            state = QStringLiteral("мина");
        else if (cell->text().isEmpty())
            state = QStringLiteral("закрыта");
        else if (cell->text() == QLatin1String("0"))
            state = QStringLiteral("пусто");
        else
            state = cell->text();
        const auto [row, column] = cellgrid::cellAt(i);
        accessibility::setName(Cells[i], TBoard::coordinate(row - 1, column - 1) + QStringLiteral(", ") + state);
    }
}

void TFormSaper::FormCreate()
{
    Field.SetMineCount(20);
    ResetGame();
}

void TFormSaper::FormActivate()
{
    if (Field.InProgress())
        return;
    LoadTable();
    // A paused game is discarded like a finished one.
    ResetGame();
}

void TFormSaper::setPauseEnabled(bool enabled)
{
    FlatSpeedButton1->setEnabled(enabled);
    PauseItem->setEnabled(enabled);
}

void TFormSaper::setCellsEnabled(bool enabled)
{
    for (TMineCell* cell : Cells)
        cell->setEnabled(enabled);
}

void TFormSaper::NewField()
{
    for (TMineCell* cell : Cells) {
        cell->setText(QString(), look::windowText());
        cell->setImage(QImage());
        cell->setBevelInner(bvRaised);
        cell->setColor(look::btnFace());
    }
    Field.NewField(random());
    setCellsEnabled(true);
    nameCells();
    MainPanel->setFocusCell(0);
}

void TFormSaper::ResetGame()
{
    Field.Stop();
    TimerBoard->setText(QStringLiteral("000"));
    setPauseEnabled(false);
    NewField();
}

void TFormSaper::NewGame()
{
    startCueOrThrow(QStringLiteral("1.wav"));
    setPauseEnabled(true);
    FlatSpeedButton1->setToolTip(QStringLiteral("Пауза"));
    Field.Start();
    NewField();
    // The new field shows while the start cue sounds.
    RepaintNow();
    finishCueOrThrow();
    openHeldCueOrThrow(kCellCue);
}

void TFormSaper::showNumber(TMineCell* cell, int value)
{
    cell->setBevelInner(bvLowered);
    cell->setText(QString::number(value), kNumberColors[qBound(0, value, 8)]);
}

void TFormSaper::Panel1Click(int k)
{
    const auto [row, column] = cellgrid::cellAt(k - 1);
    const Minefield::OpenResult result = Field.OpenCell(row, column);
    if (result == Minefield::OpenResult::Ignored)
        return;
    TMineCell* cell = Cells[k - 1];
    if (result == Minefield::OpenResult::Mine) {
        cell->setBevelInner(bvLowered);
        LossSequence(cell);
        return;
    }
    showNumber(cell, Field.ValueAt(row, column));
    nameCells();
    playHeldCueOrReport(kCellCue);
    if (result == Minefield::OpenResult::Won)
        WinSequence();
}

void TFormSaper::showMines(bool won)
{
    for (int i = 0; i < cellgrid::Cells; ++i) {
        const auto [row, column] = cellgrid::cellAt(i);
        if (Field.ValueAt(row, column) != Minefield::MineValue)
            continue;
        TMineCell* cell = Cells[i];
        cell->setColor(look::btnFace());
        if (won) {
            cell->setImage(skull());
        } else {
            cell->setBevelInner(bvLowered);
            cell->setImage(bomb());
        }
    }
    nameCells();
}

void TFormSaper::LossSequence(TMineCell* hit)
{
    // The model has already ended the game, so nothing can be opened or
    // counted while the cues sound. A failing cue is reported and the
    // sequence goes on, so the field always comes to show the lost game.
    hit->setColor(kRed);
    nameCells();
    RepaintNow();
    playCueOrReport(randomCueName(random(), 11, 13));
    playCueOrReport(QStringLiteral("10.wav"));
    showMines(false);
    setPauseEnabled(false);
    hit->setColor(kRed);
    RepaintNow();
    setCellsEnabled(false);
    playCueOrReport(QStringLiteral("14.wav"));
}

void TFormSaper::WinSequence()
{
    showMines(true);
    setPauseEnabled(false);
    setCellsEnabled(false);
    const int score = CounterValue();
    RepaintNow();
    EndOfWonGame(score);
}

void TFormSaper::PauseClick()
{
    const Minefield::State before = Field.state();
    Field.TogglePause();
    if (Field.state() == before)
        return;
    FlatSpeedButton1->setToolTip(Field.InProgress() ? QStringLiteral("Пауза") : QStringLiteral("Снять паузу"));
}

void TFormSaper::OptionsClick()
{
    FormSaperOptions->ShowModal();
}

void TFormSaper::Timer1Timer()
{
    Field.Tick();
    if (Field.InProgress())
        ShowCount(Field.Seconds());
}

TFormSaperOptions::TFormSaperOptions()
    : TForm(QStringLiteral("FormSaperOptions"))
{
    setWindowTitle(QStringLiteral("Сапер - опции"));
    setWindowIcon(icons::saper());
    setBorderStyle(bsDialog);
    setBorderIcons(biSystemMenu);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setClientSize(211, 151);

    auto* panel = new TPanel(Wallpaper1);
    panel->setGeometry(9, 16, 193, 81);
    panel->setBevelInner(bvRaised);
    panel->setBevelOuter(bvLowered);
    auto* label = new QLabel(QStringLiteral("Число мин :"), panel);
    label->move(32, 16);
    label->adjustSize();
    Edit1 = new QLineEdit(panel);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(QStringLiteral("Число мин"));
    Edit1->setGeometry(28, 36, 137, 21);

    BitBtn1 = new TBitBtn(QStringLiteral("OK"), bgCheck, Wallpaper1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(18, 112, 85, 25);
    setDefaultButton(BitBtn1);
    connect(BitBtn1, &QPushButton::clicked, this, errorreport::guard([this] { BitBtn1Click(); }));

    BitBtn2 = new TBitBtn(QStringLiteral("Отмена"), bgCross, Wallpaper1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(108, 112, 85, 25);
    setCancelButton(BitBtn2);
    connect(BitBtn2, &QPushButton::clicked, this, errorreport::guard([this] { setModalResult(mrCancel); }));
}

void TFormSaperOptions::FormCreate()
{
    Edit1->setText(QString::number(FormSaper->Field.MineCount()));
}

std::optional<int> parseMineCount(const QString& text)
{
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    if (!ok || n < Minefield::MinMines || n > Minefield::MaxMines)
        return std::nullopt;
    return n;
}

void TFormSaperOptions::BitBtn1Click()
{
    // Anything but a whole number from 5 to 50 is ignored without a word.
    const std::optional<int> count = parseMineCount(Edit1->text());
    if (!count)
        return;
    const int n = *count;
    FormSaper->Field.SetMineCount(n);
    FormSaper->ShadowLabel1->setCaption(minesCaption(n));
    // The game that ran, if any, ends without a result.
    FormSaper->ResetGame();
    setModalResult(mrOk);
}
