#include "datetime/japanese_era.h"

#include <tuple>

namespace tavro::datetime {

int eraIndexOf(const CivilDate& day) {
    const auto key = [](const CivilDate& d) { return std::tie(d.year, d.month, d.day); };
    for (int e = static_cast<int>(kJapaneseEras.size()) - 1; e >= 0; --e)
        if (key(day) >= key(kJapaneseEras[static_cast<std::size_t>(e)].first)) return e;
    return -1;
}

}  // namespace tavro::datetime
