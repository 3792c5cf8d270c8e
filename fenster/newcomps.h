#pragma once
// Two single-line fields for numbers: teditzahl, an integer field kept within
// its bounds while the user types, and teditnummer, a field for one digit.
// Both drop refused characters before they reach the text; control
// characters and the keyboard shortcuts that edit the text (paste, cut, undo)
// count as refused.
#include <QLineEdit>
#include <cstdint>

class QFocusEvent;
class QKeyEvent;

class teditzahl : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(bool leer READ leer WRITE setLeer)
    Q_PROPERTY(int wert READ wert)

public:
    // Creation works with the bounds the field holds now (both 0); a form
    // sets bounds, maximum length and text afterwards.
    explicit teditzahl(QWidget* parent = nullptr);

    int maximum() const { return maximum_; }
    int minimum() const { return minimum_; }
    bool leer() const { return leer_; }
    int wert() const { return wert_; }
    void setMaximum(int m) { maximum_ = m; }
    void setMinimum(int m) { minimum_ = m; }
    void setLeer(bool l) { leer_ = l; }

signals:
    // The form's change handler: after every correction of the text, so it
    // only ever sees a text within the bounds (or a lone "-" being typed).
    void geaendert();
    // The form's exit handler: after leaving the field has rewritten the text.
    void verlassen();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void korrigieren();
    void setzen(const QString& text);

    std::int32_t maximum_ = 0;
    std::int32_t minimum_ = 0;
    bool leer_ = false;
    std::int32_t wert_ = 0;
};

class teditnummer : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(bool mit READ mit WRITE setMit)

public:
    explicit teditnummer(QWidget* parent = nullptr);

    bool mit() const { return mit_; }
    void setMit(bool m) { mit_ = m; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void saeubern();

    bool mit_ = false;
};
