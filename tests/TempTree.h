// A machine tree built by a test in a temporary folder, for the variants
// that the recorded trees do not cover.
#pragma once

#include "platform/linux/LinuxRoot.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>

namespace orbistat::test {

class TempTree {
public:
    void write(const std::string& relative, const std::string& content)
    {
        const auto path = path_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    }
    void link(const std::string& relative, const std::string& target)
    {
        const auto path = path_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::filesystem::remove(path);
        std::filesystem::create_symlink(target, path);
    }
    void remove(const std::string& relative) { std::filesystem::remove_all(path_ / relative); }
    LinuxRoot root() const { return LinuxRoot(path_, true); }

private:
    QTemporaryDir dir_;
    std::filesystem::path path_{dir_.path().toStdString()};
};

} // namespace orbistat::test
