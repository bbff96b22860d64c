#include "sim/FactorySettings.h"

#include "sim/ParameterMap.h"

namespace varkunda::sim {

PedalState FactoryState() {
    PedalState state;
    state.parameters = {
        0x00600000,  // Dry
        0x00400000,  // Sub Mix
        0x00600000,  // -1 Oct
        0x00200000,  // -2 Oct
        0x00600000,  // Wave: off
        12,          // Low Pass: step 12 of 24
        4,           // High Pass: step 4 of 16
        0x00000000,  // 1st Harmonic
        0,           // Split: off
        11,          // Range: step 11 of 22
        0x00400000,  // Input Level
        0x00400000,  // 1st Harmonic Pitch: 0 semitones
        0x00400000,  // Wave Clip
        0,           // Dominant Notes Cut
        0,           // High Notes Cut
        0x00000000,  // Dry HPF
        0,           // Limit Range UP
        0,           // Noise Gate Status
        0x00100000,  // Noise Gate Threshold
    };
    state.addressTable = BuiltInAddressTable();
    return state;
}

}  // namespace varkunda::sim
