#include "assignment/kern/mip.h"

#include <glpk.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace nux {

namespace {

struct Suche {
    const Mip::Einstellung* e = nullptr;
    const std::vector<double>* start = nullptr;  // 1-based, as GLPK wants it
    const std::vector<std::pair<int, int>>* schnitte = nullptr;
    std::vector<char> gesetzt;  // per pair: already in the program
    int knoten = 0;
    bool abgebrochen = false, begrenzt = false, startgegeben = false;
    double schranke = -Mip::kUnendlich;
};

void rueckruf(glp_tree* t, void* info) {
    Suche& s = *static_cast<Suche*>(info);
    if (s.e->abbrechen && s.e->abbrechen->load(std::memory_order_relaxed)) {
        s.abgebrochen = true;
        glp_ios_terminate(t);
        return;
    }
    if (const int beste = glp_ios_best_node(t); beste != 0)
        s.schranke = std::max(s.schranke, glp_ios_node_bound(t, beste));
    switch (glp_ios_reason(t)) {
    case GLP_IHEUR:
        // Once, at the root: GLPK takes the solution only when it is feasible
        // and better than what it has.
        if (!s.startgegeben && s.start) {
            s.startgegeben = true;
            glp_ios_heur_sol(t, s.start->data());
        }
        break;
    case GLP_ICUTGEN: {
        // The strongest rows are the many small ones; only those the
        // relaxation breaks go in, a few hundred at a time.
        glp_prob* p = glp_ios_get_prob(t);
        int neu = 0;
        for (std::size_t k = 0; k < s.schnitte->size() && neu < 400; ++k) {
            if (s.gesetzt[k]) continue;
            const auto [links, rechts] = (*s.schnitte)[k];
            if (glp_get_col_prim(p, links + 1) - glp_get_col_prim(p, rechts + 1) <= 1e-3) continue;
            int index[3] = {0, links + 1, rechts + 1};
            double wert[3] = {0, 1.0, -1.0};
            glp_ios_add_row(t, nullptr, 0, 0, 2, index, wert, GLP_UP, 0.0);
            s.gesetzt[k] = 1;
            ++neu;
        }
        break;
    }
    case GLP_ISELECT:
        if (++s.knoten > s.e->knotengrenze) {
            s.begrenzt = true;
            glp_ios_terminate(t);
        }
        if (s.e->melden && s.knoten % 64 == 1) {
            glp_prob* p = glp_ios_get_prob(t);
            const bool hat = glp_mip_status(p) == GLP_FEAS || glp_mip_status(p) == GLP_OPT;
            s.e->melden(hat ? glp_mip_obj_val(p) : Mip::kUnendlich, s.schranke);
        }
        break;
    default:
        break;
    }
}

int grenzart(double unten, double oben) {
    const bool u = std::isfinite(unten), o = std::isfinite(oben);
    if (u && o) return unten == oben ? GLP_FX : GLP_DB;
    if (u) return GLP_LO;
    if (o) return GLP_UP;
    return GLP_FR;
}

}  // namespace

Mip::Mip() : p_(glp_create_prob()) { glp_set_obj_dir(p_, GLP_MIN); }

Mip::~Mip() { glp_delete_prob(p_); }

int Mip::spalte(double kosten, double unten, double oben, bool ganz) {
    const int j = glp_add_cols(p_, 1);
    glp_set_col_kind(p_, j, ganz ? (unten == 0 && oben == 1 ? GLP_BV : GLP_IV) : GLP_CV);
    glp_set_col_bnds(p_, j, grenzart(unten, oben), std::isfinite(unten) ? unten : 0.0,
                     std::isfinite(oben) ? oben : 0.0);
    glp_set_obj_coef(p_, j, kosten);
    return spalten_++;
}

int Mip::zeile(const std::vector<std::pair<int, double>>& glieder, double unten, double oben) {
    const int i = glp_add_rows(p_, 1);
    glp_set_row_bnds(p_, i, grenzart(unten, oben), std::isfinite(unten) ? unten : 0.0,
                     std::isfinite(oben) ? oben : 0.0);
    std::vector<int> index(glieder.size() + 1);
    std::vector<double> wert(glieder.size() + 1);
    for (std::size_t k = 0; k < glieder.size(); ++k) {
        index[k + 1] = glieder[k].first + 1;
        wert[k + 1] = glieder[k].second;
    }
    glp_set_mat_row(p_, i, static_cast<int>(glieder.size()), index.data(), wert.data());
    return zeilen_++;
}

