#include "assignment/xlsx.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <tuple>
#include <vector>

#include "fenster/shell.h"
#include "storage/datei.h"
#include "storage/dateifehler.h"

namespace nux {
namespace {

// Windows-1252 to the UTF-8 of the file. XML cannot hold control
// characters, so a stray one from another program becomes a space.
std::string utf8(const std::string& text) {
    std::string t = text;
    bool ascii = true;
    for (char& ch : t) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 && ch != '\n' && ch != '\t') ch = ' ';
        ascii = ascii && b < 0x80;
    }
    // Most texts are plain ASCII, the same bytes in UTF-8; the conversion
    // would cost more than the whole sheet.
    return ascii ? t : qs(t).toUtf8().toStdString();
}

class Formate {
public:
    explicit Formate(lxw_workbook* mappe) : mappe_(mappe) {}
    // ueber: the cell belongs to a heading over several columns.
    lxw_format* format(const Mappenzelle& z, bool ueber) {
        const bool stunden = z.art == Mappenzelle::Art::stunden || z.art == Mappenzelle::Art::formel;
        if (!stunden && !z.fett && !ueber) return nullptr;
        lxw_format*& f = formate_[{stunden, z.fett, ueber}];
        if (!f) {
            f = workbook_add_format(mappe_);
            // Shown as "0,0" wherever the decimal comma is the custom.
            if (stunden) format_set_num_format(f, "0.0");
            if (z.fett) format_set_bold(f);
            // Centred across the columns rather than merged: sorting and
            // copying in the sheet stay possible.
            if (ueber) format_set_align(f, LXW_ALIGN_CENTER_ACROSS);
        }
        return f;
    }

private:
    lxw_workbook* mappe_;
    std::map<std::tuple<bool, bool, bool>, lxw_format*> formate_;
};

double zahl(const Mappenzelle& z) {
    return z.art == Mappenzelle::Art::zahl ? static_cast<double>(z.wert) : static_cast<double>(z.wert) / 10.0;
}

lxw_error zellschreiben(lxw_worksheet* blatt, lxw_row_t r, lxw_col_t c, const Mappenzelle& z, lxw_format* f) {
    switch (z.art) {
        case Mappenzelle::Art::leer: return f ? worksheet_write_blank(blatt, r, c, f) : LXW_NO_ERROR;
        case Mappenzelle::Art::text:
            if (z.text.empty()) return f ? worksheet_write_blank(blatt, r, c, f) : LXW_NO_ERROR;
            return worksheet_write_string(blatt, r, c, utf8(z.text).c_str(), f);
        case Mappenzelle::Art::stunden:
        case Mappenzelle::Art::zahl: return worksheet_write_number(blatt, r, c, zahl(z), f);
        case Mappenzelle::Art::formel:
            return worksheet_write_formula_num(blatt, r, c, ("=" + z.text).c_str(), f, zahl(z));
    }
    return LXW_NO_ERROR;
}

void diagrammschreiben(lxw_workbook* mappe, lxw_worksheet* blatt, const Mappenblatt& b, const Diagramm& d);

