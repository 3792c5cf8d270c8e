#include "app/start.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "app/kern/code.h"
#include "app/nux_code.h"
#include "app/nux_menue.h"
#include "fenster/shell.h"
#include "assignment/nux_verteilung.h"
#include "editors/nux_faecher.h"
#include "editors/nux_klassen.h"
#include "editors/nux_lehrer.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "years/nux_jahr.h"
#include "years/nux_sicherungen.h"

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
    nux::anmelden(nux::Rolle::menue, menuform);
    nux::anmelden(nux::Rolle::code, codefenster);
    nux::anmelden(nux::Rolle::faecher, faecherfenster);
    nux::anmelden(nux::Rolle::lehrer, lehrerfenster);
    nux::anmelden(nux::Rolle::klassen, klassenfenster);
    nux::anmelden(nux::Rolle::jahr, jahrfenster);
    nux::anmelden(nux::Rolle::verteilung, verteilfenster);
    nux::jahrgewaehlt() = [](const std::string& jahr) { menuform->jahrzeigen(jahr); };
    nux::sicherungsfehlermelden();
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
    for (auto r : {nux::Rolle::menue, nux::Rolle::code, nux::Rolle::faecher, nux::Rolle::lehrer,
                   nux::Rolle::klassen, nux::Rolle::jahr, nux::Rolle::verteilung})
        nux::anmelden(r, nullptr);
    nux::jahrgewaehlt() = nullptr;
    nux::sicherungsfehler() = nullptr;
    nux::Fenster::aktivesFensterVergessen();
    nux::jahrsetzen("");
}

int sicherungenstarten() {
    nux::schriftenzuordnen();
    nux::sicherungsfehlermelden();
    const auto jahr = nux::jahraktlesen();
    if (jahr) nux::jahrsetzen(*jahr);
    if (!jahr || !nux::jahrgesetzt() || !nux::ordnerda(*jahr)) {
        QMessageBox::warning(nullptr, QStringLiteral("Sicherungen"),
                             QStringLiteral("Es ist noch kein Schuljahr gewählt. Wählen Sie es in nux unter "
                                            "„Jahr“; dort stehen auch seine Sicherungen."));
        return 1;
    }
    // The same code as the menu's: the backups hold the whole school.
    for (;;) {
        bool ok = false;
        const QString code = QInputDialog::getText(nullptr, QStringLiteral("Sicherungen"), QStringLiteral("Code:"),
                                                   QLineEdit::Password, QString(), &ok);
        if (!ok) return 0;
        bool stimmt = false;
        nux::sicher([&] { stimmt = nux::codestimmt(nux::cp(code.toUpper())); });
        if (stimmt) break;
        for (int i = 0; i < 3; ++i) nux::piepsen();
    }
    Tsicherungen dialog(*jahr);
    dialog.exec();
    return 0;
}
