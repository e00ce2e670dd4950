#pragma once

#include "audio/chains/PlayChain.h"
#include "liba/Path.h"

#include <memory>
#include <string>
#include <utility>

namespace audio {

// A play chain over one owned reader; the title is the file's name.
template<typename R>
class PlayChainReaderOnlyBase : public PlayChain {
public:
    PlayChainReaderOnlyBase(std::u16string name, std::unique_ptr<R> reader, const std::u16string& path)
        : m_name(std::move(name))
        , m_reader(std::move(reader))
        , m_title(liba::get_file_name(path))
    {
    }

    ~PlayChainReaderOnlyBase() override
    {
        // The reader may still feed a writer through connect_to.
        if (m_reader)
            connect(m_reader.get(), nullptr);
    }

    FileReader* get_reader() override { return m_reader.get(); }

    std::u16string get_format_name() override { return m_name; }

    std::u16string get_title() override { return m_title; }

protected:
    std::u16string m_name;
    std::unique_ptr<R> m_reader;
    std::u16string m_title;
};

}
