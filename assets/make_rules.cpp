// Turns the rules texts, kept in the repository as UTF-8 with LF line ends so
// they are easy to edit, into the files the rules viewer reads: 1.doc, 2.doc
// and 3.doc in Windows-1251 with CR LF line ends.
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_rules <output dir>\n");
        return 2;
    }
    for (const char* n : {"1", "2", "3"}) {
        const QString source = QStringLiteral(TIVORAMA_RULES_SOURCE_DIR "/") + QLatin1String(n) + QStringLiteral(".txt");
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(source));
            return 1;
        }
        QStringDecoder fromUtf8(QStringDecoder::Utf8);
        QString text = fromUtf8(in.readAll());
        if (fromUtf8.hasError()) {
            std::fprintf(stderr, "%s is not UTF-8\n", qPrintable(source));
            return 1;
        }
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        QStringEncoder toCp1251("windows-1251");
        const QByteArray bytes = toCp1251(text);
        if (toCp1251.hasError()) {
            std::fprintf(stderr, "%s holds characters Windows-1251 cannot store\n", qPrintable(source));
            return 1;
        }
        const QString target = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/') + QLatin1String(n) + QStringLiteral(".doc");
        QFile out(target);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size() || !out.flush()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(target));
            return 1;
        }
    }
    return 0;
}
