// The creation order matters: the game windows reach their dialogs, and the
// dialogs their game window, through the references set here, and a window
// may read an earlier one's state in its creation handler. One table names
// every window once; destruction walks it backwards.
#include "registry.h"

#include "tformfifteen.h"
#include "tformsaper.h"
#include "tformsea.h"
#include "tmainform.h"
#include "tmainforminfo.h"
#include "tmemoform.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace {

struct FormEntry {
    const char* className;
    std::function<TForm*()> create;
    std::function<void()> forget; // clears the global reference, if any
};

// A window with a class and a global reference of its own.
template <class T>
FormEntry window(const char* className, T*& reference)
{
    return {className, [&reference]() -> TForm* { CreateForm(reference); return reference; },
            [&reference] { reference = nullptr; }};
}

// One of the windows around a game's table: the shared class made with the
// game's settings, named after the registry entry without its leading T.
template <class G>
FormEntry dialog(const char* className, G*& game, TGameDialog kind)
{
    return {className, [&game, className, kind]() -> TForm* {
                return game->makeDialog(kind, QString::fromLatin1(className + 1));
            },
            {}};
}

const std::vector<FormEntry>& registry()
{
    static const std::vector<FormEntry> entries{
        window("TMainForm", MainForm),
        window("TFormFifteen", FormFifteen),
        dialog("TForm15badover", FormFifteen, TGameDialog::NoRecord),
        dialog("TForm15Over", FormFifteen, TGameDialog::Record),
        dialog("TForm15table", FormFifteen, TGameDialog::Table),
        window("TFormSaper", FormSaper),
        window("TFormSaperOptions", FormSaperOptions),
        dialog("TFormSaperTable", FormSaper, TGameDialog::Table),
        dialog("TFormSaperOver", FormSaper, TGameDialog::Record),
        dialog("TFormSaperBadOver", FormSaper, TGameDialog::NoRecord),
        window("TFormSea", FormSea),
        dialog("TFormSeaLose", FormSea, TGameDialog::Lost),
        dialog("TFormSeaBadover", FormSea, TGameDialog::NoRecord),
        dialog("TFormSeaOver", FormSea, TGameDialog::Record),
        dialog("TFormSeaTable", FormSea, TGameDialog::Table),
        window("TMemoForm", MemoForm),
        window("TMainFormInfo", MainFormInfo),
    };
    return entries;
}

std::vector<TForm*> g_created; // parallel to registry() while the windows live

} // namespace

void CreateForms()
{
    for (const FormEntry& entry : registry())
        g_created.push_back(entry.create());
}

void DestroyForms()
{
    const auto& entries = registry();
    for (std::size_t i = g_created.size(); i-- > 0;) {
        delete g_created[i];
        if (entries[i].forget)
            entries[i].forget();
    }
    g_created.clear();
}

TForm* FindForm(const QString& className)
{
    const auto& entries = registry();
    for (std::size_t i = 0; i < g_created.size(); ++i)
        if (className == QLatin1String(entries[i].className))
            return g_created[i];
    return nullptr;
}

QStringList FormNames()
{
    QStringList names;
    for (const FormEntry& entry : registry())
        names << QString::fromLatin1(entry.className);
    return names;
}
