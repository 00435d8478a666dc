// What the host sees of the plug-in: its exported symbols and the positions
// of the overriding operations in the operation tables.
#include "plFlamer.h"
#include "vtable_index.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using zorq::testing::VtableIndex;

namespace {

// Names of the symbols the plug-in defines in its dynamic symbol table.
std::vector<std::string> ExportedSymbols() {
    const std::string command =
        std::string("nm -D --defined-only '") + PLFLAMER_LIBRARY_PATH + "' | c++filt";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::vector<std::string> names;
    if (!pipe) return names;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe.get()) != nullptr) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        // "<address> <type> <name>"
        const std::size_t first = text.find(' ');
        const std::size_t second = first == std::string::npos ? first : text.find(' ', first + 1);
        if (second != std::string::npos) names.push_back(text.substr(second + 1));
    }
    return names;
}

bool IsToolchainSymbol(const std::string& name) {
    for (const char* prefix : {"__asan", "__ubsan", "__sanitizer", "__tsan", "_init", "_fini"}) {
        if (name.rfind(prefix, 0) == 0) return true;
    }
    return false;
}

bool Contains(const std::vector<std::string>& names, const std::string& wanted) {
    for (const std::string& name : names) {
        if (name == wanted) return true;
    }
    return false;
}

TEST(FlamerExports, OnlyTheFactoryAndTheTwoClasses) {
    const std::vector<std::string> names = ExportedSymbols();
    ASSERT_FALSE(names.empty());
    for (const std::string& name : names) {
        if (IsToolchainSymbol(name)) continue;
        const bool ours = name == "CreateObjClass" || name.find("zorPlFlamer") != std::string::npos;
        EXPECT_TRUE(ours) << name;
        EXPECT_EQ(name.find("D3DX"), std::string::npos) << name;
    }
    for (const char* wanted :
         {"CreateObjClass", "vtable for zorPlFlamerClass", "vtable for zorPlFlamer",
          "zorPlFlamerClass::ExplodeCorpse(zorQEntityRef*)",
          "zorPlFlamerClass::zorPlFlamerClass(zorPlFlamerClass const&)",
          "zorPlFlamer::operator=(zorPlFlamer const&)", "zorPlFlamer::Kill(int)"}) {
        EXPECT_TRUE(Contains(names, wanted)) << wanted;
    }
}

struct SlotCase {
    const char* operation;
    std::ptrdiff_t index;
    std::ptrdiff_t expected;
};

TEST(FlamerTables, OverridesSitAtTheirEntries) {
    const SlotCase cases[] = {
        {"zorPlFlamerClass::AddRef", VtableIndex(&zorPlFlamerClass::AddRef), 6},
        {"zorPlFlamerClass::Release", VtableIndex(&zorPlFlamerClass::Release), 7},
        {"zorPlFlamerClass::CreateObj", VtableIndex(&zorPlFlamerClass::CreateObj), 21},
        {"zorPlFlamerClass::ParamChanged", VtableIndex(&zorPlFlamerClass::ParamChanged), 23},
        {"zorPlFlamer::Create", VtableIndex(&zorPlFlamer::Create), 11},
        {"zorPlFlamer::Kill", VtableIndex(&zorPlFlamer::Kill), 26},
        {"zorPlFlamer::PlaceCorpse", VtableIndex(&zorPlFlamer::PlaceCorpse), 35},
    };
    for (const SlotCase& c : cases) EXPECT_EQ(c.index, c.expected) << c.operation;
}

}  // namespace
