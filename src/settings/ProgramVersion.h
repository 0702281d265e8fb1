#pragma once

#include <QString>
#include <cstdint>

// The program's own file version as two words: major and minor in versionMS, build and revision
// in versionLS (high half first). All zero until read.
struct ProgramVersion {
    uint32_t versionMS = 0;
    uint32_t versionLS = 0;

    // "major.minor.build.revision"
    QString Text() const;
    // The version this program was built as.
    static ProgramVersion FromBuild();
};
