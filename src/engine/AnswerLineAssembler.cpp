#include "engine/AnswerLineAssembler.h"

#include "engine/SlaveProtocol.h"

#include <algorithm>
#include <climits>
#include <string_view>

namespace {

struct AnswerPrefix {
    std::string_view prefix;
    AppEventNumber number;
};

constexpr AnswerPrefix kAnswerPrefixes[] = {
    {SlaveProtocol::kAnsTimePosition, WM_MP_TIMEPOS},
    {SlaveProtocol::kAnsLength, WM_MP_LENGTH},
};

bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Like atoi: leading white space, an optional sign, digits up to the first non-digit; a fraction
// is cut off. Both answers are seconds: a negative one counts as 0 (stored unsigned it would be
// a position far past the end); a huge one saturates instead of overflowing.
long LeadingSeconds(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = std::min<long long>(magnitude * 10 + (text[i] - '0'), 1LL + INT_MAX);
    const long long value = negative ? -magnitude : magnitude;
    return static_cast<long>(std::clamp<long long>(value, 0, INT_MAX));
}

} // namespace

std::optional<Answer> AnswerLineAssembler::FeedByte(char byte) {
    if (byte == '\0')
        return std::nullopt;
    if (m_Length < kMaxLineBytes)
        m_Line[m_Length++] = byte;
    if (byte != '\n')
        return std::nullopt;
    std::optional<Answer> answer = Classify();
    m_Length = 0;
    return answer;
}

std::vector<Answer> AnswerLineAssembler::Feed(QByteArrayView bytes) {
    std::vector<Answer> answers;
    for (char byte : bytes) {
        if (std::optional<Answer> answer = FeedByte(byte))
            answers.push_back(*answer);
    }
    return answers;
}

std::optional<Answer> AnswerLineAssembler::Classify() const {
    const std::string_view line(m_Line.data(), m_Length);
    // MPlayer on Linux ends its lines with LF alone; a blank line may come either way.
    if (line == "\n" || line == "\r\n")
        return Answer{WM_MP_BLANKLINE, 0};
    for (const AnswerPrefix& row : kAnswerPrefixes) {
        if (line.starts_with(row.prefix))
            return Answer{row.number, LeadingSeconds(line.substr(row.prefix.size()))};
    }
    return std::nullopt;
}
