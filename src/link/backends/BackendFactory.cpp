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

CreatedBackend CreateBackend(const BackendChoice& choice) {
    if (choice.error) return {nullptr, choice.error};
    switch (choice.kind) {
        case BackendKind::Simulated: {
            auto simulated =
                std::make_unique<SimulatedD2xx>(SimulatedIdentities(choice.simulatedPedals));
            // The software pedal keeps the real link's pace when a person uses it.
            for (std::size_t i = 0; i < simulated->pedalCount(); ++i)
                simulated->pedal(i)->setPacing(true);
            return {std::move(simulated), std::nullopt};
        }
        case BackendKind::Serial:
            return {std::make_unique<SerialPortD2xx>(CreateQtSerialPortSystem(), choice.serialPort),
                    std::nullopt};
        case BackendKind::Vendor: {
            VendorLoad vendor = VendorD2xx::Load(choice.vendorLibrary);
            return {std::move(vendor.library), std::move(vendor.error)};
        }
        case BackendKind::Auto: {
            if (VendorLoad vendor = VendorD2xx::Load({}); vendor.library)
                return {std::move(vendor.library), std::nullopt};
            return {std::make_unique<SerialPortD2xx>(CreateQtSerialPortSystem()), std::nullopt};
        }
    }
    return {nullptr, LinkError{.kind = LinkErrorKind::UnknownDeviceChoice}};
}

}  // namespace varkunda::link
