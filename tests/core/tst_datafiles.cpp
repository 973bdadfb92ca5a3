// Where the data files and the score tables are found: everything beside the
// program in a build folder; the share folder and the player's own data
// folder for an installed copy, whether or not its program folder may be
// written; bare names when the data is nowhere.
#include "datafiles.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TstDataFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void buildFolderKeepsEverythingBesideTheProgram();
    void installedCopyReadsItsShareFolderAndKeepsTablesWithThePlayer_data();
    void installedCopyReadsItsShareFolderAndKeepsTablesWithThePlayer();
    void missingDataLeavesBareNamesAndTablesBesideTheProgram();

private:
    // Every data file, made in `dir` (relative to the test's folder).
    void makeData(const QString& dir);
    QString path(const QString& relative) const { return m_dir->filePath(relative); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_playerData;
    QString m_startFolder;
    int m_runs = 0;
};

void TstDataFiles::initTestCase()
{
    // The player's data folder goes into a temporary folder too, and the
    // application is named as the program names itself.
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_playerData = path(QStringLiteral("home-data"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_playerData));
    QCoreApplication::setApplicationName(QStringLiteral("Tivorama"));
    m_startFolder = QDir::currentPath();
}

void TstDataFiles::init()
{
    // A current folder without data files, as when started from the menu.
    const QString elsewhere = path(QStringLiteral("elsewhere-%1").arg(++m_runs));
    QVERIFY(QDir().mkpath(elsewhere));
    QVERIFY(QDir::setCurrent(elsewhere));
}

void TstDataFiles::cleanup()
{
    QDir::setCurrent(m_startFolder);
    datafiles::setProgramPath(QString());
}

void TstDataFiles::makeData(const QString& dir)
{
    QVERIFY(QDir().mkpath(path(dir)));
    for (const QString& name : datafiles::names()) {
        QFile f(QDir(path(dir)).filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
}

void TstDataFiles::buildFolderKeepsEverythingBesideTheProgram()
{
    // A share folder beside it changes nothing: the program's own data wins.
    makeData(QStringLiteral("build/bin"));
    makeData(QStringLiteral("build/share/tivorama"));
    datafiles::setProgramPath(path(QStringLiteral("build/bin/tivorama")));
    const QString own = path(QStringLiteral("build/bin"));

    QCOMPARE(datafiles::dataDirectory(), own);
    QCOMPARE(datafiles::runsInstalled(), false);
    QCOMPARE(datafiles::tableDirectory(), own);
    QCOMPARE(datafiles::names().size(), 32);
    for (const QString& name : datafiles::names())
        QCOMPARE(datafiles::locate(name), own + u'/' + name);
}

void TstDataFiles::installedCopyReadsItsShareFolderAndKeepsTablesWithThePlayer_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("share");
    QTest::addColumn<bool>("writable");
    QTest::newRow("prefix/bin, share/tivorama") << "usr/bin" << "usr/share/tivorama" << true;
    QTest::newRow("games folder that may not be written") << "sys/games" << "sys/share/tivorama" << false;
    QTest::newRow("share/games/tivorama") << "opt/games" << "opt/share/games/tivorama" << true;
}

void TstDataFiles::installedCopyReadsItsShareFolderAndKeepsTablesWithThePlayer()
{
    QFETCH(QString, programFolder);
    QFETCH(QString, share);
    QFETCH(bool, writable);
    makeData(share);
    QVERIFY(QDir().mkpath(path(programFolder)));
    if (!writable)
        QVERIFY(QFile::setPermissions(path(programFolder), QFile::ReadOwner | QFile::ExeOwner));
    datafiles::setProgramPath(path(programFolder + QStringLiteral("/tivorama")));

    QCOMPARE(datafiles::dataDirectory(), path(share));
    QCOMPARE(datafiles::runsInstalled(), true);
    QCOMPARE(datafiles::tableDirectory(), m_playerData + QStringLiteral("/Tivorama"));
    for (const QString& name : datafiles::names())
        QCOMPARE(datafiles::locate(name), path(share) + u'/' + name);

    // A file of the current folder still comes first.
    QFile own(QStringLiteral("2.doc"));
    QVERIFY(own.open(QIODevice::WriteOnly));
    QCOMPARE(datafiles::locate(QStringLiteral("2.doc")), QStringLiteral("2.doc"));
    QCOMPARE(datafiles::locate(QStringLiteral("3.doc")), path(share) + QStringLiteral("/3.doc"));

    QVERIFY(QFile::setPermissions(path(programFolder), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

void TstDataFiles::missingDataLeavesBareNamesAndTablesBesideTheProgram()
{
    // Nothing beside the program and no share folder: every open names the
    // file asked for, and the tables stay where a build folder keeps them;
    // but a copy in a bin or games folder is an installed one whose data is
    // gone, and its tables never go into the program folder.
    QVERIFY(QDir().mkpath(path(QStringLiteral("bare/build"))));
    datafiles::setProgramPath(path(QStringLiteral("bare/build/tivorama")));

    QCOMPARE(datafiles::dataDirectory(), QString());
    QCOMPARE(datafiles::runsInstalled(), false);
    QCOMPARE(datafiles::tableDirectory(), path(QStringLiteral("bare/build")));
    QCOMPARE(datafiles::locate(QStringLiteral("1.wav")), QStringLiteral("1.wav"));
    QCOMPARE(datafiles::locate(QStringLiteral("seaship.bmp")), QStringLiteral("seaship.bmp"));

    QVERIFY(QDir().mkpath(path(QStringLiteral("bare/games"))));
    datafiles::setProgramPath(path(QStringLiteral("bare/games/tivorama")));
    QCOMPARE(datafiles::runsInstalled(), true);
    QCOMPARE(datafiles::tableDirectory(), m_playerData + QStringLiteral("/Tivorama"));
}

QTEST_GUILESS_MAIN(TstDataFiles)
#include "tst_datafiles.moc"
