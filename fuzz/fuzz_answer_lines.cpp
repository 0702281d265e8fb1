// Feeds arbitrary bytes to the answer reader's line assembler. The answers must not depend on how
// the bytes are split between reads, must look at no more than a line's first kMaxLineBytes
// bytes, and must agree with the C library's reading of the number (seconds: never below 0).

#include "FuzzCheck.h"
#include "engine/AnswerLineAssembler.h"
#include "engine/SlaveProtocol.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Answers = std::vector<Answer>;

Answers OneShot(std::string_view bytes) {
    AnswerLineAssembler lines;
    return lines.Feed(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

Answers ByteByByte(std::string_view bytes) {
    AnswerLineAssembler lines;
    Answers answers;
    for (char byte : bytes) {
        if (std::optional<Answer> answer = lines.FeedByte(byte))
            answers.push_back(*answer);
    }
    return answers;
}

// Reads of uneven sizes taken from the bytes themselves, as a pipe may deliver them.
Answers InChunks(std::string_view bytes) {
    AnswerLineAssembler lines;
    Answers answers;
    for (size_t pos = 0, n = 0; pos < bytes.size(); pos += n) {
        n = std::min<size_t>(uint8_t(bytes[(pos * 7) % bytes.size()]) % 37 + 1, bytes.size() - pos);
        const Answers part = lines.Feed(QByteArrayView(bytes.data() + pos, qsizetype(n)));
        answers.insert(answers.end(), part.begin(), part.end());
    }
    return answers;
}

// What atoi means, without its undefined overflow: strtol, then the range of seconds.
long SecondsClamped(const std::string& text) {
    return std::clamp<long>(std::strtol(text.c_str(), nullptr, 10), 0, INT_MAX);
}

// The expected answer of one line (its LF included), written from the reader's documented rules
// rather than from its code: zero bytes vanish, only the first kMaxLineBytes bytes count.
std::optional<Answer> Expected(std::string_view rawLine) {
    std::string line;
    for (char byte : rawLine) {
        if (byte != '\0' && line.size() < size_t(AnswerLineAssembler::kMaxLineBytes))
            line += byte;
    }
    if (line == "\n" || line == "\r\n")
        return Answer{WM_MP_BLANKLINE, 0};
    if (line.starts_with(SlaveProtocol::kAnsTimePosition))
        return Answer{WM_MP_TIMEPOS,
                      SecondsClamped(line.substr(SlaveProtocol::kAnsTimePosition.size()))};
    if (line.starts_with(SlaveProtocol::kAnsLength))
        return Answer{WM_MP_LENGTH, SecondsClamped(line.substr(SlaveProtocol::kAnsLength.size()))};
    return std::nullopt;
}

Answers ExpectedAnswers(std::string_view bytes) {
    Answers answers;
    for (size_t start = 0, end; (end = bytes.find('\n', start)) != std::string_view::npos;
         start = end + 1) {
        if (std::optional<Answer> answer = Expected(bytes.substr(start, end + 1 - start)))
            answers.push_back(*answer);
    }
    return answers;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Answers answers = OneShot(bytes);
    for (const Answer& answer : answers)
        FuzzCheck(answer.value >= 0 && answer.value <= INT_MAX, "a value is whole seconds");
    FuzzCheck(ByteByByte(bytes) == answers, "byte by byte gives the same answers");
    FuzzCheck(InChunks(bytes) == answers, "uneven reads give the same answers");
    FuzzCheck(ExpectedAnswers(bytes) == answers, "each line read as documented");
    return 0;
}
