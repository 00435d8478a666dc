// A platform that passes every call to another one; decorators override the
// calls they change.
#pragma once

#include "platform/platform.h"

namespace d3dx::platform {

class ForwardingPlatform : public Platform {
public:
    explicit ForwardingPlatform(Platform& inner) : inner_(inner) {}

    long RegOpenKeyA(RegKey root, const char* subKey, RegKey* result) override {
        return inner_.RegOpenKeyA(root, subKey, result);
    }
    long RegQueryValueExA(RegKey key, const char* valueName, uint32_t* type, uint8_t* data,
                          uint32_t* dataSize) override {
        return inner_.RegQueryValueExA(key, valueName, type, data, dataSize);
    }
    long RegCloseKey(RegKey key) override { return inner_.RegCloseKey(key); }
    uint32_t GetProfileIntA(const char* appName, const char* keyName,
                            int32_t defaultValue) override {
        return inner_.GetProfileIntA(appName, keyName, defaultValue);
    }
    bool GetVersionExA(OsVersionInfoA* info) override { return inner_.GetVersionExA(info); }
    bool IsProcessorFeaturePresent(uint32_t feature) override {
        return inner_.IsProcessorFeaturePresent(feature);
    }
    void OutputDebugStringA(const char* text) override { inner_.OutputDebugStringA(text); }
    std::optional<CpuidResult> Cpuid(uint32_t leaf) override { return inner_.Cpuid(leaf); }
    uint64_t Xgetbv(uint32_t index) override { return inner_.Xgetbv(index); }
    void Emms() override { inner_.Emms(); }

private:
    Platform& inner_;
};

}  // namespace d3dx::platform
