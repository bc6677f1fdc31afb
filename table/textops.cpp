// SPDX-License-Identifier: GPL-3.0-or-later
#include "textops.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace filmarin {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Checks the number grammar on plain ASCII text and converts it. Returns false for every
// text outside the grammar and for magnitudes beyond the largest Double.
bool convertNumber(const std::string& s, double& out) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;
    std::size_t digits = 0;
    bool point = false;
    // Decimal exponent of the first significant digit, to tell overflow from underflow.
    long long leadExponent = 0;
    bool seenSignificant = false;
    long long integerDigits = 0;
    long long fractionZeros = 0;
    while (i < n && (isDigit(s[i]) || (s[i] == '.' && !point))) {
        if (s[i] == '.') {
            point = true;
        } else {
            ++digits;
            if (!point) {
                if (seenSignificant || s[i] != '0') {
                    seenSignificant = true;
                    ++integerDigits;
                }
            } else if (!seenSignificant) {
                if (s[i] == '0')
                    ++fractionZeros;
                else
                    seenSignificant = true;
            }
        }
        ++i;
    }
    const std::size_t mantissaEnd = i;
    // A lone point reads as 0; a sign with nothing after it is no number.
    if (digits == 0 && !point)
        return false;
    long long exponent = 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < n && (s[i] == '+' || s[i] == '-')) {
            expNegative = s[i] == '-';
            ++i;
        }
        if (i >= n || !isDigit(s[i]))
            return false;
        while (i < n && isDigit(s[i])) {
            if (exponent < 100000)
                exponent = exponent * 10 + (s[i] - '0');
            ++i;
        }
        if (expNegative)
            exponent = -exponent;
    }
    if (i != n)
        return false;
    if (digits == 0 || !seenSignificant) {
        out = negative ? -0.0 : 0.0;
        return true;
    }
    leadExponent = integerDigits > 0 ? integerDigits - 1 : -(fractionZeros + 1);

    // from_chars takes neither a sign nor a point without digits on one side.
    std::string plain = "0";
    plain.append(s, mantissaStart, mantissaEnd - mantissaStart);
    if (plain.back() == '.')
        plain += '0';
    plain += 'e';
    plain += std::to_string(exponent);

    double value = 0.0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (leadExponent + exponent > 0)
            return false; // beyond the largest Double
        value = 0.0;      // too small to tell from zero
    } else if (ec != std::errc() || end != plain.data() + plain.size()) {
        return false;
    }
    if (std::isinf(value))
        return false;
    out = negative ? -value : value;
    return true;
}

} // namespace

double roundHalfEven(double value) {
    // std::nearbyint follows the current rounding mode, which is round-to-nearest-even
    // unless someone changed it; do the rounding explicitly so it never depends on that.
    if (!std::isfinite(value))
        return value;
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

bool parseReal(const QString& text, double& value) {
    QString copy = text;
    commaToPoint(copy);
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(copy.size()));
    for (const QChar c : copy) {
        if (c.unicode() > 127)
            return false;
        ascii += static_cast<char>(c.unicode());
    }
    double result = 0.0;
    if (!convertNumber(ascii, result))
        return false;
    value = result;
    return true;
}

WholeParse parseWhole(const QString& text) {
    WholeParse r;
    double number = 0.0;
    if (!parseReal(text, number))
        return r;
    const double rounded = roundHalfEven(number);
    if (rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return r;
    r.ok = true;
    r.value = static_cast<std::int32_t>(rounded);
    r.notIntegral = rounded != number;
    return r;
}

QString formatReal(double value, int width, int decimals) {
    QString text;
    if (std::isnan(value)) {
        text = QStringLiteral("NAN");
    } else if (std::isinf(value)) {
        text = value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    } else {
        if (decimals < 0)
            decimals = 0;
        if (decimals > 18)
            decimals = 18;
        // 309 digits before the point at most, the sign, the point and the decimals.
        std::array<char, 400> buffer{};
        const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                             std::chars_format::fixed, decimals);
        if (ec != std::errc())
            return QStringLiteral("NAN");
        std::string s(buffer.data(), end);
        // A value that rounds to zero is written without a sign.
        if (!s.empty() && s.front() == '-' && s.find_first_not_of("0.", 1) == std::string::npos)
            s.erase(0, 1);
        text = QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
    }
    if (width > text.size())
        text = QString(width - text.size(), QLatin1Char(' ')) + text;
    pointToComma(text);
    return text;
}

void commaToPoint(QString& text) {
    const qsizetype p = text.indexOf(QLatin1Char(','));
    if (p >= 0)
        text[p] = QLatin1Char('.');
}

void pointToComma(QString& text) {
    const qsizetype p = text.indexOf(QLatin1Char('.'));
    if (p >= 0)
        text[p] = QLatin1Char(',');
}

QString textFrom(const QString& text, int position) {
    if (position < 1)
        position = 1;
    if (position > text.size())
        return {};
    return text.mid(position - 1);
}

void trimBlanks(QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 32)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 32)
        --last;
    text = text.mid(first, last - first);
}

QString replaceBlanks(const QString& text, const QString& replacement) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char(' '))
            result += replacement;
        else
            result += c;
    }
    return result;
}

bool equalsIgnoreCase(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return false;
    const auto fold = [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'a' && u <= u'z') ? static_cast<char16_t>(u - 32) : u;
    };
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (fold(a.at(i)) != fold(b.at(i)))
            return false;
    }
    return true;
}

void splitAt(QString& text, int position, QString& head) {
    if (position < 1) {
        head.clear();
        return;
    }
    if (position < text.size()) {
        head = text.left(position - 1);
        text = text.mid(position);
    } else {
        head = text;
        text.clear();
    }
}

SplitParts splitBySeparator(const QString& text, QChar separator) {
    SplitParts parts;
    QString rest = text;
    trimBlanks(rest);
    parts.first = rest;
    qsizetype p = rest.indexOf(separator);
    if (p >= 0) {
        splitAt(rest, static_cast<int>(p + 1), parts.first);
        trimBlanks(rest);
        parts.second = rest;
        parts.count = 1;
        const qsizetype q = rest.indexOf(separator);
        if (q >= 0) {
            splitAt(rest, static_cast<int>(q + 1), parts.second);
            trimBlanks(rest);
            parts.third = rest;
            parts.count = 2;
        }
    }
    return parts;
}

} // namespace filmarin
