#pragma once
// Start-up: the seven windows, created once in a fixed order, and the
// process-wide references by which they reach each other.

class Tmenuform;
class Tcode;
class Tfaecherfenster;
class Tlehrerfenster;
class Tklassenfenster;
class Tjahrfenster;
class Tverteilfenster;

extern Tmenuform* menuform;
extern Tcode* codefenster;
extern Tfaecherfenster* faecherfenster;
extern Tlehrerfenster* lehrerfenster;
extern Tklassenfenster* klassenfenster;
extern Tjahrfenster* jahrfenster;
extern Tverteilfenster* verteilfenster;

// Creates the windows in this order: menu, change-code window, subjects,
// teachers, classes, years, assignment. Needs a QApplication.
void fenstererzeugen();

// Destroys them again and forgets the current year; for tests that want a
// program started afresh.
void fensterfreigeben();

// "nux --sicherungen": the backups of the current year without the menu,
// after the access code. Needs a QApplication; gives the exit status.
int sicherungenstarten();
