// Writes the demo school into the current directory.
#include <cstdio>
#include <exception>

#include "demo/demoschule.h"

int main() {
    try {
        nux::demoschuleschreiben();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "nux_demo: %s\n", e.what());
        return 1;
    }
    return 0;
}
