// The buffered output file: exact content, and write failures that must not
// pass silently.

#include <gtest/gtest.h>

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
    ORXFile file;
    file = ORXString(dir.file("big.txt"));
    ASSERT_TRUE(file.open(kOut));
    // Pieces of varied sizes straddle and fill the buffer; the large block
    // and the text holding a NUL byte must arrive unchanged as well.
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        std::string piece(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26));
        file << ORXString(piece) << std::endl;
        expected += piece + "\n";
    }
    std::string huge(200000, '\0');
    for (std::size_t i = 0; i < huge.size(); ++i)
        huge[i] = static_cast<char>(i * 7 % 251);
    file.write(huge.data(), huge.size());
    file << 'c' << ORXString(std::string("with\0nul", 8));
    expected += huge + std::string("cwith\0nul", 9);
    EXPECT_EQ(file.getBytesWritten(), expected.size());
    file.close();
    const std::string content = pdmtest::readFile(dir.file("big.txt"));
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
    EXPECT_EQ(message.rfind("Cannot write to file '/dev/full': No space left on device", 0), 0u)
        << message;
    EXPECT_FALSE(file.isOpen());
    EXPECT_NO_THROW(file.close());
}

}  // namespace
