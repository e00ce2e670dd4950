// A stand-in for a program that the system launches: it writes the
// arguments it received, each followed by a zero byte, to the file named by
// ORVANTA_ARGV_LOG. The file appears whole (renamed into place) so that a
// test may wait for it.
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    const char* log = std::getenv("ORVANTA_ARGV_LOG");
    if (!log)
        return 2;
    std::string temp = std::string(log) + ".part";
    FILE* out = std::fopen(temp.c_str(), "wb");
    if (!out)
        return 1;
    for (int i = 1; i < argc; ++i)
        std::fwrite(argv[i], 1, std::string(argv[i]).size() + 1, out);
    if (std::fclose(out) != 0)
        return 1;
    return std::rename(temp.c_str(), log) == 0 ? 0 : 1;
}
