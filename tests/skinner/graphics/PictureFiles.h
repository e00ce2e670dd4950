#pragma once

#include "platform/ui/Color.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

// Picture files of a test, written by ImageMagick from pixel tables.
namespace test {

inline std::string image_format(const std::string& file)
{
    const std::string extension = file.substr(file.rfind('.') + 1);
    if (extension == "png")
        return "PNG24:";
    if (extension == "bmp")
        return "BMP3:";
    if (extension == "gif")
        return "GIF:";
    return "JPG:";
}

// The file (its format by its extension) of the rows, one pixel per character by the legend.
inline void make_picture(const TempDir& dir, const std::string& file, const std::vector<std::string>& rows,
    const std::map<char, platform::ColorRef>& legend)
{
    std::string text = "# ImageMagick pixel enumeration: " + std::to_string(rows.at(0).size()) + ","
        + std::to_string(rows.size()) + ",255,srgb\n";
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            const platform::ColorRef c = legend.at(rows[y][x]);
            text += std::to_string(x) + "," + std::to_string(y) + ": (" + std::to_string(c & 0xFF) + ","
                + std::to_string(c >> 8 & 0xFF) + "," + std::to_string(c >> 16 & 0xFF) + ")\n";
        }
    const std::string source = dir.write(file + ".txt", text);
    ASSERT_EQ(run_tool({ "convert", "txt:" + source, image_format(file) + dir.file(file) }).exit_code, 0)
        << file;
}

// A picture whose pixel (x, y) has red x * 8, green y * 8 and blue 200.
inline void make_coded_picture(const TempDir& dir, const std::string& file, int width, int height)
{
    ASSERT_EQ(run_tool({ "convert", "-size", std::to_string(width) + "x" + std::to_string(height), "xc:black",
                           "-channel", "R", "-fx", "i*8/255", "-channel", "G", "-fx", "j*8/255", "-channel",
                           "B", "-fx", "200/255", "+channel", image_format(file) + dir.file(file) })
                  .exit_code,
        0)
        << file;
}

inline platform::ColorRef coded_color(int x, int y)
{
    return platform::rgb(static_cast<std::uint8_t>(x * 8), static_cast<std::uint8_t>(y * 8), 200);
}

}
