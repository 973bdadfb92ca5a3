// The high-score tables: each game's ten best results (lowest score first),
// kept in a 260-byte file beside the program.
#pragma once

#include <QString>

#include <array>

struct TTopEntry {
    QString Name; // at most 20 characters
    qint32 Score = 0;
};

struct Ttop {
    // Entries[i - 1] is rank i; rank 1 holds the best (lowest) score.
    std::array<TTopEntry, 10> Entries;
    // The result a record dialog is about to enter.
    QString NewName;
    qint32 NewScore = 0;
};

// Fills Entries from the game's score file. A file that cannot be opened for
// reading and writing (missing, read-only, not a regular file) gives the
// default table, which is then written like SaveTop does, except that a file
// that cannot be made at all is no error, and that the defaults never replace
// a table another copy of the program made meanwhile. NewName and NewScore
// are left alone. Throws EError when the open file cannot be read.
void LoadTop(Ttop& top, quint8 game);

// Replaces the game's score file with Entries: a temporary file beside it is
// written, flushed to the disk and renamed over it, so a failed or killed save
// leaves the old table. Where the folder takes no new file (read-only, no
// free inodes), an existing writable table is rewritten in place in one write.
// A read-only table, or a missing one in a read-only folder, is left as it is
// without a word. Throws EError naming the file and the system's reason when
// the table cannot be written at all.
void SaveTop(const Ttop& top, quint8 game);

// Reads the table from its file again, ranks NewName/NewScore into it below
// every entry with a score not greater than it (the old rank 10 drops out)
// and saves it, all under a lock beside the table that other copies of the
// program take as well, so a record entered by one is never lost to
// another's save. Entries take what was saved only when the save did not
// throw. A score that beats no entry of the table on the disk changes nothing
// but is still followed by the save. Throws EError like SaveTop, and when
// another copy keeps the table locked for more than a few seconds.
void InsertTop(Ttop& top, quint8 game);

namespace scorefiles {

// The program's file name with its extension replaced by "." and the game
// number (or with that appended when it has no extension), in the table
// folder: beside the program, or in the player's data folder when the
// program runs installed (datafiles::tableDirectory()).
QString scoreFilePath(quint8 game);

// Makes every temporary file of a save fail to be created with the errno
// `error` (0 ends it), as in a folder without free inodes. For tests.
void failTemporaryFiles(int error);

// The table a game starts with: ten "Неизвестный" with the game's scores.
Ttop defaultTop(quint8 game);

} // namespace scorefiles
