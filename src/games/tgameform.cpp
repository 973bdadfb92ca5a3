// The shared part of the game windows. Every handler is connected through
// the error report's guard, so a failing cue ends its handler and is reported
// without unwinding through Qt.
#include "tgameform.h"

#include "errorreport.h"
#include "readimage.h"
#include "tdigitaldisplay.h"
#include "tflatspeedbutton.h"
#include "tmediaplayer.h"
#include "tmemoform.h"
#include "tpanel.h"

#include <QApplication>
#include <QInputEvent>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <chrono>

namespace {

qint64 nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Input events carry the window system's time of their making, in
// milliseconds of a clock of its own (the X server's, the compositor's, or
// a test's count). The input that last passed was taken when it came in, so
// it ties that clock to ours: a time of ours is the same moment as
// lastTimestamp plus what our clock has moved since lastSeenMs. Zero stands
// for an event that carries no time; it neither ties the clocks nor is
// ever dropped.
struct InputClock {
    quint64 lastTimestamp = 0;
    qint64 lastSeenMs = 0;

    quint64 now() const { return lastTimestamp ? lastTimestamp + quint64(nowMs() - lastSeenMs) : 0; }
};

InputClock g_inputClock;

// One filter for the whole program, installed with the first game window:
// it drops a game window's clicks and keys made while one of its blocking
// cues played, as they are handed out after the cue, and ties the clocks
// with everything it lets pass. It only decides; it never runs the event
// loop.
class LateInputFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
            break;
        default:
            return false;
        }
        const auto& input = static_cast<const QInputEvent&>(*event);
        if (auto* widget = qobject_cast<QWidget*>(watched)) {
            if (auto* form = qobject_cast<TGameForm*>(widget->window()); form && form->madeDuringCue(input)) {
                // An accepted override keeps a shortcut from firing; the key
                // press that follows it is dropped here too.
                event->accept();
                return true;
            }
        }
        if (input.timestamp() != 0) {
            g_inputClock.lastTimestamp = input.timestamp();
            g_inputClock.lastSeenMs = nowMs();
        }
        return false;
    }
};

// Runs a cue whose failure must not end the handler. The failure goes to
// the error report once the handler has ended, as a raised one would: the
// report's message box runs an event loop of its own, which must not run in
// the middle of a move. Returns whether the cue played.
template <class F>
bool playOrReportLater(QObject* context, F&& play)
{
    QString text;
    try {
        play();
        return true;
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("Unknown error");
    }
    QMetaObject::invokeMethod(context, [text] { errorreport::report(text); }, Qt::QueuedConnection);
    return false;
}

void installLateInputFilter()
{
    static QPointer<LateInputFilter> filter;
    if (filter || !qApp)
        return;
    filter = new LateInputFilter(qApp);
    qApp->installEventFilter(filter);
}

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
    // Read as "Время: 42".
    Counter->setAccessibleName(m_info.counterMeaning);

    Bevel1 = new TBevel(Wallpaper1, bvLowered);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(QRect(m_info.counterPos - QPoint(2, 2), QSize(45, 29)));

    SpeedButton1 = new TFlatSpeedButton(Wallpaper1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(QRect(m_info.newGameButtonPos, QSize(34, 34)));
    SpeedButton1->setFlat(true);
    SpeedButton1->setTransparent(true);
    SpeedButton1->setGrayedInactive(false);
    SpeedButton1->setGlyph(readImage(m_info.newGameGlyph));
    SpeedButton1->setToolTip(QStringLiteral("Новая игра"));
    connect(SpeedButton1, &TFlatSpeedButton::clicked, this, errorreport::guard([this] { NewGame(); }));

    MediaPlayer1 = new TMediaPlayer(this);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    m_mediaCues = std::make_unique<MediaCuePlayer>(*MediaPlayer1);
    m_cues = m_mediaCues.get();
    if (m_info.dropsInputMadeDuringCues)
        installLateInputFilter();

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
    m_cues->close();
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

void TGameForm::startCueOrThrow(const QString& fileName)
{
    m_cues->startCue(fileName);
}

void TGameForm::finishCueOrThrow()
{
    m_cues->finishCue();
    blockingCueEnded();
}

void TGameForm::openHeldCueOrThrow(const QString& fileName)
{
    m_cues->openHeldCue(fileName);
}

void TGameForm::playCueOrThrow(const QString& fileName)
{
    m_cues->soundplay(fileName);
    blockingCueEnded();
}

void TGameForm::playCueOrReport(const QString& fileName, int fraction)
{
    if (playOrReportLater(this, [&] { m_cues->soundplay(fileName, fraction, [this] { RepaintNow(); }); }))
        blockingCueEnded();
}

void TGameForm::playHeldCueOrReport(const QString& fileName)
{
    playOrReportLater(this, [&] { m_cues->playHeldCue(fileName); });
}

void TGameForm::blockingCueEnded()
{
    // Anything made from now on was made after the cue.
    if (m_info.dropsInputMadeDuringCues)
        m_inputMadeBefore = g_inputClock.now();
}

bool TGameForm::madeDuringCue(const QInputEvent& event) const
{
    if (m_inputMadeBefore == 0 || event.timestamp() == 0)
        return false;
    // The window system's clocks count in 32 bits and wrap; the difference
    // between two times of one session is small either way.
    return qint32(quint32(event.timestamp()) - quint32(m_inputMadeBefore)) < 0;
}

void TGameForm::EndOfWonGame(int score)
{
    EndOfGameRule(scores(), score, random(), [this](const QString& cue) { playCueOrThrow(cue); }, Over, Badover, Table);
}

void TGameForm::EndOfLostGame()
{
    playCueOrThrow(randomCueName(random(), 16, 17));
    Lose->ShowModal();
}
