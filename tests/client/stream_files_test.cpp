// The stream files at their fixed paths exist only on Windows; natively the
// path "c:\stream.o" is a plain file name in the working folder, which is
// enough to check that the bytes pass unchanged.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "bridge/bridge.h"
#include "client/stream_files.h"

namespace {

TEST(StreamFiles, TextGoesOutAndComesBackByteForByte) {
    const std::string text = std::string("line\r\nzero\0byte", 15);
    ASSERT_TRUE(writeStreamOut(text));
    std::FILE* file = std::fopen(STREAM_OUT_PATH, "rb");
    ASSERT_NE(file, nullptr);
    char buffer[64];
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, file);
    std::fclose(file);
    EXPECT_EQ(std::string(buffer, n), text);
    // A shorter text replaces the longer one whole, nothing of it left behind.
    ASSERT_TRUE(writeStreamOut("short"));
    file = std::fopen(STREAM_OUT_PATH, "rb");
    ASSERT_NE(file, nullptr);
    const std::size_t shortLength = std::fread(buffer, 1, sizeof buffer, file);
    std::fclose(file);
    EXPECT_EQ(std::string(buffer, shortLength), "short");

    file = std::fopen(STREAM_IN_PATH, "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    std::string line = "old";
    ASSERT_TRUE(readStreamIn(line));
    EXPECT_EQ(line, text);
    std::remove(STREAM_OUT_PATH);
    std::remove(STREAM_IN_PATH);
    EXPECT_FALSE(readStreamIn(line));
}

}  // namespace
