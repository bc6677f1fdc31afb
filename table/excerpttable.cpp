// SPDX-License-Identifier: GPL-3.0-or-later
#include "excerpttable.h"

#include "textops.h"

#include <cmath>
#include <limits>

namespace filmarin {

void ExcerptTable::init() {
    startTimes.fill(0.0);
    stopTimes.fill(0.0);
    titleNumbers.fill(1);
    headings.fill(QStringLiteral(" "));
}

void clearSpans(ExcerptSpans& spans) {
    spans.fill(ExcerptSpan{});
}

std::optional<std::int32_t> secondsOf(double hours, double minutes, double seconds) {
    double sum = hours * 3600.0;
    sum = sum + minutes * 60.0;
    sum = sum + seconds;
    const double rounded = roundHalfEven(sum);
    if (!std::isfinite(rounded) ||
        rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

HoursMinutesSeconds splitSeconds(std::int64_t total) {
    HoursMinutesSeconds hms;
    hms.hours = total / 3600;
    const std::int64_t rest = total % 3600;
    hms.minutes = rest / 60;
    hms.seconds = rest % 60;
    return hms;
}

} // namespace filmarin
