// A recorded machine replayed as it is read: a fixed path that points at
// the tree's t0 snapshot, then is switched to t1, under a recorded root.
#pragma once

#include "platform/linux/LinuxRoot.h"
#include "TestPaths.h"

#include <QTemporaryDir>
#include <filesystem>
#include <string>

namespace orbistat::test {

class TreeReplay {
public:
    explicit TreeReplay(std::string machine)
        : machine_(std::move(machine))
        , link_(dir_.filePath(QStringLiteral("root")).toStdString())
        , root_(link_, true)
    {
        std::filesystem::create_directory_symlink(fixture(machine_ + "/t0"), link_);
    }

    const LinuxRoot& root() const { return root_; }

    void advanceTo(const std::string& snapshot)
    {
        std::filesystem::remove(link_);
        std::filesystem::create_directory_symlink(fixture(machine_ + "/" + snapshot), link_);
    }

private:
    std::string machine_;
    QTemporaryDir dir_;
    std::filesystem::path link_;
    LinuxRoot root_;
};

// A writable copy of a snapshot, for tests that damage files.
inline std::filesystem::path copyOfTree(const QTemporaryDir& dir, const std::string& snapshot)
{
    const std::filesystem::path target = dir.filePath(QStringLiteral("copy")).toStdString();
    std::filesystem::copy(fixture(snapshot), target, std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks);
    return target;
}

// Makes a file unreadable: without permission for an ordinary user; as root,
// which ignores permissions, by putting a folder in its place (reading it
// then fails with EISDIR, as a read of a psi=0 file fails with EOPNOTSUPP).
inline void makeUnreadable(const std::filesystem::path& file)
{
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    std::filesystem::permissions(file, std::filesystem::perms::none);
}

} // namespace orbistat::test
