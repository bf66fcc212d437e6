#include "datetime/date_format.h"

#include <cmath>
#include <cstdio>

namespace tavro::datetime {

std::string formatDateTime(DateValue value) {
    // Checked before toCivil, whose integer conversion has no meaning for huge values.
    if (!std::isfinite(value) || value < makeDate(100, 1, 1) - 1.0 || value > makeDate(10000, 1, 1) + 1.0)
        return kNoTargetText;
    const CivilDateTime c = toCivil(value);
    if (c.year < 100 || c.year > 9999) return kNoTargetText;
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour, c.minute,
                  c.second);
    return text;
}

}  // namespace tavro::datetime
