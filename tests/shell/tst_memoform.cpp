// The rules viewer: lines of a Windows-1251 file from the current directory,
// the not-found line, and read errors through the error report.
#include "testmain.h"
#include "testutil.h"

#include "tmemoform.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QStringEncoder>
#include <QTemporaryDir>

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
    void unreadableFileReportsAndKeepsTheList();
    void filesAreLookedUpInTheCurrentDirectory();

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

void TstMemoForm::unreadableFileReportsAndKeepsTheList()
{
    ErrorCatcher catcher;
    writeFile(QStringLiteral("1.doc"), "kept\r\n");
    RulesFileName = QStringLiteral("1.doc");
    m_viewer->FormActivate();
    // A directory by the file's name exists but cannot be read as text; this
    // holds even for a user whom permissions do not stop.
    QVERIFY(QDir().mkdir(QStringLiteral("2.doc")));
    RulesFileName = QStringLiteral("2.doc");
    m_viewer->Show();
    QTRY_COMPARE(catcher.errors, QStringList{QStringLiteral("Cannot open file 2.doc")});
    QCOMPARE(items(m_viewer->ListBox1), QStringList{QStringLiteral("kept")});
}

void TstMemoForm::filesAreLookedUpInTheCurrentDirectory()
{
    QTemporaryDir elsewhere;
    QFile f(elsewhere.filePath(QStringLiteral("1.doc")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("elsewhere\r\n");
    f.close();
    RulesFileName = QStringLiteral("1.doc");
    m_viewer->FormActivate();
    QCOMPARE(items(m_viewer->ListBox1), QStringList{QStringLiteral("Файл 1.doc не найден")});
    QDir::setCurrent(elsewhere.path());
    m_viewer->FormActivate();
    QCOMPARE(items(m_viewer->ListBox1), QStringList{QStringLiteral("elsewhere")});
}

TIVORAMA_TEST_MAIN(TstMemoForm)
#include "tst_memoform.moc"
