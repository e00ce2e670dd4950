#pragma once

#include "audio/PCMData.h"
#include "audio/Provider.h"

#include <string>

namespace audio {

class FileReader;
class RecordChain;

// The source of one file: its reader, and the decoder behind it for coded
// data. Owners link get_output into their pipeline and unlink it before
// deleting the chain.
class PlayChain {
public:
    virtual ~PlayChain() = default;

    // Where PCM comes out: the reader itself or its decoder.
    virtual Provider<PCMData>* get_output() = 0;
    virtual FileReader* get_reader() = 0;

    virtual void set_paused(bool) { }

    virtual bool is_paused() { return false; }

    // Whether the output is played through the PCM player.
    virtual bool has_pcm_output() { return true; }

    // Seconds of decoded audio that the reader's position has passed and the
    // output has not handed out yet.
    virtual double get_held_seconds() { return 0.0; }

    // Drops that audio: the reader has moved (a seek).
    virtual void drop_held() { }

    // "PCM", "ADPCM", "GSM", "Vorbis", "MPC", "mp3" or "WMA".
    virtual std::u16string get_format_name() = 0;
    virtual std::u16string get_title() = 0;

    // Links the reader straight to the record chain's writer when both use
    // the same coding, so its data is copied undecoded; false otherwise.
    virtual bool connect_to(RecordChain&) { return false; }
};

}
