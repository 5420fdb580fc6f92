#include "platform/linux/HotFileSet.h"
#include "TempTree.h"

#include <gtest/gtest.h>

using namespace orbistat;

TEST(HotFileSet, ReadsAsLinuxRootDoesAndSeesEveryChange)
{
    test::TempTree tree;
    // A running machine's root: the files stay open between reads.
    const LinuxRoot root(tree.root().path(), false);
    HotFileSet files(root);
    struct Case {
        const char* what;
        std::string content;
    };
    const Case cases[] = {
        {"number", "4096\n"},
        {"negative", "-12\n"},
        {"text with a NUL", std::string("Wi-Fi\0junk", 10)},
        {"blanks around", "  up \n"},
        {"number beyond the attribute limit", std::string(70, ' ') + "5"},
        {"text of two pages", std::string(9000, 'x')},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        tree.write("sys/attr", c.content);
        EXPECT_EQ(files.readText("sys/attr"), root.readText("sys/attr"));
        tree.write("sys/number", c.content);
        EXPECT_EQ(files.readUnsigned("sys/number"), root.readUnsigned("sys/number"));
        tree.write("sys/signed", c.content);
        EXPECT_EQ(files.readSigned("sys/signed"), root.readSigned("sys/signed"));
    }
    EXPECT_FALSE(files.readText("sys/missing"));
    EXPECT_FALSE(files.readUnsigned("sys/missing"));
}

TEST(HotFileSet, FilesNotReadSinceTheLastSweepAreClosed)
{
    test::TempTree tree;
    tree.write("sys/a", "1\n");
    tree.write("sys/b", "2\n");
    HotFileSet files(LinuxRoot(tree.root().path(), false));
    EXPECT_EQ(files.readUnsigned("sys/a"), 1u);
    EXPECT_EQ(files.readUnsigned("sys/b"), 2u);
    files.sweep();
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(files.readUnsigned("sys/a"), 1u);
    files.sweep();
    EXPECT_EQ(files.size(), 1u) << "b was not read since the last sweep";
    files.sweep();
    EXPECT_EQ(files.size(), 0u);
    // A device that comes back is opened again.
    EXPECT_EQ(files.readUnsigned("sys/b"), 2u);
}

TEST(HotFileSet, ARecordedTreeReplacedUnderneathIsReadAfresh)
{
    test::TempTree tree;
    tree.write("sys/value", "1\n");
    HotFileSet files(tree.root());
    EXPECT_EQ(files.readUnsigned("sys/value"), 1u);
    // A replay swaps the file for a new one, which a kept descriptor would
    // never see.
    tree.remove("sys/value");
    tree.write("sys/value", "2\n");
    EXPECT_EQ(files.readUnsigned("sys/value"), 2u);
    tree.remove("sys/value");
    EXPECT_FALSE(files.readUnsigned("sys/value"));
}
