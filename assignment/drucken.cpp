#include "assignment/drucken.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cerrno>
#include <filesystem>
#include <vector>

#include "fenster/hinweis.h"
#include "fenster/shell.h"
#include "assignment/kern/drucklayout.h"
#include "storage/datei.h"
#include "storage/dateifehler.h"
#include "storage/jahr.h"

namespace nux {
namespace {

Druckziel ziel = Druckziel::automatisch;
int fehlerdokument = 0;

// With the PDF files the notice offers to open the file, or the folder of several.
void hinweiszeigen(QWidget* fenster, const QStringList& zeilen, const QString& ziel) {
    if (!zeilen.isEmpty()) nux::hinweiszeigen(fenster, kDruckhinweis, zeilen.join(QLatin1Char('\n')), ziel);
}

QString heute() { return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")); }

// Only letters, digits and "-" reach a file name.
QString dateiteil(const QString& s) {
    QString r;
    for (QChar c : s) r += (c.isLetterOrNumber() || c == QLatin1Char('-')) ? c : QLatin1Char('_');
    return r;
}

// The documents of one user action. Its end, also through an error, tells
// the user where the PDF files went and which sheets were too long.
class Druckauftrag {
public:
    explicit Druckauftrag(QWidget* fenster)
        : fenster_(fenster), pdf_(ziel == Druckziel::pdf || !druckervorhanden()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~Druckauftrag() {
        QApplication::restoreOverrideCursor();
        QStringList zeilen = hinweise_;
        QString ziel;
        if (!dateien_.isEmpty()) {
            const QString ordner = QDir(QString::fromLatin1(kDruckordner)).absolutePath();
            ziel = dateien_.size() == 1 ? ordner + QLatin1Char('/') + dateien_.front() : ordner;
            if (dateien_.size() == 1)
                zeilen.prepend(QStringLiteral("Kein Drucker vorhanden: die Druckseite steht als PDF in %1/%2")
                                   .arg(ordner, dateien_.front()));
            else
                zeilen.prepend(QStringLiteral("Kein Drucker vorhanden: %1 Druckseiten stehen als PDF im Ordner %2 "
                                              "(%3 bis %4)")
                                   .arg(dateien_.size())
                                   .arg(ordner, dateien_.front(), dateien_.back()));
        }
        hinweiszeigen(fenster_, zeilen, ziel);
    }
    Druckauftrag(const Druckauftrag&) = delete;
    Druckauftrag& operator=(const Druckauftrag&) = delete;

    void blatt(const Druckdaten& d, int p, const std::vector<Lehrersatz>& lehrer) {
        const Lehrerblatt b = lehrerblatt(d, p, lehrer, cp(heute()));
        const QString kurz = qs(b.kurz);
        ausgeben(b.seite, QStringLiteral("Lehrer_") + dateiteil(kurz));
        if (b.vollstaendig()) return;
        const QString wer = kurz.isEmpty() ? QStringLiteral("Das Blatt") : QStringLiteral("Das Blatt von %1").arg(kurz);
        if (b.zeilenda < b.zeilen)
            hinweise_ << QStringLiteral("%1 ist länger als eine Seite: die letzten %2 der %3 Unterrichtszeilen "
                                        "und die Summe fehlen auf dem Ausdruck.")
                             .arg(wer)
                             .arg(b.zeilen - b.zeilenda)
                             .arg(b.zeilen);
        else
            hinweise_ << QStringLiteral("%1 ist länger als eine Seite: die Summe fehlt auf dem Ausdruck.").arg(wer);
    }

    void ausgeben(const Druckseite& seite, const QString& name) {
        QPrinter drucker(QPrinter::HighResolution);
        QString datei;
        if (pdf_) {
            datei = pdfdatei(name);
            drucker.setOutputFormat(QPrinter::PdfFormat);
            drucker.setResolution(kPdfAufloesung);
            drucker.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), ausrichtung(seite),
                                              QMarginsF(kPdfRand, kPdfRand, kPdfRand, kPdfRand),
                                              QPageLayout::Millimeter));
            drucker.setOutputFileName(QString::fromLatin1(kDruckordner) + QLatin1Char('/') + datei);
        } else {
            drucker.setPageOrientation(ausrichtung(seite));
        }
        drucker.setCreator(QStringLiteral("nux"));
        drucker.setDocName(QStringLiteral("nux ") + name);

        const bool verweigert = fehlerdokument > 0 && --fehlerdokument == 0;
        QPainter maler;
        if (verweigert || !maler.begin(&drucker)) {
            if (pdf_) {
                std::error_code ec;
                std::filesystem::remove(std::string(kDruckordner) + "/" + datei.toStdString(), ec);
                throw Dateifehler(
                    QStringLiteral("Die Druckdatei %1 kann nicht geschrieben werden").arg(datei).toStdString());
            }
            throw Dateifehler(QStringLiteral("Der Drucker %1 nimmt den Druckauftrag nicht an")
                                  .arg(drucker.printerName())
                                  .toStdString());
        }
        malen(maler, drucker, seite);
        if (!maler.end() || drucker.printerState() == QPrinter::Error)
            throw Dateifehler(QStringLiteral("Der Druckauftrag %1 kann nicht abgeschlossen werden")
                                  .arg(pdf_ ? datei : name)
                                  .toStdString());
        if (pdf_) dateien_ << datei;
    }

private:
    static QPageLayout::Orientation ausrichtung(const Druckseite& s) {
        return s.ausrichtung == Ausrichtung::querformat ? QPageLayout::Landscape : QPageLayout::Portrait;
    }

