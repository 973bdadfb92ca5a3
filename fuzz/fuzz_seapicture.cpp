// The sea battle's cell pictures: any file gives a null image or one of at
// most one cell, 25 x 25.
#include "fuzzsupport.h"

#include "tformsea.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::ensureApplication();
    // The name the window loads, so that the reader is chosen as it is there.
    const QString path = fuzz::writeInput(QStringLiteral("seaship.bmp"), data, size);
    try {
        const QImage picture = loadSeaPicture(path);
        FUZZ_CHECK(picture.isNull()
                   || (picture.width() >= 1 && picture.width() <= 25 && picture.height() >= 1
                       && picture.height() <= 25));
    } catch (...) {
        FUZZ_UNEXPECTED_EXCEPTION();
    }
    return 0;
}
