// Reading registry export files into the in-memory registry.
#include "platform/reg_file.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace d3dx::platform {
namespace {

constexpr const char* kDirect3D = "Software\\Microsoft\\Direct3D";

struct Queried {
    long status;
    uint32_t type;
    std::vector<uint8_t> data;
};

Queried Query(const RegistryStore& store, const char* name, uint32_t bufferSize = 64) {
    RegKey key = 0;
    if (store.Open(kHkeyLocalMachine, kDirect3D, &key) != kErrorSuccess)
        return {kErrorFileNotFound, 0, {}};
    Queried q{0, 0, std::vector<uint8_t>(bufferSize)};
    uint32_t size = bufferSize;
    q.status = store.Query(key, name, &q.type, q.data.data(), &size);
    q.data.resize(q.status == kErrorSuccess ? size : 0);
    store.Close(key);
    return q;
}

RegistryStore ParseOk(const std::string& text) {
    RegFileParse parsed = ParseRegFile(text);
    EXPECT_TRUE(parsed.store.has_value()) << parsed.error.line << ": " << parsed.error.message;
    return parsed.store ? std::move(*parsed.store) : RegistryStore{};
}

TEST(RegFile, ReadsEveryValueKindWithItsType) {
    const RegistryStore store = ParseOk(
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n"
        "; overrides for the math library\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Direct3D]\r\n"
        "\"DisablePSGP\"=dword:00000001\r\n"
        "\"Name\"=\"say \\\"hi\\\" \\\\ there\"\r\n"
        "\"Blob\"=hex:01,02,ff\r\n"
        "\"Long\"=hex:01,02,\\\r\n"
        "  03,04\r\n"
        "\"Typed\"=hex(4):05,00,00,00\r\n"
        "@=\"unnamed\"\r\n");
    const Queried dword = Query(store, "disablepsgp");
    EXPECT_EQ(dword.status, kErrorSuccess);
    EXPECT_EQ(dword.type, kRegDword);
    EXPECT_EQ(dword.data, (std::vector<uint8_t>{1, 0, 0, 0}));

    const Queried text = Query(store, "Name");
    EXPECT_EQ(text.type, kRegSz);
    const std::string expected = "say \"hi\" \\ there";
    EXPECT_EQ(std::string(text.data.begin(), text.data.end()), expected + '\0');

    EXPECT_EQ(Query(store, "Blob").type, kRegBinary);
    EXPECT_EQ(Query(store, "Blob").data, (std::vector<uint8_t>{1, 2, 0xff}));
    EXPECT_EQ(Query(store, "Long").data, (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(Query(store, "Typed").type, kRegDword);
    EXPECT_EQ(Query(store, "").type, kRegSz);
    EXPECT_EQ(Query(store, "Missing").status, kErrorFileNotFound);
}

TEST(RegFile, AcceptsTheOldHeaderAndRemovals) {
    const RegistryStore store = ParseOk(
        "REGEDIT4\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Direct3D]\n"
        "\"DisableMMX\"=dword:1\n"
        "\"Gone\"=dword:2\n"
        "\"Gone\"=-\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Other]\n"
        "[-HKEY_LOCAL_MACHINE\\Software\\Other]\n");
    EXPECT_EQ(Query(store, "DisableMMX").data, (std::vector<uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(Query(store, "Gone").status, kErrorFileNotFound);
    RegKey key = 0;
    EXPECT_EQ(store.Open(kHkeyLocalMachine, "Software\\Other", &key), kErrorFileNotFound);
}

TEST(RegFile, ReportsTooSmallBuffersAndSizeQueries) {
    const RegistryStore store = ParseOk(
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Direct3D]\n"
        "\"Name\"=\"longer than four\"\n");
    EXPECT_EQ(Query(store, "Name", 4).status, kErrorMoreData);
    RegKey key = 0;
    ASSERT_EQ(store.Open(kHkeyLocalMachine, kDirect3D, &key), kErrorSuccess);
    uint32_t size = 0;
    EXPECT_EQ(store.Query(key, "Name", nullptr, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(size, 17u);
}

// Text as the registry editor writes it: UTF-16 LE behind its byte-order mark.
std::string Utf16LeFile(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

TEST(RegFile, ReadsAUtf16ExportWithItsByteOrderMark) {
    const RegistryStore store =
        ParseOk(Utf16LeFile(u"Windows Registry Editor Version 5.00\r\n"
                            u"\r\n"
                            u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Direct3D]\r\n"
                            u"\"DisablePSGP\"=dword:00000001\r\n"
                            u"\"Name\"=\"caf\u00e9 \U0001F600\"\r\n"));
    EXPECT_EQ(Query(store, "DisablePSGP").data, (std::vector<uint8_t>{1, 0, 0, 0}));
    const Queried name = Query(store, "Name");
    EXPECT_EQ(std::string(name.data.begin(), name.data.end()),
              std::string("caf\xC3\xA9 \xF0\x9F\x98\x80") + '\0');
}

TEST(RegFile, ReadsAUtf8ExportWithItsByteOrderMark) {
    const RegistryStore store = ParseOk(
        "\xEF\xBB\xBFREGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Direct3D]\n"
        "\"DisableMMX\"=dword:1\n");
    EXPECT_EQ(Query(store, "DisableMMX").data, (std::vector<uint8_t>{1, 0, 0, 0}));
}

TEST(RegFile, NamesTheFaultOfTextThatIsNotUtf16Le) {
    const RegFileParse cut =
        ParseRegFile(Utf16LeFile(u"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\S]\r\n") + "\x22");
    EXPECT_FALSE(cut.store.has_value());
    EXPECT_EQ(cut.error.line, 3);
    EXPECT_NE(cut.error.message.find("half a character"), std::string::npos) << cut.error.message;

    const RegFileParse bigEndian = ParseRegFile(std::string("\xFE\xFF\0R", 4));
    EXPECT_FALSE(bigEndian.store.has_value());
    EXPECT_NE(bigEndian.error.message.find("big-endian"), std::string::npos)
        << bigEndian.error.message;
}

TEST(RegFile, NamesTheLineAndTheFaultOfMalformedFiles) {
    struct Case {
        const char* text;
        int line;
        const char* fault;
    };
    const Case cases[] = {
        {"", 1, "empty"},
        {"[HKEY_LOCAL_MACHINE\\Software]\n", 1, "header"},
        {"REGEDIT4\n\"A\"=dword:1\n", 2, "before the first key"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\n", 2, "']'"},
        {"REGEDIT4\n[HKEY_NOWHERE\\Software]\n", 2, "HKEY_NOWHERE"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\n\"A\"=dword:123456789\n", 4, "dword"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=dword:xyz\n", 3, "dword"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex:1,zz\n", 3, "zz"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex(q):01\n", 3, "type"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=\"open\n", 3, "string"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A=1\n", 3, "name"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\" dword:1\n", 3, "'='"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=\n", 3, "without data"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=qword:1\n", 3, "qword"},
        // Lines that end in CR alone are lines.
        {"REGEDIT4\r[HKEY_LOCAL_MACHINE\\S]\r\r\"A\"=dword:xyz\r", 4, "dword"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const RegFileParse parsed = ParseRegFile(c.text);
        EXPECT_FALSE(parsed.store.has_value());
        EXPECT_EQ(parsed.error.line, c.line);
        EXPECT_NE(parsed.error.message.find(c.fault), std::string::npos) << parsed.error.message;
    }
}

}  // namespace
}  // namespace d3dx::platform
