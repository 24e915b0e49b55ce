// The one edge between the core's values and Qt's. Core texts are Latin-1
// bytes (a character beyond Latin-1 held as latin1.h describes), messages
// UTF-8, file names the byte strings Linux keeps, colours red + 256 * green
// + 65536 * blue.
#pragma once

#include "core/document/latin1.h"

#include <QColor>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tafelbau {

inline QString fromLatin1(std::string_view latin1)
{
    if (latin1.find(kWideMark) != std::string_view::npos)
        return QString::fromStdString(latin1ToUtf8(latin1));
    return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}

/// A character above 255 is kept (see latin1.h), not turned into "?": a
/// UTF-8 list stores it.
inline std::string toLatin1(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() > 0xFF)
            return utf8ToLatin1(text.toStdString());
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

inline QString fromUtf8(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string toUtf8(const QString &text)
{
    return text.toStdString();
}

inline QString fromPath(const std::filesystem::path &path)
{
    return fromUtf8(path.native());
}

/// Records hold CR LF, text widgets LF.
inline QString multiLineFromLatin1(std::string_view latin1)
{
    return fromLatin1(latin1).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

/// Every line break a widget may hold (LF, CR, CR LF) becomes CR LF.
inline std::string multiLineToLatin1(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return toLatin1(t.replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

inline QColor colourOf(std::uint32_t number)
{
    return QColor(static_cast<int>(number & 0xFF), static_cast<int>((number >> 8) & 0xFF),
                  static_cast<int>((number >> 16) & 0xFF));
}

inline std::uint32_t colourNumber(const QColor &colour)
{
    return static_cast<std::uint32_t>(colour.red() + 256 * colour.green() + 65536 * colour.blue());
}

} // namespace tafelbau
