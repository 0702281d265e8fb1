#include "settings/ProfileFormat.h"

#include <array>
#include <limits>

namespace {

// Reads numbers and separators from the front of a text the way scanf does.
class TextScanner {
public:
    explicit TextScanner(QStringView text) : m_Text(text) {}

    // "%d" or "%u": the value wraps to 32 bits, as both conversions store it.
    std::optional<uint32_t> Number32() {
        const std::optional<uint64_t> value = Number(false);
        if (!value)
            return std::nullopt;
        return static_cast<uint32_t>(*value);
    }

    // "%I64u": nullopt when the digits exceed 64 bits, rather than a silently wrong size.
    std::optional<uint64_t> Number64() { return Number(true); }

    bool Skip(QChar separator) {
        if (m_Pos >= m_Text.size() || m_Text[m_Pos] != separator)
            return false;
        ++m_Pos;
        return true;
    }

    QStringView Rest() const { return m_Text.sliced(m_Pos); }

private:
    static bool IsBlank(QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
    bool IsDigitAt(qsizetype pos) const {
        return pos < m_Text.size() && m_Text[pos] >= u'0' && m_Text[pos] <= u'9';
    }

    std::optional<uint64_t> Number(bool refuseOverflow) {
        qsizetype pos = m_Pos;
        while (pos < m_Text.size() && IsBlank(m_Text[pos]))
            ++pos;
        const bool negative = pos < m_Text.size() && m_Text[pos] == u'-';
        if (pos < m_Text.size() && (m_Text[pos] == u'-' || m_Text[pos] == u'+'))
            ++pos;
        if (!IsDigitAt(pos))
            return std::nullopt;
        constexpr uint64_t maximum = std::numeric_limits<uint64_t>::max();
        uint64_t value = 0;
        bool overflow = false;
        for (; IsDigitAt(pos); ++pos) {
            const unsigned digit = m_Text[pos].unicode() - u'0';
            overflow = overflow || value > (maximum - digit) / 10;
            value = value * 10 + digit; // wraps modulo 2^64; the 32-bit readers keep the low bits
        }
        m_Pos = pos;
        if (overflow && refuseOverflow)
            return std::nullopt;
        return negative ? uint64_t{0} - value : value;
    }

    QStringView m_Text;
    qsizetype m_Pos = 0;
};

// Reads up to N numbers separated by one character; returns how many were read.
template <std::size_t N>
std::size_t ScanNumbers(QStringView text, QChar separator, std::array<uint32_t, N>& numbers) {
    TextScanner scanner(text);
    std::size_t count = 0;
    while (count < N && (count == 0 || scanner.Skip(separator))) {
        const std::optional<uint32_t> number = scanner.Number32();
        if (!number)
            break;
        numbers[count++] = *number;
    }
    return count;
}

QString JoinNumbers(std::initializer_list<int32_t> numbers) {
    QString text;
    for (const int32_t number : numbers) {
        if (!text.isEmpty())
            text += u':';
        text += QString::number(number);
    }
    return text;
}

constexpr int32_t AudioFlag = 0x100;

} // namespace

std::optional<uint32_t> ParseProfileInt(QStringView text) {
    return TextScanner(text).Number32();
}

std::optional<ProgramVersion> ParseVersion(QStringView text) {
    std::array<uint32_t, 4> n{};
    if (ScanNumbers(text, u'.', n) != n.size())
        return std::nullopt;
    return ProgramVersion{(n[0] << 16) + n[1], (n[2] << 16) + n[3]};
}

FontSizeValues ParseFontSize(QStringView text) {
    std::array<uint32_t, 3> n{};
    const std::size_t count = ScanNumbers(text, u':', n);
    if (count < 2)
        return {};
    FontSizeValues values{static_cast<int32_t>(n[0]), static_cast<int32_t>(n[1])};
    if (count == 3)
        values.pad = static_cast<int32_t>(n[2]);
    return values;
}

QString FormatFontSize(const FontSizeValues& values) {
    return JoinNumbers({values.normal, values.full, values.pad});
}

std::optional<WindowPlacementValues> ParseWindowPos(QStringView text) {
    std::array<uint32_t, 10> n{};
    if (ScanNumbers(text, u':', n) != n.size())
        return std::nullopt;
    auto at = [&n](std::size_t i) { return static_cast<int32_t>(n[i]); };
    return WindowPlacementValues{at(0), at(1), at(2), at(3), at(4),
                                 at(5), at(6), at(7), at(8), at(9)};
}

QString FormatWindowPos(const WindowPlacementValues& v) {
    return JoinNumbers(
        {v.flags, v.showCmd, v.minX, v.minY, v.maxX, v.maxY, v.left, v.top, v.right, v.bottom});
}

std::optional<MediaItem> ParseResumeEntry(QStringView text) {
    TextScanner scanner(text);
    const std::optional<uint32_t> packedKind = scanner.Number32();
    const std::optional<uint32_t> position =
        packedKind && scanner.Skip(u'|') ? scanner.Number32() : std::nullopt;
    const std::optional<uint64_t> size =
        position && scanner.Skip(u'|') ? scanner.Number64() : std::nullopt;
    if (!size || !scanner.Skip(u'|'))
        return std::nullopt;
    MediaItem item;
    item.kind = static_cast<MediaItemKind>(*packedKind & 0xFFu);
    item.isAudio = (*packedKind & AudioFlag) != 0;
    item.positionSec = *position;
    item.fileSize = *size;
    item.path = scanner.Rest().toString();
    return item;
}

QString FormatResumeEntry(const MediaItem& item) {
    const int32_t packedKind = static_cast<int32_t>(item.kind) + (item.isAudio ? AudioFlag : 0);
    return QString::number(packedKind) + u'|' + QString::number(item.positionSec) + u'|' +
           QString::number(item.fileSize) + u'|' + item.path;
}
