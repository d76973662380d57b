// Reads the resource headers as written (see written_ids.h).
#include "tests/unit/written_ids.h"

#include <fstream>
#include <regex>
#include <sstream>

std::string SourceFile(const char* path)
{
    std::ifstream file(std::string(TESSALY_SOURCE_DIR) + "/" + path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::map<std::string, int> DefinedIds(const char* header)
{
    std::map<std::string, int> defined;
    const std::regex define(R"(#define\s+(\w+)\s+(-?\d+))");
    const std::string text = SourceFile(header);
    for (std::sregex_iterator m(text.begin(), text.end(), define), end; m != end; ++m)
        defined[(*m)[1]] = std::stoi((*m)[2]);
    return defined;
}

std::string ControlIdName(int id)
{
    for (const auto& [name, number] : DefinedIds("res/control_ids.h")) {
        if (number == id)
            return name;
    }
    return std::to_string(id);
}
