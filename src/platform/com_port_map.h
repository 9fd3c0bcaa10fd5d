#pragma once
// Which device file stands for COM n. By default COM n is /dev/ttyS<n-1>;
// the application maps any COM number to another path (a USB serial
// adapter, a pseudo-terminal of the emulated radio) from its configuration.

#include <map>
#include <string>

namespace tunevox::platform {

class ComPortMap {
public:
    // COM numbers are 1-based. An empty path restores the default.
    void SetDevicePath(int comNumber, std::string path) {
        if (path.empty()) paths_.erase(comNumber);
        else paths_[comNumber] = std::move(path);
    }
    std::string DevicePath(int comNumber) const {
        auto it = paths_.find(comNumber);
        if (it != paths_.end()) return it->second;
        return "/dev/ttyS" + std::to_string(comNumber - 1);
    }

private:
    std::map<int, std::string> paths_;
};

} // namespace tunevox::platform
