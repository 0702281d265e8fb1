#include "settings/ProgramVersion.h"

#include "RavoloVersion.h"

QString ProgramVersion::Text() const {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(versionMS >> 16)
        .arg(versionMS & 0xFFFF)
        .arg(versionLS >> 16)
        .arg(versionLS & 0xFFFF);
}

ProgramVersion ProgramVersion::FromBuild() {
    return {(uint32_t{RAVOLO_VERSION_MAJOR} << 16) | RAVOLO_VERSION_MINOR,
            (uint32_t{RAVOLO_VERSION_BUILD} << 16) | RAVOLO_VERSION_REVISION};
}
