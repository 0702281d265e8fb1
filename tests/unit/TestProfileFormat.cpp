#include "settings/ProfileFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(ProfileFormat, ReadsIntegersLikeScanf) {
    const struct {
        const char* text;
        std::optional<uint32_t> expected;
    } cases[] = {
        {"12", 12u},
        {"  \t12", 12u},
        {"+7", 7u},
        {"-1", 0xFFFFFFFFu},
        {"4294967295", 0xFFFFFFFFu},
        {"4294967296", 0u},
        {"18446744073709551617", 1u}, // beyond 64 bits the low 32 still count
        {"12abc", 12u},
        {"007", 7u},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"- 1", std::nullopt},
        {"0x10", 0u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseProfileInt(QString::fromLatin1(c.text)), c.expected) << c.text;
    EXPECT_EQ(ParseProfileInt(QString(u'1') + QString(1 << 20, u'0')), 0u);
}

TEST(ProfileFormat, ReadsTheVersion) {
    const struct {
        const char* text;
        std::optional<ProgramVersion> expected;
    } cases[] = {
        {"1.5.0.0", ProgramVersion{0x00010005, 0}},
        {"1.5.2.7", ProgramVersion{0x00010005, 0x00020007}},
        {" 1. 5. 0. 0", ProgramVersion{0x00010005, 0}},
        {"1.5.0.0.9", ProgramVersion{0x00010005, 0}},
        {"65537.0.0.0", ProgramVersion{0x00010000, 0}}, // shifted out, as the 32-bit sum does
        {"1.5.0", std::nullopt},
        {"1,5,0,0", std::nullopt},
        {"1.5..0", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseVersion(QString::fromLatin1(c.text)), c.expected) << c.text;
    EXPECT_EQ(ProgramVersion::FromBuild(), (ProgramVersion{0x00010005, 0}));
    EXPECT_EQ((ProgramVersion{0xFFFF0005, 0x00020007}).Text(), "65535.5.2.7");
}

TEST(ProfileFormat, ReadsFontSizesWithTwoOrThreeNumbers) {
    const struct {
        const char* text;
        FontSizeValues expected;
    } cases[] = {
        {"3:1", {3, 1, 40}},       {"1:2:70", {1, 2, 70}}, {"3", {2, 4, 40}},
        {"", {2, 4, 40}},          {"a:b", {2, 4, 40}},    {"3::1", {2, 4, 40}},
        {"7:-3", {7, -3, 40}},     {"3:1:x", {3, 1, 40}},  {"4294967295:9:0", {-1, 9, 0}},
        {" 3: 1: 50", {3, 1, 50}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseFontSize(QString::fromLatin1(c.text)), c.expected) << c.text;
    EXPECT_EQ(FormatFontSize({1, 2, 70}), "1:2:70");
    EXPECT_EQ(FormatFontSize({-1, 0, 100}), "-1:0:100");
}

TEST(ProfileFormat, ReadsTenWindowNumbers) {
    const WindowPlacementValues placement{2, 3, -1, -1, -8, -31, 100, 80, 740, 560};
    EXPECT_EQ(FormatWindowPos(placement), "2:3:-1:-1:-8:-31:100:80:740:560");
    EXPECT_EQ(ParseWindowPos(u"2:3:-1:-1:-8:-31:100:80:740:560"), placement);
    EXPECT_EQ(ParseWindowPos(u"2:3:-1:-1:-8:-31:100:80:740:560:9"), placement);
    EXPECT_EQ(ParseWindowPos(u"2:3:-1:-1:-8:-31:100:80:740"), std::nullopt);
    EXPECT_EQ(ParseWindowPos(u"2:3:-1:-1:-8:-31:100:80:740:"), std::nullopt);
    EXPECT_EQ(ParseWindowPos(u"2;3;-1;-1;-8;-31;100;80;740;560"), std::nullopt);
    EXPECT_EQ(ParseWindowPos(u""), std::nullopt);
}

MediaItem Item(QString path, MediaItemKind kind, bool audio, uint64_t size, uint32_t position) {
    return MediaItem{std::move(path), kind, audio, size, position};
}

TEST(ProfileFormat, ReadsResumeEntries) {
    const struct {
        QString text;
        std::optional<MediaItem> expected;
    } cases[] = {
        {"2|65|4096|/films/a.avi", Item("/films/a.avi", MediaItemKind::File, false, 4096, 65)},
        {"258|65|4096|/music/a.mp3", Item("/music/a.mp3", MediaItemKind::File, true, 4096, 65)},
        {"3|0|0|", Item("", MediaItemKind::MissingFile, false, 0, 0)},
        {"2|1|2|/odd|name|x.avi", Item("/odd|name|x.avi", MediaItemKind::File, false, 2, 1)},
        {"2|1|2||", Item("|", MediaItemKind::File, false, 2, 1)},
        {"2|1|2| lead.avi", Item(" lead.avi", MediaItemKind::File, false, 2, 1)},
        {" 2| 1| 2|p", Item("p", MediaItemKind::File, false, 2, 1)},
        {"2|1|18446744073709551615|p",
         Item("p", MediaItemKind::File, false, 0xFFFFFFFFFFFFFFFFu, 1)},
        {"2|4294967296|1|p", Item("p", MediaItemKind::File, false, 1, 0)},
        {"770|1|2|p", Item("p", MediaItemKind::File, true, 2, 1)},         // 0x302: kind 2, audio
        {"515|1|2|p", Item("p", MediaItemKind::MissingFile, false, 2, 1)}, // 0x203: bit 9 dropped
        {"-1|1|2|p", Item("p", static_cast<MediaItemKind>(255), true, 2, 1)},
        {QString::fromUtf8("2|9|9|/動画/第1話.mp4"),
         Item(QString::fromUtf8("/動画/第1話.mp4"), MediaItemKind::File, false, 9, 9)},
        // Malformed entries.
        {"2|65|4096", std::nullopt},
        {"2|65", std::nullopt},
        {"2|65|", std::nullopt},
        {"2 |65|4096|p", std::nullopt},
        {"2|65|x|p", std::nullopt},
        {"2|1|18446744073709551616|p", std::nullopt},
        {"|1|2|p", std::nullopt},
        {"garbage", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseResumeEntry(c.text), c.expected) << c.text.toStdString();
}

TEST(ProfileFormat, WritesResumeEntriesThatReadBack) {
    EXPECT_EQ(FormatResumeEntry(Item("/films/a.avi", MediaItemKind::File, false, 4096, 65)),
              "2|65|4096|/films/a.avi");
    EXPECT_EQ(FormatResumeEntry(Item("/music/a.mp3", MediaItemKind::File, true, 4096, 65)),
              "258|65|4096|/music/a.mp3");
    const MediaItem items[] = {
        Item("/odd|name|%1|x.avi", MediaItemKind::MissingFile, false, 18446744073709551615u,
             4294967295u),
        Item(QString::fromUtf8("/動画/第１話.mp4"), MediaItemKind::File, true, 0, 0),
        Item("", MediaItemKind::File, false, 1, 1),
        Item("/" + QString(1 << 20, u'x'), MediaItemKind::File, false, 5, 6),
    };
    for (const MediaItem& item : items)
        EXPECT_EQ(ParseResumeEntry(FormatResumeEntry(item)), item);
}

} // namespace
