// The rules viewer: lines of a Windows-1251 file from the current directory
// or the program's data folder, the not-found line, and read errors through
// the error report.
#include "namedpipe.h"
#include "testmain.h"
#include "testutil.h"

#include "datafiles.h"
#include "tmemoform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <optional>

namespace {

void writeFile(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray cp1251(const QString& text)
{
    QStringEncoder encode("windows-1251");
    return encode(text);
}

QStringList items(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines.append(list->item(i)->text());
    return lines;
}

} // namespace

class TstMemoForm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void readsLinesWhateverTheirEnds_data();
    void readsLinesWhateverTheirEnds();
    void missingFileShowsOneNotFoundLine();
    void everyActivationReloads();
    void unreadableFileReportsAndKeepsTheList_data();
    void unreadableFileReportsAndKeepsTheList();
    void filesAreLookedUpInTheCurrentDirectoryThenBesideTheProgram();

private:
    QTemporaryDir m_dir;
    QString m_oldCurrent;
    TMemoForm* m_viewer = nullptr;
};

void TstMemoForm::init()
{
    QVERIFY(m_dir.isValid());
    m_oldCurrent = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    m_viewer = new TMemoForm;
}

void TstMemoForm::cleanup()
{
    delete m_viewer;
    datafiles::setProgramPath({});
    QDir::setCurrent(m_oldCurrent);
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.path());
}

void TstMemoForm::readsLinesWhateverTheirEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    const QStringList two{QStringLiteral("Пятнашки"), QStringLiteral("правила игры")};
    QTest::newRow("CR LF") << cp1251(QStringLiteral("Пятнашки\r\nправила игры\r\n")) << two;
    QTest::newRow("LF, no end") << cp1251(QStringLiteral("Пятнашки\nправила игры")) << two;
    QTest::newRow("CR") << cp1251(QStringLiteral("Пятнашки\rправила игры\r")) << two;
    QTest::newRow("blank lines kept") << QByteArray("a\r\n\r\nb\r\n")
                                      << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")};
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("yo and signs") << cp1251(QStringLiteral("Ёлка № 5 — «да»")) << QStringList{QStringLiteral("Ёлка № 5 — «да»")};
}

void TstMemoForm::readsLinesWhateverTheirEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    writeFile(QStringLiteral("1.doc"), bytes);
    RulesFileName = QStringLiteral("1.doc");
    m_viewer->FormActivate();
    QCOMPARE(items(m_viewer->ListBox1), lines);
}

void TstMemoForm::missingFileShowsOneNotFoundLine()
{
    writeFile(QStringLiteral("1.doc"), "first game\r\n");
    RulesFileName = QStringLiteral("1.doc");
    m_viewer->FormActivate();
    RulesFileName = QStringLiteral("2.doc");
    m_viewer->FormActivate();
    m_viewer->FormActivate();
    QCOMPARE(items(m_viewer->ListBox1), QStringList{QStringLiteral("Файл 2.doc не найден")});
}

void TstMemoForm::everyActivationReloads()
{
    // Shown from one game, then switched away from and back to: the file is
    // read again each time the viewer takes the focus.
    writeFile(QStringLiteral("3.doc"), "old\r\n");
    RulesFileName = QStringLiteral("3.doc");
    m_viewer->setWindowTitle(QStringLiteral("Морской бой - правила игры"));
    m_viewer->Show();
    QTRY_COMPARE(items(m_viewer->ListBox1), QStringList{QStringLiteral("old")});
    TForm game(QStringLiteral("game"));
    game.setClientSize(50, 50);
    game.Show();
    QTRY_COMPARE(QApplication::activeWindow(), &game);
    writeFile(QStringLiteral("3.doc"), "new\r\n");
    m_viewer->Show();
    QTRY_COMPARE(items(m_viewer->ListBox1), QStringList{QStringLiteral("new")});
}

void TstMemoForm::unreadableFileReportsAndKeepsTheList_data()
{
    QTest::addColumn<bool>("pipe");
    // A directory by the file's name exists but cannot be read as text; this
    // holds even for a user whom permissions do not stop.
    QTest::newRow("a directory") << false;
    // Opened, a pipe with no writer would freeze the program for good.
    QTest::newRow("a named pipe, at once") << true;
}

void TstMemoForm::unreadableFileReportsAndKeepsTheList()
{
    QFETCH(bool, pipe);
    ErrorCatcher catcher;
    writeFile(QStringLiteral("1.doc"), "kept\r\n");
    RulesFileName = QStringLiteral("1.doc");
    m_viewer->FormActivate();
    std::optional<NamedPipe> fifo;
    if (pipe) {
        fifo.emplace(QStringLiteral("2.doc"));
        QVERIFY(fifo->isValid());
    } else {
        QVERIFY(QDir().mkdir(QStringLiteral("2.doc")));
    }
    RulesFileName = QStringLiteral("2.doc");
    QElapsedTimer t;
    t.start();
    m_viewer->Show();
    QTRY_COMPARE(catcher.errors, QStringList{QStringLiteral("Cannot open file 2.doc")});
    QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(items(m_viewer->ListBox1), QStringList{QStringLiteral("kept")});
}

void TstMemoForm::filesAreLookedUpInTheCurrentDirectoryThenBesideTheProgram()
{
    // The program's folder holds its data, as the build folder does; the
    // current directory is another one.
    QTemporaryDir programDir;
    writeFile(programDir.filePath(QStringLiteral("1.doc")), "beside the program\r\n");
    datafiles::setProgramPath(programDir.filePath(QStringLiteral("tivorama")));
    RulesFileName = QStringLiteral("1.doc");
    m_viewer->FormActivate();
    QCOMPARE(items(m_viewer->ListBox1), QStringList{QStringLiteral("beside the program")});
    writeFile(QStringLiteral("1.doc"), "current\r\n");
    m_viewer->FormActivate();
    QCOMPARE(items(m_viewer->ListBox1), QStringList{QStringLiteral("current")});
    // Found in neither: the line names the file as the game asked for it.
    RulesFileName = QStringLiteral("3.doc");
    m_viewer->FormActivate();
    QCOMPARE(items(m_viewer->ListBox1), QStringList{QStringLiteral("Файл 3.doc не найден")});
}

TIVORAMA_TEST_MAIN(TstMemoForm)
#include "tst_memoform.moc"
