// The creation order matters: the game windows reach their dialogs, and the
// dialogs their game window, through the global references set here, and a
// window may read an earlier one's state in its creation handler.
#include "registry.h"

#include "tformfifteen.h"
#include "tmainform.h"
#include "tmainforminfo.h"
#include "tmemoform.h"

#include <QWidget>

#include <vector>

namespace {
std::vector<QWidget*> g_created;

template <class T>
void create(T*& reference)
{
    CreateForm(reference);
    g_created.push_back(reference);
}
} // namespace

void CreateForms()
{
    create(MainForm);
    create(FormFifteen);
    create(Form15badover);
    create(Form15Over);
    create(Form15table);
    create(MemoForm);
    create(MainFormInfo);
}

void DestroyForms()
{
    for (auto it = g_created.rbegin(); it != g_created.rend(); ++it)
        delete *it;
    g_created.clear();
    MainForm = nullptr;
    FormFifteen = nullptr;
    Form15badover = nullptr;
    Form15Over = nullptr;
    Form15table = nullptr;
    MemoForm = nullptr;
    MainFormInfo = nullptr;
}
