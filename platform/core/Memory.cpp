#include "platform/core/Memory.h"

#include <atomic>
#include <cstdio>
#include <limits>
#include <string>

namespace platform {

namespace {

std::atomic<MemoryProbe> probe = nullptr;

constexpr uint64_t plenty = std::numeric_limits<uint64_t>::max();
constexpr std::size_t max_meminfo_bytes = 1 << 16;

uint64_t read_meminfo()
{
    FILE* file = std::fopen("/proc/meminfo", "re");
    if (!file)
        return plenty;
    std::string text(max_meminfo_bytes, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    return parse_meminfo(text);
}

}

uint64_t parse_meminfo(std::string_view text)
{
    constexpr std::string_view key = "MemAvailable:";
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (line.substr(0, key.size()) != key)
            continue;
        line.remove_prefix(key.size());
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty() || line.front() < '0' || line.front() > '9')
            return plenty;
        uint64_t kib = 0;
        for (char c : line) {
            if (c < '0' || c > '9')
                break;
            const uint64_t digit = static_cast<uint64_t>(c - '0');
            if (kib > (plenty / 1024 - digit) / 10)
                return plenty;
            kib = kib * 10 + digit;
        }
        return kib * 1024;
    }
    return plenty;
}

uint64_t available_physical_memory()
{
    MemoryProbe p = probe.load();
    return p ? p() : read_meminfo();
}

void set_memory_probe(MemoryProbe p)
{
    probe.store(p);
}

}
