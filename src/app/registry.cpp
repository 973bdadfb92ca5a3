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

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <QWindow>

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

void CreateForms(const QString& upTo)
{
    const auto& entries = registry();
    while (g_created.size() < entries.size()) {
        const FormEntry& entry = entries[g_created.size()];
        g_created.push_back(entry.create());
        if (upTo == QLatin1String(entry.className))
            break;
    }
}

namespace {

// Watches every event of the application until the rest of the windows are
// made.
class RemainingForms : public QObject {
public:
    RemainingForms()
        : QObject(qApp) // gone with the application, should it end first
    {
        qApp->installEventFilter(this);
        // A window the window system never exposes (started minimised) must
        // not keep the others from being made.
        QTimer::singleShot(1000, this, &RemainingForms::create);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Expose:
            // The expose paints the window; the timer runs once that is done
            // and the picture has gone to the window system.
            if (watched->isWindowType() && static_cast<QWindow*>(watched)->isExposed())
                QTimer::singleShot(0, this, &RemainingForms::create);
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TabletPress:
        case QEvent::Close:
        case QEvent::SockAct: // the session bus a screen reader talks over
            create();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void create()
    {
        if (m_done)
            return;
        m_done = true;
        qApp->removeEventFilter(this);
        deleteLater();
        CreateForms();
    }

    bool m_done = false;
};

} // namespace

void CreateRemainingFormsAfterShow()
{
    if (g_created.size() < registry().size())
        new RemainingForms;
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
