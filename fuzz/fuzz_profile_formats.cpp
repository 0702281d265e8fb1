// Reads arbitrary text with every profile value parser, and checks that whatever a parser accepts
// is written back to a text that reads as the same value. The same bytes also make values to
// write and read back, so the writers meet numbers the seeds never hold.

#include "FuzzCheck.h"
#include "settings/ProfileFormat.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

// Checked against the text itself: the path is everything after the third '|', and the size is
// the number the text spells, never one wrapped past 64 bits.
void CheckAcceptedEntry(QStringView text, const MediaItem& item) {
    qsizetype bars[3];
    for (qsizetype i = 0, from = 0; i < 3; from = bars[i++] + 1) {
        bars[i] = text.indexOf(u'|', from);
        FuzzCheck(bars[i] >= 0, "an accepted entry has three '|'");
    }
    FuzzCheck(text.sliced(bars[2] + 1) == item.path, "the path is all after the third '|'");
    QStringView digits = text.sliced(bars[1] + 1, bars[2] - bars[1] - 1);
    const bool negative = digits.contains(u'-');
    while (!digits.isEmpty() && (digits.front() < u'1' || digits.front() > u'9'))
        digits = digits.sliced(1); // blanks, the sign and leading zeros
    const uint64_t magnitude = negative ? uint64_t{0} - item.fileSize : item.fileSize;
    FuzzCheck(QString::number(magnitude) == (digits.isEmpty() ? u"0" : digits),
              "the size is the number written");
}

void ReadAndWriteBack(QStringView text) {
    if (const std::optional<MediaItem> item = ParseResumeEntry(text)) {
        CheckAcceptedEntry(text, *item);
        const QString written = FormatResumeEntry(*item);
        FuzzCheck(ParseResumeEntry(written) == item, "a resume entry reads back");
        FuzzCheck(FormatResumeEntry(*ParseResumeEntry(written)) == written,
                  "a written resume entry is stable");
    }
    if (const std::optional<WindowPlacementValues> placement = ParseWindowPos(text))
        FuzzCheck(ParseWindowPos(FormatWindowPos(*placement)) == placement, "WindowPos reads back");
    const FontSizeValues sizes = ParseFontSize(text);
    FuzzCheck(ParseFontSize(FormatFontSize(sizes)) == sizes, "FontSize reads back");
    if (const std::optional<ProgramVersion> version = ParseVersion(text))
        FuzzCheck(ParseVersion(version->Text()) == version, "Version reads back");
    if (const std::optional<uint32_t> number = ParseProfileInt(text)) {
        const int32_t word = static_cast<int32_t>(*number);
        FuzzCheck(ParseProfileInt(QString::number(word)) == number, "an integer reads back");
    }
}

void WriteAndReadBack(FuzzedDataProvider& values) {
    MediaItem item;
    item.kind = values.PickValueInArray({MediaItemKind::Drive, MediaItemKind::Folder,
                                         MediaItemKind::File, MediaItemKind::MissingFile});
    item.isAudio = values.ConsumeBool();
    item.fileSize = values.ConsumeIntegral<uint64_t>();
    item.positionSec = values.ConsumeIntegral<uint32_t>();
    const std::string path = values.ConsumeRandomLengthString(512);
    item.path = QString::fromUtf8(path.data(), qsizetype(path.size()));
    FuzzCheck(ParseResumeEntry(FormatResumeEntry(item)) == item, "any resume entry reads back");

    const auto next = [&values] { return values.ConsumeIntegral<int32_t>(); };
    const WindowPlacementValues placement{next(), next(), next(), next(), next(),
                                          next(), next(), next(), next(), next()};
    FuzzCheck(ParseWindowPos(FormatWindowPos(placement)) == placement, "any WindowPos reads back");
    const FontSizeValues sizes{next(), next(), next()};
    FuzzCheck(ParseFontSize(FormatFontSize(sizes)) == sizes, "any FontSize reads back");
    const ProgramVersion version{values.ConsumeIntegral<uint32_t>(),
                                 values.ConsumeIntegral<uint32_t>()};
    FuzzCheck(ParseVersion(version.Text()) == version, "any Version reads back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    ReadAndWriteBack(text);
    FuzzedDataProvider values(data, size);
    WriteAndReadBack(values);
    return 0;
}
