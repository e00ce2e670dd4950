#pragma once

#include "audio/Consumer.h"
#include "audio/PCMData.h"

#include <string>

namespace audio {

class DecoderMPC;
class DecoderVorbis;
class Encoder;
class FileReaderMP3;
class FileReaderWAVADPCM;
class FileReaderWAVGSM;
class FileReaderWAVPCM;
class FileWriter;

// The sink of one recording: its encoder (none for PCM) and file writer.
// Deleting the chain completes the file.
class RecordChain {
public:
    virtual ~RecordChain() = default;

    virtual Encoder* get_encoder() = 0;
    // Where PCM goes in.
    virtual Consumer<PCMData>* get_input() = 0;
    virtual FileWriter* get_writer() = 0;
    virtual std::u16string get_format_name() = 0;

    // The overload for the reader of the chain's own coding links that
    // reader to the writer and answers true; the others refuse.
    virtual bool connect_reader(DecoderMPC*) { return false; }

    virtual bool connect_reader(DecoderVorbis*) { return false; }

    virtual bool connect_reader(FileReaderWAVGSM*) { return false; }

    virtual bool connect_reader(FileReaderWAVADPCM*) { return false; }

    virtual bool connect_reader(FileReaderWAVPCM*) { return false; }

    virtual bool connect_reader(FileReaderMP3*) { return false; }

protected:
    // Unlinks whatever still feeds a node of the chain, so that nothing
    // pushes into it once it is gone.
    template<typename T>
    static void unlink_upstream(Consumer<T>& consumer)
    {
        Provider<T>* provider = consumer.get_provider();
        if (provider && provider->get_consumer() == &consumer)
            connect(provider, nullptr);
    }
};

}
