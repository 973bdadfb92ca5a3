// The shared part of the game windows. Every handler is connected through
// the error report's guard, so a failing cue ends its handler and is reported
// without unwinding through Qt.
#include "tgameform.h"

#include "cues.h"
#include "errorreport.h"
#include "tdigitaldisplay.h"
#include "tflatspeedbutton.h"
#include "tmediaplayer.h"
#include "tmemoform.h"
#include "tpanel.h"

#include <QCoreApplication>
#include <QMenu>
#include <QTimer>

namespace {

// Eats mouse presses and keys while the events that queued up are drained.
class InputEater : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
            return true;
        default:
            return false;
        }
    }
};

} // namespace

TGameForm::TGameForm(TGameInfo info)
    : TForm(info.objectName)
    , m_info(std::move(info))
{
    setWindowTitle(m_info.caption);
    setWindowIcon(m_info.icon);
    setBorderIcons(biSystemMenu | biMinimize);

    GameMenu = addMenu(QStringLiteral("И&гра"));
    addItem(GameMenu, m_info.newGameItem, QKeySequence(Qt::Key_F2), [this] { NewGame(); });
    addItem(GameMenu, QStringLiteral("&Лучшие результаты"), QKeySequence(Qt::Key_F3), [this] { ShowTable(); });
    m_ownItemsEnd = GameMenu->addSeparator();
    addItem(GameMenu, QStringLiteral("&Выход"), QKeySequence(Qt::CTRL | Qt::Key_F10), [this] { close(); });
    HelpMenu = addMenu(QStringLiteral("&Справка"));
    addItem(HelpMenu, QStringLiteral("&Правила игры"), QKeySequence(Qt::Key_F1), [this] { ShowRules(); });

    setClientSize(m_info.clientSize.width(), m_info.clientSize.height());

    Counter = new TDigitalDisplay(Wallpaper1);
    Counter->setObjectName(m_info.counterName);
    Counter->setGeometry(QRect(m_info.counterPos, QSize(41, 25)));
    Counter->setColor(QColor(0, 255, 0));
    Counter->setMargins(0);
    Counter->setSpacing(0);
    Counter->setAlignment(taCenter);
    Counter->setText(QStringLiteral("000"));

    Bevel1 = new TBevel(Wallpaper1, bvLowered);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(QRect(m_info.counterPos - QPoint(2, 2), QSize(45, 29)));

    SpeedButton1 = new TFlatSpeedButton(Wallpaper1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(QRect(m_info.newGameButtonPos, QSize(34, 34)));
    SpeedButton1->setFlat(true);
    SpeedButton1->setTransparent(true);
    SpeedButton1->setGrayedInactive(false);
    SpeedButton1->setGlyph(QImage(m_info.newGameGlyph));
    SpeedButton1->setToolTip(QStringLiteral("Новая игра"));
    connect(SpeedButton1, &TFlatSpeedButton::clicked, this, errorreport::guard([this] { NewGame(); }));

    MediaPlayer1 = new TMediaPlayer(this);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));

    if (m_info.hasClock) {
        // Runs all the time; a new game does not restart it, so the first
        // second of a game lasts between 0 and 1 second.
        Timer1 = new QTimer(this);
        Timer1->setObjectName(QStringLiteral("Timer1"));
        Timer1->setInterval(1000);
        connect(Timer1, &QTimer::timeout, this, errorreport::guard([this] { Timer1Timer(); }));
        Timer1->start();
    }
}

QAction* TGameForm::addGameItem(const QString& text, const QKeySequence& shortcut, std::function<void()> handler)
{
    QAction* action = addItem(GameMenu, text, shortcut, std::move(handler));
    GameMenu->removeAction(action);
    GameMenu->insertAction(m_ownItemsEnd, action);
    return action;
}

QMenu* TGameForm::addGameSubmenu(const QString& title)
{
    auto* menu = new QMenu(title, GameMenu);
    GameMenu->insertMenu(m_ownItemsEnd, menu);
    return menu;
}

TForm* TGameForm::makeDialog(TGameDialog kind, const QString& name)
{
    TForm* dialog = nullptr;
    switch (kind) {
    case TGameDialog::Table:
        dialog = Table = new TRecordTable(name, scores());
        break;
    case TGameDialog::Record:
        dialog = Over = new TRecordDialog(name, scores());
        break;
    case TGameDialog::NoRecord:
        dialog = Badover = new TNoRecordDialog(name, scores());
        break;
    case TGameDialog::Lost:
        dialog = Lose = new TLostGameDialog(name, scores());
        break;
    }
    dialog->FormCreate();
    return dialog;
}

TGameScores TGameForm::scores()
{
    TGameScores s;
    s.game = m_info.number;
    s.caption = m_info.caption;
    s.tableCaption = m_info.tableCaption();
    s.icon = m_info.icon;
    s.recordDialogHeight = m_info.recordDialogHeight;
    s.table = [this]() -> Ttop& { return Top; };
    s.scoreText = [this] { return Counter->text(); };
    return s;
}

void TGameForm::ShowTable()
{
    Table->ShowModal();
}

void TGameForm::ShowRules()
{
    MemoForm->ShowRules(m_info.rulesFile(), m_info.rulesCaption(), windowIcon());
}

void TGameForm::FormClose()
{
    MediaPlayer1->Close();
}

void TGameForm::LoadTable()
{
    Top = Ttop{};
    LoadTop(Top, m_info.number);
}

void TGameForm::ShowCount(int value)
{
    Counter->setText(QStringLiteral("%1").arg(value, 3, 10, QLatin1Char('0')));
}

int TGameForm::CounterValue() const
{
    return scoreValue(Counter->text());
}

void TGameForm::PlayCue(const QString& fileName, int fraction)
{
    soundplay(*MediaPlayer1, fileName, fraction, [this] { RepaintNow(); });
}

void TGameForm::DropInputMadeDuringCues()
{
    InputEater eater;
    QCoreApplication::instance()->installEventFilter(&eater);
    // What the window system delivered meanwhile is queued now; handle it
    // all, input excepted.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::instance()->removeEventFilter(&eater);
}

void TGameForm::PlayHeldCue(const QString& fileName)
{
    errorreport::run([&] {
        if (!MediaPlayer1->isOpen())
            openHeldCue(*MediaPlayer1, fileName);
        MediaPlayer1->Play();
    });
}

void TGameForm::EndOfWonGame(int score)
{
    EndOfGameRule(scores(), score, random(), [this](const QString& cue) { PlayCue(cue); }, Over, Badover, Table);
}

void TGameForm::EndOfLostGame()
{
    PlayCue(randomCueName(random(), 16, 17));
    Lose->ShowModal();
}
