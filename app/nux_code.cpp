#include "app/nux_code.h"

#include <QEvent>

#include "app/kern/code.h"
#include "storage/text.h"

namespace {

QLineEdit* codefeld(QWidget* eltern, const char* name, int y) {
    auto* e = new QLineEdit(eltern);
    e->setObjectName(QString::fromLatin1(name));
    e->setGeometry(420, y, 160, 24);
    nux::codefeld(e);
    return e;
}


}  // namespace

Tcode::Tcode() : nux::Fenster("Tcode", 1016, 616) {
    Label1 = nux::beschriftung(this, "Label1", QStringLiteral("Codewort ändern"), 400, 120, 24);
    Label3 = nux::beschriftung(this, "Label3", QStringLiteral("Alter Code:"), 300, 204, 14);
    Edit2 = codefeld(this, "Edit2", 200);
    Label2 = nux::beschriftung(this, "Label2", QStringLiteral("Neuer Code:"), 300, 244, 14);
    Edit1 = codefeld(this, "Edit1", 240);
    Button1 = new QPushButton(QStringLiteral("speichern"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(420, 290, 160, 28);
    Button1->setEnabled(false);
    setTabOrder(Edit2, Edit1);
    setTabOrder(Edit1, Button1);

    Edit2->installEventFilter(this);
    connect(Edit2, &QLineEdit::textChanged, this, [this] { nux::sicher([this] { Edit2Change(); }); });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { nux::sicher([this] { Edit1Change(); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button1Click(); }); });
}

void Tcode::FormActivate() {
    Button1->setEnabled(false);
    Edit2->setFocus();
}

bool Tcode::eventFilter(QObject* o, QEvent* e) {
    if (o == Edit2 && nux::verlassen(e)) nux::sicher([this] { Edit2Exit(); });
    return nux::Fenster::eventFilter(o, e);
}

void Tcode::Edit2Change() { Edit1->clear(); }

void Tcode::Edit2Exit() {
    const std::string gespeichert = nux::trimmen(nux::codelesen());
    if (gespeichert != nux::codieren(nux::trimmen(nux::cp(Edit2->text())))) Edit2->clear();
}

void Tcode::Edit1Change() { Button1->setEnabled(!nux::trimmen(nux::cp(Edit1->text())).empty()); }

void Tcode::Button1Click() {
    nux::codeschreiben(nux::cp(Edit1->text()));
    zummenue();
}
