#pragma once

#include <QByteArray>
#include <optional>
#include <vector>

// Sets environment variables for a test (children started meanwhile see them) and restores
// the old values when it goes.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment();

    void Set(const char* name, const QByteArray& value);

private:
    struct Saved {
        const char* name;
        std::optional<QByteArray> value;
    };
    std::vector<Saved> m_Saved;
};
