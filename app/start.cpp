#include "app/start.h"

#include "app/nux_code.h"
#include "app/nux_menue.h"
#include "app/shell.h"
#include "assignment/nux_verteilung.h"
#include "editors/nux_faecher.h"
#include "editors/nux_klassen.h"
#include "editors/nux_lehrer.h"
#include "storage/jahr.h"
#include "years/nux_jahr.h"

Tmenuform* menuform = nullptr;
Tcode* codefenster = nullptr;
Tfaecherfenster* faecherfenster = nullptr;
Tlehrerfenster* lehrerfenster = nullptr;
Tklassenfenster* klassenfenster = nullptr;
Tjahrfenster* jahrfenster = nullptr;
Tverteilfenster* verteilfenster = nullptr;

void fenstererzeugen() {
    nux::schriftenzuordnen();
    menuform = new Tmenuform;
    codefenster = new Tcode;
    faecherfenster = new Tfaecherfenster;
    lehrerfenster = new Tlehrerfenster;
    klassenfenster = new Tklassenfenster;
    jahrfenster = new Tjahrfenster;
    verteilfenster = new Tverteilfenster;
}

void fensterfreigeben() {
    delete verteilfenster;
    delete jahrfenster;
    delete klassenfenster;
    delete lehrerfenster;
    delete faecherfenster;
    delete codefenster;
    delete menuform;
    verteilfenster = nullptr;
    jahrfenster = nullptr;
    klassenfenster = nullptr;
    lehrerfenster = nullptr;
    faecherfenster = nullptr;
    codefenster = nullptr;
    menuform = nullptr;
    nux::Fenster::aktivesFensterVergessen();
    nux::jahrsetzen("");
}
