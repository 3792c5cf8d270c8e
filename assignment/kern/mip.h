#pragma once
// A mixed-integer program, solved by GLPK: the one place that knows the
// solver. Columns and rows are numbered from 0 in the order they are added;
// the program is minimised.
#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <utility>
#include <vector>

struct glp_prob;

namespace nux {

class Mip {
public:
    static constexpr double kUnendlich = std::numeric_limits<double>::infinity();

    // GLPK keeps an environment per thread; a thread that solved must give
    // it back before it ends, or it is lost with the thread.
    static void threadende();

    Mip();
    ~Mip();
    Mip(const Mip&) = delete;
    Mip& operator=(const Mip&) = delete;

    // A column with its cost and bounds; ganz: integral (0/1 with bounds 0, 1).
    int spalte(double kosten, double unten, double oben, bool ganz);
    // A row unten <= sum(wert * column) <= oben; either bound may be infinite.
    // Returns its number.
    int zeile(const std::vector<std::pair<int, double>>& glieder, double unten, double oben);
    void konstante(double wert);
    void kostenplus(int spalte, double wert);
    // The objective of any values, one per column.
    double bewerten(const std::vector<double>& werte) const;
    int spalten() const { return spalten_; }
    int zeilen() const { return zeilen_; }

    // Rows "links <= rechts" of two columns that the program holds only in
    // sum: GLPK adds each as a cut where the relaxation at a node breaks it.
    void schnitte(std::vector<std::pair<int, int>> paare) { schnitte_ = std::move(paare); }

    struct Einstellung {
        int zeitgrenze_ms = 4000;       // a guard; the node limit ends a normal search
        int knotengrenze = 20000;       // nodes of the search tree, for the same result on every machine
        double luecke = 0.01;           // relative distance to the bound that is good enough
        std::vector<double> start;      // a feasible solution to start from (one value per column), or none
        const std::atomic<bool>* abbrechen = nullptr;
        // Now and then during the search: best objective so far (infinite
        // before the first solution) and the bound.
        std::function<void(double bester, double schranke)> melden;
    };
    enum class Ausgang {
        optimal,      // proven within the gap
        begrenzt,     // a solution, but the time or node limit ended the search
        keine,        // no solution found (or the program has none)
        abgebrochen,  // cancelled
    };
    // The LP relaxation alone (loesen does it when it has not been done):
    // its values guide a rounding, its objective bounds every solution.
    bool relaxieren(int zeitgrenze_ms);
    double lpwert(int spalte) const;
    // The dual value of a row in the relaxation: what the objective gains
    // per unit its bound is widened, negated (<= 0 for a binding upper bound).
    double lpdual(int zeile) const;
    double konstante() const;
    Ausgang loesen(const Einstellung& e);

    // After loesen: the values of the best solution, its objective, and the
    // best bound the search proved (never above the objective).
    double wert(int spalte) const { return werte_[static_cast<std::size_t>(spalte)]; }
    const std::vector<double>& werte() const { return werte_; }
    double ziel() const { return ziel_; }
    double schranke() const { return schranke_; }

private:
    glp_prob* p_;
    int spalten_ = 0, zeilen_ = 0;
    std::vector<double> werte_;
    double ziel_ = kUnendlich, schranke_ = -kUnendlich;
    bool relaxiert_ = false;
    std::vector<std::pair<int, int>> schnitte_;
};

}  // namespace nux
