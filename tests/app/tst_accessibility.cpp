// The program as a screen reader and a keyboard-only player meet it: every
// control of every window read with a role and a name, the launcher and the
// dialogs worked with Tab, the space bar, Enter and Esc.
#include "datafiles.h"
#include "testmain.h"
#include "testutil.h"

#include "accessibilityspy.h"
#include "registry.h"
#include "tflatspeedbutton.h"
#include "tform.h"
#include "tformfifteen.h"
#include "tmainform.h"
#include "tmainforminfo.h"
#include "tmemoform.h"
#include "resultdialogs.h"

#include <QDir>
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

} // namespace

class TstAccessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void launcherByTabAndSpace();
    void dialogsByEnterAndEsc();

private:
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

TIVORAMA_TEST_MAIN(TstAccessibility)
#include "tst_accessibility.moc"
