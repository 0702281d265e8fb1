#include "engine/AnswerLineAssembler.h"
#include "support/RecordingSink.h"

#include <QFile>
#include <climits>
#include <gtest/gtest.h>

namespace {

using Answers = std::vector<Answer>;

Answer Blank() {
    return {WM_MP_BLANKLINE, 0};
}
Answer TimePos(long seconds) {
    return {WM_MP_TIMEPOS, seconds};
}
Answer Length(long seconds) {
    return {WM_MP_LENGTH, seconds};
}

Answers FeedAll(QByteArrayView bytes) {
    AnswerLineAssembler lines;
    return lines.Feed(bytes);
}

struct LineCase {
    const char* name;
    QByteArray bytes;
    Answers expected;
};

class AnswerLines : public testing::TestWithParam<LineCase> {};

TEST_P(AnswerLines, ClassifyAsExpected) {
    EXPECT_EQ(FeedAll(GetParam().bytes), GetParam().expected);
}

const QByteArray kLongJunk(2000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Table, AnswerLines,
    testing::Values(
        LineCase{"FractionCutOff", "ANS_TIME_POSITION=83.4\r\n", {TimePos(83)}},
        LineCase{"LengthWithDecimals", "ANS_LENGTH=5400.00\r\n", {Length(5400)}},
        LineCase{"EmptyNumberIsZero", "ANS_LENGTH=\r\n", {Length(0)}},
        LineCase{"LinuxLineEnd", "ANS_TIME_POSITION=12.9\n", {TimePos(12)}},
        LineCase{
            "SignsAndSpaceLikeAtoi", "ANS_LENGTH= 7x\nANS_LENGTH=+42\n", {Length(7), Length(42)}},
        LineCase{"NegativeSecondsAreZero",
                 "ANS_TIME_POSITION=-3.2\nANS_LENGTH= -7x\n",
                 {TimePos(0), Length(0)}},
        LineCase{"HugeNumberSaturates", "ANS_LENGTH=99999999999\n", {Length(INT_MAX)}},
        LineCase{"BlankLineCrLf", "\r\n", {Blank()}}, LineCase{"BlankLineLfAlone", "\n", {Blank()}},
        LineCase{"SpaceIsNotBlank", " \r\n", {}},
        LineCase{"TwoCarriageReturnsAreNotBlank", "\r\r\n", {}},
        LineCase{"OtherAnswersIgnored", "ANS_FILENAME='a.avi'\nPlaying a.avi.\n", {}},
        LineCase{"PrefixMustStartTheLine", "xANS_LENGTH=5\n", {}},
        LineCase{"PrefixIsCaseSensitive", "ans_length=5\n", {}},
        LineCase{"NoLineFeedNoAnswer", "ANS_LENGTH=5\r", {}},
        LineCase{"ZeroBytesSkipped", QByteArray("ANS_LEN\0GTH=3\0\n", 15), {Length(3)}},
        LineCase{"ZeroBytesDoNotEndALine", QByteArray("\0\r\0\n", 4), {Blank()}},
        LineCase{"LongLineClassifiedByItsStart", "ANS_LENGTH=12" + kLongJunk + "\n", {Length(12)}},
        LineCase{"LongLineDropsItsTail", kLongJunk + "ANS_LENGTH=5\nANS_LENGTH=6\n", {Length(6)}},
        LineCase{"LongLineEndsAtItsLineFeed", kLongJunk + "\n\n", {Blank()}}),
    [](const testing::TestParamInfo<LineCase>& info) { return info.param.name; });

TEST(AnswerLineAssembler, LineOfExactlyTheLimitKeepsItsLineFeed) {
    // 1022 bytes and the LF fit; an answer at the start of the next line is seen.
    const QByteArray line = "ANS_LENGTH=1" + QByteArray(1010, ' ') + "\nANS_LENGTH=2\n";
    EXPECT_EQ(FeedAll(line), (Answers{Length(1), Length(2)}));
}

QByteArray RecordedSession() {
    QFile file(RAVOLO_SOURCE_DIR "/tests/data/mplayer-idle-play-quit.txt");
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// MPlayer 1.5: idle, loadfile (blank line), get_time_length, get_time_pos, end of the file
// (blank line), quit (blank line before "Exiting").
const Answers kRecordedAnswers{Blank(), Length(2), TimePos(0), Blank(), Blank()};

TEST(AnswerLineAssembler, RecordedMPlayerOutput) {
    EXPECT_EQ(FeedAll(RecordedSession()), kRecordedAnswers);
}

TEST(AnswerLineAssembler, RecordedOutputSplitAtEveryOffset) {
    const QByteArray session = RecordedSession();
    for (qsizetype offset = 0; offset <= session.size(); ++offset) {
        AnswerLineAssembler lines;
        Answers answers = lines.Feed(QByteArrayView(session).first(offset));
        const Answers rest = lines.Feed(QByteArrayView(session).sliced(offset));
        answers.insert(answers.end(), rest.begin(), rest.end());
        ASSERT_EQ(answers, kRecordedAnswers) << "split at " << offset;
    }
}

TEST(AnswerLineAssembler, ByteByByteEqualsWhole) {
    const QByteArray session = RecordedSession();
    AnswerLineAssembler lines;
    Answers answers;
    for (char byte : session) {
        if (std::optional<Answer> answer = lines.FeedByte(byte))
            answers.push_back(*answer);
    }
    EXPECT_EQ(answers, kRecordedAnswers);
}

} // namespace
