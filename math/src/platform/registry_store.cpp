// In-memory registry with the result codes of the Windows registry calls.
#include "platform/registry_store.h"

#include "platform/text_util.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace d3dx::platform {
namespace {

// Handles of opened keys start here, well away from the root key values.
constexpr RegKey kFirstHandle = 0x1000;

struct RootName {
    std::string_view name;
    RegKey key;
};
constexpr std::array<RootName, 5> kRootNames{{
    {"HKEY_CLASSES_ROOT", 0x80000000u},
    {"HKEY_CURRENT_USER", 0x80000001u},
    {"HKEY_LOCAL_MACHINE", kHkeyLocalMachine},
    {"HKEY_USERS", 0x80000003u},
    {"HKEY_CURRENT_CONFIG", 0x80000005u},
}};

std::string_view RootNameOf(RegKey root) {
    for (const RootName& r : kRootNames) {
        if (r.key == root) return r.name;
    }
    return {};
}

}  // namespace

RegValue DwordValue(uint32_t value) {
    RegValue v{kRegDword, std::vector<uint8_t>(sizeof value)};
    std::memcpy(v.data.data(), &value, sizeof value);
    return v;
}

RegValue StringValue(std::string_view text) {
    RegValue v{kRegSz, std::vector<uint8_t>(text.begin(), text.end())};
    v.data.push_back(0);
    return v;
}

RegValue BinaryValue(std::vector<uint8_t> bytes) { return RegValue{kRegBinary, std::move(bytes)}; }

RegKey RootKeyByName(std::string_view rootName) {
    for (const RootName& r : kRootNames) {
        if (EqualsIgnoringCase(r.name, rootName)) return r.key;
    }
    return 0;
}

RegistryStore::Key* RegistryStore::Find(std::string_view keyPath) {
    const auto found = keyIndex_.find(keyPath);
    return found == keyIndex_.end() ? nullptr : &keys_[found->second];
}

const RegistryStore::Key* RegistryStore::FindPresent(std::string_view keyPath) const {
    const auto found = keyIndex_.find(keyPath);
    if (found == keyIndex_.end()) return nullptr;
    const Key& k = keys_[found->second];
    return k.present ? &k : nullptr;
}

const RegistryStore::Key* RegistryStore::ByHandle(RegKey key) const {
    if (key < kFirstHandle || key - kFirstHandle >= keys_.size()) return nullptr;
    const Key& k = keys_[key - kFirstHandle];
    return k.present ? &k : nullptr;
}

void RegistryStore::CreateKey(std::string_view keyPath) {
    if (Key* k = Find(keyPath)) {
        k->present = true;
        return;
    }
    keyIndex_.emplace(std::string(keyPath), keys_.size());
    keys_.push_back(Key{std::string(keyPath), {}, true});
}

void RegistryStore::RemoveKey(std::string_view keyPath) {
    if (Key* k = Find(keyPath)) {
        k->present = false;
        k->values.clear();
    }
}

void RegistryStore::SetValue(std::string_view keyPath, std::string_view valueName, RegValue value) {
    CreateKey(keyPath);
    Find(keyPath)->values.insert_or_assign(std::string(valueName), std::move(value));
}

void RegistryStore::RemoveValue(std::string_view keyPath, std::string_view valueName) {
    if (Key* k = Find(keyPath)) {
        const auto it = k->values.find(valueName);
        if (it != k->values.end()) k->values.erase(it);
    }
}

std::string FullKeyPath(RegKey root, std::string_view subKey) {
    const std::string_view rootName = RootNameOf(root);
    if (rootName.empty()) return {};
    return std::string(rootName) + "\\" + std::string(subKey);
}

long RegistryStore::Open(RegKey root, const char* subKey, RegKey* result) const {
    if (RootNameOf(root).empty() || subKey == nullptr || result == nullptr) {
        return kErrorInvalidParameter;
    }
    const Key* k = FindPresent(FullKeyPath(root, subKey));
    if (k == nullptr) return kErrorFileNotFound;
    *result = kFirstHandle + static_cast<RegKey>(k - keys_.data());
    return kErrorSuccess;
}

long RegistryStore::Query(RegKey key, const char* valueName, uint32_t* type, uint8_t* data,
                          uint32_t* dataSize) const {
    const Key* k = ByHandle(key);
    if (k == nullptr || (data != nullptr && dataSize == nullptr)) return kErrorInvalidParameter;
    const auto it = k->values.find(std::string_view(valueName ? valueName : ""));
    if (it == k->values.end()) return kErrorFileNotFound;
    const RegValue& value = it->second;
    const auto size = static_cast<uint32_t>(value.data.size());
    if (type != nullptr) *type = value.type;
    if (dataSize == nullptr) return kErrorSuccess;
    const bool fits = *dataSize >= size;
    *dataSize = size;
    if (data == nullptr) return kErrorSuccess;
    if (!fits) return kErrorMoreData;
    std::copy(value.data.begin(), value.data.end(), data);
    return kErrorSuccess;
}

long RegistryStore::Close(RegKey key) const {
    return ByHandle(key) ? kErrorSuccess : kErrorInvalidParameter;
}

}  // namespace d3dx::platform
