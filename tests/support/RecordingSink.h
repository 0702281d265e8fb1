#pragma once

#include "engine/AnswerLineAssembler.h"
#include "engine/IAnswerSink.h"

#include <mutex>
#include <ostream>
#include <vector>

// Readable answers in test failures.
inline void PrintTo(const Answer& answer, std::ostream* out) {
    *out << "0x" << std::hex << answer.number << std::dec << "(" << answer.value << ")";
}

// Keeps every answer the engine posts, for tests without a view.
class RecordingSink : public IAnswerSink {
public:
    void PostAnswer(AppEventNumber number, long value) override;

    std::vector<Answer> Answers() const;
    int Count(AppEventNumber number) const;
    std::vector<long> Values(AppEventNumber number) const;

private:
    mutable std::mutex m_Mutex;
    std::vector<Answer> m_Answers;
};
