// The buffered output file: exact content, failures that must not pass
// silently, and its open/close rules.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "orx/ORXException.h"
#include "orx/ORXFile.h"
#include "support/TestSupport.h"

namespace {

const auto kOut = std::ios::out | std::ios::binary;

TEST(OrxFile, ContentEqualsWhatWasWrittenAcrossBufferBoundaries) {
    pdmtest::TempDir dir;
    const std::string path = dir.file("big.txt");
    std::string expected;
    ORXFile file;
    file = ORXString(path);
    ASSERT_TRUE(file.open(kOut));
    // Pieces of varied sizes (one larger than the buffer) so that writes
    // straddle, fill exactly and bypass the 64 KiB buffer.
    for (int i = 0; i < 3000; ++i) {
        std::string piece(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26));
        piece += std::to_string(i);
        file << ORXString(piece) << std::endl;
        expected += piece + "\n";
    }
    std::string huge(200000, '\0');
    for (std::size_t i = 0; i < huge.size(); ++i)
        huge[i] = static_cast<char>(i * 7 % 251);
    file.write(huge.data(), huge.size());
    expected += huge;
    file << 'c' << "const char" << ORXString(std::string("with\0nul", 8));
    expected += std::string("cconst charwith\0nul", 19);
    EXPECT_EQ(file.getBytesWritten(), expected.size());
    file.close();
    EXPECT_FALSE(file.isOpen());
    const std::string content = pdmtest::readFile(path);
    ASSERT_EQ(content.size(), expected.size());
    EXPECT_TRUE(content == expected);
}

TEST(OrxFile, WriteToFullDeviceRaisesNamingThePath) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    ORXFile file;
    file = ORXString("/dev/full");
    ASSERT_TRUE(file.open(kOut));
    std::string message;
    try {
        file << "some text" << std::endl;
        file.close();
    } catch (const ORXException& e) {
        message = e.getMessage().str();
    }
    EXPECT_EQ(message.rfind("Cannot write to file '/dev/full': ", 0), 0u) << message;
    EXPECT_NE(message.find("No space left on device"), std::string::npos) << message;
    // Closed even though closing raised; a second close is harmless.
    EXPECT_FALSE(file.isOpen());
    EXPECT_NO_THROW(file.close());
}

TEST(OrxFile, LargeWriteToFullDeviceRaisesAtOnce) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    ORXFile file;
    file = ORXString("/dev/full");
    ASSERT_TRUE(file.open(kOut));
    const std::string block(70000, 'x');
    EXPECT_THROW(file.write(block.data(), block.size()), ORXException);
    EXPECT_NO_THROW(file.close());  // the failed bytes are not retried
}

TEST(OrxFile, DestructorSwallowsFailures) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    EXPECT_NO_THROW({
        ORXFile file;
        file = ORXString("/dev/full");
        ASSERT_TRUE(file.open(kOut));
        file << "lost";
    });
}

TEST(OrxFile, PathsThatCannotBeOpened) {
    pdmtest::TempDir dir;
    pdmtest::writeFile(dir.file("plain.txt"), "x");
    struct Case {
        const char* label;
        std::string path;
    };
    const std::vector<Case> cases = {
        {"empty path", ""},
        {"missing directory", dir.file("no/such/dir/out.pdm")},
        {"a directory", dir.path().string()},
        {"below a plain file", dir.file("plain.txt/out.pdm")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ORXFile file;
        file = ORXString(c.path);
        EXPECT_FALSE(file.open(kOut));
        EXPECT_FALSE(file.isOpen());
        EXPECT_EQ(file.getPath().str(), c.path);
    }
}

TEST(OrxFile, UnwritablePathForNonRootUser) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write anywhere";
    pdmtest::TempDir dir;
    std::filesystem::permissions(
        dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    ORXFile file;
    file = ORXString(dir.file("out.pdm"));
    EXPECT_FALSE(file.open(kOut));
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
}

TEST(OrxFile, EndlBuffersAndFlushWritesOut) {
    pdmtest::TempDir dir;
    const std::string path = dir.file("lines.txt");
    ORXFile file;
    file = ORXString(path);
    ASSERT_TRUE(file.open(kOut));
    file << "one" << std::endl;
    EXPECT_EQ(pdmtest::readFile(path), "");  // still in the buffer
    file << "two" << std::flush;
    EXPECT_EQ(pdmtest::readFile(path), "one\ntwo");
    file << std::endl;
    file.flush();
    EXPECT_EQ(pdmtest::readFile(path), "one\ntwo\n");
}

TEST(OrxFile, WritingWhenNotOpenRaises) {
    ORXFile file;
    file = ORXString("/tmp/never-opened.pdm");
    try {
        file << "x";
        FAIL() << "no exception";
    } catch (const ORXException& e) {
        EXPECT_EQ(e.getMessage().str(), "File '/tmp/never-opened.pdm' is not open for writing");
    }
    EXPECT_NO_THROW(file.close());
    EXPECT_NO_THROW(file.flush());
}

TEST(OrxFile, OpenTruncatesAppendAppendsAndReopenClosesFirst) {
    pdmtest::TempDir dir;
    const std::string path = dir.file("f.txt");
    pdmtest::writeFile(path, "old content that is long");
    {
        ORXFile file;
        file = ORXString(path);
        ASSERT_TRUE(file.open(kOut));
        file << "new";
        // Opening again flushes and closes the first descriptor, then truncates.
        ASSERT_TRUE(file.open(kOut));
        file << "second";
        file.close();
    }
    EXPECT_EQ(pdmtest::readFile(path), "second");
    {
        ORXFile file;
        file = ORXString(path);
        ASSERT_TRUE(file.open(std::ios::out | std::ios::app | std::ios::binary));
        file << "+more" << std::endl;
    }  // the destructor flushes and closes
    EXPECT_EQ(pdmtest::readFile(path), "second+more\n");
}

TEST(OrxFile, CreatesFilesReadableByOthers) {
    pdmtest::TempDir dir;
    const std::string path = dir.file("perm.txt");
    const mode_t old = umask(022);
    ORXFile file;
    file = ORXString(path);
    ASSERT_TRUE(file.open(kOut));
    file.close();
    umask(old);
    const auto perms = std::filesystem::status(path).permissions();
    EXPECT_EQ(perms, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                         std::filesystem::perms::group_read | std::filesystem::perms::others_read);
}

}  // namespace
