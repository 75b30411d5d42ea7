#pragma once

// The one place where the core's bytes become Qt's text and back. Project files and paths
// are UTF-8 on this system.

#include <QString>
#include <QStringDecoder>
#include <string>

inline QString toQString(const std::string &bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A stored value for the pages. Project files written on Windows hold their text in its
// code page: such a value, not valid UTF-8, reads as Windows-1252, as the published show
// reads it, instead of showing replacement marks. A field left alone is written back as it
// was read, whatever it shows.
inline QString toQStringFromStored(const std::string &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError())
        return text;
    // 0x80 to 0x9F are where Windows-1252 differs from Latin-1; 0 marks its five holes.
    static const char16_t high[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    text.clear();
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        const char16_t mapped = code >= 0x80 && code < 0xA0 ? high[code - 0x80] : code;
        text += QChar(mapped ? mapped : 0xFFFD);
    }
    return text;
}

inline std::string toBytes(const QString &text)
{
    return text.toUtf8().toStdString();
}
