#pragma once
// The window "Pläne vergleichen": two years of the year list side by side,
// per teacher and per lesson, as a workbook and as a printed list; and the
// same from the command line.
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QTreeWidget>
#include <optional>
#include <string>

#include "years/kern/vergleich.h"

class Tvergleich : public QDialog {
    Q_OBJECT
public:
    explicit Tvergleich(QWidget* eltern = nullptr);

    QLabel* Label1;            // heading
    QComboBox* ComboBox1;      // year A
    QComboBox* ComboBox2;      // year B, the current year at first
    QLabel* Label2;            // the summary, or why there is none
    QTreeWidget* ListView1;    // teachers
    QTreeWidget* ListView2;    // lessons that differ
    QLabel* Label3;            // classes only in A or in B
    QPushButton *Button1, *Button2, *Button3;  // "Excel-Export", "drucken", "schließen"

    const std::optional<nux::Planvergleich>& vergleich() const { return vergleich_; }

private:
    void vergleichen();
    void Button1Click();
    void Button2Click();

    std::optional<nux::Planvergleich> vergleich_;
};

namespace nux {

// Writes the comparison into the folder "export" under a name that sorts by
// time; returns the path relative to the program folder.
std::string vergleichexport(const Planvergleich& v);

// "nux --vergleich A B [--export DATEI]": 0, or 2 with the German message
// on the error output. Without --export the summary goes to the output.
int vergleichbefehl(const QString& a, const QString& b, const QString& datei);

inline constexpr const char* kVergleichhinweis = "Vergleichhinweis";

}  // namespace nux
