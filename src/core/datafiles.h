// Where the program finds the files it reads by bare name (cues, rules
// texts, sea pictures) and where it keeps its score tables. Run from its
// build folder or a copied folder, everything lies beside the program, as it
// always has. Installed, the data lies in a share folder beside the
// program's bin (or games) folder and the tables go to the player's own data
// folder, since the program's folder is not the player's to write.
#pragma once

#include <QString>
#include <QStringList>

namespace datafiles {

// The program path everything below is derived from; empty restores the
// running program's own. Tests point it into a temporary folder.
void setProgramPath(const QString& path);
QString programPath();

// Every file the program reads by bare name.
QStringList names();

// The folder of the data that belongs to the running program: its own
// folder when that holds any of the data files, otherwise
// ../share/tivorama or ../share/games/tivorama beside it when one of those
// does; empty when none holds them.
QString dataDirectory();

// The data was found in a share folder, not beside the program; or it was
// found nowhere and the program lies in a bin or games folder, as an
// installed copy does.
bool runsInstalled();

// The path to open for a bare file name: the name itself when the current
// folder holds it, as always; otherwise the copy in dataDirectory() when
// there is one; otherwise the bare name again, so that the failure names
// what was asked for.
QString locate(const QString& name);

// The folder of the score tables: beside the program, or, when it runs
// installed, the player's own data folder (made when a table is first
// saved), never the system's program folder.
QString tableDirectory();

// Whether path names a regular file (following links). Only such files are
// opened: a named pipe with no writer would block open() for good, and a
// device could be read without end.
bool isRegularFile(const QString& path);

} // namespace datafiles
