#include "bench/BenchDevice.h"

namespace bench {

ui::DeviceConfiguration benchPhone() {
    ui::DeviceConfiguration phone;
    phone.screenSize = CGSizeMake(320, 568);
    return phone;
}

BenchDevice::BenchDevice(const std::string& home) : homeScope(home) {
    bundles.add("com.apple.mobiletimer", std::string(LAPVANE_SOURCE_DIR) + "/hosts/clock/resources");
}

} // namespace bench
