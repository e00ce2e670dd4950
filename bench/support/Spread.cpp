#include "bench/support/Spread.h"

#include <algorithm>
#include <cstdio>

namespace bench {

Spread spread_of(std::vector<double> values)
{
    Spread s;
    s.count = values.size();
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    s.low = values.front();
    s.high = values.back();
    return s;
}

Spread ratio_spread(const std::vector<double>& ours, const std::vector<double>& theirs)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < std::min(ours.size(), theirs.size()); ++i)
        if (theirs[i] != 0)
            ratios.push_back(ours[i] / theirs[i]);
    return spread_of(std::move(ratios));
}

std::string format_spread(const Spread& spread, int decimals)
{
    if (spread.count == 0)
        return "-";
    char text[96];
    std::snprintf(text, sizeof text, "%.*f (%.*f-%.*f)", decimals, spread.median, decimals, spread.low, decimals,
        spread.high);
    return text;
}

}
