// The window registry: every window of the program is created once, hidden,
// at start-up, in a fixed order, and lives until the program ends.
#pragma once

#include <QString>

class TForm;

// Creates the windows not made yet, in order, up to and including the one
// named (to the last when none is); each creation handler runs before the
// next window is made.
void CreateForms(const QString& upTo = {});

// Creates the windows not made yet once the first window shown has been
// painted, so the player sees the launcher without waiting for sixteen hidden
// windows; or sooner, the moment anything comes from outside the program (a
// key, a click, a close, a screen reader's request), so no handler ever finds
// a window missing.
void CreateRemainingFormsAfterShow();

// Destroys them in the reverse order, at exit.
void DestroyForms();

// A window of the registry by its class name ("TForm15Over"); null when
// there is none or the registry is not made.
TForm* FindForm(const QString& className);

// The class names of the registry, in creation order.
QStringList FormNames();
