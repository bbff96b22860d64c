#include "link/backends/BackendFactory.h"

#include "link/backends/SerialPortD2xx.h"
#include "link/backends/SimulatedD2xx.h"
#include "link/backends/VendorD2xx.h"

namespace varkunda::link {
namespace {

// Pedals with serial numbers VKTZ5001, VKTZ5002, ...
std::vector<sim::PedalIdentity> SimulatedIdentities(unsigned count) {
    std::vector<sim::PedalIdentity> identities(count);
    for (unsigned i = 0; i < count; ++i) {
        const std::string number = std::to_string(i + 1);
        identities[i].serialNumber = "VKTZ50" + std::string(2 - number.size(), '0') + number;
    }
    return identities;
}

}  // namespace

std::unique_ptr<D2xx> CreateBackend(const BackendChoice& choice, std::string& error) {
    if (!choice.error.empty()) {
        error = choice.error;
        return nullptr;
    }
    switch (choice.kind) {
        case BackendKind::Simulated: {
            auto simulated = std::make_unique<SimulatedD2xx>(SimulatedIdentities(choice.simulatedPedals));
            // The software pedal keeps the real link's pace when a person uses it.
            for (std::size_t i = 0; i < simulated->pedalCount(); ++i) simulated->pedal(i)->setPacing(true);
            return simulated;
        }
        case BackendKind::Serial:
            return std::make_unique<SerialPortD2xx>(CreateQtSerialPortSystem(), choice.serialPort);
        case BackendKind::Vendor:
            return VendorD2xx::Load(choice.vendorLibrary, error);
        case BackendKind::Auto: {
            std::string vendorError;
            if (auto vendor = VendorD2xx::Load({}, vendorError)) return vendor;
            return std::make_unique<SerialPortD2xx>(CreateQtSerialPortSystem());
        }
    }
    error = "No device backend was chosen.";
    return nullptr;
}

}  // namespace varkunda::link
