#include "support/AsNobody.h"

#include <unistd.h>

namespace {
constexpr uid_t kNobody = 65534;
} // namespace

AsNobody::AsNobody() {
    if (geteuid() != 0) {
        m_bBound = true;
        return;
    }
    // The group first: once the user is nobody, the group can no longer change.
    if (setresgid(kNobody, kNobody, 0) != 0)
        return;
    if (setresuid(kNobody, kNobody, 0) != 0) {
        setresgid(0, 0, 0);
        return;
    }
    m_bSwitched = m_bBound = true;
}

AsNobody::~AsNobody() {
    if (!m_bSwitched)
        return;
    if (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0)
        _exit(99); // a test process stuck as nobody would fail everything after it
}
