#include "link/DoctorFacts.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace varkunda::link::doctor {
namespace fs = std::filesystem;
namespace {

constexpr const char* kFtdiVendorId = "0403";

fs::path Inside(const fs::path& root, const std::string& absolute) {
    return root / fs::path(absolute).relative_path();
}

std::string FirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

// The children of a folder, none when it cannot be read.
std::vector<fs::path> Children(const fs::path& folder) {
    std::vector<fs::path> children;
    std::error_code error;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error))
        children.push_back(it->path());
    std::sort(children.begin(), children.end());
    return children;
}

std::string LinkTarget(const fs::path& link) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    return error ? std::string() : target.string();
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

UsbInterface InterfaceAt(const fs::path& folder) {
    UsbInterface usbInterface;
    usbInterface.name = folder.filename().string();
    usbInterface.driver = fs::path(LinkTarget(folder / "driver")).filename().string();
    for (const fs::path& child : Children(folder)) {
        if (StartsWith(child.filename().string(), "ttyUSB")) {
            usbInterface.tty = child.filename().string();
            break;
        }
    }
    return usbInterface;
}

std::string UsbDeviceFile(const fs::path& device) {
    const std::string bus = FirstLine(device / "busnum");
    const std::string number = FirstLine(device / "devnum");
    if (bus.empty() || number.empty()) return {};
    char path[32];
    std::snprintf(path, sizeof path, "/dev/bus/usb/%03d/%03d", std::atoi(bus.c_str()),
                  std::atoi(number.c_str()));
    return path;
}

// Group names by number and their members from /etc/group.
struct GroupEntry {
    std::string name;
    std::vector<std::string> members;
};

std::optional<GroupEntry> GroupOf(const fs::path& root, std::uint32_t gid) {
    std::ifstream in(root / "etc/group");
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream fieldStream(line);
        for (std::string field; std::getline(fieldStream, field, ':');) fields.push_back(field);
        if (fields.size() < 3 || fields[2] != std::to_string(gid)) continue;
        GroupEntry entry{fields[0], {}};
        if (fields.size() > 3) {
            std::stringstream memberStream(fields[3]);
            for (std::string member; std::getline(memberStream, member, ',');)
                entry.members.push_back(member);
        }
        return entry;
    }
    return std::nullopt;
}

bool Contains(const std::vector<std::uint32_t>& values, std::uint32_t value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

bool Contains(const std::vector<std::string>& values, const std::string& value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

}  // namespace

bool UsbDevicesVisible(const fs::path& root) {
    std::error_code error;
    return fs::is_directory(root / "sys/bus/usb/devices", error);
}

std::vector<FtdiBridge> FtdiBridges(const fs::path& root) {
    std::vector<FtdiBridge> bridges;
    for (const fs::path& device : Children(root / "sys/bus/usb/devices")) {
        const std::string name = device.filename().string();
        // Interfaces ("1-1:1.0") are listed beside their devices.
        if (name.find(':') != std::string::npos) continue;
        if (FirstLine(device / "idVendor") != kFtdiVendorId) continue;
        FtdiBridge bridge{name, UsbDeviceFile(device), {}};
        for (const fs::path& child : Children(device))
            if (StartsWith(child.filename().string(), name + ":"))
                bridge.interfaces.push_back(InterfaceAt(child));
        bridges.push_back(bridge);
    }
    return bridges;
}

bool SerialDriverLoaded(const fs::path& root, const std::string& driver) {
    std::error_code error;
    return fs::is_directory(root / "sys/bus/usb-serial/drivers" / driver, error);
}

std::vector<Process> Processes(const fs::path& root) {
    std::vector<Process> processes;
    for (const fs::path& entry : Children(root / "proc")) {
        const std::string name = entry.filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        processes.push_back({std::atol(name.c_str()), FirstLine(entry / "comm")});
    }
    std::sort(processes.begin(), processes.end(),
              [](const Process& a, const Process& b) { return a.pid < b.pid; });
    return processes;
}

std::optional<Process> HolderOf(const fs::path& root, const std::vector<Process>& processes,
                                const std::string& device, long ownProcess) {
    if (device.empty()) return std::nullopt;
    for (const Process& process : processes) {
        if (process.pid == ownProcess) continue;
        // Other users' descriptors are unreadable without privileges: best effort.
        for (const fs::path& descriptor :
             Children(root / "proc" / std::to_string(process.pid) / "fd"))
            if (LinkTarget(descriptor) == device) return process;
    }
    return std::nullopt;
}

bool BrlttyRuleActive(const fs::path& root) {
    constexpr const char* kRule = "85-brltty.rules";
    std::error_code error;
    const fs::path mask = root / "etc/udev/rules.d" / kRule;
    if (fs::is_symlink(mask, error) && LinkTarget(mask) == "/dev/null") return false;
    return fs::exists(root / "usr/lib/udev/rules.d" / kRule, error) ||
           fs::exists(root / "lib/udev/rules.d" / kRule, error);
}

PortAccess AccessOf(const DoctorSystem& system, const std::string& device) {
    PortAccess access;
    const QFileInfo file(QString::fromStdString(Inside(system.root, device).string()));
    access.exists = file.exists();
    if (!access.exists) return access;

    const DoctorUser& user = system.user;
    const auto permissions = file.permissions();
    const bool ownerMay = permissions.testFlags(QFile::ReadOwner | QFile::WriteOwner);
    access.groupMayReadWrite = permissions.testFlags(QFile::ReadGroup | QFile::WriteGroup);
    const bool otherMay = permissions.testFlags(QFile::ReadOther | QFile::WriteOther);
    const std::uint32_t owner = file.ownerId();
    const std::uint32_t group = file.groupId();
    if (user.uid == 0)
        access.mayReadWrite = true;
    else if (owner == user.uid)
        access.mayReadWrite = ownerMay;
    else if (Contains(user.groups, group))
        access.mayReadWrite = access.groupMayReadWrite;
    else
        access.mayReadWrite = otherMay;
    if (!access.mayReadWrite && system.askKernelForAccess)
        access.mayReadWrite = file.isReadable() && file.isWritable();

    const std::optional<GroupEntry> entry = GroupOf(system.root, group);
    access.group = entry ? entry->name : std::to_string(group);
    access.listedInGroup = entry && !user.name.empty() && Contains(entry->members, user.name);
    return access;
}

}  // namespace varkunda::link::doctor
