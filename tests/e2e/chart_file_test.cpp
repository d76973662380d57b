// The chart page's writer on Windows: the page is replaced whole, a smaller page leaves no tail
// of the bigger one, a temporary file left by a killed run is no obstacle, and a write that
// cannot be done fails with no temporary file left beside the page.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "chart/chart_file.h"

namespace
{

// A fresh folder under the temporary folder, for one test.
std::string FreshFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder =
        std::string(temp) + "tessaly_chart_" + name + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string Content(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

TEST(ChartFile, ReplacesThePageWholeWithNoTemporaryFileLeft)
{
    std::string page = FreshFolder("replace") + "\\run.html";
    std::ofstream(page, std::ios::binary) << "an old page";
    std::ofstream(page + ".tmp", std::ios::binary) << "left by a killed run";
    std::string big(300000, 'x');
    ASSERT_TRUE(WriteChartPage(page, big));
    EXPECT_EQ(Content(page), big);
    ASSERT_TRUE(WriteChartPage(page, "<html>small</html>"));
    EXPECT_EQ(Content(page), "<html>small</html>");
    EXPECT_FALSE(Exists(page + ".tmp"));
    DeleteFileA(page.c_str());
}

TEST(ChartFile, AWriteThatCannotBeDoneFailsLeavingNothingBehind)
{
    std::string folder = FreshFolder("fail");
    // A folder that does not exist: the temporary file cannot even be made.
    EXPECT_FALSE(WriteChartPage(folder + "\\missing\\run.html", "<html></html>"));
    EXPECT_FALSE(Exists(folder + "\\missing\\run.html.tmp"));
    // A page name that is a folder: the move fails, the folder stays, the temporary file goes.
    std::string taken = folder + "\\run.html";
    CreateDirectoryA(taken.c_str(), nullptr);
    EXPECT_FALSE(WriteChartPage(taken, "<html></html>"));
    EXPECT_FALSE(Exists(taken + ".tmp"));
    EXPECT_NE(GetFileAttributesA(taken.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    RemoveDirectoryA(taken.c_str());
}