void blattschreiben(lxw_workbook* mappe, Formate& formate, const Mappenblatt& b) {
    lxw_worksheet* blatt = workbook_add_worksheet(mappe, utf8(b.name).c_str());
    if (!blatt) throw Dateifehler("Das Tabellenblatt " + utf8(b.name) + " kann nicht angelegt werden");
    for (std::size_t c = 0; c < b.breiten.size(); ++c)
        worksheet_set_column(blatt, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), b.breiten[c], nullptr);
    // Rows strictly in order: the workbook keeps only the current one.
    lxw_error fehler = LXW_NO_ERROR;
    std::vector<bool> ueber;
    for (std::size_t r = 0; r < b.zeilen.size() && !fehler; ++r) {
        ueber.assign(b.zeilen[r].size(), false);
        for (const Verbund& v : b.verbunde)
            for (int c = v.von; v.zeile == static_cast<int>(r) && c <= v.bis && c < static_cast<int>(ueber.size()); ++c)
                ueber[static_cast<std::size_t>(c)] = true;
        for (std::size_t c = 0; c < b.zeilen[r].size() && !fehler; ++c) {
            const Mappenzelle& z = b.zeilen[r][c];
            const auto zr = static_cast<lxw_row_t>(r);
            const auto zc = static_cast<lxw_col_t>(c);
            fehler = zellschreiben(blatt, zr, zc, z, formate.format(z, ueber[c]));
            if (!fehler && !z.notiz.empty()) fehler = worksheet_write_comment(blatt, zr, zc, utf8(z.notiz).c_str());
        }
    }
    if (fehler) throw Dateifehler(std::string("Das Tabellenblatt kann nicht geschrieben werden: ") + lxw_strerror(fehler));
    for (const Diagramm& d : b.diagramme) diagrammschreiben(mappe, blatt, b, d);
    // A4 pages for printing from the spreadsheet program.
    worksheet_set_paper(blatt, 9);
    if (b.querformat) worksheet_set_landscape(blatt);
    else worksheet_fit_to_pages(blatt, 1, 0);
    if (b.festzeilen > 0) worksheet_repeat_rows(blatt, 0, static_cast<lxw_row_t>(b.festzeilen - 1));
    if (b.festspalten > 0) worksheet_repeat_columns(blatt, 0, static_cast<lxw_col_t>(b.festspalten - 1));
    if (b.festzeilen > 0 || b.festspalten > 0)
        worksheet_freeze_panes(blatt, static_cast<lxw_row_t>(b.festzeilen), static_cast<lxw_col_t>(b.festspalten));
    if (b.filterzeile >= 0) {
        const int letzte = std::max(b.filterzeile, static_cast<int>(b.zeilen.size()) - 1);
        worksheet_autofilter(blatt, static_cast<lxw_row_t>(b.filterzeile), 0, static_cast<lxw_row_t>(letzte),
                             static_cast<lxw_col_t>(std::max(0, b.spalten() - 1)));
    }
}

// "='Blatt'!$A$5:$A$20" over rows von..bis of column spalte.
std::string bereich(const Mappenblatt& b, int von, int bis, int spalte) {
    auto absolut = [](int zeile, int sp) {
        const std::string name = zellname(zeile, sp);
        const auto ziffer = name.find_first_of("0123456789");
        return "$" + name.substr(0, ziffer) + "$" + name.substr(ziffer);
    };
    std::string blatt = utf8(b.name);
    for (std::size_t i = 0; (i = blatt.find('\'', i)) != std::string::npos; i += 2) blatt.insert(i, 1, '\'');
    return "='" + blatt + "'!" + absolut(von, spalte) + (bis > von ? ":" + absolut(bis, spalte) : std::string());
}

void diagrammschreiben(lxw_workbook* mappe, lxw_worksheet* blatt, const Mappenblatt& b, const Diagramm& d) {
    if (d.bis < d.von) return;
    // Bars across the page: one line per category reads like the table beside it.
    lxw_chart* diagramm = workbook_add_chart(mappe, LXW_CHART_BAR);
    if (!diagramm) throw Dateifehler("Das Diagramm kann nicht angelegt werden");
    const std::string kategorien = bereich(b, d.von, d.bis, d.kategorien);
    for (const int spalte : d.reihen) {
        const std::string werte = bereich(b, d.von, d.bis, spalte);
        lxw_chart_series* reihe = chart_add_series(diagramm, kategorien.c_str(), werte.c_str());
        if (!reihe) throw Dateifehler("Das Diagramm kann nicht angelegt werden");
        chart_series_set_name(reihe, bereich(b, d.kopfzeile, d.kopfzeile, spalte).c_str());
    }
    const std::string titel = utf8(d.titel);
    chart_title_set_name(diagramm, titel.c_str());
    chart_legend_set_position(diagramm, LXW_CHART_LEGEND_TOP);
    // Categories from the top down, as in the table.
    chart_axis_set_reverse(diagramm->y_axis);
    lxw_chart_options optionen{};
    optionen.x_scale = 1.6;
    // About 16 pixels a category, at least the default height of 288.
    optionen.y_scale = std::max(1.0, (d.bis - d.von + 1) * 16.0 / 288.0);
    if (worksheet_insert_chart_opt(blatt, static_cast<lxw_row_t>(d.zeile), static_cast<lxw_col_t>(d.spalte), diagramm,
                                   &optionen) != LXW_NO_ERROR)
        throw Dateifehler("Das Diagramm kann nicht eingef\xC3\xBCgt werden");
}

