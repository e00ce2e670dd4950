#include "platform/core/posix/WaiterRecord.h"

#include <climits>
#include <sstream>
#include <string>

namespace platform::detail {

unsigned long long stat_start_time(std::string_view line)
{
    // The command name may hold blanks and parentheses: fields follow its last ')'.
    const std::size_t end = line.rfind(')');
    if (end == std::string_view::npos)
        return 0;
    std::istringstream fields(std::string(line.substr(end + 1)));
    std::string field;
    int i = 3;
    for (; i < 22 && fields >> field; ++i) { }
    unsigned long long start = 0;
    if (i < 22 || !(fields >> field) || field.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    try {
        start = std::stoull(field);
    } catch (...) {
        return 0;
    }
    return start;
}

std::vector<std::uint8_t> waiter_data(const std::optional<Waiter>& waiter)
{
    const std::string text = waiter ? std::to_string(waiter->pid) + " " + std::to_string(waiter->start) : "";
    std::vector<std::uint8_t> data;
    for (char c : text) {
        data.push_back(static_cast<std::uint8_t>(c));
        data.push_back(0);
    }
    data.insert(data.end(), { 0, 0 });
    return data;
}

std::optional<Waiter> parse_waiter(const std::vector<std::uint8_t>& data)
{
    std::string text;
    for (std::size_t i = 0; i + 1 < data.size() && data[i] != 0; i += 2)
        text += static_cast<char>(data[i]);
    std::istringstream in(text);
    Waiter waiter;
    long long pid = 0;
    if (!(in >> pid >> waiter.start) || pid <= 1 || pid > INT32_MAX)
        return std::nullopt;
    waiter.pid = static_cast<pid_t>(pid);
    return waiter;
}

}
