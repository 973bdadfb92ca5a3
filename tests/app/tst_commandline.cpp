// The command line: the options and Qt's own let through, a bad one refused
// with status 2 before any window exists, help and version answered without
// a display, and the game it names shown beside the launcher.
#include "testmain.h"
#include "testutil.h"

#include "commandline.h"
#include "datafiles.h"
#include "registry.h"
#include "tformfifteen.h"
#include "tformsaper.h"
#include "tformsea.h"
#include "tmainform.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

class TstCommandLine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void parse_data();
    void parse();
    void programAnswersWithoutADisplay_data();
    void programAnswersWithoutADisplay();
    void noOptionShowsOnlyTheLauncher();
    void gameOptionShowsThatGameBesideTheLauncher_data();
    void gameOptionShowsThatGameBesideTheLauncher();

private:
    QTemporaryDir m_dir;
};

using Action = commandline::Options::Action;

void TstCommandLine::initTestCase()
{
    // The tables go to a temporary folder; the sea pictures are read from
    // the build folder, where the build made them.
    datafiles::setProgramPath(m_dir.filePath(QStringLiteral("tivorama")));
    QVERIFY(QDir::setCurrent(QStringLiteral(TIVORAMA_BUILD_DIR)));
    CreateForms();
}

void TstCommandLine::cleanupTestCase()
{
    DestroyForms();
    datafiles::setProgramPath(QString());
}

void TstCommandLine::cleanup()
{
    for (TForm* form : {static_cast<TForm*>(FormFifteen), static_cast<TForm*>(FormSaper),
                        static_cast<TForm*>(FormSea), static_cast<TForm*>(MainForm)})
        form->hide();
}

void TstCommandLine::parse_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("game");
    QTest::addColumn<QString>("named"); // what an error message must name

    QTest::newRow("none") << "" << int(Action::Run) << 0 << "";
    QTest::newRow("game by name") << "--game fifteen" << int(Action::Run) << 1 << "";
    QTest::newRow("game after =") << "--game=saper" << int(Action::Run) << 2 << "";
    QTest::newRow("game by number") << "--game 3" << int(Action::Run) << 3 << "";
    QTest::newRow("Qt's options let through")
        << "-platform offscreen --game sea -style=fusion --reverse -display :0" << int(Action::Run) << 3 << "";
    QTest::newRow("help") << "--game sea -h" << int(Action::Help) << 0 << "";
    QTest::newRow("version") << "--version" << int(Action::Version) << 0 << "";
    QTest::newRow("unknown option") << "--sound off" << int(Action::Error) << 0 << "--sound";
    QTest::newRow("unknown game") << "--game 4" << int(Action::Error) << 0 << "«4»";
    QTest::newRow("game missing") << "--game" << int(Action::Error) << 0 << "--game";
    QTest::newRow("Qt option without its value") << "-style" << int(Action::Error) << 0 << "-style";
    QTest::newRow("stray argument") << "saper" << int(Action::Error) << 0 << "saper";
}

void TstCommandLine::parse()
{
    QFETCH(QString, arguments);
    QFETCH(int, action);
    QFETCH(int, game);
    QFETCH(QString, named);
    const commandline::Options o =
        commandline::parse(QStringList{QStringLiteral("tivorama")} + arguments.split(u' ', Qt::SkipEmptyParts));
    QCOMPARE(int(o.action), action);
    QCOMPARE(o.game, game);
    QVERIFY2(o.message.contains(named), qPrintable(o.message));
}

void TstCommandLine::programAnswersWithoutADisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("help") << QStringList{"--help"} << 0 << "  --game ИГРА" << "";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "Tivorama 1.0\n" << "";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << ""
                                    << "tivorama: неизвестный параметр «--bogus»\n";
    QTest::newRow("unknown game") << QStringList{"--game", "chess"} << 2 << "" << "«chess»";
}

void TstCommandLine::programAnswersWithoutADisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    // No display and no platform chosen: making the application object
    // here would abort the program.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TIVORAMA_BUILD_DIR "/tivorama"), arguments);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const QString stdOut = QString::fromUtf8(program.readAllStandardOutput());
    const QString stdErr = QString::fromUtf8(program.readAllStandardError());
    if (out.isEmpty())
        QCOMPARE(stdOut, QString());
    else
        QVERIFY2(stdOut.contains(out), qPrintable(stdOut));
    if (err.isEmpty())
        QCOMPARE(stdErr, QString());
    else
        QVERIFY2(stdErr.contains(err), qPrintable(stdErr));
}

void TstCommandLine::noOptionShowsOnlyTheLauncher()
{
    commandline::showWindows(commandline::parse(QStringList{QStringLiteral("tivorama")}));
    QTRY_COMPARE(QApplication::activeWindow(), MainForm);
    for (const QString& name : FormNames())
        QVERIFY2(FindForm(name)->isVisible() == (FindForm(name) == MainForm), qPrintable(name));
}

void TstCommandLine::gameOptionShowsThatGameBesideTheLauncher_data()
{
    QTest::addColumn<QString>("game");
    QTest::addColumn<QString>("form");
    QTest::newRow("fifteen") << "fifteen" << "TFormFifteen";
    QTest::newRow("saper") << "2" << "TFormSaper";
    QTest::newRow("sea") << "sea" << "TFormSea";
}

void TstCommandLine::gameOptionShowsThatGameBesideTheLauncher()
{
    QFETCH(QString, game);
    QFETCH(QString, form);
    commandline::showWindows(commandline::parse(QStringList{QStringLiteral("tivorama"), QStringLiteral("--game"), game}));
    QTRY_COMPARE(QApplication::activeWindow(), FindForm(form));
    QVERIFY(MainForm->isVisible());
    for (const QString& name : FormNames())
        QVERIFY2(FindForm(name)->isVisible() == (name == form || FindForm(name) == MainForm), qPrintable(name));
}

TIVORAMA_TEST_MAIN(TstCommandLine)
#include "tst_commandline.moc"
