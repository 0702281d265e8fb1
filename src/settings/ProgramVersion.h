#pragma once

#include <QString>
#include <cstdint>

// The program's own version as two 32-bit words: major:minor in versionMS, build:revision in
// versionLS, 16 bits each.
struct ProgramVersion {
    uint32_t versionMS = 0;
    uint32_t versionLS = 0;

    QString Text() const; // "major.minor.build.revision"
    static ProgramVersion FromBuild();

    bool operator==(const ProgramVersion&) const = default;
};
