#include "support/RecordingSink.h"

void RecordingSink::PostAnswer(AppEventNumber number, long value) {
    std::lock_guard lock(m_Mutex);
    m_Answers.push_back({number, value});
}

std::vector<Answer> RecordingSink::Answers() const {
    std::lock_guard lock(m_Mutex);
    return m_Answers;
}

int RecordingSink::Count(AppEventNumber number) const {
    return static_cast<int>(Values(number).size());
}

std::vector<long> RecordingSink::Values(AppEventNumber number) const {
    std::vector<long> values;
    for (const Answer& answer : Answers()) {
        if (answer.number == number)
            values.push_back(answer.value);
    }
    return values;
}
