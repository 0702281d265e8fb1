#pragma once

// Makes file permissions bind this process while this object lives, even when the tests run as
// root: the process takes the user "nobody" as its real and effective user and group, keeps
// root only as its saved user, and returns to root at the end. What it should reach meanwhile
// must be open to others.
class AsNobody {
public:
    AsNobody();
    ~AsNobody();
    AsNobody(const AsNobody&) = delete;
    AsNobody& operator=(const AsNobody&) = delete;

    // True when permissions bind now: switched, or an ordinary user already.
    bool IsBound() const { return m_bBound; }

private:
    bool m_bSwitched = false;
    bool m_bBound = false;
};
