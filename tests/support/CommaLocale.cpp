#include "support/CommaLocale.h"

#include <QFile>
#include <QProcess>
#include <clocale>
#include <cstring>

namespace {

constexpr char kLocaleName[] = "de_DE.UTF-8";
constexpr char kNumericOnlySource[] = "LC_NUMERIC\n"
                                      "decimal_point \",\"\n"
                                      "thousands_sep \".\"\n"
                                      "grouping 3;3\n"
                                      "END LC_NUMERIC\n";

} // namespace

CommaLocale::CommaLocale() : m_OldLocale(std::setlocale(LC_NUMERIC, nullptr)) {
    m_bActive = Activate() || (CompileLocale() && Activate());
    if (!m_bActive && m_strReason.isEmpty())
        m_strReason = QString("no locale %1 and none could be compiled").arg(kLocaleName);
}

CommaLocale::~CommaLocale() {
    std::setlocale(LC_NUMERIC, m_OldLocale.constData());
}

bool CommaLocale::Activate() {
    return std::setlocale(LC_NUMERIC, kLocaleName) != nullptr &&
           std::strcmp(std::localeconv()->decimal_point, ",") == 0;
}

bool CommaLocale::CompileLocale() {
    m_Dir = std::make_unique<QTemporaryDir>();
    QFile source(m_Dir->filePath("comma.src"));
    if (!source.open(QIODevice::WriteOnly) || source.write(kNumericOnlySource) < 0)
        return false;
    source.close();
    // glibc looks the name up with its codeset normalised ("utf8"). localedef warns about the
    // categories the source leaves out and exits non-zero, but writes the locale.
    QProcess localedef;
    localedef.start("localedef",
                    {"-c", "-i", source.fileName(), "-f", "UTF-8", m_Dir->filePath("de_DE.utf8")});
    localedef.waitForFinished(60000);
    if (!QFile::exists(m_Dir->filePath("de_DE.utf8/LC_NUMERIC"))) {
        m_strReason = "localedef could not compile a comma locale";
        return false;
    }
    m_Environment.Set("LOCPATH", QFile::encodeName(m_Dir->path()));
    return true;
}
