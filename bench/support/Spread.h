#pragma once

#include <string>
#include <vector>

// The median and the range of a set of figures from interleaved rounds.
namespace bench {

struct Spread {
    double median = 0;
    double low = 0;
    double high = 0;
    std::size_t count = 0;
};

Spread spread_of(std::vector<double> values);

// Ours over theirs, round by round (the rounds ran interleaved, so each pair
// met the machine in the same state): the median and range of the ratios. A
// round whose reference figure is 0 counts as no ratio.
Spread ratio_spread(const std::vector<double>& ours, const std::vector<double>& theirs);

// "0.42 (0.40-0.45)", with the given decimals.
std::string format_spread(const Spread& spread, int decimals = 2);

}
