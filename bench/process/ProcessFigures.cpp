#include "bench/process/ProcessFigures.h"

#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>

namespace bench {

namespace {

// The number after "<key>:" in a /proc status file; 0 when missing.
std::uint64_t status_field(const std::string& path, const std::string& key)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, key.size() + 1, key + ":") == 0)
            return std::stoull(line.substr(key.size() + 1));
    }
    return 0;
}

}

ProcessCounts counts_of(pid_t pid)
{
    ProcessCounts counts;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return counts;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string task = tasks + "/" + entry->d_name;
        std::ifstream schedstat(task + "/schedstat");
        std::uint64_t on_cpu_ns = 0;
        if (schedstat >> on_cpu_ns)
            counts.cpu_seconds += double(on_cpu_ns) / 1e9;
        counts.wakeups += status_field(task + "/status", "voluntary_ctxt_switches");
    }
    closedir(dir);
    return counts;
}

double resident_mib(pid_t pid)
{
    return double(status_field("/proc/" + std::to_string(pid) + "/status", "VmRSS")) / 1024.0;
}

}
