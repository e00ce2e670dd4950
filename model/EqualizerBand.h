#pragma once

namespace os {
class XmlNode;
}

// One band of the equalizer as the user set it.
struct EqualizerBand {
    EqualizerBand() = default;
    EqualizerBand(double frequency, double gain, double width, bool active);

    // The attributes "Frequency", "Amplitude" (the gain), "Width" and "Active".
    void save(const os::XmlNode& element) const;
    // What is missing or unreadable keeps its value.
    void load(const os::XmlNode& element);

    double frequency { 0 }; // centre, Hz
    double gain { 0 }; // dB
    double width { 0 }; // octaves
    bool active { false }; // in the play chain
};
