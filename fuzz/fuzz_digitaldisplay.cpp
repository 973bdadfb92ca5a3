// The digital display's text with its colour escapes, on displays of any
// size, spacing, margin and alignment: a text is either refused with EError
// (a bad hex escape) or drawn, and a drawn display gives a picture of its own
// size. A refused text is reported again by the next paint, never thrown out
// of it.
#include "fuzzsupport.h"

#include "eerror.h"
#include "errorreport.h"
#include "tdigitaldisplay.h"

#include <QImage>
#include <QPixmap>
#include <QStringDecoder>

namespace {

// The first five bytes shape the display; the rest is its text, one
// character per byte as the program's code page has it, so that every escape
// and every cell can be reached.
struct Setup {
    TAlignment alignment = taLeftJustify;
    quint8 spacing = 0;
    int margins = 0;
    int width = 41;
    int height = 25;
};

Setup setupFrom(const std::uint8_t* data, std::size_t size)
{
    Setup s;
    if (size < 5)
        return s;
    s.alignment = TAlignment(data[0] % 3);
    s.spacing = data[1];
    // Margins far beyond the display too, positive and negative.
    s.margins = int(std::int8_t(data[2])) * (data[2] & 1 ? 1 : 1000003);
    s.width = data[3] % 64;
    s.height = data[4] % 48;
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::ensureApplication();
    static QStringList reports;
    static const bool handlerSet = [] {
        errorreport::setHandler([](const QString& text) { reports.append(text); });
        return true;
    }();
    (void)handlerSet;
    reports.clear();

    const Setup s = setupFrom(data, size);
    const std::size_t skip = size < 5 ? 0 : 5;
    QStringDecoder decode("windows-1251");
    const QString text = decode(QByteArrayView(reinterpret_cast<const char*>(data) + skip, qsizetype(size - skip)));

    TDigitalDisplay display;
    display.resize(s.width, s.height);
    bool refused = false;
    try {
        display.setAlignment(s.alignment);
        display.setSpacing(s.spacing);
        display.setMargins(s.margins);
        display.setText(text);
    } catch (const EError&) {
        refused = true;
    } catch (...) {
        FUZZ_UNEXPECTED_EXCEPTION();
    }
    FUZZ_CHECK(display.text().size() <= text.size());

    QImage picture;
    try {
        picture = display.grab().toImage();
    } catch (...) {
        // Exceptions must not leave a paint: they would unwind Qt's code.
        FUZZ_UNEXPECTED_EXCEPTION();
    }
    if (s.width == 0 || s.height == 0) {
        // Nothing to paint, so nothing to report either.
        FUZZ_CHECK(picture.isNull() && reports.isEmpty());
        return 0;
    }
    FUZZ_CHECK(reports.size() == (refused ? 1 : 0));
    FUZZ_CHECK(picture.size() == QSize(s.width, s.height));
    return 0;
}
