#pragma once

#include <cstddef>
#include <string>
#include <vector>

// SoX in this process, through libsox, as the sox program runs it.
namespace bench::sox {

using Effect = std::vector<std::string>; // the effect's name, then its arguments

// Reads the file through the effects and drops what comes out, as
// "sox file -n effects..." does.
void run_effects(const std::string& path, const std::vector<Effect>& effects);

// Reads the file to the end; returns the samples read.
std::size_t read_to_end(const std::string& path);

// Writes the file again as a WAV file in the named encoding ("ms-adpcm",
// "gsm"), as "sox file -e encoding target" does.
void convert(const std::string& path, const std::string& target, const std::string& encoding);

}
