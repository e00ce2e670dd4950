#pragma once

#include <string>
#include <string_view>

namespace test {

// A fresh folder under $TMPDIR, removed with everything in it on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }

    // path() + "/" + name
    std::string file(const std::string& name) const;
    // Writes bytes to a file inside the folder and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
};

std::string read_file(const std::string& path);
// The bytes of a text file as the program writes them: the mark FF FE, then UTF-16LE.
std::string utf16le_file(std::u16string_view text);
// A committed fixture below tests/fixtures.
std::string fixture(const std::string& relative);

}
