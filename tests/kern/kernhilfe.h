#pragma once
// A fresh temporary program folder named "nux" as the current directory,
// a year in it, and the message of a file error.
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "assignment/kern/verteilung.h"
#include "demo/demoschule.h"
#include "storage/datei.h"
#include "storage/dateifehler.h"
#include "storage/jahr.h"
#include "storage/satz.h"

namespace kernhilfe {

class Ordner {
public:
    Ordner() : alt_(std::filesystem::current_path()) {
        char muster[] = "/tmp/nuxtestXXXXXX";
        basis_ = ::mkdtemp(muster);
        std::filesystem::create_directory(basis_ / "nux");
        std::filesystem::current_path(basis_ / "nux");
    }
    ~Ordner() {
        std::filesystem::current_path(alt_);
        std::error_code ec;
        std::filesystem::permissions(basis_ / "nux", std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(basis_, ec);
    }
    Ordner(const Ordner&) = delete;
    Ordner& operator=(const Ordner&) = delete;

private:
    std::filesystem::path alt_;
    std::filesystem::path basis_;
};

// The program folder with the year folder "2026 1" as the current year.
struct Jahr : Ordner {
    Jahr() {
        std::filesystem::create_directory("2026 1");
        nux::jahrsetzen("2026 1");
    }
    ~Jahr() { nux::jahrsetzen(""); }
};

// The demo school as the assignment window loads it, in a fresh folder.
struct Demoschule : Ordner {
    nux::Verteilung v;
    Demoschule() {
        nux::demoschuleschreiben();
        v.laden();
        nux::jahrsetzen("");
    }
};

// The message of the file error that tun throws, "kein Fehler" if none.
inline std::string meldung(const std::function<void()>& tun) {
    try {
        tun();
    } catch (const nux::Dateifehler& e) {
        return e.what();
    }
    return "kein Fehler";
}

// A class record from its lessons: slot, subject index, hours, teacher, extra text.
struct Stunde { int j, s; std::int64_t h; std::string lehrer = {}, zusatz = {}; };

inline nux::Klassensatz klasse(const std::string& name, const std::vector<Stunde>& stunden) {
    nux::Klassensatz k;
    k.name = name;
    for (const auto& st : stunden) std::tie(k.h(st.j, st.s), k.l(st.j, st.s), k.z(st.j, st.s)) = std::tie(st.h, st.lehrer, st.zusatz);
    return k;
}

}  // namespace kernhilfe
