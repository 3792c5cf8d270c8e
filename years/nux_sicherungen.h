#pragma once
// The dialog "Sicherungen": the backups of a year, newest first, and the way
// back to one of them.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <string>
#include <vector>

#include "storage/sicherung.h"

class Tsicherungen : public QDialog {
    Q_OBJECT
public:
    Tsicherungen(const std::string& jahr, QWidget* eltern = nullptr);

    QLabel* Label1;
    QTreeWidget* ListView1;
    QLabel* Label2;
    QPushButton* Button1;
    QPushButton* Button2;

private:
    void holen();
    void Button1Click();

    std::string jahr_;
    std::vector<nux::Sicherung> liste_;
};

namespace nux {
// A failed backup is told without stopping anyone: a notice at the foot of
// the window in front, of this objectName.
inline constexpr const char* kSicherungshinweis = "Sicherungshinweis";
void sicherungsfehlermelden();
}  // namespace nux
