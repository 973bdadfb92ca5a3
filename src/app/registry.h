// The window registry: every window of the program is created once, hidden,
// at start-up, in a fixed order, and lives until the program ends.
#pragma once

#include <QString>

class TForm;

// Creates all windows in order; each creation handler runs before the next
// window is made.
void CreateForms();

// Destroys them in the reverse order, at exit.
void DestroyForms();

// A window of the registry by its class name ("TForm15Over"); null when
// there is none or the registry is not made.
TForm* FindForm(const QString& className);

// The class names of the registry, in creation order.
QStringList FormNames();
