// The window registry: every window of the program is created once, hidden,
// at start-up, in a fixed order, and lives until the program ends.
#pragma once

// Creates all windows in order; each creation handler runs before the next
// window is made.
void CreateForms();

// Destroys them in the reverse order, at exit.
void DestroyForms();
