// The static face of every window of the registry, as the player first sees
// it: caption, client size, menus with their shortcuts, and the texts of the
// controls. One row a window; a change to any of them shows here.
#include "datafiles.h"
#include "testmain.h"
#include "testutil.h"

#include "registry.h"
#include "tflatspeedbutton.h"
#include "tform.h"
#include "tshadowlabel.h"
#include "ttop.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

namespace {

QString menuFace(const QMenu* menu)
{
    QStringList items;
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            items << QStringLiteral("-");
            continue;
        }
        QString item = a->text();
        if (!a->shortcut().isEmpty())
            item += QLatin1Char(' ') + a->shortcut().toString();
        if (a->menu())
            item += QStringLiteral(" (") + menuFace(a->menu()) + QLatin1Char(')');
        items << item;
    }
    return items.join(QStringLiteral(", "));
}

// Caption and client size, then one line a menu, then the texts of the
// controls in the order they were made.
QString face(const TForm* form)
{
    QStringList lines{form->windowTitle() + QStringLiteral(" %1x%2").arg(form->clientSize().width())
                                                             .arg(form->clientSize().height())};
    if (const QMenuBar* bar = form->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly))
        for (const QAction* a : bar->actions())
            lines << a->text() + QStringLiteral(": ") + menuFace(a->menu());
    QStringList texts;
    for (const QWidget* w : form->findChildren<QWidget*>()) {
        QString text;
        if (auto* label = qobject_cast<const QLabel*>(w))
            text = label->text();
        else if (auto* shadow = qobject_cast<const TShadowLabel*>(w))
            text = shadow->caption();
        else if (auto* button = qobject_cast<const QAbstractButton*>(w))
            text = button->text();
        else if (auto* flat = qobject_cast<const TFlatSpeedButton*>(w))
            text = flat->caption().isEmpty() ? flat->toolTip() : flat->caption();
        else if (auto* edit = qobject_cast<const QLineEdit*>(w))
            text = QLatin1Char('[') + edit->text() + QLatin1Char(']');
        if (!text.isEmpty())
            texts << text;
    }
    lines << texts.join(QLatin1Char('|'));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TstWindowFaces : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void registryOrder();
    void windowFace_data();
    void windowFace();

private:
    QTemporaryDir m_dir;
};

void TstWindowFaces::initTestCase()
{
    datafiles::setProgramPath(m_dir.filePath(QStringLiteral("tivorama")));
    CreateForms();
}

void TstWindowFaces::cleanupTestCase()
{
    DestroyForms();
    datafiles::setProgramPath(QString());
}

void TstWindowFaces::registryOrder()
{
    QCOMPARE(FormNames(), (QStringList{"TMainForm", "TFormFifteen", "TForm15badover", "TForm15Over", "TForm15table",
                                       "TFormSaper", "TFormSaperOptions", "TFormSaperTable", "TFormSaperOver",
                                       "TFormSaperBadOver", "TFormSea", "TFormSeaLose", "TFormSeaBadover",
                                       "TFormSeaOver", "TFormSeaTable", "TMemoForm", "TMainFormInfo"}));
}

void TstWindowFaces::windowFace_data()
{
    QTest::addColumn<QString>("expected");
    const QString gameMenu = QStringLiteral("И&гра: %1 F2, &Лучшие результаты F3, %2-, &Выход Ctrl+F10\n"
                                            "&Справка: &Правила игры F1");
    const QString record = QStringLiteral("%1 258x%2\n"
                                          "Вы показали нелохой результат|и достойны занесения вашего имени|"
                                          "в список лучших игроков:|[Неизвестный]|OK");
    const QString noRecord = QStringLiteral("%1 258x171\n"
                                            "Вы показали плохой результат.|Для внесения вашего имени в список|"
                                            "лучших игроков придется подождать.|OK");
    const QString table = QStringLiteral("%1 - лучшие результаты 312x301\n"
                                         "1.|2.|3.|4.|5.|6.|7.|8.|9.|10.|OK");

    QTest::newRow("TMainForm") << QStringLiteral(
        "Tivorama 1.0 289x144\n"
        "И&гра: &Пятнашки F2, &Сапер F3, &Морской бой F4, -, &Выход Ctrl+F10\n"
        "&Справка: О &программе F1\n"
        "Пятнашки|Сапер|Морской бой|Выход");
    QTest::newRow("TFormFifteen") << QStringLiteral("Пятнашки 245x303\n")
                                         + gameMenu.arg(QStringLiteral("&Новый расклад"), QString())
                                         + QStringLiteral("\nНовая игра|1|2|3|4|5|6|7|8|9|10|11|12|13|14|15");
    QTest::newRow("TForm15badover") << noRecord.arg(QStringLiteral("Пятнашки"));
    QTest::newRow("TForm15Over") << record.arg(QStringLiteral("Пятнашки")).arg(172);
    QTest::newRow("TForm15table") << table.arg(QStringLiteral("Пятнашки"));
    QTest::newRow("TFormSaper") << QStringLiteral("Сапер 274x327\n")
                                       + gameMenu.arg(QStringLiteral("&Новый расклад"), QStringLiteral("Пауза  F6, О&пции, "))
                                       + QStringLiteral("\nНовая игра|Пауза...|20 мин");
    QTest::newRow("TFormSaperOptions") << QStringLiteral("Сапер - опции 211x151\nЧисло мин :|[20]|OK|Отмена");
    QTest::newRow("TFormSaperTable") << table.arg(QStringLiteral("Сапер"));
    QTest::newRow("TFormSaperOver") << record.arg(QStringLiteral("Сапер")).arg(171);
    QTest::newRow("TFormSaperBadOver") << noRecord.arg(QStringLiteral("Сапер"));
    QTest::newRow("TFormSea") << QStringLiteral("Морской бой 554x366\n")
                                     + gameMenu.arg(QStringLiteral("&Новая игра"),
                                                    QStringLiteral("У&ровень сложности F9 (Новичок, Профессионал), "))
                                     + QStringLiteral("\nНовая игра|Ходы|F2 - новая игра");
    QTest::newRow("TFormSeaLose") << QStringLiteral(
        "Морской бой 258x160\n"
        "Ваша эскадра разбита !|За время создания новой вам|не помешало бы посетить|военно-морскую академию.|OK");
    QTest::newRow("TFormSeaBadover") << noRecord.arg(QStringLiteral("Морской бой"));
    QTest::newRow("TFormSeaOver") << record.arg(QStringLiteral("Морской бой")).arg(171);
    QTest::newRow("TFormSeaTable") << table.arg(QStringLiteral("Морской бой"));
    QTest::newRow("TMemoForm") << QStringLiteral(" 536x378\n&Закрыть");
    QTest::newRow("TMainFormInfo") << QStringLiteral(
        "Tivorama 1.0 - о программе 258x327\n"
        "Tivorama|Версия 1.0 от 15 июня 1998|Три игры для одного игрока:|Пятнашки, Сапер и Морской бой.|"
        "Рисунки, звуки и правила игр|сделаны авторами Tivorama.|Приятной игры!|"
        "Вопросы и пожелания присылайте|авторам через страницу проекта.|OK");
}

void TstWindowFaces::windowFace()
{
    QFETCH(QString, expected);
    const TForm* form = FindForm(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(form);
    QCOMPARE(face(form), expected);
}

TIVORAMA_TEST_MAIN(TstWindowFaces)
#include "tst_windowfaces.moc"
