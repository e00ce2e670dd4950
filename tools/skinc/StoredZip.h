#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skinc {

// A zip archive holding one member, stored without compression.
std::vector<std::uint8_t> stored_zip(const std::string& member_name, const std::vector<std::uint8_t>& data);

}