void Mip::konstante(double wert) { glp_set_obj_coef(p_, 0, wert); }

void Mip::kostenplus(int spalte, double wert) {
    glp_set_obj_coef(p_, spalte + 1, glp_get_obj_coef(p_, spalte + 1) + wert);
}

double Mip::bewerten(const std::vector<double>& werte) const {
    double z = glp_get_obj_coef(p_, 0);
    for (int j = 0; j < spalten_ && static_cast<std::size_t>(j) < werte.size(); ++j)
        z += glp_get_obj_coef(p_, j + 1) * werte[static_cast<std::size_t>(j)];
    return z;
}

bool Mip::relaxieren(int zeitgrenze_ms) {
    glp_term_out(GLP_OFF);
    // GLPK's LP presolver; the branch and bound then works on the program as
    // built, so that a starting solution fits its columns.
    glp_smcp lp;
    glp_init_smcp(&lp);
    lp.msg_lev = GLP_MSG_OFF;
    lp.presolve = GLP_ON;
    lp.tm_lim = zeitgrenze_ms;
    relaxiert_ = glp_simplex(p_, &lp) == 0 && glp_get_status(p_) == GLP_OPT;
    if (relaxiert_) schranke_ = glp_get_obj_val(p_);
    return relaxiert_;
}

double Mip::lpwert(int spalte) const { return glp_get_col_prim(p_, spalte + 1); }

double Mip::lpdual(int zeile) const { return glp_get_row_dual(p_, zeile + 1); }

double Mip::konstante() const { return glp_get_obj_coef(p_, 0); }

Mip::Ausgang Mip::loesen(const Einstellung& e) {
    glp_term_out(GLP_OFF);
    const auto beginn = std::chrono::steady_clock::now();
    werte_.clear();
    ziel_ = kUnendlich;
    const auto vonstart = [&](Ausgang a) {
        if (e.start.size() != static_cast<std::size_t>(spalten_)) return a == Ausgang::abgebrochen ? a : Ausgang::keine;
        werte_ = e.start;
        ziel_ = bewerten(werte_);
        return a == Ausgang::abgebrochen ? a : Ausgang::begrenzt;
    };
    if (e.abbrechen && e.abbrechen->load()) return Ausgang::abgebrochen;
    if (!relaxiert_ && !relaxieren(e.zeitgrenze_ms)) return vonstart(Ausgang::keine);

    const auto verbraucht = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - beginn).count();
    Suche s;
    s.e = &e;
    s.schranke = schranke_;
    std::vector<double> start;
    if (e.start.size() == static_cast<std::size_t>(spalten_)) {
        start.reserve(e.start.size() + 1);
        start.push_back(0.0);
        start.insert(start.end(), e.start.begin(), e.start.end());
        s.start = &start;
    }
    glp_iocp io;
    glp_init_iocp(&io);
    io.msg_lev = GLP_MSG_OFF;
    io.presolve = GLP_OFF;
    io.tm_lim = std::max(1, e.zeitgrenze_ms - static_cast<int>(verbraucht));
    io.mip_gap = e.luecke;
    io.br_tech = GLP_BR_DTH;
    io.bt_tech = GLP_BT_BLB;
    // GLPK's mixed-integer rounding cuts lift the bound on the capacity rows at little cost.
    io.mir_cuts = GLP_ON;
    s.schnitte = &schnitte_;
    s.gesetzt.assign(schnitte_.size(), 0);
    io.cb_func = rueckruf;
    io.cb_info = &s;
    const int r = glp_intopt(p_, &io);
    const int status = glp_mip_status(p_);
    if (s.abgebrochen) return Ausgang::abgebrochen;
    if (status != GLP_OPT && status != GLP_FEAS) return vonstart(Ausgang::keine);
    werte_.resize(static_cast<std::size_t>(spalten_));
    for (int j = 0; j < spalten_; ++j) werte_[static_cast<std::size_t>(j)] = glp_mip_col_val(p_, j + 1);
    ziel_ = glp_mip_obj_val(p_);
    const bool fertig = r == 0 && !s.begrenzt;
    // The best open node bounds what is left; an exhausted tree proves the
    // solution (the gap ends the search with its own code, not 0).
    schranke_ = fertig && status == GLP_OPT ? ziel_ : std::min(ziel_, std::max(schranke_, s.schranke));
    return fertig ? Ausgang::optimal : Ausgang::begrenzt;
}

void Mip::threadende() { glp_free_env(); }

}  // namespace nux
