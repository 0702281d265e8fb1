#include "engine/SlaveCommandText.h"

#include "engine/SlaveProtocol.h"

#include <cstdlib>

namespace {

QByteArray Concat(std::string_view prefix, const QByteArray& argument, std::string_view suffix) {
    return QByteArray(prefix.data(), static_cast<qsizetype>(prefix.size())) + argument +
           QByteArray(suffix.data(), static_cast<qsizetype>(suffix.size()));
}

bool IsControl(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value < 0x20 || value == 0x7F;
}

} // namespace

std::optional<QByteArray> SlaveCommandText::LoadFile(const QString& path) {
    const QByteArray bytes = path.toUtf8();
    if (bytes.endsWith('\\'))
        return std::nullopt;
    QByteArray quoted;
    quoted.reserve(bytes.size() * 2);
    for (char byte : bytes) {
        if (IsControl(byte))
            return std::nullopt;
        if (byte == '\\' || byte == '"')
            quoted += '\\';
        quoted += byte;
    }
    QByteArray line =
        Concat(SlaveProtocol::kLoadFilePrefix, quoted, SlaveProtocol::kLoadFileSuffix);
    if (line.size() > SlaveProtocol::kMaxCommandLineBytes)
        return std::nullopt;
    return line;
}

QByteArray SlaveCommandText::SetSpeed(int percent) {
    const long long magnitude = std::llabs(static_cast<long long>(percent));
    QByteArray number = QByteArray::number(magnitude / 100) + '.' +
                        QByteArray::number(magnitude % 100).rightJustified(2, '0');
    if (percent < 0)
        number.prepend('-');
    return Concat(SlaveProtocol::kSpeedSetPrefix,
                  number.rightJustified(SlaveProtocol::kSpeedFieldWidth, ' '),
                  SlaveProtocol::kSpeedSetSuffix);
}

QByteArray SlaveCommandText::SeekRelative(int seconds) {
    return Concat(SlaveProtocol::kSeekPrefix, QByteArray::number(seconds),
                  SlaveProtocol::kSeekRelativeSuffix);
}

QByteArray SlaveCommandText::SeekAbsolute(uint32_t seconds) {
    return Concat(SlaveProtocol::kSeekPrefix, QByteArray::number(seconds),
                  SlaveProtocol::kSeekAbsoluteSuffix);
}

QByteArray SlaveCommandText::ShowOsdText(const QByteArray& text) {
    return Concat(SlaveProtocol::kOsdShowTextPrefix, text, SlaveProtocol::kOsdShowTextSuffix);
}
