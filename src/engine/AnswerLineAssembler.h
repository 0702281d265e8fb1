#pragma once

#include "platform/AppEvents.h"

#include <QByteArrayView>
#include <array>
#include <optional>
#include <vector>

// One answer of MPlayer's that the view cares about.
struct Answer {
    AppEventNumber number;
    long value;

    bool operator==(const Answer&) const = default;
};

// Assembles MPlayer's output into lines and classifies each finished line. Pure: the same bytes
// give the same answers however they are split between calls.
class AnswerLineAssembler {
public:
    // A longer line keeps its first this many bytes; its classification uses that prefix.
    static constexpr int kMaxLineBytes = 1023;

    std::optional<Answer> FeedByte(char byte);
    std::vector<Answer> Feed(QByteArrayView bytes);

private:
    std::optional<Answer> Classify() const;

    std::array<char, kMaxLineBytes> m_Line{};
    int m_Length = 0;
};
