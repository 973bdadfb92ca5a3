// The launcher and the window registry: every window made once, hidden; the
// game buttons, menu and keys; the about box; and the end of the program.
#include "datafiles.h"
#include "testmain.h"
#include "testutil.h"

#include "registry.h"
#include "tdigitaldisplay.h"
#include "tflatspeedbutton.h"
#include "tformfifteen.h"
#include "tmainform.h"
#include "tmainforminfo.h"
#include "tmemoform.h"
#include "ttop.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

class TstLauncher : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void everyWindowExistsHiddenAfterStartUp();
    void gameButtonAndKeyShowTheSameWindow();
    void showingAVisibleGameBringsItForwardUnchanged();
    void aboutBoxIsModalAndClosesWithOk();
    void aClickBeforeTheOtherWindowsAreMadeFindsThemMade();
    void closingTheLauncherEndsTheProgram();

private:
    void clickFlat(TFlatSpeedButton* button);
    QTemporaryDir m_dir;
};

void TstLauncher::initTestCase()
{
    datafiles::setProgramPath(m_dir.filePath(QStringLiteral("tivorama")));
    QDir::setCurrent(m_dir.path());
    for (int n = 1; n <= 9; ++n)
        QVERIFY(writeTestWav(QStringLiteral("%1.wav").arg(n), 40));
    // As the program starts: the launcher first, the rest once it is shown.
    CreateForms(QStringLiteral("TMainForm"));
    MainForm->Show();
    CreateRemainingFormsAfterShow();
    QVERIFY(!FindForm(QStringLiteral("TFormFifteen")));
    QTRY_VERIFY(FindForm(QStringLiteral("TMainFormInfo")));
    QTRY_COMPARE(QApplication::activeWindow(), MainForm);
}

void TstLauncher::cleanupTestCase()
{
    DestroyForms();
    datafiles::setProgramPath(QString());
}

void TstLauncher::cleanup()
{
    FormFifteen->close();
    MainForm->Show();
    QTRY_COMPARE(QApplication::activeWindow(), MainForm);
}

void TstLauncher::clickFlat(TFlatSpeedButton* button)
{
    // A flat button takes its first press only to light up under the mouse.
    QTest::mouseMove(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

void TstLauncher::aClickBeforeTheOtherWindowsAreMadeFindsThemMade()
{
    DestroyForms();
    CreateForms(QStringLiteral("TMainForm"));
    MainForm->Show();
    CreateRemainingFormsAfterShow();
    QVERIFY(!FormFifteen);
    // The mouse's move, press and release, all before the event loop runs.
    clickFlat(MainForm->FlatSpeedButton1);
    QVERIFY(FormFifteen && FormFifteen->isVisible());
    QCOMPARE(FindForm(FormNames().last()), MainFormInfo);
}

void TstLauncher::everyWindowExistsHiddenAfterStartUp()
{
    for (const QString& name : FormNames()) {
        TForm* form = FindForm(name);
        QVERIFY2(form, qPrintable(name));
        QVERIFY2(form == MainForm || !form->isVisible(), qPrintable(form->objectName()));
        if (form != MemoForm) // the viewer takes its icon from the game that shows it
            QVERIFY2(!form->windowIcon().pixmap(16, 16).isNull(), qPrintable(form->objectName()));
    }
}

void TstLauncher::gameButtonAndKeyShowTheSameWindow()
{
    const QString scoreFile = scorefiles::scoreFilePath(1);
    QFile::remove(scoreFile);
    clickFlat(MainForm->FlatSpeedButton1);
    QTRY_COMPARE(QApplication::activeWindow(), FormFifteen);
    // Its activation loaded the table, which made the default file.
    QCOMPARE(QFileInfo(scoreFile).size(), 260);
    FormFifteen->close();
    MainForm->Show();
    QTRY_COMPARE(QApplication::activeWindow(), MainForm);
    QTest::keyClick(MainForm, Qt::Key_F2);
    QTRY_COMPARE(QApplication::activeWindow(), FormFifteen);
}

void TstLauncher::showingAVisibleGameBringsItForwardUnchanged()
{
    QTest::keyClick(MainForm, Qt::Key_F2);
    QTRY_COMPARE(QApplication::activeWindow(), FormFifteen);
    FormFifteen->Timer1->stop();
    FormFifteen->NewGame();
    FormFifteen->Timer1Timer();
    FormFifteen->Timer1Timer();
    MainForm->Show();
    QTRY_COMPARE(QApplication::activeWindow(), MainForm);
    QTest::keyClick(MainForm, Qt::Key_F2);
    QTRY_COMPARE(QApplication::activeWindow(), FormFifteen);
    QVERIFY(FormFifteen->Board.InProgress());
    QCOMPARE(FormFifteen->Label1->text(), QStringLiteral("002"));
    FormFifteen->Timer1->start();
}

void TstLauncher::aboutBoxIsModalAndClosesWithOk()
{
    bool wasModal = false;
    whenModalShown([&](QWidget* w) {
        wasModal = (w == MainFormInfo) && MainFormInfo->isModal();
        QTest::keyClick(w, Qt::Key_Return);
    });
    QTest::keyClick(MainForm, Qt::Key_F1);
    QVERIFY(wasModal);
    QVERIFY(!MainFormInfo->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), MainForm);
}

void TstLauncher::closingTheLauncherEndsTheProgram()
{
    // With a game window and the rules viewer open, "Выход" (Ctrl+F10) ends
    // the main event loop at once.
    QTest::keyClick(MainForm, Qt::Key_F2);
    QTRY_COMPARE(QApplication::activeWindow(), FormFifteen);
    QTest::keyClick(FormFifteen, Qt::Key_F1);
    QTRY_VERIFY(MemoForm->isVisible());
    MainForm->Show();
    QTRY_COMPARE(QApplication::activeWindow(), MainForm);
    bool timedOut = false;
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    guard.start(5000);
    QTimer::singleShot(0, [] { QTest::keyClick(MainForm, Qt::Key_F10, Qt::ControlModifier); });
    const int result = QApplication::exec();
    guard.stop();
    QVERIFY(!timedOut);
    QCOMPARE(result, 0);
}

TIVORAMA_TEST_MAIN(TstLauncher)
#include "tst_launcher.moc"
