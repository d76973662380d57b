// The bootloader tool's path made from the program's module path, for both builds' tool names,
// at and around the 550-byte limit, and for paths without a backslash.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "app/bootloader_path.h"

namespace
{

constexpr char Win7Tool[] = "Varnock Boot Loader_Win7.exe";
constexpr char XpTool[] = "Varnock Boot Loader_WinXP.exe";

struct Result {
    bool started;
    std::string path; // up to the terminating zero
    std::array<char, ModulePathSize> buffer;
};

// Fills the buffer as GetModuleFileNameA would, with 'x' after the zero so that a missing
// terminator shows.
Result Compute(const std::string& modulePath, const char* tool)
{
    Result r{};
    r.buffer.fill('x');
    std::size_t n = std::min(modulePath.size(), ModulePathSize - 1);
    std::memcpy(r.buffer.data(), modulePath.data(), n);
    r.buffer[n] = '\0';
    r.started = MakeBootloaderPath(r.buffer, modulePath.size(), tool);
    r.path = std::string(r.buffer.data(), strnlen(r.buffer.data(), ModulePathSize));
    return r;
}

// A module path of exactly `length` bytes: C:\ then a folder name padded with 'd', then \a.exe.
std::string PathOfLength(std::size_t length)
{
    const std::string head = "C:\\", tail = "\\a.exe";
    return head + std::string(length - head.size() - tail.size(), 'd') + tail;
}

} // namespace

TEST(BootloaderPath, ReplacesTheProgramNameWithTheToolInBootLoader)
{
    Result r = Compute("C:\\Tools\\Remote\\app.exe", Win7Tool);
    EXPECT_TRUE(r.started);
    EXPECT_EQ(r.path, "C:\\Tools\\Remote\\Boot Loader\\Varnock Boot Loader_Win7.exe");

    r = Compute("C:\\Tools\\Remote\\Tessaly-xp.exe", XpTool);
    EXPECT_TRUE(r.started);
    EXPECT_EQ(r.path, "C:\\Tools\\Remote\\Boot Loader\\Varnock Boot Loader_WinXP.exe");
}

TEST(BootloaderPath, AppendedTextLengthsOfBothBuilds)
{
    // "\Boot Loader\" and the name: 41 characters for one build, 42 for the other.
    EXPECT_EQ(Compute("C:\\p.exe", Win7Tool).path.size(), 2u + 41u);
    EXPECT_EQ(Compute("C:\\p.exe", XpTool).path.size(), 2u + 42u);
}

TEST(BootloaderPath, OnlyTheLastBackslashIsReplaced)
{
    Result r = Compute("\\\\server\\share\\dir\\prog.exe", Win7Tool);
    EXPECT_EQ(r.path, "\\\\server\\share\\dir\\Boot Loader\\Varnock Boot Loader_Win7.exe");
    // A program name that ends in a backslash-free name right after the drive.
    EXPECT_EQ(Compute("C:\\Tessaly.exe", XpTool).path,
              "C:\\Boot Loader\\Varnock Boot Loader_WinXP.exe");
    // A backslash as the very first byte is found.
    EXPECT_EQ(Compute("\\prog.exe", Win7Tool).path, "\\Boot Loader\\Varnock Boot Loader_Win7.exe");
}

TEST(BootloaderPath, LimitOf550Bytes)
{
    Result r = Compute(PathOfLength(549), XpTool);
    EXPECT_TRUE(r.started);
    EXPECT_EQ(r.path.size(), 549u - 6u + 42u);
    EXPECT_EQ(r.path.substr(543), "\\Boot Loader\\Varnock Boot Loader_WinXP.exe");

    for (std::size_t n : {550u, 551u, 599u, 600u}) {
        std::string modulePath = PathOfLength(n);
        r = Compute(modulePath, Win7Tool);
        EXPECT_FALSE(r.started) << n;
        EXPECT_EQ(r.path, modulePath.substr(0, ModulePathSize - 1)) << n; // untouched
    }
}

TEST(BootloaderPath, LongestPathWithBackslashAtTheEndStaysInsideTheBuffer)
{
    // 549 bytes whose last byte is the backslash: the result is the longest one possible.
    std::string modulePath = "C:\\" + std::string(545, 'd') + "\\";
    ASSERT_EQ(modulePath.size(), 549u);
    Result r = Compute(modulePath, XpTool);
    EXPECT_TRUE(r.started);
    EXPECT_EQ(r.path.size(), 548u + 42u);
    EXPECT_LT(r.path.size(), ModulePathSize);
}

TEST(BootloaderPath, ToolNameThatWouldNotFitStartsNothing)
{
    std::string longName(ModulePathSize, 'n');
    Result r = Compute(PathOfLength(100), longName.c_str());
    EXPECT_FALSE(r.started);
    EXPECT_EQ(r.path, PathOfLength(100));
}

TEST(BootloaderPath, PathWithoutBackslashStartsNothing)
{
    for (const char* modulePath : {"", "prog.exe", "C:/forward/slashes/only.exe"}) {
        Result r = Compute(modulePath, Win7Tool);
        EXPECT_FALSE(r.started) << modulePath;
        EXPECT_EQ(r.path, modulePath);
    }
}
