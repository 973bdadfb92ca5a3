// The launcher. The game buttons keep their glyphs in colour; the exit
// button shows its greyed look until the mouse comes over it.
#include "tmainform.h"

#include "errorreport.h"
#include "icons.h"
#include "readimage.h"
#include "tflatspeedbutton.h"
#include "tformfifteen.h"
#include "tformsaper.h"
#include "tformsea.h"
#include "tmainforminfo.h"
#include "tpanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>

TMainForm* MainForm = nullptr;

namespace {

TFlatSpeedButton* gameButton(QWidget* parent, const char* name, const QString& caption, const QString& glyph,
                             int left)
{
    auto* b = new TFlatSpeedButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(left, 24, 80, 54);
    b->setFlat(true);
    b->setTransparent(true);
    b->setGrayedInactive(false);
    b->setLayout(blGlyphTop);
    b->setGlyph(readImage(glyph));
    b->setCaption(caption);
    return b;
}

} // namespace

TMainForm::TMainForm()
    : TForm(QStringLiteral("MainForm"))
{
    setWindowTitle(QStringLiteral("Tivorama 1.0"));
    setWindowIcon(icons::application());
    setBorderIcons(biSystemMenu | biMinimize);

    QMenu* game = addMenu(QStringLiteral("И&гра"));
    addItem(game, QStringLiteral("&Пятнашки"), QKeySequence(Qt::Key_F2), [this] { ShowFifteen(); });
    addItem(game, QStringLiteral("&Сапер"), QKeySequence(Qt::Key_F3), [this] { ShowSaper(); });
    addItem(game, QStringLiteral("&Морской бой"), QKeySequence(Qt::Key_F4), [this] { ShowSea(); });
    game->addSeparator();
    addItem(game, QStringLiteral("&Выход"), QKeySequence(Qt::CTRL | Qt::Key_F10), [this] { close(); });
    QMenu* help = addMenu(QStringLiteral("&Справка"));
    addItem(help, QStringLiteral("О &программе"), QKeySequence(Qt::Key_F1), [this] { ShowAbout(); });

    setClientSize(289, 144);

    FlatSpeedButton1 = gameButton(Wallpaper1, "FlatSpeedButton1", QStringLiteral("Пятнашки"),
                                  QStringLiteral(":/images/glyph_fifteen.bmp"), 16);
    FlatSpeedButton2 = gameButton(Wallpaper1, "FlatSpeedButton2", QStringLiteral("Сапер"),
                                  QStringLiteral(":/images/glyph_saper.bmp"), 104);
    FlatSpeedButton4 = gameButton(Wallpaper1, "FlatSpeedButton4", QStringLiteral("Морской бой"),
                                  QStringLiteral(":/images/glyph_sea.bmp"), 192);

    FlatSpeedButton5 = new TFlatSpeedButton(Wallpaper1);
    FlatSpeedButton5->setObjectName(QStringLiteral("FlatSpeedButton5"));
    FlatSpeedButton5->setGeometry(104, 88, 80, 33);
    FlatSpeedButton5->setFlat(true);
    FlatSpeedButton5->setTransparent(true);
    FlatSpeedButton5->setLayout(blGlyphLeft);
    FlatSpeedButton5->setGlyph(readImage(QStringLiteral(":/images/glyph_exit.bmp")));
    FlatSpeedButton5->setCaption(QStringLiteral("Выход"));

    connect(FlatSpeedButton1, &TFlatSpeedButton::clicked, this, errorreport::guard([this] { ShowFifteen(); }));
    connect(FlatSpeedButton2, &TFlatSpeedButton::clicked, this, errorreport::guard([this] { ShowSaper(); }));
    connect(FlatSpeedButton4, &TFlatSpeedButton::clicked, this, errorreport::guard([this] { ShowSea(); }));
    connect(FlatSpeedButton5, &TFlatSpeedButton::clicked, this, errorreport::guard([this] { close(); }));
}

void TMainForm::ShowFifteen()
{
    FormFifteen->Show();
}

void TMainForm::ShowSaper()
{
    FormSaper->Show();
}

void TMainForm::ShowSea()
{
    FormSea->Show();
}

void TMainForm::ShowAbout()
{
    MainFormInfo->ShowModal();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // Closing the launcher ends the program at once, whatever else is open.
    event->accept();
    QCoreApplication::quit();
}
