#pragma once

#include "tools/skinc/SkinSource.h"

#include <string>
#include <vector>

// The program's own skins: their sources in the repository and the compiled
// files in the program folder that the build assembles.
namespace test {

struct DefaultSkin {
    std::string source; // skins/<folder>/<name>.skin.xml
    std::string compiled; // <program>/skins/<folder>/<name>.skin
    skinc::SkinSource skin;
};

// Every skin source below the repository's "skins" folder, parsed; a source
// that does not parse fails the calling test.
std::vector<DefaultSkin> default_skins();

std::string program_folder();

}
