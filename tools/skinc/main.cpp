// orvanta-skinc: compiles a skin's XML source into a binary skin file.
//   orvanta-skinc [--zip] [--pictures FOLDER] SOURCE.xml OUTPUT.skin
// --zip wraps the skin in a stored zip archive as its one member; --pictures
// checks that every listed picture has a file in FOLDER. tools/README.md
// describes the source.
#include "tools/skinc/SkinLayout.h"
#include "tools/skinc/SkinSource.h"
#include "tools/skinc/StoredZip.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv)
{
    bool zip = false;
    std::string pictures;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--zip")
            zip = true;
        else if (arg == "--pictures" && i + 1 < argc)
            pictures = argv[++i];
        else
            files.push_back(arg);
    }
    if (files.size() != 2) {
        std::cerr << "usage: orvanta-skinc [--zip] [--pictures FOLDER] SOURCE.xml OUTPUT.skin\n";
        return 2;
    }
    std::ifstream in(files[0], std::ios::binary);
    if (!in) {
        std::cerr << files[0] << ": cannot be read\n";
        return 1;
    }
    const std::string xml { std::istreambuf_iterator<char>(in), {} };
    const skinc::ParseResult parsed = skinc::parse_skin(xml, pictures);
    if (!parsed.error.empty()) {
        std::cerr << files[0] << ": " << parsed.error << "\n";
        return 1;
    }
    skinc::LayoutResult laid_out = skinc::lay_out(parsed.skin);
    if (!laid_out.error.empty()) {
        std::cerr << files[0] << ": " << laid_out.error << "\n";
        return 1;
    }
    const std::filesystem::path output(files[1]);
    const std::vector<std::uint8_t> bytes
        = zip ? skinc::stored_zip(output.stem().string() + ".skin", laid_out.bytes) : laid_out.bytes;
    // Written beside the target and renamed, so a failed build leaves no half skin.
    const std::filesystem::path temporary = output.string() + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::cerr << temporary << ": cannot be written\n";
            return 1;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, output, error);
    if (error) {
        std::cerr << output << ": " << error.message() << "\n";
        return 1;
    }
    return 0;
}
