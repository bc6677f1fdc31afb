// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary cell texts to the number rules and checks what they promise.
#include "check.h"
#include "table/textops.h"

#include <QString>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace filmarin;

using filmarin::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const int width = data[0] % 40;
    const int decimals = data[1] % 25;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 2),
                                           static_cast<qsizetype>(size - 2));

    double value = 12345.0;
    const bool ok = parseReal(text, value);
    if (!ok) {
        check(value == 12345.0, "a rejected text leaves the value alone");
    } else {
        check(std::isfinite(value), "an accepted number is finite");
        // The C library must read the same text to the same number.
        QString copy = text;
        commaToPoint(copy);
        const std::string ascii = copy.toStdString();
        char* end = nullptr;
        const double c = std::strtod(ascii.c_str(), &end);
        const std::string mantissa = ascii.substr(0, ascii.find_first_of("eE"));
        const bool hasDigit = mantissa.find_first_of("0123456789") != std::string::npos;
        if (!hasDigit) {
            check(value == 0.0, "a lone point reads as 0");
        } else {
            check(end == ascii.c_str() + ascii.size(), "strtod reads the whole accepted text");
            check(c == value || (std::fabs(c) < 1e-300 && value == 0.0),
                  "strtod gives the same value");
        }

        const QString formatted = formatReal(value, width, decimals);
        check(formatted.size() >= width, "formatReal pads to the width");
        double back = 0.0;
        check(parseReal(formatted, back), "formatReal writes a number parseReal reads");
        if (decimals == 0)
            check(back == roundHalfEven(value) || (back == 0 && roundHalfEven(value) == 0),
                  "zero decimals give the value rounded half to even");
    }

    const WholeParse whole = parseWhole(text);
    check(whole.ok == ok || (ok && std::fabs(roundHalfEven(value)) >= 2147483647.0),
          "parseWhole accepts what parseReal accepts, within 32 bits");
    if (whole.ok)
        check(whole.notIntegral == (static_cast<double>(whole.value) != value),
              "notIntegral tells whether rounding changed the number");
    else
        check(whole.value == 0 && !whole.notIntegral, "a rejected whole number is 0");

    // Any double the bytes spell, NaN and infinities included, gets a defined text.
    if (size >= 2 + sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data + 2, sizeof raw);
        const QString t = formatReal(raw, width, decimals);
        check(!t.isEmpty(), "formatReal always writes something");
        double again = 0;
        check(parseReal(t, again) == std::isfinite(raw), "finite values read back, others not");
    }
    return 0;
}
