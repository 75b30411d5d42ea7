#pragma once

// The one place where the core's bytes become Qt's text and back. Project files and paths
// are UTF-8 on this system.

#include <QString>
#include <string>

inline QString toQString(const std::string &bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string toBytes(const QString &text)
{
    return text.toUtf8().toStdString();
}
