// The command line. Qt reads its own options only when the application
// object is made, after this; so they are known here by name and skipped,
// with their values, and anything else that looks like an option is refused
// rather than silently ignored.
#include "commandline.h"

#include "tmainform.h"

#include <QFileInfo>

#include <cstdio>

namespace commandline {

namespace {

// Qt's options (QGuiApplication, QApplication and the X11 platform), which
// Qt takes with one dash or two. These take a value, as the next argument
// or after "=".
const char* const qtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
    "qwindowtitle", "title", "qwindowicon", "icon", "display", "name", "style", "stylesheet",
    "session", "visual", "qmljsdebugger"};
const char* const qtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability", "cmap"};

// The game asked for: a name or its number; 0 when it is neither.
int gameNumber(const QString& value)
{
    const QString names[] = {QStringLiteral("fifteen"), QStringLiteral("saper"), QStringLiteral("sea")};
    for (int n = 1; n <= 3; ++n)
        if (value == names[n - 1] || value == QString::number(n))
            return n;
    return 0;
}

Options only(Options::Action action)
{
    Options o;
    o.action = action;
    return o;
}

Options error(const QString& message)
{
    Options o = only(Options::Error);
    o.message = message;
    return o;
}

const QString gameChoices = QStringLiteral("fifteen, saper, sea или 1–3");

} // namespace

Options parse(const QStringList& arguments)
{
    Options options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        // Help and version answer alone, whatever else was asked.
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help"))
            return only(Options::Help);
        if (arg == QLatin1String("-v") || arg == QLatin1String("--version"))
            return only(Options::Version);
        if (arg == QLatin1String("--game") || arg.startsWith(QLatin1String("--game="))) {
            QString value;
            if (arg.size() > 6) {
                value = arg.mid(7);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                return error(QStringLiteral("после --game нужно назвать игру: ") + gameChoices);
            }
            options.game = gameNumber(value);
            if (!options.game)
                return error(QStringLiteral("неизвестная игра «%1»: назовите ").arg(value) + gameChoices);
            continue;
        }
        if (arg.startsWith(u'-') && arg.size() > 1) {
            const QString bare = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
            const QString key = bare.section(u'=', 0, 0);
            bool known = false;
            for (const char* name : qtOptionsWithValue) {
                if (key == QLatin1String(name)) {
                    known = true;
                    // The value follows as the next argument unless given after "=".
                    if (!bare.contains(u'=')) {
                        if (i + 1 >= arguments.size())
                            return error(QStringLiteral("после %1 нужно значение").arg(arg));
                        ++i;
                    }
                }
            }
            for (const char* name : qtFlags)
                known = known || bare == QLatin1String(name);
            if (known)
                continue;
            return error(QStringLiteral("неизвестный параметр «%1»").arg(arg));
        }
        return error(QStringLiteral("лишний аргумент «%1»").arg(arg));
    }
    return options;
}

Options parse(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return parse(arguments);
}

QString helpText()
{
    return QStringLiteral(
        "Использование: tivorama [параметры]\n"
        "Сборник игр для одного игрока: пятнашки, сапер и морской бой.\n"
        "\n"
        "Параметры:\n"
        "  --game ИГРА    открыть вместе с главным окном игру:\n"
        "                 fifteen или 1 — пятнашки, saper или 2 — сапер,\n"
        "                 sea или 3 — морской бой\n"
        "  -h, --help     показать эту справку и выйти\n"
        "  -v, --version  показать версию и выйти\n"
        "\n"
        "Принимаются и параметры Qt: -platform, -display, -style и другие.\n"
        "Без звуковой карты игру можно запустить с SDL_AUDIODRIVER=dummy.\n");
}

QString versionText()
{
    return QStringLiteral("Tivorama " TIVORAMA_VERSION "\n");
}

int answer(const Options& options)
{
    switch (options.action) {
    case Options::Help:
        std::fputs(helpText().toUtf8().constData(), stdout);
        return 0;
    case Options::Version:
        std::fputs(versionText().toUtf8().constData(), stdout);
        return 0;
    case Options::Error:
        std::fputs(QStringLiteral("tivorama: %1\nСправка: tivorama --help\n")
                       .arg(options.message)
                       .toUtf8()
                       .constData(),
                   stderr);
        return 2;
    case Options::Run:
        break;
    }
    return 0;
}

void showWindows(const Options& options)
{
    MainForm->Show();
    switch (options.game) {
    case 1:
        MainForm->ShowFifteen();
        break;
    case 2:
        MainForm->ShowSaper();
        break;
    case 3:
        MainForm->ShowSea();
        break;
    }
}

} // namespace commandline
