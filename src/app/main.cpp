// Tivorama: creates every window, shows the launcher and runs until the
// launcher is closed.
#include "registry.h"
#include "tapplication.h"
#include "tmainform.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    CreateForms();
    MainForm->Show();
    const int result = app.exec();
    DestroyForms();
    return result;
}
