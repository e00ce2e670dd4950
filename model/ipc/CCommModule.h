#pragma once

#include <cstdint>
#include <string>

// A named end of the Today item's channel: the class name of the server's
// window, and the application and program file that start the server.
class CCommModule {
public:
    // start_visible false starts the server with "-hide".
    CCommModule(
        std::u16string name, std::u16string application_name, std::u16string program_file, bool start_visible)
        : m_name(std::move(name))
        , m_application_name(std::move(application_name))
        , m_program_file(std::move(program_file))
        , m_start_visible(start_visible)
    {
    }

    virtual ~CCommModule() = default;
    CCommModule(const CCommModule&) = delete;
    CCommModule& operator=(const CCommModule&) = delete;

    // Has the server run the command; 1 when it did and answered nonzero.
    virtual std::int32_t Send(std::int32_t) { return 0; }

    const std::u16string& get_name() const { return m_name; }

    const std::u16string& get_application_name() const { return m_application_name; }

    const std::u16string& get_program_file() const { return m_program_file; }

    bool get_start_visible() const { return m_start_visible; }

private:
    std::u16string m_name;
    std::u16string m_application_name;
    std::u16string m_program_file;
    bool m_start_visible;
};
