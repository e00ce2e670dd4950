#include "tests/skins/SkinSources.h"

#include "tests/support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace test {

std::string program_folder()
{
    return ORVANTA_PROGRAM_DIR;
}

std::vector<DefaultSkin> default_skins()
{
    namespace fs = std::filesystem;
    std::vector<DefaultSkin> skins;
    for (const auto& folder : fs::directory_iterator(ORVANTA_SKIN_SOURCES)) {
        if (!folder.is_directory())
            continue;
        for (const auto& file : fs::directory_iterator(folder.path())) {
            const std::string name = file.path().filename().string();
            const std::string suffix = ".skin.xml";
            if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
                continue;
            DefaultSkin entry;
            entry.source = file.path().string();
            entry.compiled = program_folder() + "/skins/" + folder.path().filename().string() + "/"
                + name.substr(0, name.size() - 4);
            skinc::ParseResult parsed = skinc::parse_skin(read_file(entry.source), folder.path().string());
            EXPECT_EQ(parsed.error, "") << entry.source;
            entry.skin = std::move(parsed.skin);
            skins.push_back(std::move(entry));
        }
    }
    std::sort(skins.begin(), skins.end(), [](const auto& a, const auto& b) { return a.source < b.source; });
    return skins;
}

}
