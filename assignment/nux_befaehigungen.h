#pragma once
// The dialog "Wer unterrichtet was": the qualifications of the current year
// as a table of teachers against subjects, edited by keyboard, mouse and
// clipboard, each gesture one step of an undo history.
#include <QAbstractTableModel>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QUndoStack>
#include <optional>
#include <string>

#include "assignment/kern/verteilung.h"
#include "assignment/kern/matrix.h"

class QWidget;

// Opens the dialog for the current year; whether the file was written.
bool befaehigungenbearbeiten(QWidget* eltern);

namespace nux {

// The matrix as Qt's views see it: a cell shows its state as a mark.
class Matrixmodell : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit Matrixmodell(Matrix& m, QObject* eltern = nullptr) : QAbstractTableModel(eltern), m_(m) {}
    int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : m_.zeilen(); }
    int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : m_.spalten(); }
    QVariant data(const QModelIndex& i, int rolle) const override;
    QVariant headerData(int n, Qt::Orientation o, int rolle) const override;

    // Applies or takes back a change and repaints what it touched.
    void anwenden(const Wechsel& w, bool nachher);
    void neu() {
        beginResetModel();
        endResetModel();
    }

private:
    Matrix& m_;
};

}  // namespace nux

class Tbefaehigungen : public QDialog {
    Q_OBJECT
public:
    explicit Tbefaehigungen(QWidget* eltern = nullptr);

    QLabel* Label1 = nullptr;      // title
    QTableView* StringGrid1 = nullptr;
    QLabel* Label2 = nullptr;      // legend
    QLabel* Label3 = nullptr;      // what the file held that the table cannot show; refusals
    QPushButton* Button1 = nullptr;  // speichern
    QPushButton* Button2 = nullptr;  // schließen
    QPushButton* Button3 = nullptr;  // aus der Verteilung übernehmen
    QPushButton* Button4 = nullptr;  // row like the cell
    QPushButton* Button5 = nullptr;  // column like the cell

    // Loads the current year; false when that failed (shown).
    bool holen();
    bool geschrieben() const { return geschrieben_; }
    bool ungespeichert() const { return !verlauf_.isClean(); }

    void reject() override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void Button1Click();
    void Button3Click();
    void setzen(const QString& was, const nux::Wechsel& w);
    void auswahlsetzen(nux::Stufe st);
    void kopieren();
    void einfuegen();
    bool freigeben();
    void hinweise(const QString& zusatz = {});
    QRect auswahl() const;  // rows as y, columns as x

    nux::Verteilung verteilung_;
    nux::Matrix matrix_;
    std::optional<nux::Quelljahr> quelle_;
    nux::Matrixmodell* modell_ = nullptr;
    QUndoStack verlauf_;
    bool geschrieben_ = false;
};
