#pragma once

#include <cstdio>
#include <cstdlib>

// An invariant of a harness. Fails loudly in every build type, unlike assert, so libFuzzer keeps
// the input that broke it.
inline void FuzzCheck(bool condition, const char* invariant) {
    if (condition)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    std::abort();
}
