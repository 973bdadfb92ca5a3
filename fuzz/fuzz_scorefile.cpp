// The score-file load: any file where a table should be gives ten entries
// whose names and scores fit the record, or an EError. What is read saves and
// reads back as itself.
#include "datafiles.h"
#include "fuzzsupport.h"

#include "eerror.h"
#include "ttop.h"

namespace {

constexpr int kNameMax = 20;
// The five-character score field holds "-9999" to "99999".
constexpr qint32 kLowestScore = -9999;
constexpr qint32 kHighestScore = 99999;

bool fitsRecords(const Ttop& top)
{
    for (const TTopEntry& entry : top.Entries) {
        if (entry.Name.size() > kNameMax || entry.Score < kLowestScore || entry.Score > kHighestScore)
            return false;
    }
    return true;
}

bool sameEntries(const Ttop& a, const Ttop& b)
{
    for (std::size_t i = 0; i < a.Entries.size(); ++i) {
        if (a.Entries[i].Name != b.Entries[i].Name || a.Entries[i].Score != b.Entries[i].Score)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The game number only picks the file and its defaults; let the input's
    // length vary it.
    const quint8 game = quint8(1 + size % 3);
    datafiles::setProgramPath(fuzz::scratchPath(QStringLiteral("tivorama")));
    fuzz::writeInput(QStringLiteral("tivorama.%1").arg(game), data, size);

    Ttop top;
    top.NewName = QStringLiteral("pending");
    top.NewScore = 4321;
    try {
        LoadTop(top, game);
    } catch (const EError&) {
        return 0;
    } catch (...) {
        FUZZ_UNEXPECTED_EXCEPTION();
    }
    FUZZ_CHECK(top.Entries.size() == 10);
    FUZZ_CHECK(fitsRecords(top));
    FUZZ_CHECK(top.NewName == QStringLiteral("pending") && top.NewScore == 4321);

    // A name byte the code page lacks reads as a stand-in character, so one
    // save may change a name; from then on a table saves and loads as itself.
    try {
        SaveTop(top, game);
        Ttop once;
        LoadTop(once, game);
        FUZZ_CHECK(fitsRecords(once));
        SaveTop(once, game);
        FUZZ_CHECK(QFile(scorefiles::scoreFilePath(game)).size() == 260);
        Ttop twice;
        LoadTop(twice, game);
        FUZZ_CHECK(sameEntries(once, twice));
    } catch (...) {
        // Our own folder and file: nothing may fail here.
        FUZZ_UNEXPECTED_EXCEPTION();
    }
    return 0;
}
