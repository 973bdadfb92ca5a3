// The minesweeper options entry: any text gives no mine count or one of 5 to
// 50.
#include "fuzzsupport.h"

#include "tformsaper.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const std::optional<int> count = parseMineCount(text);
        FUZZ_CHECK(!count || (*count >= 5 && *count <= 50));
        // A count comes only from text that names it.
        FUZZ_CHECK(!count || text.contains(QString::number(*count)));
    } catch (...) {
        FUZZ_UNEXPECTED_EXCEPTION();
    }
    return 0;
}
