// The about box.
#include "tmainforminfo.h"

#include "errorreport.h"
#include "icons.h"
#include "look.h"
#include "tbitbtn.h"
#include "tpanel.h"
#include "tshadowlabel.h"

#include <QLabel>

TMainFormInfo* MainFormInfo = nullptr;

namespace {

QLabel* label(QWidget* parent, int left, int top, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->move(left, top);
    l->adjustSize();
    return l;
}

// A horizontal groove: a shadow line over a highlight line.
void separator(QWidget* parent, int top)
{
    auto* line = new TBevel(parent, bvLowered);
    line->setGeometry(20, top, 200, 2);
}

} // namespace

TMainFormInfo::TMainFormInfo()
    : TForm(QStringLiteral("MainFormInfo"))
{
    setWindowTitle(QStringLiteral("Tivorama 1.0 - о программе"));
    setWindowIcon(icons::application());
    setBorderStyle(bsDialog);
    setBorderIcons(biSystemMenu);
    setClientSize(258, 327);

    auto* panel = new TPanel(Wallpaper1);
    panel->setGeometry(9, 13, 240, 260);
    panel->setBevelInner(bvRaised);
    panel->setBevelOuter(bvLowered);

    auto* icon = new QLabel(panel);
    icon->setGeometry(24, 16, 32, 32);
    icon->setPixmap(icons::application().pixmap(32, 32));
    icon->setAccessibleName(QStringLiteral("Значок Tivorama"));

    Title = new TShadowLabel(panel);
    Title->setObjectName(QStringLiteral("Title"));
    Title->move(80, 14);
    Title->setFont(look::font(19, true));
    QPalette pal = Title->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    Title->setPalette(pal);
    Title->setShadowPos(spRightBottom);
    Title->setTransparent(true);
    Title->setCaption(QStringLiteral("Tivorama"));

    label(panel, 80, 37, QStringLiteral("Версия 1.0 от 15 июня 1998"));

    separator(panel, 60);
    label(panel, 20, 70, QStringLiteral("Три игры для одного игрока:"));
    label(panel, 20, 86, QStringLiteral("Пятнашки, Сапер и Морской бой."));
    label(panel, 20, 110, QStringLiteral("Рисунки, звуки и правила игр"));
    label(panel, 20, 126, QStringLiteral("сделаны авторами Tivorama."));
    separator(panel, 157);
    label(panel, 20, 167, QStringLiteral("Приятной игры!"));
    separator(panel, 191);
    label(panel, 20, 201, QStringLiteral("Вопросы и пожелания присылайте"));
    label(panel, 20, 217, QStringLiteral("авторам через страницу проекта."));

    BitBtn1 = new TBitBtn(QStringLiteral("OK"), bgCheck, Wallpaper1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(76, 286, 105, 25);
    setDefaultButton(BitBtn1);
    connect(BitBtn1, &QPushButton::clicked, this, errorreport::guard([this] { setModalResult(mrOk); }));
}