std::string meldung(const std::string& pfad, int fehlernummer) {
    return "Die Exportdatei " + pfad + " kann nicht geschrieben werden: " +
           (fehlernummer ? fehlertext(fehlernummer) : std::string("E/A-Fehler"));
}

// Removes the temporary file on every way out but success.
struct Zwischendatei {
    std::string pfad;
    bool behalten = false;
    ~Zwischendatei() {
        if (!behalten && !pfad.empty()) ::unlink(pfad.c_str());
    }
};

}  // namespace

bool xlsxschreiben(const Mappe& m, const std::string& pfad, bool ersetzen) {
    // What is no ordinary file, or is write-protected, stays as it is, as
    // with every file nux rewrites; before any work is done.
    if (ersetzen) {
        if (ordnerda(pfad)) throw Dateifehler("Die Exportdatei " + pfad + " kann nicht geschrieben werden: das ist ein Ordner.");
        try {
            detail::zielpruefen(pfad);
        } catch (const Dateifehler& e) {
            throw Dateifehler("Die Exportdatei " + pfad + " kann nicht geschrieben werden: " + e.what());
        }
    }
    const std::string ordner = detail::ordnervon(pfad);
    std::string muster = ordner + "." + detail::namevon(pfad) + ".XXXXXX";
    const int fd = ::mkstemp(muster.data());
    if (fd < 0) throw Dateifehler(meldung(pfad, errno));
    // mkstemp keeps it to its owner; a workbook is an ordinary file.
    const mode_t maske = ::umask(0);
    ::umask(maske);
    ::fchmod(fd, 0666 & ~maske);
    ::close(fd);
    Zwischendatei zwischen{muster};

    lxw_workbook_options optionen{};
    optionen.constant_memory = LXW_TRUE;
    lxw_workbook* mappe = workbook_new_opt(zwischen.pfad.c_str(), &optionen);
    if (!mappe) throw Dateifehler(meldung(pfad, ENOMEM));
    std::string titel = utf8(m.titel);
    lxw_doc_properties eigenschaften{};
    eigenschaften.title = titel.data();
    eigenschaften.author = const_cast<char*>("nux");
    workbook_set_properties(mappe, &eigenschaften);
    Formate formate(mappe);
    try {
        for (const Mappenblatt& b : m.blaetter) blattschreiben(mappe, formate, b);
    } catch (...) {
        // Closing is the only way to free it; what it writes is removed.
        workbook_close(mappe);
        throw;
    }
    errno = 0;
    const lxw_error fehler = workbook_close(mappe);
    if (fehler) throw Dateifehler(meldung(pfad, errno ? errno : EIO));

    // On the disk before it takes the name, so that a crash leaves the old
    // file or the whole new one.
    const int neu = ::open(zwischen.pfad.c_str(), O_RDONLY | O_CLOEXEC);
    if (neu < 0 || ::fsync(neu) != 0) {
        const int e = errno;
        if (neu >= 0) ::close(neu);
        throw Dateifehler(meldung(pfad, e));
    }
    ::close(neu);
    if (ersetzen) {
        if (::rename(zwischen.pfad.c_str(), pfad.c_str()) != 0) throw Dateifehler(meldung(pfad, errno));
    } else {
        // A link never replaces: a file of the same name stays untouched.
        if (::link(zwischen.pfad.c_str(), pfad.c_str()) == 0) {
            ::unlink(zwischen.pfad.c_str());
        } else {
            if (errno == EEXIST) return false;
            // A file system without links (a FAT stick, some network shares).
            if (::access(pfad.c_str(), F_OK) == 0) return false;
            if (::rename(zwischen.pfad.c_str(), pfad.c_str()) != 0) throw Dateifehler(meldung(pfad, errno));
        }
    }
    zwischen.behalten = true;
    detail::ordnersichern(pfad);
    return true;
}

}  // namespace nux