    // The operations on the printable area: layout units to printer pixels,
    // every text with its top-left corner at its point.
    static void malen(QPainter& maler, const QPrinter& drucker, const Druckseite& seite) {
        const int breite = drucker.width();
        const int hoehe = drucker.height();
        QFont schrift(qs(seite.schriftart));
        schrift.setPointSize(10);
        maler.setFont(schrift);
        QPen stift(Qt::black);
        maler.setPen(stift);
        // Like paper, the page ends at the edge of the printable area.
        maler.setClipRect(0, 0, breite, hoehe);
        const auto x = [&](int einheiten) { return pixel(breite, einheiten, kSeitenbreite); };
        const auto y = [&](int einheiten) { return pixel(hoehe, einheiten, kSeitenhoehe); };
        for (const auto& o : seite.ops) {
            switch (o.art) {
                case Druckop::Art::groesse:
                    schrift.setPointSize(o.wert);
                    maler.setFont(schrift);
                    break;
                case Druckop::Art::fettein:
                case Druckop::Art::fettaus:
                    schrift.setBold(o.art == Druckop::Art::fettein);
                    schrift.setItalic(false);
                    schrift.setUnderline(false);
                    schrift.setStrikeOut(false);
                    maler.setFont(schrift);
                    break;
                case Druckop::Art::text:
                    maler.drawText(x(o.x), y(o.y) + maler.fontMetrics().ascent(), qs(o.text));
                    break;
                case Druckop::Art::stift:
                    stift.setWidth(o.wert);
                    maler.setPen(stift);
                    break;
                case Druckop::Art::linie:
                    maler.drawLine(x(o.x), y(o.y), x(o.x2), y(o.y2));
                    break;
            }
        }
    }

    // "2026-12-06_14-35-12_0001_Lehrer_MarH.pdf": the time of the action and
    // a running number, so that the names sort in printing order; a file of
    // the same second is never overwritten, its number is passed over.
    QString pdfdatei(const QString& name) {
        const std::string ordner = kDruckordner;
        std::error_code ec;
        if (!std::filesystem::is_directory(ordner, ec)) {
            std::filesystem::create_directory(ordner, ec);
            if (ec) throw Dateifehler(fehlertext(ec.value()));
        }
        if (stempel_.isEmpty()) {
            stempel_ = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
            const QStringList da = QDir(QString::fromLatin1(kDruckordner))
                                       .entryList({stempel_ + QStringLiteral("_*")}, QDir::Files | QDir::Hidden);
            for (const QString& f : da) nummer_ = std::max(nummer_, f.section(QLatin1Char('_'), 2, 2).toInt());
        }
        for (;;) {
            ++nummer_;
            const QString datei = QStringLiteral("%1_%2_%3.pdf")
                                      .arg(stempel_)
                                      .arg(nummer_, 4, 10, QLatin1Char('0'))
                                      .arg(name);
            const std::string pfad = ordner + "/" + datei.toStdString();
            const int fd = ::open(pfad.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd >= 0) {
                ::close(fd);
                return datei;
            }
            if (errno != EEXIST) throw Dateifehler(fehlertext(errno));
        }
    }

    QWidget* fenster_;
    bool pdf_;
    QString stempel_;
    int nummer_ = 0;
    QStringList dateien_;
    QStringList hinweise_;
};

std::vector<Lehrersatz> lehrerladen() {
    const std::string pfad = jahrdatei("lehrer");
    if (!dateida(pfad)) return {};
    return laden<Lehrersatz>(pfad);
}

}  // namespace

void druckzielsetzen(Druckziel z) { ziel = z; }

bool druckervorhanden() { return !QPrinterInfo::defaultPrinter().isNull(); }

void druckfehlerSetzen(int dokument) { fehlerdokument = dokument; }

void drucken(QWidget* fenster, const Druckdaten& d, int p) {
    const auto lehrer = lehrerladen();
    Druckauftrag auftrag(fenster);
    auftrag.blatt(d, p, lehrer);
}

void druckenalle(QWidget* fenster, const Druckdaten& d) {
    const auto lehrer = lehrerladen();
    Druckauftrag auftrag(fenster);
    for (int p = 1; p + 3 <= static_cast<int>(d.verfuegbar.size()); ++p) auftrag.blatt(d, p, lehrer);
}

void gesamtdruck(QWidget* fenster, const Druckdaten& d) {
    Druckauftrag auftrag(fenster);
    const QString datum = heute();
    const auto bloecke =
        seitenbloecke(static_cast<int>(d.klassen.size()) - 1, static_cast<int>(d.zeilen.size()) - 1);
    int seite = 0;
    for (const auto& b : bloecke)
        auftrag.ausgeben(gesamtseite(d, b, cp(datum)), QStringLiteral("Schule_Seite_%1").arg(++seite, 2, 10, QLatin1Char('0')));
}

void seitendrucken(QWidget* fenster, const std::vector<Druckseite>& seiten, const QString& name) {
    Druckauftrag auftrag(fenster);
    int n = 0;
    for (const auto& seite : seiten) auftrag.ausgeben(seite, QStringLiteral("%1_%2").arg(name).arg(++n, 2, 10, QLatin1Char('0')));
}

}  // namespace nux
