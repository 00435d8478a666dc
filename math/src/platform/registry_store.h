// An in-memory registry: keys by full path, values by name, both matched
// without regard to letter case, answered with the results of the Windows
// registry calls. The system platform fills it from a .reg export file; the
// test platform fills it directly.
#pragma once

#include "platform/platform.h"
#include "platform/text_util.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace d3dx::platform {

struct RegValue {
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

RegValue DwordValue(uint32_t value);
RegValue StringValue(std::string_view text);  // stored with its terminating zero
RegValue BinaryValue(std::vector<uint8_t> bytes);

// Root key for a root name such as "HKEY_LOCAL_MACHINE"; 0 when unknown.
RegKey RootKeyByName(std::string_view rootName);

// "<root name>\<sub key>", the path of a key in the store; empty for an
// unknown root.
std::string FullKeyPath(RegKey root, std::string_view subKey);

class RegistryStore {
public:
    // keyPath is "<root name>\<sub key>", e.g. "HKEY_LOCAL_MACHINE\Software".
    void SetValue(std::string_view keyPath, std::string_view valueName, RegValue value);
    void RemoveValue(std::string_view keyPath, std::string_view valueName);
    void CreateKey(std::string_view keyPath);
    void RemoveKey(std::string_view keyPath);

    long Open(RegKey root, const char* subKey, RegKey* result) const;
    long Query(RegKey key, const char* valueName, uint32_t* type, uint8_t* data,
               uint32_t* dataSize) const;
    long Close(RegKey key) const;

private:
    struct Key {
        std::string path;
        std::map<std::string, RegValue, LessIgnoringCase> values;
        bool present = true;
    };
    Key* Find(std::string_view keyPath);
    const Key* FindPresent(std::string_view keyPath) const;
    const Key* ByHandle(RegKey key) const;

    // Keys are never erased, so a handle (index + kFirstHandle) stays valid.
    std::vector<Key> keys_;
    // Each key's index in keys_ by its path, so finding a key costs the
    // length of its path, however many keys there are.
    std::unordered_map<std::string, size_t, HashIgnoringCase, EqualIgnoringCase> keyIndex_;
};

}  // namespace d3dx::platform
