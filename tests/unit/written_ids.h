// The resource headers as written, for the tests whose failure messages name an identifier: the
// numbers the #define lines of res/resource.h and res/control_ids.h give their names.
#pragma once

#include <map>
#include <string>

// The whole text of a file of the source tree; empty when it cannot be read.
std::string SourceFile(const char* path);
// Every name the header defines as a number, with that number.
std::map<std::string, int> DefinedIds(const char* header);
// The name res/control_ids.h gives a panel control's number ("IDC_GET_VOLTAGE"), or the number
// itself when it names none.
std::string ControlIdName(int id);
