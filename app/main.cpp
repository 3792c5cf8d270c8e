#include <QApplication>

#include "app/nux_menue.h"
#include "app/start.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    fenstererzeugen();
    menuform->vorholen();
    return app.exec();
}
