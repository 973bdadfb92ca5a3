// The rules file reader: any readable file gives lines without a CR or an LF
// in them, no more of them than the file has line ends plus one, and no more
// characters than the file has bytes.
#include "fuzzsupport.h"

#include "eerror.h"
#include "tmemoform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = fuzz::writeInput(QStringLiteral("1.doc"), data, size);
    QStringList lines;
    try {
        lines = readRulesFile(path);
    } catch (const EError&) {
        // Our own readable file: the reader has no reason to refuse it.
        FUZZ_CHECK(false);
    } catch (...) {
        FUZZ_UNEXPECTED_EXCEPTION();
    }
    qsizetype lineEnds = 0, characters = 0;
    for (std::size_t i = 0; i < size; ++i)
        lineEnds += data[i] == '\r' || data[i] == '\n';
    for (const QString& line : lines) {
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
        characters += line.size();
    }
    FUZZ_CHECK(lines.size() <= lineEnds + 1);
    FUZZ_CHECK(characters <= qsizetype(size));
    return 0;
}
