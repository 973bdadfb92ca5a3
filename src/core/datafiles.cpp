// The data lookup. What the program's folder holds is looked at once per
// program path: the files are made by the build or the installation, not
// while the program runs.
#include "datafiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace datafiles {

namespace {

QString g_programPath;
std::optional<QString> g_dataDirectory; // cached for g_programPath

bool holdsData(const QString& dir)
{
    const QDir d(dir);
    for (const QString& name : names())
        if (QFileInfo::exists(d.filePath(name)))
            return true;
    return false;
}

QString findDataDirectory()
{
    const QString own = QFileInfo(programPath()).absolutePath();
    if (holdsData(own))
        return own;
    // Installed: <prefix>/bin/tivorama or <prefix>/games/tivorama with the
    // data in <prefix>/share/tivorama (or share/games/tivorama, where some
    // systems keep their games' data).
    for (const char* share : {"../share/tivorama", "../share/games/tivorama"}) {
        const QString dir = QDir::cleanPath(own + u'/' + QLatin1String(share));
        if (holdsData(dir))
            return dir;
    }
    return {};
}

} // namespace

void setProgramPath(const QString& path)
{
    g_programPath = path;
    g_dataDirectory.reset();
}

QString programPath()
{
    return g_programPath.isEmpty() ? QCoreApplication::applicationFilePath() : g_programPath;
}

QStringList names()
{
    QStringList list;
    for (int n = 1; n <= 23; ++n)
        list << QString::number(n) + QStringLiteral(".wav");
    for (int n = 1; n <= 3; ++n)
        list << QString::number(n) + QStringLiteral(".doc");
    for (const char* picture : {"seaclear", "seaship", "seaset", "seagoal", "seakilled", "seamissed"})
        list << QLatin1String(picture) + QStringLiteral(".bmp");
    return list;
}

QString dataDirectory()
{
    if (!g_dataDirectory)
        g_dataDirectory = findDataDirectory();
    return *g_dataDirectory;
}

bool runsInstalled()
{
    const QString own = QFileInfo(programPath()).absolutePath();
    const QString data = dataDirectory();
    if (!data.isEmpty())
        return data != own;
    // No data anywhere. A program in a bin or games folder is an installed
    // copy whose data went missing: its tables still belong to the player,
    // not in the system's program folder, even when root runs it.
    const QString folder = QFileInfo(own).fileName();
    return folder == QLatin1String("bin") || folder == QLatin1String("games");
}

QString locate(const QString& name)
{
    if (QFileInfo::exists(name))
        return name;
    const QString data = dataDirectory();
    if (!data.isEmpty()) {
        const QString path = QDir(data).filePath(name);
        if (QFileInfo::exists(path))
            return path;
    }
    return name;
}

QString tableDirectory()
{
    if (!runsInstalled())
        return QFileInfo(programPath()).absolutePath();
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // Only a system without a home folder has none; the tables must still
    // not go where the program lies.
    return own.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share/Tivorama") : own;
}

bool isRegularFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

} // namespace datafiles
